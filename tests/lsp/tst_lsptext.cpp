// SPDX-License-Identifier: GPL-3.0-or-later
// The language server's own parts: framing that survives any split of the
// stream and bounds what it keeps, and positions in UTF-16 units and UTF-8
// bytes over every kind of line end.

#include "lsp/MessageReader.h"
#include "lsp/TextDocument.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray framed(const QByteArray &body)
{
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
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
        const QList<QByteArray> bodies{R"({"id":1})", QByteArray(), R"({"text":"é😀\r\n"})", QByteArray(300, 'x')};
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
        const QByteArray huge = "HEAD" + QByteArray(100000, 'x') + "TAIL";
        const QByteArray stream = framed(huge) + framed("{}");
        lsp::MessageReader reader(1000, kept);
        std::vector<lsp::Frame> frames;
        const qsizetype step = chunk == 1 ? stream.size() : chunk;
        for (qsizetype at = 0; at < stream.size(); at += step)
            reader.feed(QByteArrayView(stream).sliced(at, std::min<qsizetype>(step, stream.size() - at)), frames);
        QCOMPARE(frames.size(), std::size_t(2));
        QCOMPARE(frames[0].kind, lsp::Frame::Kind::TooLarge);
        QCOMPARE(frames[0].size, huge.size());
        QVERIFY(frames[0].body.startsWith("HEAD"));
        QVERIFY(frames[0].body.endsWith("TAIL"));
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

    // Replacing keeps the positions right: the line index is made afresh.
    void replaceReindexes()
    {
        lsp::TextDocument document(u"a\nb\nc"_s);
        QCOMPARE(document.offsetAt({2, 0}, lsp::PositionEncoding::Utf16), 4);
        document.replace(1, 2, u"\r\n\r\n"_s);
        QCOMPARE(document.text(), u"a\r\n\r\nb\nc"_s);
        for (qsizetype offset : {qsizetype(0), qsizetype(5), qsizetype(7)}) {
            const lsp::Position p = document.positionAt(offset, lsp::PositionEncoding::Utf16);
            const lsp::Position want = expected(document.text(), offset, lsp::PositionEncoding::Utf16);
            QCOMPARE(p.line, want.line);
            QCOMPARE(p.character, want.character);
        }
    }
};

QTEST_GUILESS_MAIN(TestLspText)
#include "tst_lsptext.moc"
