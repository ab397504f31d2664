// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "app/Tools.h"
#include "cli/Messages.h"
#include "cli/ToolOptions.h"
#include "codegen/BasicLimits.h"
#include "fix/FixCommand.h"
#include "lsp/LspCommand.h"
#include "reader/ReadCommand.h"
#include "tools/CodeStyleOptions.h"
#include "app/Vendor.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <new>

#if defined(Q_OS_UNIX)
#include <sys/ioctl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

void writeLine(QIODevice &device, const QString &line)
{
    device.write((line + u'\n').toUtf8());
}

// The width that --help wraps to: the terminal's, or 80 columns.
int helpWidth(QIODevice &out)
{
#if defined(Q_OS_UNIX)
    if (auto *file = qobject_cast<QFileDevice *>(&out); file && file->handle() >= 0 && isatty(file->handle())) {
        winsize size{};
        if (ioctl(file->handle(), TIOCGWINSZ, &size) == 0 && size.ws_col >= 40)
            return size.ws_col;
    }
#endif
    Q_UNUSED(out);
    return 80;
}

} // namespace

namespace {

// The tools' commands, in the selector's order.
QList<CliTool> cliTools()
{
    QList<CliTool> commands;
    for (const Tool &tool : tools())
        commands << tool.cli;
    return commands;
}

} // namespace

bool isHeadlessCommand(const QStringList &arguments)
{
    const QStringList rest = arguments.mid(1);
    if (!rest.isEmpty() && (rest.first() == u"generate"_s || rest.first() == u"read"_s || rest.first() == u"fix"_s
                              || rest.first() == u"lsp"_s))
        return true;
    for (const QString &arg : rest) {
        if (arg == u"--help"_s || arg == u"-h"_s || arg == u"--version"_s || arg == u"-v"_s)
            return true;
    }
    return false;
}

