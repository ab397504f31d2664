#include "app/CommandLine.h"

#include "app/Tools.h"
#include "cli/ToolOptions.h"
#include "reader/ReadCommand.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

using namespace Qt::StringLiterals;

namespace {

void writeLine(QIODevice &device, const QString &line)
{
    device.write((line + u'\n').toUtf8());
}

} // namespace

namespace {

// The tools' commands, in the selector's order.
QList<CliTool> cliTools()
{
    QList<CliTool> commands;
    for (const ToolDescriptor &tool : tools())
        commands << tool.cli;
    return commands;
}

} // namespace

bool isHeadlessCommand(const QStringList &arguments)
{
    const QStringList rest = arguments.mid(1);
    if (!rest.isEmpty() && (rest.first() == u"generate"_s || rest.first() == u"read"_s))
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
    if (hasFromJson(arguments)) {
        try {
            return runGenerate(argumentsFromJson(arguments, cliTools(), in), out, err, in);
        } catch (const CliError &error) {
            return usageError(err, u"generate: "_s + error.message);
        }
    }
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
    const QList<CliTool> commands = cliTools();
    const auto tool = std::find_if(commands.cbegin(), commands.cend(),
                                   [&](const CliTool &t) { return t.name == toolName; });
    if (tool == commands.cend())
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

namespace {

const QString NoSplash = u"no-splash"_s;
const QString CodeViewOption = u"code-view"_s;

void declareWindowOptions(QCommandLineParser &parser)
{
    parser.addOption({NoSplash, QCoreApplication::translate("CommandLine", "Starts without the splash window.")});
    parser.addOption({CodeViewOption, QCoreApplication::translate(
                                          "CommandLine", "Starts with the code view shown (F7 shows and hides it).")});
}

} // namespace

std::optional<WindowOptions> parseWindowOptions(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    declareWindowOptions(parser);
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error = u"unexpected argument '%1'"_s.arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }
    WindowOptions options;
    options.splash = !parser.isSet(NoSplash);
    options.codeView = parser.isSet(CodeViewOption);
    return options;
}

int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice &in)
{
    if (arguments.size() >= 2 && arguments.at(1) == u"generate"_s)
        return runGenerate(arguments, out, err, in);
    if (arguments.size() >= 2 && arguments.at(1) == u"read"_s)
        return runRead(arguments, out, err, in);

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Quillkit 98 writes ready-made BASIC source for message boxes, input boxes,\n"
                       "file headers and common dialogs. Without a command it opens its window."));
    declareWindowOptions(parser);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Displays version information."_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(u"generate"_s, u"generate TOOL [options]: prints the tool's code, as Copy would."_s);
    parser.addPositionalArgument(u"read"_s,
                                 u"read [--tool TOOL] [--file FILE]: prints the fields of existing code as JSON."_s);
    if (!parser.parse(arguments))
        return usageError(err, parser.errorText());
    if (parser.isSet(version)) {
        writeLine(out, u"Quillkit 98, version %1"_s.arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    QString text = parser.helpText();
    // The parser's usage line names argv[0] and knows nothing of commands.
    text.remove(0, text.indexOf(u'\n') + 1);
    text.prepend(u"Usage: %1 [window options]\n"
                 u"       %1 generate TOOL [options]\n"
                 u"       %1 generate [TOOL] --from-json FILE|- [options]\n"
                 u"       %1 read [--tool TOOL] [--file FILE]\n"_s.arg(programName()));
    text += u'\n' + toolListText();
    for (const CliTool &tool : cliTools())
        text += u'\n' + toolHelpText(tool);
    out.write(text.toUtf8());
    return 0;
}
