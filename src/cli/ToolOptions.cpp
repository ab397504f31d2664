#include "cli/ToolOptions.h"

#include "codegen/CodeText.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

using namespace Qt::StringLiterals;

namespace {

const QString fileSuffix = u"-file"_s;

QString dashed(const QString &name)
{
    return u"--"_s + name;
}

} // namespace

ToolOptions::ToolOptions(QCommandLineParser &parser, QIODevice &input) : m_parser(parser), m_input(input) {}

void ToolOptions::addText(const QString &name, const QString &description, Lines lines)
{
    m_parser.addOption({name, description, u"TEXT"_s});
    m_parser.addOption({name + fileSuffix,
                        QCoreApplication::translate("ToolOptions", "Reads %1 from FILE (UTF-8); - reads standard input.")
                            .arg(dashed(name)),
                        u"FILE"_s});
    m_declared << name;
    if (lines == Lines::Multi)
        m_multiLine << name;
}

void ToolOptions::addRepeatedText(const QString &name, const QString &description)
{
    m_parser.addOption({name, description, u"TEXT"_s});
    m_declared << name;
}

void ToolOptions::addFlag(const QString &name, const QString &description)
{
    m_parser.addOption({name, description});
    m_declared << name;
}

void ToolOptions::addChoice(const QString &name, const QString &description, const QStringList &choices)
{
    m_parser.addOption({name, description, choices.join(u'|')});
    m_declared << name;
    m_choices.insert(name, choices);
}

std::optional<QString> ToolOptions::text(const QString &name) const
{
    const QString fileOption = name + fileSuffix;
    const bool direct = m_parser.isSet(name);
    const bool fromFile = m_parser.isSet(fileOption);
    if (direct && fromFile)
        throw CliError{u"%1 and %2 cannot both be given"_s.arg(dashed(name), dashed(fileOption))};
    if (direct)
        return checkedLines(name, m_parser.value(name));
    if (fromFile)
        return checkedLines(name, readFile(fileOption, m_parser.value(fileOption)));
    return std::nullopt;
}

QStringList ToolOptions::texts(const QString &name) const
{
    QStringList values = m_parser.values(name);
    for (const QString &value : values)
        checkedLines(name, value);
    return values;
}

bool ToolOptions::flag(const QString &name) const
{
    return m_parser.isSet(name);
}

std::optional<QString> ToolOptions::choice(const QString &name) const
{
    if (!m_parser.isSet(name))
        return std::nullopt;
    const QString value = m_parser.value(name);
    const QStringList allowed = m_choices.value(name);
    if (!allowed.contains(value))
        throw CliError{u"%1: '%2' is not one of %3"_s.arg(dashed(name), value, allowed.join(u", "_s))};
    return value;
}

QStringList ToolOptions::givenAmong(const QStringList &names) const
{
    QStringList given;
    for (const QString &name : m_declared) {
        if (!names.contains(name))
            continue;
        if (m_parser.isSet(name))
            given << dashed(name);
        else if (m_parser.optionNames().contains(name + fileSuffix) && m_parser.isSet(name + fileSuffix))
            given << dashed(name + fileSuffix);
    }
    return given;
}

namespace {

// Far beyond any field's text, and small enough that an endless source such
// as /dev/zero ends in an error instead of filling the memory.
constexpr qint64 MaxTextFileBytes = qint64(256) << 20;

// Reads the whole device, or fails once it passes the limit.
std::optional<QByteArray> readAtMost(QIODevice &device, qint64 limit)
{
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = device.read(qint64(1) << 20);
        if (chunk.isEmpty())
            return bytes;
        bytes += chunk;
        if (bytes.size() > limit)
            return std::nullopt;
    }
}

} // namespace

QString ToolOptions::readFile(const QString &option, const QString &path) const
{
    std::optional<QByteArray> read;
    if (path == u"-"_s) {
        read = readAtMost(m_input, MaxTextFileBytes);
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw CliError{u"%1: cannot read '%2': %3"_s.arg(dashed(option), path, file.errorString())};
        read = readAtMost(file, MaxTextFileBytes);
    }
    if (!read)
        throw CliError{u"%1: '%2' holds more than %3 MiB of text"_s.arg(dashed(option), path)
                           .arg(MaxTextFileBytes >> 20)};
    QByteArray bytes = *read;
    // A text file's last line ends with a line break that belongs to the
    // file, not to the text: `echo Hi > t` holds the text "Hi".
    if (bytes.endsWith("\r\n"))
        bytes.chop(2);
    else if (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

QString ToolOptions::checkedLines(const QString &name, const QString &value) const
{
    if (m_multiLine.contains(name))
        return codegen::toCrLf(value);
    if (codegen::hasLineBreak(value))
        throw CliError{u"%1: this field holds a single line; the text has a line break"_s.arg(dashed(name))};
    return value;
}