namespace {

using cli::programName;

QString toolListText(int width)
{
    QList<std::pair<QString, QString>> rows;
    for (const CliTool &tool : cliTools())
        rows.append({tool.name, tool.summary});
    return QCoreApplication::translate("CommandLine", "Tools:\n") + helpColumns(rows, width);
}

// The options of one tool, as its own --help shows them.
QString toolHelpText(const CliTool &tool, int width)
{
    QCommandLineParser parser;
    QFile none;
    ToolOptions options(parser, none);
    tool.declare(options);
    auto rows = options.helpRows();
    rows.append({u"-h, --help"_s, u"Displays this help."_s});
    return u"Usage: %1 generate %2 [options]\n%3\nOptions:\n%4"_s.arg(programName(), tool.name,
                                                                    wrappedParagraph(tool.summary, width),
                                                                    helpColumns(rows, width));
}

// A mistake in the command: what it is, and where the help is.
// The message quotes what was given, which may hold a line break or a
// terminal's escape sequence; the complaint stays one plain line.
int usageError(QIODevice &err, const QString &message, const QString &command = {})
{
    writeLine(err, cli::programMessage(message));
    writeLine(err, cli::tryHelp(command));
    return 2;
}

// A CliError: a mistake in the command, or a file that cannot be read.
int reportedError(QIODevice &err, const CliError &error, const QString &context, const QString &command)
{
    if (!error.usage) {
        writeLine(err, cli::programMessage(error.message));
        return 2;
    }
    return usageError(err, context.isEmpty() ? error.message : context + u": "_s + error.message, command);
}

// Prints the text on standard output; a failed write is no success.
int printed(QIODevice &out, QIODevice &err, QStringView text)
{
    if (writeChecked(out, text))
        return 0;
    writeLine(err, u"%1: cannot write the output: %2"_s.arg(programName(), out.errorString()));
    return 1;
}

// A tool's code written line by line as it is laid out: a text whose code is
// many times its size never has all of it in memory. A bad value is
// reported before the first line.
int writeGenerated(const CliTool &tool, const ToolOptions &options, const QString &command, QIODevice &out,
                   QIODevice &err)
{
    LineWriter writer(out);
    try {
        options.checkGiven();
        tool.write(options, [&writer](QString &&line) { writer.add(line); });
    } catch (const CliError &error) {
        return reportedError(err, error, command, command);
    }
    if (!writer.finish()) {
        writeLine(err, u"%1: cannot write the output: %2"_s.arg(programName(), out.errorString()));
        return 1;
    }
    if (const QString note = codeOptionsNote(options); !note.isEmpty())
        writeLine(err, u"%1: %2"_s.arg(programName(), note));
    // Written all the same: the user may well split it up by hand.
    if (const QString note = codegen::blockSizeNoteForBytes(writer.size()); !note.isEmpty())
        writeLine(err, u"%1: warning: %2"_s.arg(programName(), note));
    return 0;
}

int runGenerate(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice &in)
{
    if (hasFromJson(arguments)) {
        try {
            return runGenerate(argumentsFromJson(arguments, tools(), in), out, err, in);
        } catch (const CliError &error) {
            return reportedError(err, error, u"generate"_s, u"generate"_s);
        }
    }
    // arguments: program, "generate", TOOL, options...
    if (arguments.size() < 3 || arguments.at(2).startsWith(u'-')) {
        if (arguments.size() >= 3 && (arguments.at(2) == u"--help"_s || arguments.at(2) == u"-h"_s))
            return printed(out, err,
                           QString(u"Usage: %1 generate TOOL [options]\n\n"_s.arg(programName())
                                   + toolListText(helpWidth(out))));
        return usageError(err,
                          u"generate: name a tool (%1)"_s.arg([] {
                              QStringList names;
                              for (const CliTool &tool : cliTools())
                                  names << tool.name;
                              return names.join(u", "_s);
                          }()),
                          u"generate"_s);
    }
    const QString toolName = arguments.at(2);
    const QList<CliTool> commands = cliTools();
    const auto tool = std::find_if(commands.cbegin(), commands.cend(),
                                   [&](const CliTool &t) { return t.name == toolName; });
    if (tool == commands.cend())
        return usageError(err, u"generate: unknown tool '%1'"_s.arg(toolName), u"generate"_s);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    ToolOptions options(parser, in);
    tool->declare(options);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help."_s);
    parser.addOption(help);
    QStringList toParse = arguments;
    toParse.remove(1, 2); // the parser sees the program and the options
    const QString command = u"generate "_s + toolName;
    if (!parser.parse(toParse))
        return usageError(err, cli::parseError(parser, toParse, options.declared() + QList{help}), command);
    if (parser.isSet(help))
        return printed(out, err, toolHelpText(*tool, helpWidth(out)));
    if (!parser.positionalArguments().isEmpty())
        return usageError(err, u"%1: unexpected argument '%2'"_s.arg(command, parser.positionalArguments().first()),
                          command);
    if (tool->write)
        return writeGenerated(*tool, options, command, out, err);
    QString code;
    try {
        options.checkGiven();
        code = tool->generate(options);
    } catch (const CliError &error) {
        return reportedError(err, error, command, command);
    }
    const int status = printed(out, err, code);
    if (const QString note = codeOptionsNote(options); status == 0 && !note.isEmpty())
        writeLine(err, u"%1: %2"_s.arg(programName(), note));
    // Written all the same: the user may well split it up by hand.
    if (const QString note = codegen::blockSizeNote(code); status == 0 && !note.isEmpty())
        writeLine(err, u"%1: warning: %2"_s.arg(programName(), note));
    return status;
}

int runTopLevel(const QStringList &arguments, QIODevice &out, QIODevice &err);

} // namespace

namespace {

const QString NoSplash = u"no-splash"_s;
const QString CodeViewOption = u"code-view"_s;
const QString ConstantsOption = u"constants"_s;
const QString DialectOption = u"dialect"_s;
const QString ReadFileOption = u"read-file"_s;

QList<QCommandLineOption> windowOptions()
{
    return {
        {NoSplash, QCoreApplication::translate("CommandLine", "Starts without the splash window.")},
        {CodeViewOption, QCoreApplication::translate("CommandLine", "Starts with the code view shown (F7 shows and hides it).")},
        {ConstantsOption,
         QCoreApplication::translate("CommandLine", "Starts writing the message box's constants as numbers (the "
                                                    "default) or as BASIC's names."),
         u"numbers|names"_s},
        {DialectOption,
         QCoreApplication::translate("CommandLine", "Starts writing code for Visual Basic (the default), for "
                                                    "LibreOffice Basic or for Gambas."),
         u"vb|libreoffice|gambas"_s},
    };
}

void declareWindowOptions(QCommandLineParser &parser)
{
    parser.addOptions(windowOptions());
    // Hidden: the language server starts the window with a call read in.
    parser.addOption({ReadFileOption, QString(), u"FILE"_s});
}

} // namespace

