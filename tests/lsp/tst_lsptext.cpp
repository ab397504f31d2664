// SPDX-License-Identifier: GPL-3.0-or-later
// The language server's own parts: framing that survives any split of the
// stream and bounds what it keeps, and positions in UTF-16 units and UTF-8
// bytes over every kind of line end.

#include "app/Tools.h"
#include "basic/Tokens.h"
#include "fix/ModuleFixer.h"
#include "lsp/Meanings.h"
#include "lsp/MessageReader.h"
#include "lsp/ModuleCheck.h"
#include "lsp/Symbols.h"
#include "lsp/TextDocument.h"
#include "reader/ResultJson.h"
#include "support/RandomText.h"

#include <QJsonDocument>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QByteArray framed(const QByteArray &body)
{
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// Findings as text, for a comparison that shows the first difference: the
// calls' own numbers left out, which a check in part keeps apart but does
// not count in order.
QStringList outlined(const std::vector<lsp::Symbol> &symbols)
{
    QStringList lines;
    for (const lsp::Symbol &symbol : symbols) {
        lines << u"%1 %2 %3-%4 %5-%6 %7"_s.arg(symbol.name)
                     .arg(int(symbol.kind))
                     .arg(symbol.begin)
                     .arg(symbol.end)
                     .arg(symbol.nameBegin)
                     .arg(symbol.nameEnd)
                     .arg(symbol.detail);
        lines += outlined(symbol.children);
    }
    return lines;
}

QStringList described(const fix::ModuleFixes &fixes)
{
    QStringList lines{u"calls %1"_s.arg(fixes.calls)};
    for (const fix::Change &c : fixes.changes)
        lines << u"%1-%2 %3:%4 %5 -> %6 (%7)"_s.arg(c.from)
                     .arg(c.to)
                     .arg(c.line)
                     .arg(c.column)
                     .arg(c.original, c.replacement)
                     .arg(int(c.kind));
    for (const fix::Note &n : fixes.notes)
        lines << u"%1-%2 %3:%4 note: %5"_s.arg(n.pos).arg(n.end).arg(n.line).arg(n.column).arg(n.message);
    return lines;
}

// The frames of a stream fed in reads of `chunk` bytes, as the server takes
// them: a body that is no JSON sends the reader on to the next header. Each
// fault (a bad frame, a body that is no JSON) is counted.
void readStream(lsp::MessageReader &reader, const QByteArray &stream, qsizetype chunk, int *faults,
                QList<QByteArray> *bodies)
{
    for (qsizetype at = 0; at < stream.size(); at += chunk) {
        reader.feed(QByteArrayView(stream).sliced(at, std::min<qsizetype>(chunk, stream.size() - at)));
        while (const std::optional<lsp::Frame> frame = reader.next()) {
            if (frame->kind != lsp::Frame::Kind::Body) {
                ++*faults;
                QVERIFY2(!frame->reason.isEmpty(), "a fault without a reason");
                continue;
            }
            QJsonParseError error;
            QJsonDocument::fromJson(frame->body, &error);
            if (error.error != QJsonParseError::NoError) {
                ++*faults;
                reader.skipBody(frame->body);
                continue;
            }
            *bodies << frame->body;
        }
    }
}

// The line and the units before the offset, worked out from the text alone.
lsp::Position expected(const QString &text, qsizetype offset, lsp::PositionEncoding encoding)
{
    int line = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        const bool crlf = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (crlf && i + 1 == offset)
            break; // between CR and LF: still the line's end
        if (crlf || text[i] == u'\r' || text[i] == u'\n') {
            i += crlf ? 1 : 0;
            ++line;
            start = i + 1;
        }
    }
    const QString before = text.mid(start, offset - start);
    const qsizetype units = encoding == lsp::PositionEncoding::Utf8 ? before.toUtf8().size() : before.size();
    return {line, int(units)};
}

} // namespace

