// SPDX-License-Identifier: GPL-3.0-or-later
// `quillkit98 lsp` spoken to through a process, as an editor does: the
// lifecycle, incremental edits, diagnostics against `fix --check`, fix-all
// against `fix`, hover against `read`, and input no editor should send.

#include "support/GenerateRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// A client over the server's standard input and output.
class Client
{
public:
    explicit Client(const QString &folder = QString())
    {
        if (!folder.isEmpty())
            m_process.setWorkingDirectory(folder);
        m_process.start(qEnvironmentVariable("QUILLKIT98"), {u"lsp"_s});
        m_started = m_process.waitForStarted(10000);
    }
    ~Client()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    bool started() const { return m_started; }

    void sendRaw(const QByteArray &bytes)
    {
        m_process.write(bytes);
        m_process.waitForBytesWritten(30000);
    }
    static QByteArray frame(const QJsonObject &message)
    {
        const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
        return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }
    void notify(const QString &method, const QJsonObject &params) { sendRaw(frame(notification(method, params))); }
    static QJsonObject notification(const QString &method, const QJsonObject &params)
    {
        return {{u"jsonrpc"_s, u"2.0"_s}, {u"method"_s, method}, {u"params"_s, params}};
    }
    // Sends a request and waits for its response.
    QJsonObject request(const QString &method, const QJsonValue &params)
    {
        const int id = ++m_lastId;
        QJsonObject message{{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, id}, {u"method"_s, method}};
        if (!params.isUndefined())
            message.insert(u"params"_s, params);
        sendRaw(frame(message));
        return waitFor([&](const QJsonObject &m) { return m.value(u"id"_s) == id && !m.contains(u"method"_s); });
    }
    // The next message that passes the test; messages before it are kept.
    QJsonObject waitFor(const std::function<bool(const QJsonObject &)> &wanted, int milliseconds = 60000)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            for (qsizetype i = m_unread; i < m_received.size(); ++i) {
                if (wanted(m_received[i])) {
                    m_unread = i + 1;
                    return m_received[i];
                }
            }
            if (timer.elapsed() > milliseconds || m_process.state() == QProcess::NotRunning)
                return {};
            m_process.waitForReadyRead(100);
            m_buffer += m_process.readAllStandardOutput();
            parse();
        }
    }
    QJsonObject diagnosticsFor(const QString &uri, int version)
    {
        return waitFor([&](const QJsonObject &m) {
            return m.value(u"method"_s) == u"textDocument/publishDiagnostics"_s
                   && m.value(u"params"_s)[u"uri"_s] == uri && m.value(u"params"_s)[u"version"_s] == version;
        });
    }
    QList<QJsonObject> received()
    {
        m_buffer += m_process.readAllStandardOutput();
        parse();
        return m_received;
    }
    QJsonObject initialize(const QJsonObject &params = {{u"capabilities"_s, QJsonObject()}})
    {
        const QJsonObject response = request(u"initialize"_s, params);
        notify(u"initialized"_s, {});
        return response;
    }
    void open(const QString &uri, const QString &text, int version = 1)
    {
        notify(u"textDocument/didOpen"_s,
               {{u"textDocument"_s, QJsonObject{{u"uri"_s, uri}, {u"languageId"_s, u"vb"_s}, {u"version"_s, version},
                                                 {u"text"_s, text}}}});
    }
    // Ends the session; the exit status, or -1.
    int finish(bool shutdown = true)
    {
        if (shutdown)
            request(u"shutdown"_s, QJsonValue::Null);
        notify(u"exit"_s, {});
        if (!m_process.waitForFinished(10000))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    QProcess &process() { return m_process; }

private:
    void parse()
    {
        for (;;) {
            const qsizetype end = m_buffer.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QRegularExpression length(u"Content-Length: (\\d+)"_s);
            const auto match = length.match(QString::fromLatin1(m_buffer.left(end)));
            if (!match.hasMatch())
                return;
            const qsizetype size = match.captured(1).toLongLong();
            if (m_buffer.size() < end + 4 + size)
                return;
            m_received << QJsonDocument::fromJson(m_buffer.mid(end + 4, size)).object();
            m_buffer.remove(0, end + 4 + size);
        }
    }

    QProcess m_process;
    bool m_started = false;
    int m_lastId = 0;
    QByteArray m_buffer;
    QList<QJsonObject> m_received;
    qsizetype m_unread = 0;
};