std::optional<WindowOptions> parseWindowOptions(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    declareWindowOptions(parser);
    if (!parser.parse(arguments)) {
        *error = cli::parseError(parser, arguments, windowOptions());
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error = u"unexpected argument '%1'"_s.arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }
    WindowOptions options;
    options.splash = !parser.isSet(NoSplash);
    options.codeView = parser.isSet(CodeViewOption);
    options.readFile = parser.value(ReadFileOption);
    if (parser.isSet(ConstantsOption)) {
        const QString constants = parser.value(ConstantsOption);
        const auto style = codegen::constantsFromName(constants);
        if (!style) {
            *error = cli::invalidArgument(u"--constants", constants, codegen::constantsNames());
            return std::nullopt;
        }
        options.codeOptions.constants = *style;
    }
    if (parser.isSet(DialectOption)) {
        const QString dialect = parser.value(DialectOption);
        const auto known = basic::dialectFromName(dialect);
        if (!known) {
            *error = cli::invalidArgument(u"--dialect", dialect, basic::dialectNames());
            return std::nullopt;
        }
        options.codeOptions.dialect = *known;
    }
    return options;
}

int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice &in)
{
    // Memory runs out only for a huge text: one line, not an abort.
    try {
        if (arguments.size() >= 2 && arguments.at(1) == u"generate"_s)
            return runGenerate(arguments, out, err, in);
        if (arguments.size() >= 2 && arguments.at(1) == u"read"_s)
            return runRead(arguments, tools(), out, err, in);
        if (arguments.size() >= 2 && arguments.at(1) == u"fix"_s)
            return runFix(arguments, out, err, in);
        if (arguments.size() >= 2 && arguments.at(1) == u"lsp"_s)
            return runLsp(arguments, tools(), out, err);
        return runTopLevel(arguments, out, err);
    } catch (const std::bad_alloc &) {
        writeLine(err, u"%1: out of memory; the text is too long"_s.arg(programName()));
        return 2;
    }
}

namespace {

QString fixSummary()
{
    return u"fix [--check [--format F] | --diff] PATH...: names the bare numbers of the message boxes in a project's "
           u"modules (36 becomes vbYesNo + vbQuestion), changing nothing else; fix --help tells more."_s;
}

int runTopLevel(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Quillkit 98 writes ready-made BASIC source for message boxes, input boxes, "
                       "file headers and common dialogs. Without a command it opens its window."));
    declareWindowOptions(parser);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Displays version information."_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(u"generate"_s, u"generate TOOL [options]: prints the tool's code, as Copy would."_s);
    parser.addPositionalArgument(u"read"_s,
                                 u"read [--tool TOOL] [--file FILE]: prints the fields of existing code as JSON."_s);
    parser.addPositionalArgument(u"fix"_s, fixSummary());
    if (!parser.parse(arguments))
        return usageError(err, cli::parseError(parser, arguments, windowOptions() + QList{help, version}));
    if (parser.isSet(version)) {
        return printed(out, err,
                       u"Quillkit 98, version %1\n%2\nLicense GPLv3+: %3 <%4>.\n"
                       u"This is free software: you are free to change and redistribute it.\n"
                       u"There is NO WARRANTY, to the extent permitted by law.\n"_s.arg(
                           QCoreApplication::applicationVersion(), vendor::Copyright.toString(), vendor::LicenceName,
                           vendor::LicenceAddress)
                           .append(vendor::contactLines(vendor::configuredContacts())));
    }
    const int width = helpWidth(out);
    QString text = u"Usage: %1 [window options]\n"
                   u"       %1 generate TOOL [options]\n"
                   u"       %1 generate [TOOL] --from-json FILE|- [options]\n"
                   u"       %1 read [--tool T] [--file FILE] [--encoding NAME] [--dialect D]\n"
                   u"       %1 fix [--check [--format F] | --diff] [options] PATH...\n"
                   u"       %1 lsp\n"_s.arg(programName());
    text += wrappedParagraph(parser.applicationDescription(), width) + u"\nWindow options:\n"_s;
    QList<std::pair<QString, QString>> rows;
    for (const QCommandLineOption &option : windowOptions()) {
        QString names = u"--"_s + option.names().constFirst();
        if (!option.valueName().isEmpty())
            names += u" <"_s + option.valueName() + u'>';
        rows.append({names, option.description()});
    }
    text += helpColumns(rows, width) + u"\nOptions:\n"_s;
    text += helpColumns({{u"-h, --help"_s, help.description()}, {u"-v, --version"_s, version.description()}}, width);
    text += u"\nCommands:\n"_s
            + helpColumns({{u"generate"_s, u"generate TOOL [options]: prints the tool's code, as Copy would."_s},
                           {u"read"_s, u"read [--tool TOOL] [--file FILE]: prints the fields of existing code as JSON."_s},
                           {u"fix"_s, fixSummary()},
                           {u"lsp"_s, u"lsp: a language server for editors on standard input and output; lsp --help "
                                      u"tells more."_s}},
                          width);
    text += u'\n' + toolListText(width);
    for (const CliTool &tool : cliTools())
        text += u'\n' + toolHelpText(tool, width);
    return printed(out, err, text);
}

} // namespace