class TestLspText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // However the stream is cut into reads, the same frames come out.
    void framesSurviveAnySplit_data()
    {
        QTest::addColumn<int>("chunk");
        for (const int chunk : {1, 2, 3, 7, 16, 64, 100000})
            QTest::newRow(qPrintable(u"reads of %1"_s.arg(chunk))) << chunk;
    }
    void framesSurviveAnySplit()
    {
        QFETCH(int, chunk);
        const QList<QByteArray> bodies{R"({"id":1})", QByteArray(), R"({"text":"é😀\r\n"})",
                                       "[" + QByteArray(300, 'x') + "]"};
        QByteArray stream;
        for (const QByteArray &body : bodies)
            stream += framed(body);
        // Headers may come in any case, with others beside them.
        stream += "content-length: 2\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}";
        lsp::MessageReader reader(1000);
        std::vector<lsp::Frame> frames;
        for (qsizetype at = 0; at < stream.size(); at += chunk)
            reader.feed(QByteArrayView(stream).sliced(at, std::min<qsizetype>(chunk, stream.size() - at)), frames);
        QCOMPARE(frames.size(), std::size_t(bodies.size() + 1));
        for (qsizetype i = 0; i < bodies.size(); ++i) {
            QCOMPARE(frames[std::size_t(i)].kind, lsp::Frame::Kind::Body);
            QCOMPARE(frames[std::size_t(i)].body, bodies[i]);
        }
        QCOMPARE(frames.back().body, QByteArray("{}"));
    }

    // A body past the limit is skipped, keeping only its start and end; the
    // frames after it are read as ever.
    void tooLargeKeepsItsEnds_data()
    {
        QTest::addColumn<int>("chunk");
        QTest::newRow("one read") << 1;
        QTest::newRow("reads of 1000") << 1000;
    }
    void tooLargeKeepsItsEnds()
    {
        QFETCH(int, chunk);
        constexpr qsizetype kept = 64;
        const QByteArray huge = "{HEAD" + QByteArray(100000, 'x') + "TAIL}";
        const QByteArray stream = framed(huge) + framed("{}");
        lsp::MessageReader reader(1000, kept);
        std::vector<lsp::Frame> frames;
        const qsizetype step = chunk == 1 ? stream.size() : chunk;
        for (qsizetype at = 0; at < stream.size(); at += step)
            reader.feed(QByteArrayView(stream).sliced(at, std::min<qsizetype>(step, stream.size() - at)), frames);
        QCOMPARE(frames.size(), std::size_t(2));
        QCOMPARE(frames[0].kind, lsp::Frame::Kind::TooLarge);
        QCOMPARE(frames[0].size, huge.size());
        QVERIFY(frames[0].body.startsWith("{HEAD"));
        QVERIFY(frames[0].body.endsWith("TAIL}"));
        QVERIFY(frames[0].body.size() <= 3 * kept + 1);
        QCOMPARE(frames[1].body, QByteArray("{}"));
    }

    void badHeaders_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("no length") << QByteArray("Content-Type: x\r\n\r\n");
        QTest::newRow("negative") << QByteArray("Content-Length: -1\r\n\r\n");
        QTest::newRow("signed") << QByteArray("Content-Length: +2\r\n\r\n");
        QTest::newRow("not a number") << QByteArray("Content-Length: two\r\n\r\n");
        QTest::newRow("endless") << QByteArray(20000, 'h');
    }
    void badHeaders()
    {
        QFETCH(QByteArray, header);
        lsp::MessageReader reader(1000);
        std::vector<lsp::Frame> frames;
        reader.feed(header, frames);
        reader.feed(QByteArray("\r\n\r\n" + framed("{}")), frames);
        QVERIFY(!frames.empty());
        QCOMPARE(frames.front().kind, lsp::Frame::Kind::BadHeader);
        // The reader goes on: the good frame after it comes through.
        QCOMPARE(frames.back().kind, lsp::Frame::Kind::Body);
        QCOMPARE(frames.back().body, QByteArray("{}"));
    }

    // Each malformed frame is one fault, and the good frame after it comes
    // through whole, however the stream is cut.
    void malformedFramesRecover_data()
    {
        QTest::addColumn<QByteArray>("bad");
        const QByteArray body = R"({"id":1,"method":"x"})";
        QTest::newRow("negative length") << QByteArray("Content-Length: -5\r\n\r\n" + body);
        QTest::newRow("length shorter than its body") << QByteArray("Content-Length: 5\r\n\r\n" + body);
        QTest::newRow("length longer than its body, the next frame inside")
            << QByteArray("Content-Length: " + QByteArray::number(body.size() + 20) + "\r\n\r\n" + body);
        QTest::newRow("LF-only header") << QByteArray("Content-Length: 21\n\n" + body);
        QTest::newRow("LF at the header's end") << QByteArray("Content-Length: 21\r\n\n" + body);
        QTest::newRow("LF between header lines")
            << QByteArray("Content-Length: 21\nContent-Type: application/vscode-jsonrpc\r\n\r\n" + body);
        QTest::newRow("length far longer than its body, the next frames after it")
            << QByteArray("Content-Length: 900\r\n\r\n" + body);
        QTest::newRow("length past the limit, the next frames after it")
            << QByteArray("Content-Length: 4000\r\n\r\n" + body + QByteArray(1500, ' '));
        QTest::newRow("4000000000 bytes announced, none sent") << QByteArray("Content-Length: 4000000000\r\n\r\n");
        QTest::newRow("no length") << QByteArray("Content-Type: x\r\n\r\n" + body);
        QTest::newRow("two lengths") << QByteArray("Content-Length: 21\r\nContent-Length: 22\r\n\r\n" + body);
        QTest::newRow("a header line without a colon") << QByteArray("Content-Length: 21\r\nbogus\r\n\r\n" + body);
        QTest::newRow("text before the header") << QByteArray("hello\r\n" + framed(body));
        QTest::newRow("endless header") << QByteArray(20000, 'h');
        QTest::newRow("empty body") << QByteArray("Content-Length: 0\r\n\r\n");
        QTest::newRow("a body of plain text") << QByteArray("Content-Length: 5\r\n\r\nhello");
    }
    void malformedFramesRecover()
    {
        QFETCH(QByteArray, bad);
        const QByteArray good = R"({"id":2,"method":"y"})";
        const QByteArray stream = bad + framed(good) + framed("{}");
        for (const qsizetype chunk : {qsizetype(1), qsizetype(7), stream.size()}) {
            lsp::MessageReader reader(1000);
            int faults = 0;
            QList<QByteArray> bodies;
            readStream(reader, stream, chunk, &faults, &bodies);
            QCOMPARE(faults, 1);
            // Text before a header is the fault: the frame after it is whole.
            QList<QByteArray> want{good, "{}"};
            if (bad.startsWith("hello"))
                want.prepend(R"({"id":1,"method":"x"})");
            QCOMPARE(bodies, want);
            QVERIFY(!reader.midBody());
        }
    }

    // After any garbage, the good frames that follow come through: all but
    // perhaps the first, whose header the garbage may run into.
    void randomGarbageThenGoodFrames()
    {
        const quint32 seed = testsupport::seed("streams");
        QRandomGenerator random(seed);
        const QStringList pieces{u"Content-Length: "_s,
                                 u"content-length:"_s,
                                 u"-5"_s,
                                 u"4000000000"_s,
                                 u"12"_s,
                                 u"3"_s,
                                 u"\r\n"_s,
                                 u"\n"_s,
                                 u"\r\n\r\n"_s,
                                 u"{"_s,
                                 u"}"_s,
                                 u"\"id\":"_s,
                                 u"x"_s,
                                 u"Content-Type: y"_s,
                                 u" "_s,
                                 u"[]"_s};
        const QList<QByteArray> good{R"({"good":1})", R"({"good":2,"text":"Content-Length: 5"})", R"([{"good":3}])"};
        for (int i = 0; i < 3000; ++i) {
            QByteArray stream = testsupport::randomShortText(random, pieces, 12, 0).toUtf8();
            for (const QByteArray &body : good)
                stream += framed(body);
            lsp::MessageReader reader(100, 16);
            int faults = 0;
            QList<QByteArray> bodies;
            const qsizetype chunk = 1 + random.bounded(40);
            readStream(reader, stream, chunk, &faults, &bodies);
            QVERIFY2(bodies.size() >= 2 && bodies.mid(bodies.size() - 2) == good.mid(1),
                     qPrintable(QString::fromUtf8(stream.toPercentEncoding(" {}:\",[]-"))));
        }
    }

    // A body that stops coming is dropped when asked, and the frames after
    // it are read.
    void stalledBodyIsDropped()
    {
        const QByteArray good = R"({"id":2})";
        lsp::MessageReader reader(1000);
        int faults = 0;
        QList<QByteArray> bodies;
        readStream(reader, "Content-Length: 100\r\n\r\n{\"id\":1,", 3, &faults, &bodies);
        QVERIFY(bodies.isEmpty());
        QVERIFY(reader.midBody());
        const std::optional<lsp::Frame> dropped = reader.dropBody();
        QVERIFY(dropped);
        QCOMPARE(dropped->kind, lsp::Frame::Kind::Stalled);
        QCOMPARE(dropped->size, qint64(100));
        QVERIFY(dropped->body.startsWith(R"({"id":1)"));
        readStream(reader, framed(good) + framed("{}"), 5, &faults, &bodies);
        QCOMPARE(bodies, (QList<QByteArray>{good, "{}"}));
        QCOMPARE(faults, 0);
        QVERIFY(!reader.dropBody());
    }

    // The outline: each symbol as "kind name [detail] first…last" (the
    // first and last words of its range), children indented.
    void moduleSymbols_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("outline");
        QTest::newRow("every kind") << uR"bas(Attribute VB_Name = "Module1"
