// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ToolOptions.h"

#include "cli/Messages.h"

#include "basic/Source.h"

#include "codegen/CodeText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString fileSuffix = u"-file"_s;

QString dashed(const QString &name)
{
    return u"--"_s + name;
}

} // namespace

ToolOptions::ToolOptions(QCommandLineParser &parser, QIODevice &input) : m_parser(parser), m_input(input) {}

void ToolOptions::add(const QCommandLineOption &option)
{
    m_parser.addOption(option);
    m_options << option;
}

void ToolOptions::addText(const QString &name, const QString &description, Lines lines)
{
    add({name, description, u"TEXT"_s});
    add({name + fileSuffix,
                        QCoreApplication::translate("ToolOptions", "Reads %1 from FILE (UTF-8); - reads standard input.")
                            .arg(dashed(name)),
                        u"FILE"_s});
    m_declared << name;
    if (lines == Lines::Multi)
        m_multiLine << name;
}

void ToolOptions::addRepeatedText(const QString &name, const QString &description)
{
    add({name, description, u"TEXT"_s});
    m_declared << name;
    m_repeatable << name;
}

void ToolOptions::addFlag(const QString &name, const QString &description)
{
    add({name, description});
    m_declared << name;
}

void ToolOptions::addChoice(const QString &name, const QString &description, const QStringList &choices, Help help)
{
    QCommandLineOption option(name, description, choices.join(u'|'));
    if (help == Help::Hidden)
        option.setFlags(QCommandLineOption::HiddenFromHelp);
    add(option);
    m_declared << name;
    m_choices.insert(name, choices);
}

std::optional<QString> ToolOptions::text(const QString &name) const
{
    const QString fileOption = name + fileSuffix;
    const bool direct = isSet(name);
    const bool fromFile = m_parser.isSet(fileOption);
    if (direct && fromFile)
        throw CliError{u"%1 and %2 cannot both be given"_s.arg(dashed(name), dashed(fileOption))};
    if (direct)
        return checkedLines(name, values(name).constLast());
    if (fromFile)
        return checkedLines(name, readFile(fileOption, m_parser.value(fileOption)));
    return std::nullopt;
}

QStringList ToolOptions::texts(const QString &name) const
{
    const QStringList given = values(name);
    for (const QString &value : given)
        checkedLines(name, value);
    return given;
}

bool ToolOptions::flag(const QString &name) const
{
    return isSet(name);
}

std::optional<QString> ToolOptions::choice(const QString &name) const
{
    if (!isSet(name))
        return std::nullopt;
    const QString value = values(name).constLast();
    const QStringList allowed = m_choices.value(name);
    if (!allowed.contains(value))
        throw CliError{cli::invalidArgument(dashed(name), value, allowed)};
    return value;
}

QStringList ToolOptions::givenAmong(const QStringList &names) const
{
    QStringList given;
    for (const QString &name : m_declared) {
        if (!names.contains(name))
            continue;
        if (isSet(name))
            given << dashed(name);
        else if (m_parser.optionNames().contains(name + fileSuffix) && m_parser.isSet(name + fileSuffix))
            given << dashed(name + fileSuffix);
    }
    return given;
}

void ToolOptions::checkGiven() const
{
    const QStringList given = m_parser.optionNames();
    QStringList readingInput;
    for (const QCommandLineOption &option : m_options) {
        const QString name = option.names().constFirst();
        if (given.count(name) > 1 && !m_repeatable.contains(name))
            throw CliError{u"%1 is given more than once"_s.arg(dashed(name))};
        if (name.endsWith(fileSuffix) && m_parser.isSet(name) && m_parser.value(name) == u"-"_s)
            readingInput << dashed(name);
    }
    if (readingInput.size() > 1)
        throw CliError{u"%1 cannot %2 read standard input; it holds one text"_s.arg(
            readingInput.join(u", "_s), readingInput.size() == 2 ? u"both"_s : u"all"_s)};
}

QList<std::pair<QString, QString>> ToolOptions::helpRows() const
{
    QList<std::pair<QString, QString>> rows;
    for (const QCommandLineOption &option : m_options) {
        if (option.flags().testFlag(QCommandLineOption::HiddenFromHelp))
            continue;
        QString names = dashed(option.names().constFirst());
        if (!option.valueName().isEmpty())
            names += u" <"_s + option.valueName() + u'>';
        rows.append({names, option.description()});
    }
    return rows;
}

