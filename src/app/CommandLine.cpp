#include "app/CommandLine.h"

#include "app/Vendor.h"
#include "codegen/CodeText.h"
#include "tools/commondialog/CommonDialogCli.h"
#include "tools/header/HeaderCli.h"
#include "tools/inputbox/InputBoxCli.h"
#include "tools/msgbox/MsgBoxCli.h"

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

void writeLine(QIODevice &device, const QString &line)
{
    device.write((line + u'\n').toUtf8());
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

const QList<CliTool> &cliTools()
{
    static const QList<CliTool> tools{msgBoxCli(), inputBoxCli(), headerCli(), commonDialogCli()};
    return tools;
}

bool isHeadlessCommand(const QStringList &arguments)
{
    const QStringList rest = arguments.mid(1);
    if (!rest.isEmpty() && rest.first() == u"generate"_s)
        return true;
    for (const QString &arg : rest) {
        if (arg == u"--help"_s || arg == u"-h"_s || arg == u"--version"_s || arg == u"-v"_s)
            return true;
    }
    return false;
}

namespace {

QString programName()
{
    return u"quillkit98"_s;
}

QString toolListText()
{
    QString text = QCoreApplication::translate("CommandLine", "Tools:\n");
    for (const CliTool &tool : cliTools())
        text += u"  %1  %2\n"_s.arg(tool.name, -14).arg(tool.summary);
    return text;
}

// The options of one tool, as its own --help shows them.
QString toolHelpText(const CliTool &tool)
{
    QCommandLineParser parser;
    QFile none;
    ToolOptions options(parser, none);
    tool.declare(options);
    parser.addOption({{u"h"_s, u"help"_s}, u"Displays this help."_s});
    QString text = parser.helpText();
    // The parser writes its own usage line; ours names the command.
    text.remove(0, text.indexOf(u'\n') + 1);
    return u"Usage: %1 generate %2 [options]\n%3\n%4"_s.arg(programName(), tool.name, tool.summary, text);
}

int usageError(QIODevice &err, const QString &message)
{
    // The message quotes what was given, which may hold a line break; the
    // complaint stays one line.
    QString line = message;
    line.replace(u'\r', u"\\r"_s).replace(u'\n', u"\\n"_s);
    writeLine(err, programName() + u": "_s + line);
    return 2;
}

int runGenerate(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice &in)
{
    // arguments: program, "generate", TOOL, options...
    if (arguments.size() < 3 || arguments.at(2).startsWith(u'-')) {
        if (arguments.size() >= 3 && (arguments.at(2) == u"--help"_s || arguments.at(2) == u"-h"_s)) {
            out.write((u"Usage: %1 generate TOOL [options]\n\n"_s.arg(programName()) + toolListText()).toUtf8());
            return 0;
        }
        return usageError(err, u"generate: name a tool (%1)"_s.arg([] {
            QStringList names;
            for (const CliTool &tool : cliTools())
                names << tool.name;
            return names.join(u", "_s);
        }()));
    }
    const QString toolName = arguments.at(2);
    const auto tool = std::find_if(cliTools().cbegin(), cliTools().cend(),
                                   [&](const CliTool &t) { return t.name == toolName; });
    if (tool == cliTools().cend())
        return usageError(err, u"generate: unknown tool '%1'"_s.arg(toolName));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    ToolOptions options(parser, in);
    tool->declare(options);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help."_s);
    parser.addOption(help);
    QStringList toParse = arguments;
    toParse.remove(1, 2); // the parser sees the program and the options
    if (!parser.parse(toParse))
        return usageError(err, u"generate %1: %2"_s.arg(toolName, parser.errorText()));
    if (parser.isSet(help)) {
        out.write(toolHelpText(*tool).toUtf8());
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(err, u"generate %1: unexpected argument '%2'"_s.arg(toolName,
                                                                               parser.positionalArguments().first()));
    try {
        out.write(tool->generate(options).toUtf8());
    } catch (const CliError &error) {
        return usageError(err, u"generate %1: %2"_s.arg(toolName, error.message));
    }
    return 0;
}

} // namespace

int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice &in)
{
    if (arguments.size() >= 2 && arguments.at(1) == u"generate"_s)
        return runGenerate(arguments, out, err, in);

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Quillkit 98 writes ready-made BASIC source for message boxes, input boxes,\n"
                       "file headers and common dialogs. Without a command it opens its window."));
    parser.addOption({u"no-splash"_s, QCoreApplication::translate("CommandLine", "Starts without the splash window.")});
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Displays version information."_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(u"generate"_s, u"generate TOOL [options]: prints the tool's code, as Copy would."_s);
    if (!parser.parse(arguments))
        return usageError(err, parser.errorText());
    if (parser.isSet(version)) {
        writeLine(out, u"Quillkit 98, version %1"_s.arg(QCoreApplication::applicationVersion()));
        writeLine(out, vendor::Copyright.toString());
        writeLine(out, u"License GPLv3+: %1 <%2>."_s.arg(vendor::LicenceName, vendor::LicenceAddress));
        writeLine(out, u"This is free software: you are free to change and redistribute it."_s);
        writeLine(out, u"There is NO WARRANTY, to the extent permitted by law."_s);
        return 0;
    }
    QString text = parser.helpText();
    // The parser's usage line names argv[0] and knows nothing of commands.
    text.remove(0, text.indexOf(u'\n') + 1);
    text.prepend(u"Usage: %1 [--no-splash]\n       %1 generate TOOL [options]\n"_s.arg(programName()));
    text += u'\n' + toolListText();
    for (const CliTool &tool : cliTools())
        text += u'\n' + toolHelpText(tool);
    out.write(text.toUtf8());
    return 0;
}