Option Explicit
Private Const Title = "Report", Limit As Long = 10 ' two
Public Enum Answer
    Yes = 6
    ' a comment
    No = 7
End Enum
Private Type Point
    X As Long
    Y As Long
End Type
Dim Count As Long
Declare Function GetTickCount Lib "kernel32" () As Long
Public Sub Main()
    Const Inner = 1
    MsgBox Title, 36
End Sub
Private Static Function Twice(ByVal n As Long) As Long
    Twice = 2 * n
End Function
Property Get Name() As String
End Property
Public Property Let Name(ByVal value As String)
End Property
)bas"_s
                                    << QStringList{
                                           u"14 Title [= \"Report\"] Title…\"Report\""_s,
                                           u"14 Limit [As Long = 10] Limit…10"_s,
                                           u"10 Answer [Public Enum] Public…Enum"_s,
                                           u"  22 Yes [= 6] Yes…6"_s,
                                           u"  22 No [= 7] No…7"_s,
                                           u"23 Point [Private Type] Private…Type"_s,
                                           u"  8 X [As Long] X…Long"_s,
                                           u"  8 Y [As Long] Y…Long"_s,
                                           u"12 Main [Public Sub] Public…Sub"_s,
                                           u"12 Twice [Private Static Function] Private…Function"_s,
                                           u"7 Name [Property Get] Property…Property"_s,
                                           u"7 Name [Public Property Let] Public…Property"_s,
                                       };
        QTest::newRow("a procedure without its End, CR line ends")
            << u"Sub A()\r  Beep\rFunction B()\r  B = 1\rEnd Function"_s
            << QStringList{u"12 A [Sub] Sub…Beep"_s, u"12 B [Function] Function…Function"_s};
        QTest::newRow("an Enum left open")
            << u"Enum E\n  One\n  Two = 2\n"_s
            << QStringList{u"10 E [Enum] Enum…2"_s, u"  22 One [] One…One"_s, u"  22 Two [= 2] Two…2"_s};
        QTest::newRow("nothing declared") << u"' only a comment\nMsgBox \"x\", 36\n"_s << QStringList();
    }
    void moduleSymbols()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, outline);
        QStringList got;
        const std::function<void(const lsp::Symbol &, const lsp::Symbol *, int)> describe =
            [&](const lsp::Symbol &symbol, const lsp::Symbol *parent, int depth) {
                const QString whole = text.mid(symbol.begin, symbol.end - symbol.begin).simplified();
                got << u"%1%2 %3 [%4] %5…%6"_s.arg(QString(depth * 2, u' '))
                           .arg(int(symbol.kind))
                           .arg(symbol.name, symbol.detail, whole.section(u' ', 0, 0), whole.section(u' ', -1));
                // The name is where the selection is, inside the whole.
                QCOMPARE(text.mid(symbol.nameBegin, symbol.nameEnd - symbol.nameBegin), symbol.name);
                QVERIFY(symbol.begin <= symbol.nameBegin && symbol.nameEnd <= symbol.end);
                if (parent)
                    QVERIFY(parent->begin <= symbol.begin && symbol.end <= parent->end);
                for (const lsp::Symbol &child : symbol.children)
                    describe(child, &symbol, depth + 1);
            };
        for (const lsp::Symbol &symbol : lsp::moduleSymbols(text, false))
            describe(symbol, nullptr, 0);
        QCOMPARE(got, outline);
    }

    // Whatever the text, the outline keeps its shape: every range inside the
    // text and its parent's, the name where the selection is, in order.
    void randomModulesKeepTheOutlineSound()
    {
        const quint32 seed = testsupport::seed("modules");
        QRandomGenerator random(seed);
        const QStringList pieces{u"Sub "_s,   u"Function "_s, u"Property "_s, u"Get "_s,     u"Let "_s,    u"End "_s,
                                 u"Enum "_s,  u"Type "_s,     u"Const "_s,    u"Private "_s, u"Static "_s, u"A"_s,
                                 u"B1 "_s,    u"x "_s,        u"= "_s,        u"1"_s,        u", "_s,      u"("_s,
                                 u")"_s,      u"' c"_s,       u": "_s,        u"\n"_s,       u"\r"_s,      u" _\n"_s,
                                 u"\"s\" "_s, u"#If "_s,      u"Then"_s,      u"ü😀"_s,       u"As Long "_s};
        for (int i = 0; i < 2000; ++i) {
            const QString text = testsupport::randomShortText(random, pieces, 60, 6);
            std::vector<lsp::Symbol> symbols;
            try {
                symbols = lsp::moduleSymbols(text, i % 7 == 0);
            } catch (const basic::Refusal &) {
                continue;
            }
            qsizetype previous = 0;
            const std::function<void(const lsp::Symbol &, qsizetype, qsizetype)> check =
                [&](const lsp::Symbol &symbol, qsizetype from, qsizetype to) {
                    QVERIFY2(from <= symbol.begin && symbol.begin <= symbol.nameBegin && symbol.nameEnd <= symbol.end
                                 && symbol.end <= to,
                             qPrintable(text));
                    QCOMPARE(text.mid(symbol.nameBegin, symbol.nameEnd - symbol.nameBegin), symbol.name);
                    for (const lsp::Symbol &child : symbol.children)
                        check(child, symbol.begin, symbol.end);
                };
            for (const lsp::Symbol &symbol : symbols) {
                QVERIFY(symbol.begin >= previous);
                previous = symbol.begin;
                check(symbol, 0, text.size());
            }
        }
    }

    // After any edit, the findings kept up in part are the whole module's:
    // random edits, most inside procedures, with what makes a check whole
    // (declarations, names that cross procedures, lines of Sub and End Sub,
    // #If) among them.
    void checkInPartIsTheWholeCheck()
    {
        const quint32 seed = testsupport::seed("edits");
        QRandomGenerator random(seed);
        // What keeps a check in part, often; what makes it whole, now and then.
        const QStringList keeping{u"MsgBox \"x\", 36"_s,
                                  u"r = MsgBox(\"y\", 4)"_s,
                                  u"If r = 6 Then Beep"_s,
                                  u"If MsgBox(\"z\", 292) = 7 Then"_s,
                                  u"End If"_s,
                                  u"Select Case r"_s,
                                  u"Case 6"_s,
                                  u"End Select"_s,
                                  u"MsgBox \"w\", Flags + 16"_s,
                                  u"Dim r As Long"_s,
                                  u"Call Helper(r)"_s,
                                  u"Exit Sub"_s,
                                  u"' note"_s,
                                  u"x"_s,
                                  u"32"_s,
                                  u" + 4"_s,
                                  u", "_s,
                                  u" _\r\n"_s,
                                  u"\r\n"_s,
                                  u"\n"_s};
        const QStringList whole{u"Dim Flags"_s, u"Flags = 4"_s,  u"Const vbYes = 1"_s, u"End Sub"_s,
                                u"Sub C()"_s,   u"#If X Then"_s, u"Helper = 1"_s,      u"Dim MsgBox"_s};
        QStringList pieces;
        for (int i = 0; i < 8; ++i)
            pieces += keeping;
        pieces += whole;
        const QString procedure = u"Sub P%1()\r\n    Dim r As Long\r\n    r = MsgBox(\"a\", 36)\r\n"
                                  u"    If r = 6 Then Beep\r\n    MsgBox \"b\", 48\r\nEnd Sub\r\n\r\n"_s;
        int inPart = 0;
        int edits = 0;
        for (int module = 0; module < 48; ++module) {
            QString text = u"Option Explicit\r\nPrivate m As Long\r\n\r\n"_s;
            for (int n = 0; n < 6; ++n)
                text += procedure.arg(n);
            const auto dialect = module % 3 == 2 ? basic::Dialect::LibreOffice : basic::Dialect::VisualBasic;
            lsp::ModuleCheck check;
            check.checkAll(text, dialect, {u"MsgBox"_s});
            QCOMPARE(described(check.fixes()), described(fix::fixModule(text, dialect)));
            for (int step = 0; step < 10; ++step) {
                // Mostly in an indented line, as a procedure's body has them;
                // now and then anywhere.
                const qsizetype lineStart = [&] {
                    for (int tries = random.bounded(10) == 0 ? 1 : 50;; --tries) {
                        qsizetype at = random.bounded(int(text.size()) + 1);
                        while (at > 0 && text[at - 1] != u'\n')
                            --at;
                        if (tries <= 1 || QStringView(text).sliced(at).startsWith(u"    "))
                            return at;
                    }
                }();
                qsizetype from = lineStart + (random.bounded(3) == 0 ? random.bounded(6) : 0);
                from = std::min(from, text.size());
                if (from > 0 && from < text.size() && text[from - 1] == u'\r' && text[from] == u'\n')
                    --from;
                qsizetype to = from;
                if (random.bounded(3) == 0) {
                    to = std::min(text.size(), from + random.bounded(12));
                    if (to > 0 && to < text.size() && text[to - 1] == u'\r' && text[to] == u'\n')
                        ++to;
                }
                QString insert = testsupport::randomShortText(random, pieces, 3, 0);
                if (random.bounded(2) == 0)
                    insert += u"\r\n    "_s;
                // The outline is kept from the second edit on.
                if (step == 1) {
                    try {
                        check.outline(text);
                    } catch (const basic::Refusal &) { }
                }
                text.replace(from, to - from, insert);
                inPart += check.update(text, from, to, insert.size());
                ++edits;
                try {
                    QCOMPARE(outlined(check.outline(text)), outlined(lsp::moduleSymbols(text, false)));
                } catch (const basic::Refusal &) { }
                const QStringList got = described(check.fixes());
                const QStringList want = described(fix::fixModule(text, dialect));
                if (got != want)
                    qWarning("seed %u, module %d, step %d:\n%s", seed, module, step, qPrintable(text));
                QCOMPARE(got, want);
            }
        }
        // The test means nothing if every edit made a whole check.
        QVERIFY2(inPart > edits / 4, qPrintable(u"%1 of %2 edits checked in part"_s.arg(inPart).arg(edits)));
    }

    // A call read from its procedure and the declarations reads as in the
    // whole module: after random edits, with names that other procedures
    // set, declare, pass on or define, BASIC's own names declared, and
    // LibreOffice's and Gambas's forms among them, every call's reading in
    // part is the whole module's.
    void callReadInPartIsTheWholeReading()
    {
        const quint32 seed = testsupport::seed("edits");
        QRandomGenerator random(seed);
        const QStringList keeping{u"MsgBox \"x\", 36"_s,
                                  u"MsgBox m, 36, T"_s,
                                  u"MsgBox U, 64, T"_s,
                                  u"MsgBox s & Chr(65), vbYesNo, T"_s,
                                  u"r = MsgBox(\"y\" & s, 4)"_s,
                                  u"s = \"abc\""_s,
                                  u"Dim s As String"_s,
                                  u"s = InputBox(\"Name?\", T, s)"_s,
                                  u"Call Helper(s)"_s,
                                  u"Debug.Print Format$(s, \"0\")"_s,
                                  u"If r = 6 Then Beep"_s,
                                  u"x"_s,
                                  u", "_s,
                                  u"\r\n"_s};
        const QStringList crossing{u"m = \"z\""_s,
                                   u"Helper m"_s,
                                   u"Dim Chr As String"_s,
                                   u"Dim vbYesNo"_s,
                                   u"T = 1"_s,
                                   u"MsgBox \"a\", MB_YESNO"_s,
                                   u"Message.Info(\"a\")"_s,
                                   u"Dim Time As String"_s,
                                   u"Time = InputBox(\"t\")"_s,
                                   u"Dim m As String"_s,
                                   u"Set ThisComponent = Nothing"_s};
        QStringList pieces;
        for (int i = 0; i < 4; ++i)
            pieces += keeping;
        pieces += crossing;
        const QString procedure =
            u"Sub P%1()\r\n    Dim s As String, r As Long\r\n    s = \"one\"\r\n    MsgBox s, 36, T\r\n"
            u"    MsgBox m & s, vbOKOnly\r\n    s = InputBox(\"Name?\", T)\r\nEnd Sub\r\n\r\n"_s;
        const ReadSettings settings;
        int inPart = 0;
        int calls = 0;
        for (int module = 0; module < 24; ++module) {
            // A constant of the declarations made of another, or of a
            // function that a procedure defines.
            const QString u = module % 3 == 0 ? u"T & \"!\""_s : module % 3 == 1 ? u"Named()"_s : u"\"U\""_s;
            QString text = u"Option Explicit\r\nPrivate m As String\r\nPrivate Const T = \"Title\"\r\n"
                           u"Private Const U = %1\r\n\r\n"_s.arg(u);
            for (int n = 0; n < 5; ++n)
                text += procedure.arg(n);
            text +=
                u"Sub Helper(v As String)\r\nEnd Sub\r\n\r\nFunction Named()\r\n    Named = \"N\"\r\nEnd Function\r\n"_s;
            lsp::ModuleCheck check;
            check.checkAll(text, basic::Dialect::VisualBasic, {u"MsgBox"_s});
            for (int step = 0; step < 8; ++step) {
                qsizetype at = random.bounded(int(text.size()));
                while (at > 0 && text[at - 1] != u'\n')
                    --at;
                if (!QStringView(text).sliced(at).startsWith(u"    "))
                    continue;
                const QString insert = u"    "_s + testsupport::randomShortText(random, pieces, 2, 0) + u"\r\n"_s;
                text.insert(at, insert);
                check.update(text, at, at, insert.size());
                for (qsizetype call = text.indexOf(u"Box"_s); call >= 0; call = text.indexOf(u"Box"_s, call + 1)) {
                    const std::optional<lsp::CallReading> whole = lsp::readCallAt(text, call, tools(), settings, true);
                    const std::optional<lsp::CallReading> part =
                        lsp::readCallIn(check, text, call, tools(), settings, true);
                    ++calls;
                    inPart += bool(check.readablePart(text, call, libreOfficeSignWords()));
                    const auto seen = [](const std::optional<lsp::CallReading> &reading) {
                        if (!reading)
                            return u"none"_s;
                        return u"%1-%2 %3"_s.arg(reading->begin)
                            .arg(reading->end)
                            .arg(reading->result.ok()
                                     ? QString::fromUtf8(QJsonDocument(readResultJson(reading->result)).toJson())
                                     : reading->result.error->text());
                    };
                    if (seen(part) != seen(whole))
                        qWarning("seed %u, module %d, step %d, at %lld:\n%s", seed, module, step, qlonglong(call),
                                 qPrintable(text));
                    QCOMPARE(seen(part), seen(whole));
                    // The window is given the part, which has fewer
                    // constructs before the call to read first.
                    QVERIFY(!whole || whole->windowText.isEmpty() || !part->windowText.isEmpty());
                }
            }
        }
        // The test means nothing if every call were read from the whole module.
        QVERIFY2(inPart > calls / 4, qPrintable(u"%1 of %2 calls read in part"_s.arg(inPart).arg(calls)));
    }

    // Every offset maps to the position worked out from the text and back.
    void positionsRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("LF") << u"Sub A()\n  MsgBox 1\nEnd Sub\n"_s;
        QTest::newRow("CR LF") << u"Sub A()\r\n  MsgBox 1\r\nEnd Sub"_s;
        QTest::newRow("CR") << u"a\rb\r\rc"_s;
        QTest::newRow("mixed") << u"a\r\n\nb\r\r\nc\n\r"_s;
        QTest::newRow("wide characters") << u"é😀x\r\nü€😀😀\n"_s;
        QTest::newRow("empty") << QString();
    }
    void positionsRoundTrip()
    {
        QFETCH(QString, text);
        const lsp::TextDocument document(text);
        for (const auto encoding : {lsp::PositionEncoding::Utf16, lsp::PositionEncoding::Utf8}) {
            for (qsizetype offset = 0; offset <= text.size(); ++offset) {
                if (offset > 0 && offset < text.size() && text[offset].isLowSurrogate())
                    continue; // inside a pair: no place of its own
                if (offset > 0 && offset < text.size() && text[offset - 1] == u'\r' && text[offset] == u'\n')
                    continue; // between CR and LF
                const lsp::Position want = expected(text, offset, encoding);
                const lsp::Position got = document.positionAt(offset, encoding);
                QCOMPARE(got.line, want.line);
                QCOMPARE(got.character, want.character);
                QCOMPARE(document.offsetAt(got, encoding), offset);
            }
        }
    }

    // Past a line's end is its end; past the last line the text's end.
    void positionsPastTheEndAreClamped_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("character");
        QTest::addColumn<qsizetype>("offset");
        const QString text = u"ab\r\ncd\n"_s;
        QTest::newRow("past a CR LF line") << 0 << 10 << text.indexOf(u'\r');
        QTest::newRow("past an LF line") << 1 << 10 << text.indexOf(u'\n', 4);
        QTest::newRow("past the last line") << 7 << 0 << text.size();
        QTest::newRow("negative") << -1 << -5 << qsizetype(0);
    }
    void positionsPastTheEndAreClamped()
    {
        QFETCH(int, line);
        QFETCH(int, character);
        QFETCH(qsizetype, offset);
        const lsp::TextDocument document(u"ab\r\ncd\n"_s);
        QCOMPARE(document.offsetAt({line, character}, lsp::PositionEncoding::Utf16), offset);
        QCOMPARE(document.offsetAt({line, character}, lsp::PositionEncoding::Utf8), offset);
    }

    // Replacing keeps the positions right: the line index, kept up at each
    // edit, is the one made afresh, also where a CR and an LF meet or part.
    void replaceReindexes()
    {
        lsp::TextDocument document(u"a\nb\nc"_s);
        QCOMPARE(document.offsetAt({2, 0}, lsp::PositionEncoding::Utf16), 4);
        document.replace(1, 2, u"\r\n\r\n"_s);
        QCOMPARE(document.text(), u"a\r\n\r\nb\nc"_s);
        QRandomGenerator random(7);
        const QStringList pieces{u"\r"_s, u"\n"_s, u"\r\n"_s, u"x"_s, u"yz"_s};
        for (int step = 0; step < 3000; ++step) {
            const QString &text = document.text();
            const qsizetype from = random.bounded(int(text.size()) + 1);
            const qsizetype to = std::min(text.size(), from + random.bounded(4));
            document.replace(from, to, testsupport::randomShortText(random, pieces, 4, 0));
            if (document.text().size() > 60)
                document.replace(0, 30, QString());
            for (qsizetype offset = 0; offset <= document.text().size(); ++offset) {
                const lsp::Position p = document.positionAt(offset, lsp::PositionEncoding::Utf16);
                const lsp::Position want = expected(document.text(), offset, lsp::PositionEncoding::Utf16);
                QVERIFY2(p.line == want.line && p.character == want.character,
                         qPrintable(u"step %1, offset %2"_s.arg(step).arg(offset)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLspText)
#include "tst_lsptext.moc"
