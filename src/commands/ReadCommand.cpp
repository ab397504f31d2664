// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ReadCommand.h"

#include "basic/Source.h"
#include "cli/Messages.h"
#include "cli/ToolOptions.h"
#include "commands/CommandIo.h"
#include "commands/GenerateCommand.h"
#include "reader/CodeReader.h"
#include "reader/ResultJson.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QIODevice>
#include <QJsonDocument>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// A mistake in the command, and where the help is.
int usageError(QIODevice &err, const QString &message)
{
    return commands::usageError(err, message, u"read");
}

// The help in the words of iconv, which names the encodings on Linux.
QString helpNamingIconv(const QList<Tool> &tools)
{
    // The --tool row names every tool, in a column 16 characters in.
    QString toolRow = wrappedParagraph(
        QCoreApplication::translate("ReadCommand", "Looks only for that tool's code (%1).")
            .arg(toolNames(tools).join(u", "_s)),
        64);
    toolRow.replace(u'\n', u"\n                "_s);
    toolRow.chop(16);
    return QCoreApplication::translate(
        "ReadCommand",
        "Usage: quillkit98 read [--tool TOOL] [--file FILE] [--encoding NAME] [--dialect DIALECT]\n"
        "Reads BASIC code from FILE or standard input, finds the first message box\n"
        "call, input box call, common dialog block or file header block, and prints one\n"
        "JSON object: \"tool\" and one member per option of `generate TOOL`, which\n"
        "`generate --from-json` takes back. Code the tools cannot hold is refused with its\n"
        "line and column on standard error, exit status 2.\n\n"
        "Options:\n"
        "%1"
        "  --file FILE   Reads FILE instead of standard input.\n"
        "  --encoding NAME\n"
        "                The code's encoding, any name iconv knows (windows-1251, ...).\n"
        "                Without it: UTF-8 when the bytes are UTF-8, else Windows-1252.\n"
        "                Visual Basic's Chr takes codes from 128 up from it (Windows-1252\n"
        "                without it).\n"
        "  --dialect DIALECT\n"
        "                The BASIC the code is written in: vb, libreoffice or gambas.\n"
        "                Without it, only constructs one dialect alone has tell; else\n"
        "                the code is read as Visual Basic.\n"
        "  -h, --help    Displays this help.\n")
        .arg(u"  --tool TOOL   "_s + toolRow);
}

QString readHelpText(const QList<Tool> &tools)
{
#if defined(Q_OS_WIN)
    // The encodings are Windows' code pages there.
    return helpNamingIconv(tools).replace(u"any name iconv knows (windows-1251, ...)"_s,
                                          u"a Windows code page (windows-1251, CP850, ...)"_s);
#else
    return helpNamingIconv(tools);
#endif
}

} // namespace

namespace {

// Why `generate --from-json` would not take the object, or would write other
// code than the fields read: what read prints must be what the tools hold.
QString writtenBackProblem(const ReadResult &result, const QByteArray &object, const QList<Tool> &tools)
{
    QBuffer in;
    in.setData(object);
    in.open(QIODevice::ReadOnly);
    QBuffer generated;
    QBuffer errors;
    generated.open(QIODevice::WriteOnly);
    errors.open(QIODevice::WriteOnly);
    const int status =
        runGenerate({u"quillkit98"_s, u"generate"_s, u"--from-json"_s, u"-"_s}, tools, generated, errors, in);
    if (status != 0) {
        // Its first line, without the program's and the command's names.
        QString why = QString::fromUtf8(errors.data()).section(u'\n', 0, 0).trimmed();
        why.remove(QRegularExpression(u"^quillkit98: (generate [a-z]+: )?"_s));
        return u"the code holds what the tool cannot: %1"_s.arg(why);
    }
    if (result.tool->generate
        && QString::fromUtf8(generated.data()) != result.tool->generate(result.fields, result.code))
        return u"the code reads into fields that the tool writes back otherwise"_s;
    return {};
}

} // namespace

int runRead(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err, QIODevice &in)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption toolOption(u"tool"_s, QString(), u"TOOL"_s);
    const QCommandLineOption fileOption(u"file"_s, QString(), u"FILE"_s);
    const QCommandLineOption encodingOption(u"encoding"_s, QString(), u"NAME"_s);
    const QCommandLineOption dialectOption(u"dialect"_s, QString(), u"DIALECT"_s);
    const QCommandLineOption help({u"h"_s, u"help"_s}, QString());
    parser.addOptions({toolOption, fileOption, encodingOption, dialectOption, help});
    QStringList toParse = arguments;
    toParse.removeAt(1); // the parser sees the program and the options
    if (!parser.parse(toParse))
        return usageError(err, cli::parseError(parser, toParse, {toolOption, fileOption, encodingOption, dialectOption, help}));
    if (parser.isSet(help)) {
        return commands::printed(out, err, readHelpText(tools));
    }
    // A second --tool or --file would silently win over the first.
    if (const QString twice = commands::givenTwice(parser, {toolOption, fileOption, encodingOption, dialectOption});
        !twice.isEmpty())
        return usageError(err, u"read: --%1 is given more than once"_s.arg(twice));
    if (!parser.positionalArguments().isEmpty())
        return usageError(err, u"read: unexpected argument '%1'"_s.arg(parser.positionalArguments().first()));
    const Tool *only = nullptr;
    if (parser.isSet(toolOption)) {
        only = toolNamed(tools, parser.value(toolOption));
        if (!only)
            return usageError(err, cli::invalidArgument(u"--tool", parser.value(toolOption), toolNames(tools)));
    }
    // Standard input is "-", as in the refusals' places.
    const QString path = parser.isSet(fileOption) ? parser.value(fileOption) : u"-"_s;
    std::optional<basic::Encoding> encoding;
    try {
        encoding = basic::Encoding::named(parser.value(encodingOption));
    } catch (const basic::SourceError &error) {
        return usageError(err, u"read: --encoding: "_s + error.message);
    }
    ReadSettings settings;
    if (parser.isSet(dialectOption)) {
        const QString name = parser.value(dialectOption);
        settings.dialect = basic::dialectFromName(name);
        if (!settings.dialect)
            return usageError(err, cli::invalidArgument(u"--dialect", name, basic::dialectNames()));
    }
    QString text;
    try {
        text = basic::Source(readSource(u"--file"_s, path, in), *encoding).text();
        if (!encoding->isAuto())
            settings.codePage = encoding->name();
    } catch (const CliError &error) {
        return commands::reportedError(err, error, u"read"_s, u"read");
    } catch (const basic::SourceError &error) {
        commands::writeFileError(err, path, error.message);
        return 2;
    }
    const ReadResult result = readCode(text, tools, only, settings);
    if (!result.ok()) {
        const ReadError &refusal = *result.error;
        // As a compiler names a place, so that an editor can go to it.
        commands::writeLine(err, escapedControls(cli::locatedMessage(path, refusal.line, refusal.column, refusal.message)));
        return 2;
    }
    const QByteArray object = QJsonDocument(readResultJson(result)).toJson(QJsonDocument::Indented);
    if (const QString problem = writtenBackProblem(result, object, tools); !problem.isEmpty()) {
        commands::writeLine(err, escapedControls(cli::locatedMessage(path, 1, 1, problem)));
        return 2;
    }
    return commands::printed(out, err, QString::fromUtf8(object));
}