namespace {

// An endless source such as /dev/zero ends in an error instead of filling
// the memory. The bound also bounds the output: a text of nothing but
// quotation marks grows fifteenfold when encoded (see BENCHMARKS.md).
constexpr qint64 MaxTextFileBytes = qint64(64) << 20;
constexpr qint64 ReadPiece = qint64(1) << 20;

enum class ReadEnd { Whole, TooLong, Failed };

// Reads the whole device into `bytes`, or stops once it passes the limit
// or the device fails; a failure is never taken for the end of the text.
ReadEnd readAtMost(QIODevice &device, qint64 limit, QByteArray &bytes)
{
    // A file says how large it is, so that its text is read without
    // growing (and copying) the buffer; a pipe grows it piece by piece.
    if (!device.isSequential() && device.size() > 0)
        bytes.reserve(std::min(device.size(), limit) + 1);
    for (;;) {
        const qsizetype before = bytes.size();
        if (bytes.capacity() - before < ReadPiece)
            bytes.reserve(before + std::max<qsizetype>(ReadPiece, before / 2));
        bytes.resize(before + ReadPiece);
        const qint64 got = device.read(bytes.data() + before, ReadPiece);
        bytes.resize(before + std::max<qint64>(got, 0));
        if (got < 0)
            return ReadEnd::Failed;
        if (got == 0)
            return ReadEnd::Whole;
        if (bytes.size() > limit)
            return ReadEnd::TooLong;
    }
}

// Why a file did not open, in the words of the system's C library on every
// system (Windows' own are "Path not found." and the like).
QString openFailure(const QFile &file)
{
#if defined(Q_OS_WIN)
    return QFileInfo::exists(file.fileName()) ? u"Permission denied"_s : u"No such file or directory"_s;
#else
    return file.errorString();
#endif
}

} // namespace

QByteArray readSource(const QString &option, const QString &path, QIODevice &standardInput)
{
    // An empty name is no file; QFile would also warn on stderr about it.
    if (path.isEmpty())
        throw CliError{u"%1: no file named; give a file, or - for standard input"_s.arg(option)};
    QByteArray bytes;
    ReadEnd end;
    QString failure;
    const auto fileError = [&](const QString &reason) { return CliError{cli::fileMessage(path, reason), false}; };
    if (path == u"-"_s) {
        end = readAtMost(standardInput, MaxTextFileBytes, bytes);
        failure = standardInput.errorString();
    } else {
        // Qt's own words for it are not the system's.
        if (QFileInfo(path).isDir())
            throw fileError(u"Is a directory"_s);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw fileError(openFailure(file));
        end = readAtMost(file, MaxTextFileBytes, bytes);
        failure = file.errorString();
    }
    if (end == ReadEnd::Failed)
        throw fileError(failure);
    if (end == ReadEnd::TooLong)
        throw fileError(u"holds more than %1 MiB of text"_s.arg(MaxTextFileBytes >> 20));
    return bytes;
}

bool writeChecked(QIODevice &device, const QByteArray &bytes)
{
    // A reader that goes away mid-write takes part of it, and the device
    // reports that part without an error: the rest is written again, so
    // that the failure, "Broken pipe", is the device's error.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = device.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

bool writeChecked(QIODevice &device, QStringView text)
{
    constexpr qsizetype piece = qsizetype(1) << 20;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype length = std::min(piece, text.size() - at);
        // A surrogate pair stays whole.
        if (at + length < text.size() && text[at + length - 1].isHighSurrogate() && length > 1)
            --length;
        const QByteArray bytes = text.sliced(at, length).toUtf8();
        if (!writeChecked(device, bytes))
            return false;
        at += length;
    }
    if (auto *file = qobject_cast<QFileDevice *>(&device))
        return file->flush();
    return true;
}

void LineWriter::add(QStringView line)
{
    if (m_failed)
        return;
    const qsizetype before = m_buffer.size();
    if (!m_first)
        m_buffer += "\r\n";
    m_first = false;
    m_buffer += line.toUtf8();
    m_size += m_buffer.size() - before;
    if (m_buffer.size() >= (qsizetype(1) << 20))
        writeBuffer();
}

void LineWriter::writeBuffer()
{
    // As in writeChecked: the rest of a partial write is written again, so
    // that a failure is the device's error.
    for (qint64 written = 0; !m_failed && written < m_buffer.size();) {
        const qint64 count = m_device.write(m_buffer.constData() + written, m_buffer.size() - written);
        if (count <= 0)
            m_failed = true;
        else
            written += count;
    }
    m_buffer.clear();
}

