// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "app/Tools.h"
#include "cli/Messages.h"
#include "cli/ToolOptions.h"
#include "commands/CommandIo.h"
#include "commands/FixCommand.h"
#include "commands/GenerateCommand.h"
#include "commands/LspCommand.h"
#include "commands/ReadCommand.h"
#include "app/Vendor.h"
#include "basic/Dialect.h"
#include "codegen/CodeOptions.h"

#include <QCoreApplication>
#include <QIODevice>

#include <new>

using namespace Qt::StringLiterals;

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
using commands::helpWidth;
using commands::printed;
using commands::usageError;
using commands::writeLine;

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
            return runGenerate(arguments, tools(), out, err, in);
        if (arguments.size() >= 2 && arguments.at(1) == u"read"_s)
            return runRead(arguments, tools(), out, err, in);
        if (arguments.size() >= 2 && arguments.at(1) == u"fix"_s)
            return runFix(arguments, tools(), out, err, in);
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
    QStringList subjects;
    for (const Tool &tool : tools())
        subjects << tool.subject;
    const QString last = subjects.takeLast();
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine",
                                    "Quillkit 98 writes ready-made BASIC source for %1. Without a command it opens its "
                                    "window.")
            .arg(subjects.isEmpty() ? last : subjects.join(u", "_s) + u" and "_s + last));
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
    text += u'\n' + toolListText(tools(), width);
    for (const Tool &tool : tools())
        text += u'\n' + toolHelpText(tool.cli, width);
    return printed(out, err, text);
}

} // namespace
