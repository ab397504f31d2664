// SPDX-License-Identifier: GPL-3.0-or-later
// `quillkit98 generate TOOL ...` with any arguments and any standard input.
// The run either prints the tool's code (or its help) with status 0 and
// nothing on stderr, or one line on stderr with status 2 and nothing else.
// A run that succeeds gave no option twice (but the repeatable --file-type)
// and let at most one option read standard input; a complaint echoes no
// control character raw.
// The input is the tool's number, then arguments separated by NUL bytes;
// the last piece is standard input. Arguments that name a path are refused,
// so that a run reads no file but its own standard input.

#include "FuzzInput.h"
#include "app/CommandLine.h"
#include "app/Tools.h"
#include "cli/ToolOptions.h"

#include <QBuffer>
#include <QByteArrayList>
#include <QCommandLineParser>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

struct Frame
{
    QByteArray first;
    QByteArray last;
};

// The first line and how the text ends, per tool in the tools() order.
const Frame frames[] = {
    {"'*** Start ", "\r\n'*** End Notewright Code ***"},
    {"'*** Begin Askwright Code ***\r\n", "\r\n'*** End Askwright Code ***"},
    {"'*******************************************************************************\r\n",
     "\r\n'*******************************************************************************"},
    {"'*** Begin Pickwright Code ***\r\n", "\r\n'*** End Pickwright Code ***\r\n"},
};

bool onlyCrLfBreaks(const QByteArray &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

// What the parser made of the arguments, read again apart from the run.
bool givenOnceAndInputReadOnce(const CliTool &tool, const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QBuffer none;
    ToolOptions options(parser, none);
    tool.declare(options);
    parser.addOption({{u"h"_s, u"help"_s}, u"help"_s});
    QStringList toParse = arguments;
    toParse.remove(1, 2);
    if (!parser.parse(toParse))
        return false;
    const QStringList names = parser.optionNames();
    int readingInput = 0;
    for (const QString &name : QSet<QString>(names.cbegin(), names.cend())) {
        if (names.count(name) > 1 && name != u"file-type"_s)
            return false;
        if (name.endsWith(u"-file"_s) && parser.value(name) == u"-"_s)
            ++readingInput;
    }
    return readingInput <= 1;
}

// No C0 (but the final line feed), DEL, C1 or line or paragraph separator.
bool noRawControls(const QString &line)
{
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        const char16_t c = line.at(i).unicode();
        if (c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t tool = data[0] % std::size(frames);
    QByteArrayList pieces = QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).split('\0');
    QBuffer in;
    in.setData(pieces.takeLast());
    QStringList arguments{u"quillkit98"_s, u"generate"_s, tools().at(qsizetype(tool)).cli.name};
    for (const QByteArray &piece : pieces) {
        if (piece.contains('/'))
            return -1;
        // As the program decodes its arguments.
        arguments << QString::fromLocal8Bit(piece);
    }

    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    const int status = runCommandLine(arguments, out, err, in);
    const QByteArray &printed = out.data();
    const QByteArray &complaint = err.data();

    if (status != 0) {
        FUZZ_CHECK(status == 2, QString::number(status));
        FUZZ_CHECK(printed.isEmpty(), QString::fromUtf8(printed));
        // One line, and after a mistake in the command the line that says
        // where its help is, as the GNU tools write them.
        const QList<QByteArray> lines = complaint.chopped(complaint.endsWith('\n') ? 1 : 0).split('\n');
        FUZZ_CHECK(complaint.startsWith("quillkit98: ") && complaint.endsWith('\n') && !complaint.contains('\r')
                       && (lines.size() == 1
                           || (lines.size() == 2 && lines[1].startsWith("Try 'quillkit98")
                               && lines[1].endsWith("--help' for more information."))),
                   QString::fromUtf8(complaint));
        for (const QByteArray &line : lines)
            FUZZ_CHECK(noRawControls(QString::fromUtf8(line + '\n')), QString::fromUtf8(complaint));
        return 0;
    }
    FUZZ_CHECK(complaint.isEmpty(), QString::fromUtf8(complaint));
    FUZZ_CHECK(QString::fromUtf8(printed).toUtf8() == printed, u"not UTF-8"_s);
    if (printed.startsWith("Usage: "))
        return 0; // --help
    FUZZ_CHECK(givenOnceAndInputReadOnce(tools().at(qsizetype(tool)).cli, arguments), arguments.join(u' '));
    const Frame &frame = frames[tool];
    FUZZ_CHECK(printed.startsWith(frame.first) && printed.endsWith(frame.last), QString::fromUtf8(printed));
    FUZZ_CHECK(onlyCrLfBreaks(printed), QString::fromUtf8(printed));
    return 0;
}