bool LineWriter::finish()
{
    writeBuffer();
    if (auto *file = qobject_cast<QFileDevice *>(&m_device); file && !m_failed)
        return file->flush();
    return !m_failed;
}

QString ToolOptions::readFile(const QString &option, const QString &path) const
{
    QByteArray bytes = readSource(dashed(option), path, m_input);
    // A text file's last line ends with a line break that belongs to the
    // file, not to the text: `echo Hi > t` holds the text "Hi".
    if (bytes.endsWith("\r\n"))
        bytes.chop(2);
    else if (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    // As a module is read: UTF-8 when it is, else the classic editor's
    // Windows-1252.
    try {
        return basic::decodeText(bytes);
    } catch (const basic::SourceError &error) {
        throw CliError{dashed(option) + u": "_s + error.message};
    }
}

QString ToolOptions::checkedLines(const QString &name, const QString &value) const
{
    if (m_multiLine.contains(name))
        return codegen::toCrLf(value);
    if (codegen::hasLineBreak(value))
        throw CliError{u"%1: this field holds a single line; the text has a line break"_s.arg(dashed(name))};
    return value;
}

namespace {

// Breaks `text` into lines of at most `width` characters: between words,
// or, for a word too long for a line of its own, after a "|".
QStringList wrapped(const QString &text, qsizetype width)
{
    QStringList lines;
    QString line;
    const auto put = [&](const QString &piece, QStringView separator) {
        if (!line.isEmpty() && line.size() + separator.size() + piece.size() > width) {
            lines << line;
            line = piece;
        } else {
            if (!line.isEmpty())
                line += separator;
            line += piece;
        }
    };
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (word.size() <= width) {
            put(word, u" ");
            continue;
        }
        qsizetype start = 0;
        bool first = true;
        while (start < word.size()) {
            const qsizetype bar = word.indexOf(u'|', start);
            const qsizetype end = bar < 0 ? word.size() : bar + 1;
            put(word.sliced(start, end - start), first ? u" " : u"");
            first = false;
            start = end;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

} // namespace

QString helpColumns(const QList<std::pair<QString, QString>> &rows, int width)
{
    constexpr qsizetype indent = 2;
    constexpr qsizetype gap = 2;
    // Longer names put their description on the next line instead of
    // pushing every description to the right.
    constexpr qsizetype widestNames = 28;
    qsizetype column = 0;
    for (const auto &[names, description] : rows) {
        if (names.size() <= widestNames)
            column = std::max(column, names.size());
    }
    column += indent + gap;
    const qsizetype descriptionWidth = std::max<qsizetype>(width - column, 24);

    QString text;
    for (const auto &[names, description] : rows) {
        const QStringList nameLines = wrapped(names, std::max<qsizetype>(width - 2 * indent, 16));
        for (qsizetype i = 0; i < nameLines.size(); ++i)
            text += QString(i == 0 ? indent : 2 * indent, u' ') + nameLines.at(i) + u'\n';
        const QStringList descriptionLines = wrapped(description, descriptionWidth);
        qsizetype first = 0;
        if (nameLines.size() == 1 && indent + nameLines.first().size() + gap <= column && !descriptionLines.isEmpty()) {
            text.chop(1);
            text += QString(column - indent - nameLines.first().size(), u' ') + descriptionLines.first() + u'\n';
            first = 1;
        }
        for (qsizetype i = first; i < descriptionLines.size(); ++i)
            text += QString(column, u' ') + descriptionLines.at(i) + u'\n';
    }
    return text;
}

QString wrappedParagraph(const QString &text, int width)
{
    QString out;
    for (const QString &line : wrapped(text, width))
        out += line + u'\n';
    return out;
}

QString escapedControls(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool c0 = u < 0x20;
        const bool c1 = u >= 0x7f && u <= 0x9f;
        const bool separator = u == 0x2028 || u == 0x2029;
        if (!c0 && !c1 && !separator) {
            out += c;
            continue;
        }
        switch (u) {
        case u'\a': out += u"\\a"; break;
        case u'\b': out += u"\\b"; break;
        case u'\t': out += u"\\t"; break;
        case u'\n': out += u"\\n"; break;
        case u'\v': out += u"\\v"; break;
        case u'\f': out += u"\\f"; break;
        case u'\r': out += u"\\r"; break;
        case 0x1b: out += u"\\e"; break;
        default:
            out += separator ? u"\\u%1"_s.arg(int(u), 4, 16, QChar(u'0')) : u"\\x%1"_s.arg(int(u), 2, 16, QChar(u'0'));
        }
    }
    return out;
}
