// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/GenerateCommand.h"

#include "cli/Messages.h"
#include "cli/ToolOptions.h"
#include "codegen/BasicLimits.h"
#include "commands/CommandIo.h"
#include "commands/FromJson.h"
#include "tools/CodeStyleOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using cli::programName;
using commands::printed;
using commands::reportedError;
using commands::usageError;
using commands::writeLine;

// The tools' commands, in the selector's order.
QList<CliTool> cliTools(const QList<Tool> &tools)
{
    QList<CliTool> faces;
    for (const Tool &tool : tools)
        faces << tool.cli;
    return faces;
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
        commands::writeOutputError(err, out);
        return 1;
    }
    if (const QString note = codeOptionsNote(options); !note.isEmpty())
        writeLine(err, u"%1: %2"_s.arg(programName(), note));
    // Written all the same: the user may well split it up by hand.
    if (const QString note = codegen::blockSizeNoteForBytes(writer.size()); !note.isEmpty())
        writeLine(err, u"%1: warning: %2"_s.arg(programName(), note));
    return 0;
}

} // namespace

QString toolListText(const QList<Tool> &tools, int width)
{
    QList<std::pair<QString, QString>> rows;
    for (const CliTool &tool : cliTools(tools))
        rows.append({tool.name, tool.summary});
    return QCoreApplication::translate("CommandLine", "Tools:\n") + helpColumns(rows, width);
}

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

namespace {

// `generate TOOL [options]`, with the values of options given otherwise
// (ToolOptions::setOtherValues).
int generateTool(const QStringList &arguments, const QHash<QString, QStringList> &otherValues,
                 const QList<Tool> &tools, QIODevice &out, QIODevice &err, QIODevice &in)
{
    // arguments: program, "generate", TOOL, options...
    if (arguments.size() < 3 || arguments.at(2).startsWith(u'-')) {
        if (arguments.size() >= 3 && (arguments.at(2) == u"--help"_s || arguments.at(2) == u"-h"_s))
            return printed(out, err,
                           QString(u"Usage: %1 generate TOOL [options]\n\n"_s.arg(programName())
                                   + toolListText(tools, commands::helpWidth(out))));
        return usageError(err,
                          u"generate: name a tool (%1)"_s.arg([&] {
                              QStringList names;
                              for (const CliTool &tool : cliTools(tools))
                                  names << tool.name;
                              return names.join(u", "_s);
                          }()),
                          u"generate"_s);
    }
    const QString toolName = arguments.at(2);
    const QList<CliTool> faces = cliTools(tools);
    const auto tool = std::find_if(faces.cbegin(), faces.cend(),
                                   [&](const CliTool &t) { return t.name == toolName; });
    if (tool == faces.cend())
        return usageError(err, u"generate: unknown tool '%1'"_s.arg(toolName), u"generate"_s);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    ToolOptions options(parser, in);
    tool->declare(options);
    options.setOtherValues(otherValues);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help."_s);
    parser.addOption(help);
    QStringList toParse = arguments;
    toParse.remove(1, 2); // the parser sees the program and the options
    const QString command = u"generate "_s + toolName;
    if (!parser.parse(toParse))
        return usageError(err, cli::parseError(parser, toParse, options.declared() + QList{help}), command);
    if (parser.isSet(help))
        return printed(out, err, toolHelpText(*tool, commands::helpWidth(out)));
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

} // namespace

int runGenerate(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err,
                QIODevice &in)
{
    if (!hasFromJson(arguments))
        return generateTool(arguments, {}, tools, out, err, in);
    FromJsonCommand command;
    try {
        command = commandFromJson(arguments, tools, in);
    } catch (const CliError &error) {
        return reportedError(err, error, u"generate"_s, u"generate"_s);
    }
    return generateTool(command.arguments, command.values, tools, out, err, in);
}