// The protocol's position as the editor finds it, in UTF-16 units.
qsizetype offsetOf(const QString &text, const QJsonObject &position)
{
    qsizetype offset = 0;
    for (int line = position[u"line"_s].toInt(); line > 0; --line) {
        const qsizetype lf = text.indexOf(u'\n', offset);
        const qsizetype cr = text.indexOf(u'\r', offset);
        if (cr >= 0 && (lf < 0 || cr < lf))
            offset = cr + 1 < text.size() && text[cr + 1] == u'\n' ? cr + 2 : cr + 1;
        else
            offset = lf + 1;
    }
    return offset + position[u"character"_s].toInt();
}

QString applied(QString text, const QJsonArray &edits)
{
    QList<QJsonObject> sorted;
    for (const QJsonValue edit : edits)
        sorted << edit.toObject();
    // From the end, so that each range stands where it was computed.
    std::sort(sorted.begin(), sorted.end(), [&](const QJsonObject &a, const QJsonObject &b) {
        return offsetOf(text, a[u"range"_s][u"start"_s].toObject()) > offsetOf(text, b[u"range"_s][u"start"_s].toObject());
    });
    for (const QJsonObject &edit : sorted) {
        const qsizetype from = offsetOf(text, edit[u"range"_s][u"start"_s].toObject());
        const qsizetype to = offsetOf(text, edit[u"range"_s][u"end"_s].toObject());
        text.replace(from, to - from, edit[u"newText"_s].toString());
    }
    return text;
}

// The program on the input, as a process: its standard output.
Run runProgram(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(qEnvironmentVariable("QUILLKIT98"), arguments);
    process.write(input);
    process.closeWriteChannel();
    Run result;
    if (!process.waitForFinished(120000))
        return result;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

Run fixed(const QString &text)
{
    return runProgram({u"fix"_s, u"-"_s}, text.toUtf8());
}

// `fix --check -` on the text: "line:column: 36 -> vbYesNo + vbQuestion" and
// "line:column: note: ..." lines, in order.
QStringList fixCheck(const QString &text)
{
    const Run result = runProgram({u"fix"_s, u"--check"_s, u"-"_s}, text.toUtf8());
    QStringList lines = QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        line.remove(0, 2); // "-:"
    return lines;
}

// The diagnostics in the same form; columns count characters as fix's do.
QStringList asFixLines(const QString &text, const QJsonArray &diagnostics)
{
    QStringList lines;
    for (const QJsonValue value : diagnostics) {
        const QJsonObject d = value.toObject();
        const QJsonObject start = d[u"range"_s][u"start"_s].toObject();
        const qsizetype offset = offsetOf(text, start);
        const qsizetype lineStart = offset - start[u"character"_s].toInt();
        const int column = int(QStringView(text).sliced(lineStart, offset - lineStart).toUcs4().size()) + 1;
        const bool note = d[u"severity"_s].toInt() == 3;
        QString message = d[u"message"_s].toString();
        if (!note)
            message.replace(u" → "_s, u" -> "_s);
        lines << u"%1:%2: %3%4"_s.arg(start[u"line"_s].toInt() + 1).arg(column).arg(note ? u"note: "_s : QString(), message);
    }
    return lines;
}

QJsonObject position(int line, int character)
{
    return {{u"line"_s, line}, {u"character"_s, character}};
}

QJsonObject documentId(const QString &uri)
{
    return {{u"uri"_s, uri}};
}

QJsonArray fixAllEdits(Client &client, const QString &uri, const QString &text)
{
    const QJsonObject response = client.request(
        u"textDocument/codeAction"_s,
        QJsonObject{{u"textDocument"_s, documentId(uri)},
                    {u"range"_s, QJsonObject{{u"start"_s, position(0, 0)}, {u"end"_s, position(0, 0)}}},
                    {u"context"_s, QJsonObject{{u"diagnostics"_s, QJsonArray()},
                                               {u"only"_s, QJsonArray{u"source.fixAll.quillkit98"_s}}}}});
    const QJsonArray actions = response[u"result"_s].toArray();
    if (actions.isEmpty())
        return {};
    Q_UNUSED(text);
    return actions.first()[u"edit"_s][u"changes"_s][uri].toArray();
}

const QString Uri = u"file:///project/Module1.bas"_s;

} // namespace

class TestLspServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lifecycle_data()
    {
        QTest::addColumn<bool>("shutdown");
        QTest::addColumn<bool>("closeInput");
        QTest::addColumn<int>("status");
        QTest::newRow("shutdown, exit") << true << false << 0;
        QTest::newRow("exit alone") << false << false << 1;
        QTest::newRow("input ends") << false << true << 1;
        QTest::newRow("shutdown, input ends") << true << true << 0;
    }
    void lifecycle()
    {
        QFETCH(bool, shutdown);
        QFETCH(bool, closeInput);
        QFETCH(int, status);
        Client client;
        QVERIFY(client.started());
        const QJsonObject capabilities = client.initialize()[u"result"_s][u"capabilities"_s].toObject();
        QCOMPARE(capabilities[u"textDocumentSync"_s][u"change"_s].toInt(), 2); // incremental
        QCOMPARE(capabilities[u"positionEncoding"_s].toString(), u"utf-16"_s);
        QVERIFY(capabilities[u"hoverProvider"_s].toBool());
        QVERIFY(capabilities[u"codeActionProvider"_s][u"codeActionKinds"_s].toArray().contains(u"source.fixAll.quillkit98"_s));
        QVERIFY(capabilities[u"executeCommandProvider"_s][u"commands"_s].toArray().contains(u"quillkit98.openInWindow"_s));
        if (closeInput) {
            if (shutdown)
                QVERIFY(client.request(u"shutdown"_s, QJsonValue::Null).contains(u"result"_s));
            client.process().closeWriteChannel();
            QVERIFY(client.process().waitForFinished(10000));
            QCOMPARE(client.process().exitCode(), status);
        } else {
            QCOMPARE(client.finish(shutdown), status);
        }
    }

    void requestsOutOfTurn_data()
    {
        QTest::addColumn<bool>("initialize");
        QTest::addColumn<bool>("shutdown");
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("code");
        QTest::newRow("before initialize") << false << false << u"textDocument/hover"_s << -32002;
        QTest::newRow("unknown method") << true << false << u"textDocument/completion"_s << -32601;
        QTest::newRow("after shutdown") << true << true << u"textDocument/hover"_s << -32600;
        QTest::newRow("initialize twice") << true << false << u"initialize"_s << -32600;
    }
    void requestsOutOfTurn()
    {
        QFETCH(bool, initialize);
        QFETCH(bool, shutdown);
        QFETCH(QString, method);
        QFETCH(int, code);
        Client client;
        if (initialize)
            client.initialize();
        if (shutdown)
            client.request(u"shutdown"_s, QJsonValue::Null);
        const QJsonObject response = client.request(method, QJsonObject{{u"capabilities"_s, QJsonObject()}});
        QCOMPARE(response[u"error"_s][u"code"_s].toInt(), code);
        // And it goes on.
        QVERIFY(!client.request(u"shutdown"_s, QJsonValue::Null).isEmpty());
        QCOMPARE(client.finish(false), initialize ? 0 : 1);
    }

    void utf8PositionsWhereOffered()
    {
        Client client;
        const QJsonObject general{{u"positionEncodings"_s, QJsonArray{u"utf-8"_s, u"utf-16"_s}}};
        const QJsonObject response = client.initialize({{u"capabilities"_s, QJsonObject{{u"general"_s, general}}}});
        QCOMPARE(response[u"result"_s][u"capabilities"_s][u"positionEncoding"_s].toString(), u"utf-8"_s);
        // "é" is two bytes, "😀" four: the number starts 6 bytes further on.
        const QString text = u"Sub A()\n  MsgBox \"é😀\", 36\nEnd Sub\n"_s;
        client.open(Uri, text);
        const QJsonArray diagnostics =
            client.diagnosticsFor(Uri, 1)[u"params"_s][u"diagnostics"_s].toArray();
        QCOMPARE(diagnostics.size(), 1);
        const QJsonObject start = diagnostics[0][u"range"_s][u"start"_s].toObject();
        const qsizetype number = text.indexOf(u"36"_s);
        const qsizetype lineStart = text.indexOf(u'\n') + 1;
        QCOMPARE(start[u"line"_s].toInt(), 1);
        QCOMPARE(start[u"character"_s].toInt(), int(text.mid(lineStart, number - lineStart).toUtf8().size()));
        QCOMPARE(client.finish(), 0);
    }

    // Every module of the table: the diagnostics are `fix --check`'s lines,
    // and the fix-all edit gives exactly the text `fix` writes.
    void diagnosticsAndFixAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("statement, LF") << u"Sub A()\n    MsgBox \"Delete?\", 36\nEnd Sub\n"_s;
        QTest::newRow("function and result, CR LF")
            << u"Sub A()\r\n  If MsgBox(\"Sure?\", 4 + 32) = 6 Then Beep\r\nEnd Sub\r\n"_s;
        QTest::newRow("CR line ends") << u"Sub A()\r  MsgBox \"x\", &H30\r  MsgBox \"y\", 16\rEnd Sub"_s;
        QTest::newRow("select case on a variable")
            << u"Sub A()\n  Dim R\n  R = MsgBox(\"Save?\", 3)\n  Select Case R\n    Case 6, 7\n    Case 2\n  End Select\nEnd Sub\n"_s;
        QTest::newRow("wide characters before")
            << u"Sub A()\n  MsgBox \"Grüße 😀 \" & \"x\", 48: MsgBox \"y\", 1 + 256\nEnd Sub\n"_s;
        QTest::newRow("notes: a variable, a name declared")
            << u"Const vbYes = 5\nSub A(n)\n  MsgBox \"x\", n\n  If MsgBox(\"y\", 4) = 6 Then Beep\nEnd Sub\n"_s;
        QTest::newRow("continued argument") << u"Sub A()\n  MsgBox \"x\", 4 + _\n    32\nEnd Sub\n"_s;
        QTest::newRow("nothing to change") << u"Sub A()\n  MsgBox \"x\", vbYesNo\nEnd Sub\n"_s;
        QTest::newRow("own MsgBox") << u"Sub MsgBox(a, b)\nEnd Sub\nSub A()\n  MsgBox \"x\", 36\nEnd Sub\n"_s;
    }
    void diagnosticsAndFixAll()
    {
        QFETCH(QString, text);
        Client client;
        client.initialize();
        client.open(Uri, text);
        const QJsonObject published = client.diagnosticsFor(Uri, 1);
        QVERIFY2(!published.isEmpty(), "no diagnostics");
        const QJsonArray diagnostics = published[u"params"_s][u"diagnostics"_s].toArray();
        QCOMPARE(asFixLines(text, diagnostics), fixCheck(text));
        for (const QJsonValue d : diagnostics) {
            QCOMPARE(d[u"source"_s].toString(), u"quillkit98"_s);
            if (d[u"severity"_s].toInt() == 2)
                QCOMPARE(d[u"code"_s].toString(), u"magic-number"_s);
        }
        const Run fix = fixed(text);
        QCOMPARE(fix.status, 0);
        QCOMPARE(applied(text, fixAllEdits(client, Uri, text)).toUtf8(), fix.out);
        QCOMPARE(client.finish(), 0);
    }

    // LibreOffice's .xba: the module element's text, escaped as XML, is
    // what fix --dialect libreoffice reads; the edits land on the file's
    // own characters.
    void xbaModules_data()
    {
        QTest::addColumn<QString>("basic");
        QTest::newRow("quotation marks as &quot;") << u"Sub A\n  MsgBox \"Delete?\", 36\nEnd Sub\n"_s;
        QTest::newRow("& and < around the numbers")
            << u"Sub A\n  If MsgBox(\"a & b < c\", 4 + 32) = 6 Then Beep\n  MsgBox \"x\" & \"y\", 16\nEnd Sub\n"_s;
    }
    void xbaModules()
    {
        QFETCH(QString, basic);
        const QString head = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<script:module xmlns:script="
                             u"\"http://openoffice.org/2000/script\" script:name=\"Module1\" script:language=\"StarBasic\">"_s;
        const QString tail = u"</script:module>\n"_s;
        const QString file = head + basic.toHtmlEscaped() + tail;
        const QString uri = u"file:///project/Module1.xba"_s;
        Client client;
        client.initialize();
        client.open(uri, file);
        const QJsonObject published = client.diagnosticsFor(uri, 1);
        const QJsonArray diagnostics = published[u"params"_s][u"diagnostics"_s].toArray();
        const Run check = runProgram({u"fix"_s, u"--check"_s, u"--dialect"_s, u"libreoffice"_s, u"-"_s}, basic.toUtf8());
        QVERIFY(!diagnostics.isEmpty());
        QCOMPARE(diagnostics.size(), QString::fromUtf8(check.out).count(u'\n'));
        for (const QJsonValue d : diagnostics) {
            // Each range covers the number as the file writes it.
            const qsizetype from = offsetOf(file, d[u"range"_s][u"start"_s].toObject());
            const qsizetype to = offsetOf(file, d[u"range"_s][u"end"_s].toObject());
            const QString number = d[u"message"_s].toString().section(u" → "_s, 0, 0);
            QCOMPARE(QStringView(file).sliced(from, to - from).toString(), number);
        }
        const Run fix = runProgram({u"fix"_s, u"--dialect"_s, u"libreoffice"_s, u"-"_s}, basic.toUtf8());
        QCOMPARE(applied(file, fixAllEdits(client, uri, file)), head + QString::fromUtf8(fix.out).toHtmlEscaped() + tail);
        QCOMPARE(client.finish(), 0);
    }

    // A quick fix per warning, each with the one change of fix's.
    void quickFixes()
    {
        const QString text = u"Sub A()\n  MsgBox \"x\", 36\n  MsgBox \"y\", 292\nEnd Sub\n"_s;
        Client client;
        client.initialize();
        client.open(Uri, text);
        const QJsonArray diagnostics = client.diagnosticsFor(Uri, 1)[u"params"_s][u"diagnostics"_s].toArray();
        QCOMPARE(diagnostics.size(), 2);
        for (const QJsonValue d : diagnostics) {
            const QJsonObject response = client.request(
                u"textDocument/codeAction"_s,
                QJsonObject{{u"textDocument"_s, documentId(Uri)},
                            {u"range"_s, d[u"range"_s]},
                            {u"context"_s, QJsonObject{{u"diagnostics"_s, QJsonArray{d}}, {u"only"_s, QJsonArray{u"quickfix"_s}}}}});
            const QJsonArray actions = response[u"result"_s].toArray();
            QCOMPARE(actions.size(), 1);
            const QJsonArray edits = actions[0][u"edit"_s][u"changes"_s][Uri].toArray();
            QCOMPARE(edits.size(), 1);
            const QString names = edits[0][u"newText"_s].toString();
            QCOMPARE(actions[0][u"title"_s].toString(), u"Name it: "_s + names.trimmed());
            QCOMPARE(edits[0][u"range"_s], d[u"range"_s]);
            QVERIFY(d[u"message"_s].toString().endsWith(u" → "_s + names.trimmed()));
            // Applied alone, it is one of fix's changes: fix of the result changes the rest only.
            const QString once = applied(text, edits);
            QCOMPARE(fixed(once).out, fixed(text).out);
        }
        QCOMPARE(client.finish(), 0);
    }

    // Edits by range, in a burst: the server's text follows the editor's,
    // and the diagnostics carry the last version.
    void incrementalEdits_data()
    {
        QTest::addColumn<bool>("oneWrite");
        QTest::newRow("changes one by one") << false;
        QTest::newRow("a burst in one write") << true;
    }
    void incrementalEdits()
    {
        QFETCH(bool, oneWrite);
        QString text = u"Sub A()\r\n  MsgBox \"é\", 0\r\nEnd Sub\r\n"_s;
        Client client;
        client.initialize();
        client.open(Uri, text);
        client.diagnosticsFor(Uri, 1);
        struct Edit
        {
            int line, from, to;
            QString text;
        };
        // Type "36" over the 0, add a line, then a result compared with a number.
        const QList<Edit> edits{{1, 14, 15, u"3"_s}, {1, 15, 15, u"6"_s}, {2, 0, 0, u"  If MsgBox(\"z\", 4) = 7 Then\r\n"_s},
                                {3, 0, 0, u"  End If\r\n"_s}, {1, 2, 2, u"VBA."_s}};
        QByteArray burst;
        int version = 1;
        for (const Edit &e : edits) {
            const QJsonObject range{{u"start"_s, position(e.line, e.from)}, {u"end"_s, position(e.line, e.to)}};
            const QJsonObject start = range[u"start"_s].toObject();
            const qsizetype at = offsetOf(text, start);
            text.replace(at, offsetOf(text, range[u"end"_s].toObject()) - at, e.text);
            const QJsonObject change = Client::notification(
                u"textDocument/didChange"_s,
                {{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, ++version}}},
                 {u"contentChanges"_s, QJsonArray{QJsonObject{{u"range"_s, range}, {u"text"_s, e.text}}}}});
            if (oneWrite) {
                burst += Client::frame(change);
            } else {
                client.sendRaw(Client::frame(change));
                if (version < 1 + edits.size())
                    QVERIFY(!client.diagnosticsFor(Uri, version).isEmpty());
            }
        }
        if (oneWrite)
            client.sendRaw(burst);
        const QJsonObject last = client.diagnosticsFor(Uri, version);
        QVERIFY2(!last.isEmpty(), "no diagnostics for the last version");
        QCOMPARE(asFixLines(text, last[u"params"_s][u"diagnostics"_s].toArray()), fixCheck(text));
        QCOMPARE(applied(text, fixAllEdits(client, Uri, text)).toUtf8(), fixed(text).out);
        if (oneWrite) {
            // Coalesced: not one publication per change.
            int published = 0;
            for (const QJsonObject &m : client.received())
                published += m[u"method"_s] == u"textDocument/publishDiagnostics"_s;
            QVERIFY2(published < 1 + edits.size(), qPrintable(u"%1 publications"_s.arg(published)));
        }
        QCOMPARE(client.finish(), 0);
    }

    void hoverOnNumbers()
    {
        const QString text = u"Sub A()\n  If MsgBox(\"Sure?\", 36) = 6 Then Beep\nEnd Sub\n"_s;
        Client client;
        client.initialize();
        client.open(Uri, text);
        const QJsonArray diagnostics = client.diagnosticsFor(Uri, 1)[u"params"_s][u"diagnostics"_s].toArray();
        QCOMPARE(diagnostics.size(), 2);
        for (const QJsonValue d : diagnostics) {
            const QJsonObject hover = client.request(u"textDocument/hover"_s,
                                                     QJsonObject{{u"textDocument"_s, documentId(Uri)},
                                                                 {u"position"_s, d[u"range"_s][u"start"_s]}})[u"result"_s]
                                          .toObject();
            const QString value = hover[u"contents"_s][u"value"_s].toString();
            const QStringList parts = d[u"message"_s].toString().split(u" → "_s);
            // "`36` = `vbYesNo + vbQuestion`: Yes and No, ...", the names fix gives.
            QVERIFY2(value.startsWith(u"`%1` = `%2`: "_s.arg(parts[0], parts[1])), qPrintable(value));
            QCOMPARE(hover[u"range"_s], d[u"range"_s]);
        }
        QCOMPARE(client.finish(), 0);
    }

    // Hover over a call shows what `read` makes of it, the calls before it
    // notwithstanding.
    void hoverOnCalls_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("alone"); // the module without the calls before it
        QTest::newRow("message box")
            << u"Sub A()\n  MsgBox \"First\", 64, \"One\"\n  MsgBox \"Save?\", vbYesNoCancel + vbQuestion, \"Report\"\nEnd Sub\n"_s
            << u"MsgBox \"Save?\""_s
            << u"Sub A()\n  MsgBox \"Save?\", vbYesNoCancel + vbQuestion, \"Report\"\nEnd Sub\n"_s;
        QTest::newRow("input box")
            << u"Sub A()\n  Dim Name As String\n  Name = InputBox(\"Your name?\", \"Name\", \"Guest\")\nEnd Sub\n"_s
            << u"InputBox"_s << QString();
        QTest::newRow("message through a variable, after another call")
            << u"Sub A()\n  Dim M\n  MsgBox \"x\"\n  M = \"Hello\" & vbCrLf & \"there\"\n  MsgBox M, vbInformation, \"Hi\"\nEnd Sub\n"_s
            << u"MsgBox M"_s
            << u"Sub A()\n  Dim M\n  M = \"Hello\" & vbCrLf & \"there\"\n  MsgBox M, vbInformation, \"Hi\"\nEnd Sub\n"_s;
    }
    void hoverOnCalls()
    {
        QFETCH(QString, text);
        QFETCH(QString, call);
        QFETCH(QString, alone);
        Client client;
        client.initialize();
        client.open(Uri, text);
        client.diagnosticsFor(Uri, 1);
        const qsizetype at = text.indexOf(call);
        const qsizetype lineStart = text.lastIndexOf(u'\n', at) + 1;
        const int line = int(text.left(at).count(u'\n'));
        const QJsonObject hover = client.request(u"textDocument/hover"_s,
                                                 QJsonObject{{u"textDocument"_s, documentId(Uri)},
                                                             {u"position"_s, position(line, int(at - lineStart + 1))}})[u"result"_s]
                                      .toObject();
        const QString value = hover[u"contents"_s][u"value"_s].toString();
        const Run read = runProgram({u"read"_s}, (alone.isEmpty() ? text : alone).toUtf8());
        const QJsonObject fields = QJsonDocument::fromJson(read.out).object();
        QVERIFY2(!fields.isEmpty(), read.err.constData());
        const auto shown = [](QString s) {
            s.replace(u"\r\n"_s, u" ⏎ "_s);
            static const QRegularExpression special(u"([\\\\`*_{}\\[\\]()<>#+\\-.!|~])"_s);
            return s.replace(special, u"\\\\1"_s);
        };
        QVERIFY2(value.contains(u"- Title: "_s + shown(fields[u"title"_s].toString())), qPrintable(value));
        QVERIFY2(value.contains(u"- Message: "_s + shown(fields[u"message"_s].toString())), qPrintable(value));
        QVERIFY2(value.contains(u"- Buttons: "_s), qPrintable(value));
        QVERIFY2(value.contains(u"- Answer: "_s), qPrintable(value));
        QCOMPARE(client.finish(), 0);
    }

    // A call `read` cannot hold says why, with read's own words.
    void hoverOnUnreadableCall()
    {
        const QString text = u"Sub A(x)\n  MsgBox x, 36\nEnd Sub\n"_s;
        Client client;
        client.initialize();
        client.open(Uri, text);
        client.diagnosticsFor(Uri, 1);
        const QJsonObject hover = client.request(u"textDocument/hover"_s,
                                                 QJsonObject{{u"textDocument"_s, documentId(Uri)},
                                                             {u"position"_s, position(1, 3)}})[u"result"_s]
                                      .toObject();
        const Run read = runProgram({u"read"_s}, text.toUtf8());
        QCOMPARE(read.status, 2);
        const QString reason = QString::fromUtf8(read.err).section(u": "_s, -1).trimmed();
        QVERIFY2(hover[u"contents"_s][u"value"_s].toString().contains(reason.left(10)),
                 qPrintable(hover[u"contents"_s][u"value"_s].toString() + u" / "_s + reason));
        QCOMPARE(client.finish(), 0);
    }

    // What no editor should send is answered, and the server goes on.
    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        QTest::newRow("not JSON") << QByteArray("Content-Length: 9\r\n\r\n{\"id\": 1,") << -32700;
        QTest::newRow("not an object") << QByteArray("Content-Length: 2\r\n\r\n[]") << -32600;
        QTest::newRow("no length") << QByteArray("Content-Type: x\r\n\r\n") << -32700;
        QTest::newRow("a length that is no number") << QByteArray("Content-Length: -3\r\n\r\n") << -32700;
        const QByteArray objectId = R"({"jsonrpc":"2.0","id":{},"method":"x"})";
        QTest::newRow("an id of an object")
            << QByteArray("Content-Length: " + QByteArray::number(objectId.size()) + "\r\n\r\n" + objectId) << -32600;
    }
    void badInput()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        Client client;
        client.initialize();
        client.sendRaw(bytes);
        const QJsonObject error = client.waitFor([](const QJsonObject &m) { return m.contains(u"error"_s); });
        QCOMPARE(error[u"error"_s][u"code"_s].toInt(), code);
        QVERIFY(error[u"id"_s].isNull());
        client.open(Uri, u"MsgBox \"x\", 36\n"_s);
        QVERIFY(!client.diagnosticsFor(Uri, 1).isEmpty());
        QCOMPARE(client.finish(), 0);
    }

    // Documents that are no module are refused with a diagnostic that says
    // so; a long line is checked all the same.
    void hugeAndBinaryDocuments_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("uri");
        QTest::newRow("LibreOffice's XML with CDATA")
            << u"<script:module><![CDATA[Sub A\n  MsgBox(\"x\", 36)\nEnd Sub]]></script:module>"_s << false
            << u"file:///project/Module1.xba"_s;
        QTest::newRow("5 million characters on one line")
            << (u"MsgBox \"x\", 36: MsgBox \""_s + QString(5'000'000, u'a') + u"\", 36\n"_s) << true << Uri;
        QTest::newRow("binary") << QString::fromLatin1(QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0MsgBox 36", 19)) << false << Uri;
        QTest::newRow("50 MB") << (u"MsgBox \"x\", 36\n"_s.repeated(50'000'000 / 15)) << false << Uri;
    }
    void hugeAndBinaryDocuments()
    {
        QFETCH(QString, text);
        QFETCH(bool, checked);
        QFETCH(QString, uri);
        Client client;
        client.initialize();
        client.open(uri, text);
        const QJsonObject published = client.waitFor(
            [](const QJsonObject &m) { return m.value(u"method"_s) == u"textDocument/publishDiagnostics"_s; }, 120000);
        QVERIFY2(!published.isEmpty(), "no diagnostics");
        const QJsonArray diagnostics = published[u"params"_s][u"diagnostics"_s].toArray();
        QVERIFY(!diagnostics.isEmpty());
        const bool refused = diagnostics[0][u"code"_s] == u"not-checked"_s;
        QCOMPARE(refused, !checked);
        if (checked)
            QCOMPARE(asFixLines(text, diagnostics), fixCheck(text));
        // Still answering, and bounded: a hover on the refused one is empty.
        const QJsonObject hover = client.request(
            u"textDocument/hover"_s, QJsonObject{{u"textDocument"_s, documentId(uri)}, {u"position"_s, position(0, 13)}});
        QVERIFY(hover.contains(u"result"_s));
        QCOMPARE(client.finish(), 0);
    }

    // The server writes nothing where it runs, and nothing on standard
    // output but the protocol.
    void writesNoFiles()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        {
            Client client(folder.path());
            client.initialize();
            client.open(Uri, u"MsgBox \"x\", 36\n"_s);
            client.diagnosticsFor(Uri, 1);
            fixAllEdits(client, Uri, {});
            QCOMPARE(client.finish(), 0);
        }
        QVERIFY(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    }

    // "Open in Quillkit 98" is offered on a call the window reads as it is,
    // and nowhere else.
    void openInWindowOffered_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("offered");
        const QString module = u"Sub A(x)\n  MsgBox \"First\"\n  MsgBox x, 36\n  Beep\n  MsgBox \"Sure?\", 36, \"T\"\nEnd Sub\n"_s;
        QTest::newRow("the first call") << module << 1 << true;
        QTest::newRow("a variable in the message") << module << 2 << false;
        QTest::newRow("no call") << module << 3 << false;
        QTest::newRow("a call after others") << module << 4 << true;
    }
    void openInWindowOffered()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(bool, offered);
        Client client;
        client.initialize();
        client.open(Uri, text);
        client.diagnosticsFor(Uri, 1);
        const QJsonArray actions = client.request(
            u"textDocument/codeAction"_s,
            QJsonObject{{u"textDocument"_s, documentId(Uri)},
                        {u"range"_s, QJsonObject{{u"start"_s, position(line, 4)}, {u"end"_s, position(line, 4)}}},
                        {u"context"_s, QJsonObject{{u"diagnostics"_s, QJsonArray()}}}})[u"result"_s].toArray();
        QJsonObject command;
        for (const QJsonValue action : actions) {
            if (action.toObject().contains(u"command"_s))
                command = action[u"command"_s].toObject();
        }
        QCOMPARE(!command.isEmpty(), offered);
        if (offered) {
            QCOMPARE(command[u"command"_s].toString(), u"quillkit98.openInWindow"_s);
            QCOMPARE(command[u"arguments"_s].toArray(), (QJsonArray{Uri, position(line, 4)}));
        }
        QCOMPARE(client.finish(), 0);
    }

    void openInWindowRefusesWhatCannotBeRead()
    {
        const QString text = u"Sub A(x)\n  MsgBox x, 36\nEnd Sub\n"_s;
        Client client;
        client.initialize();
        client.open(Uri, text);
        client.diagnosticsFor(Uri, 1);
        const QJsonArray arguments{Uri, position(1, 3)};
        const QJsonObject response = client.request(
            u"workspace/executeCommand"_s,
            QJsonObject{{u"command"_s, u"quillkit98.openInWindow"_s}, {u"arguments"_s, arguments}});
        QVERIFY(response.contains(u"error"_s));
        // No "Open in Quillkit 98" action where it would fail.
        const QJsonArray actions = client.request(
            u"textDocument/codeAction"_s,
            QJsonObject{{u"textDocument"_s, documentId(Uri)},
                        {u"range"_s, QJsonObject{{u"start"_s, position(1, 3)}, {u"end"_s, position(1, 3)}}},
                        {u"context"_s, QJsonObject{{u"diagnostics"_s, QJsonArray()}}}})[u"result"_s].toArray();
        for (const QJsonValue action : actions)
            QVERIFY(!action.toObject().contains(u"command"_s));
        QCOMPARE(client.finish(), 0);
    }
};

QTEST_GUILESS_MAIN(TestLspServer)
#include "tst_lspserver.moc"
