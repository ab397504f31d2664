// SPDX-License-Identifier: GPL-3.0-or-later
// `quillkit98 lsp` spoken to through a process, as an editor does: the
// lifecycle, incremental edits, diagnostics against `fix --check`, fix-all
// against `fix`, hover against `read`, and input no editor should send.

#include "support/GenerateRun.h"
#include "support/RandomText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
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
    // The server as another program starts it (xvfb-run), in that environment.
    Client(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment)
    {
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments);
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
    // The lines logged since the last call, waiting a little for them.
    QStringList logged(int atLeast = 0)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_errors.count('\n') < atLeast && timer.elapsed() < 5000) {
            m_process.waitForReadyRead(50);
            m_errors += m_process.readAllStandardError();
        }
        m_errors += m_process.readAllStandardError();
        QStringList lines = QString::fromUtf8(std::exchange(m_errors, QByteArray())).split(u'\n', Qt::SkipEmptyParts);
        return lines;
    }

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
    QByteArray m_errors;
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

// The protocol's position of an offset, in UTF-16 units.
QJsonObject positionOf(const QString &text, qsizetype offset)
{
    int line = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
            ++line;
            start = i + 1;
        }
    }
    return {{u"line"_s, line}, {u"character"_s, int(offset - start)}};
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
        QVERIFY(capabilities[u"textDocumentSync"_s][u"openClose"_s].toBool());
        QVERIFY(capabilities[u"textDocumentSync"_s][u"willSaveWaitUntil"_s].toBool());
        QVERIFY(capabilities[u"hoverProvider"_s].toBool());
        QVERIFY(capabilities[u"documentSymbolProvider"_s].toBool());
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
        QTest::newRow("unknown method") << true << false << u"textDocument/rename"_s << -32601;
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
        // As typed, before the line is done: the statement's last token ends the text.
        QTest::newRow("modifiers alone at the end") << u"Sub A()\n  MsgBox \"x\", 36\nEnd Sub\nPrivate"_s;
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

    // A hover that comes with an edit, before its check: where the edit left
    // the number alone, answered at once from the last check (even where the
    // edit changed its meaning: a declaration put above), at the number's new
    // place; otherwise as the new check's diagnostic says.
    void hoverWithAnEdit_data()
    {
        QTest::addColumn<QJsonObject>("start");
        QTest::addColumn<QJsonObject>("end");
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QString>("number"); // the second box's, after the edit
        QTest::addColumn<bool>("lastCheck"); // answered from the check before the edit
        QTest::newRow("a statement put before it on its line")
            << position(2, 2) << position(2, 2) << u"Beep: "_s << u"32"_s << false;
        QTest::newRow("a line added above") << position(1, 0) << position(1, 0) << u"  Beep\n"_s << u"32"_s << false;
        QTest::newRow("a line taken out above") << position(1, 0) << position(2, 0) << QString() << u"32"_s << false;
        QTest::newRow("a line added after") << position(3, 0) << position(3, 0) << u"  Beep\n"_s << u"32"_s << false;
        QTest::newRow("the number changed") << position(2, 14) << position(2, 16) << u"16"_s << u"16"_s << false;
        QTest::newRow("a digit typed after it") << position(2, 16) << position(2, 16) << u"4"_s << u"324"_s << false;
        QTest::newRow("a sum begun before it")
            << position(2, 14) << position(2, 14) << u"4 + "_s << u"4 + 32"_s << false;
        QTest::newRow("a declaration put above")
            << position(0, 0) << position(0, 0) << u"Const vbQuestion = 1\n"_s << u"32"_s << true;
    }
    void hoverWithAnEdit()
    {
        QFETCH(QJsonObject, start);
        QFETCH(QJsonObject, end);
        QFETCH(QString, insert);
        QFETCH(QString, number);
        QFETCH(bool, lastCheck);
        QString text = u"Sub A()\n  MsgBox \"x\", 36\n  MsgBox \"y\", 32\nEnd Sub\n"_s;
        Client client;
        client.initialize();
        client.open(Uri, text);
        const QJsonArray before = client.diagnosticsFor(Uri, 1)[u"params"_s][u"diagnostics"_s].toArray();
        const qsizetype from = offsetOf(text, start);
        text.replace(from, offsetOf(text, end) - from, insert);
        const qsizetype at = text.indexOf(u"\"y\", "_s + number) + 5;
        const int line = int(text.left(at).count(u'\n'));
        const QJsonObject hover{
            {u"jsonrpc"_s, u"2.0"_s},
            {u"id"_s, 50},
            {u"method"_s, u"textDocument/hover"_s},
            {u"params"_s, QJsonObject{{u"textDocument"_s, documentId(Uri)},
                                      {u"position"_s, position(line, int(at - text.lastIndexOf(u'\n', at) - 1))}}}};
        const QJsonObject change = Client::notification(
            u"textDocument/didChange"_s,
            {{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, 2}}},
             {u"contentChanges"_s,
              QJsonArray{
                  QJsonObject{{u"range"_s, QJsonObject{{u"start"_s, start}, {u"end"_s, end}}}, {u"text"_s, insert}}}}});
        // In one write: the hover is read before the change is checked.
        client.sendRaw(Client::frame(change) + Client::frame(hover));
        const QJsonObject answer =
            client.waitFor([](const QJsonObject &m) { return m[u"id"_s] == 50; })[u"result"_s].toObject();
        const QJsonArray diagnostics = client.diagnosticsFor(Uri, 2)[u"params"_s][u"diagnostics"_s].toArray();
        QCOMPARE(asFixLines(text, diagnostics), fixCheck(text));
        QJsonObject diagnostic;
        for (const QJsonValue d : diagnostics) {
            if (offsetOf(text, d[u"range"_s][u"start"_s].toObject()) == at)
                diagnostic = d.toObject();
        }
        QVERIFY2(!diagnostic.isEmpty(), "no diagnostic on the number");
        QCOMPARE(answer[u"range"_s], diagnostic[u"range"_s]);
        if (lastCheck) // the second box's number as the last check named it
            diagnostic = before[1].toObject();
        const QStringList parts = diagnostic[u"message"_s].toString().split(u" → "_s);
        const QString value = answer[u"contents"_s][u"value"_s].toString();
        QVERIFY2(value.startsWith(u"`%1` = `%2`"_s.arg(parts[0], parts[1])), qPrintable(value));
        QCOMPARE(client.finish(), 0);
    }

    // Random edits, hovers and outlines in random writes: the server's text
    // stays the editor's, so its last diagnostics are fix --check's of the
    // text the editor has; every answer's range lies in the text.
    void randomSessions()
    {
        const quint32 seed = testsupport::seed("sessions");
        QRandomGenerator random(seed);
        const QStringList pieces{u"MsgBox \"x\", 36"_s,
                                 u"If MsgBox(\"y\", 4) = 6 Then Beep"_s,
                                 u"Sub B()"_s,
                                 u"End Sub"_s,
                                 u"Const vbYes = 1"_s,
                                 u"Enum E"_s,
                                 u"End Enum"_s,
                                 u"Private "_s,
                                 u" "_s,
                                 u"32"_s,
                                 u" + 4"_s,
                                 u"\n"_s,
                                 u"\r\n"_s,
                                 u"\r"_s,
                                 u"ü😀"_s,
                                 u"\""_s,
                                 u"' c"_s,
                                 u" _\n"_s};
        for (int session = 0; session < 4; ++session) {
            QString text = u"Sub A()\r\n  MsgBox \"x\", 36\r\n  MsgBox \"y\", 292\r\nEnd Sub\r\n"_s;
            Client client;
            client.initialize(
                {{u"capabilities"_s,
                  QJsonObject{{u"textDocument"_s,
                               QJsonObject{{u"documentSymbol"_s,
                                            QJsonObject{{u"hierarchicalDocumentSymbolSupport"_s, true}}}}}}}});
            client.open(Uri, text);
            int version = 1;
            int id = 1000;
            QByteArray write;
            // A place where an edit may start or end: not inside CR LF or a pair.
            const auto place = [&] {
                for (;;) {
                    const qsizetype at = random.bounded(int(text.size()) + 1);
                    if (at == 0 || at == text.size()
                        || !((text[at - 1] == u'\r' && text[at] == u'\n') || text[at].isLowSurrogate()))
                        return at;
                }
            };
            for (int step = 0; step < 40; ++step) {
                const int what = random.bounded(10);
                if (what < 6) {
                    qsizetype from = place(), to = place();
                    if (to < from)
                        std::swap(from, to);
                    const QString insert = testsupport::randomShortText(random, pieces, 4, 0);
                    const QJsonObject range{{u"start"_s, positionOf(text, from)}, {u"end"_s, positionOf(text, to)}};
                    text.replace(from, to - from, insert);
                    write += Client::frame(Client::notification(
                        u"textDocument/didChange"_s,
                        {{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, ++version}}},
                         {u"contentChanges"_s, QJsonArray{QJsonObject{{u"range"_s, range}, {u"text"_s, insert}}}}}));
                } else {
                    const QString method = what < 9 ? u"textDocument/hover"_s : u"textDocument/documentSymbol"_s;
                    QJsonObject params{{u"textDocument"_s, documentId(Uri)}};
                    if (what < 9)
                        params.insert(u"position"_s, positionOf(text, place()));
                    write += Client::frame(QJsonObject{
                        {u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, ++id}, {u"method"_s, method}, {u"params"_s, params}});
                    const QString now = text;
                    if (random.bounded(2) == 0) {
                        client.sendRaw(std::exchange(write, QByteArray()));
                        const QJsonObject answer =
                            client.waitFor([&](const QJsonObject &m) { return m[u"id"_s] == id; });
                        QVERIFY2(answer.contains(u"result"_s), qPrintable(u"seed %1"_s.arg(seed)));
                        // Every range it gives lies in the text.
                        QList<QJsonValue> ranges{answer[u"result"_s][u"range"_s]};
                        for (const QJsonValue symbol : answer[u"result"_s].toArray())
                            ranges << symbol[u"range"_s] << symbol[u"selectionRange"_s];
                        for (const QJsonValue &r : ranges) {
                            if (r.isUndefined())
                                continue;
                            const qsizetype a = offsetOf(now, r[u"start"_s].toObject());
                            const qsizetype b = offsetOf(now, r[u"end"_s].toObject());
                            QVERIFY2(0 <= a && a <= b && b <= now.size(), qPrintable(u"seed %1"_s.arg(seed)));
                        }
                    }
                }
            }
            client.sendRaw(write);
            // Published perhaps before an answer waited for: looked for among all.
            QJsonObject last;
            QElapsedTimer waited;
            waited.start();
            while (last.isEmpty() && waited.elapsed() < 60000) {
                for (const QJsonObject &m : client.received()) {
                    if (m[u"method"_s] == u"textDocument/publishDiagnostics"_s
                        && m[u"params"_s][u"version"_s] == version)
                        last = m;
                }
                client.process().waitForReadyRead(50);
            }
            QVERIFY2(!last.isEmpty(), qPrintable(u"seed %1: no diagnostics"_s.arg(seed)));
            QCOMPARE(asFixLines(text, last[u"params"_s][u"diagnostics"_s].toArray()), fixCheck(text));
            QCOMPARE(client.finish(), 0);
        }
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
        // A box changes nothing it is given: the call before still is one.
        QTest::newRow("a variable given to a box before")
            << u"Sub A()\n  Dim M\n  M = \"Hello\"\n  MsgBox M\n  MsgBox M, vbInformation, \"Hi\"\nEnd Sub\n"_s
            << u"MsgBox M,"_s << u"Sub A()\n  Dim M\n  M = \"Hello\"\n  MsgBox M, vbInformation, \"Hi\"\nEnd Sub\n"_s;
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

    // Each malformed frame costs one log line, and the request after it is
    // answered at once; a body that stops coming, once it is dropped.
    void malformedFramesAnswered_data()
    {
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<int>("within"); // milliseconds
        const QByteArray body = R"({"jsonrpc":"2.0","method":"initialized","params":{}})";
        QTest::newRow("negative length") << QByteArray("Content-Length: -5\r\n\r\n" + body) << 2000;
        QTest::newRow("length shorter than its body") << QByteArray("Content-Length: 9\r\n\r\n" + body) << 2000;
        QTest::newRow("LF-only header") << QByteArray("Content-Length: " + QByteArray::number(body.size()) + "\n\n"
                                                      + body)
                                        << 2000;
        QTest::newRow("4000000000 bytes announced, none sent")
            << QByteArray("Content-Length: 4000000000\r\n\r\n") << 2000;
        QTest::newRow("no length") << QByteArray("Content-Type: x\r\n\r\n" + body) << 2000;
        QTest::newRow("length far longer than its body") << QByteArray("Content-Length: 100000\r\n\r\n" + body) << 2000;
        // Nothing comes after it until the body is dropped.
        QTest::newRow("a body that stops") << QByteArray("Content-Length: 100000\r\n\r\n{\"jsonrpc\":") << 2000;
    }
    void malformedFramesAnswered()
    {
        QFETCH(QByteArray, bad);
        QFETCH(int, within);
        Client client;
        client.initialize();
        client.open(Uri, u"Sub A()\n  MsgBox \"x\", 36\nEnd Sub\n"_s);
        client.diagnosticsFor(Uri, 1);
        QCOMPARE(client.logged(), QStringList());
        client.sendRaw(bad);
        QStringList lines;
        if (QTest::currentDataTag() == QByteArray("a body that stops")) {
            lines = client.logged(1);
            QVERIFY2(lines.size() == 1 && lines[0].contains(u"stopped"_s), qPrintable(lines.join(u'\n')));
        }
        QElapsedTimer timer;
        timer.start();
        const QJsonObject hover =
            client.request(u"textDocument/hover"_s,
                           QJsonObject{{u"textDocument"_s, documentId(Uri)}, {u"position"_s, position(1, 15)}});
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(hover[u"result"_s][u"contents"_s][u"value"_s].toString().contains(u"vbYesNo"_s), "no hover");
        QVERIFY2(elapsed < within, qPrintable(u"answered after %1 ms"_s.arg(elapsed)));
        lines += client.logged(lines.isEmpty() ? 1 : 0);
        QVERIFY2(lines.size() == 1, qPrintable(lines.join(u'\n')));
        QVERIFY(lines[0].startsWith(u"quillkit98 lsp: "_s));
        QCOMPARE(client.finish(), 0);
    }

    // Parameters of the wrong type are an error, not an empty answer; the
    // server goes on.
    void invalidParams_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QJsonValue>("params");
        QTest::addColumn<QString>("member"); // named in the message
        const QJsonObject document = documentId(Uri);
        const QJsonObject range{{u"start"_s, position(0, 0)}, {u"end"_s, position(0, 1)}};
        QTest::newRow("hover, a line as text")
            << u"textDocument/hover"_s
            << QJsonValue(QJsonObject{{u"textDocument"_s, document},
                                      {u"position"_s, QJsonObject{{u"line"_s, u"1"_s}, {u"character"_s, 2}}}})
            << u"position.line"_s;
        QTest::newRow("hover, no position")
            << u"textDocument/hover"_s << QJsonValue(QJsonObject{{u"textDocument"_s, document}}) << u"position.line"_s;
        QTest::newRow("hover, the document as text")
            << u"textDocument/hover"_s
            << QJsonValue(QJsonObject{{u"textDocument"_s, Uri}, {u"position"_s, position(0, 0)}})
            << u"textDocument.uri"_s;
        QTest::newRow("hover, a negative character")
            << u"textDocument/hover"_s
            << QJsonValue(QJsonObject{{u"textDocument"_s, document}, {u"position"_s, position(0, -1)}})
            << u"position.character"_s;
        QTest::newRow("hover, a fraction")
            << u"textDocument/hover"_s
            << QJsonValue(QJsonObject{{u"textDocument"_s, document},
                                      {u"position"_s, QJsonObject{{u"line"_s, 0.5}, {u"character"_s, 0}}}})
            << u"position.line"_s;
        QTest::newRow("code action, no range end")
            << u"textDocument/codeAction"_s
            << QJsonValue(QJsonObject{{u"textDocument"_s, document},
                                      {u"range"_s, QJsonObject{{u"start"_s, position(0, 0)}}},
                                      {u"context"_s, QJsonObject{{u"diagnostics"_s, QJsonArray()}}}})
            << u"range.end.line"_s;
        QTest::newRow("code action, only as text")
            << u"textDocument/codeAction"_s
            << QJsonValue(QJsonObject{{u"textDocument"_s, document},
                                      {u"range"_s, range},
                                      {u"context"_s, QJsonObject{{u"only"_s, u"quickfix"_s}}}})
            << u"context.only"_s;
        QTest::newRow("command as a number")
            << u"workspace/executeCommand"_s << QJsonValue(QJsonObject{{u"command"_s, 5}}) << u"command"_s;
        QTest::newRow("symbols, params an array")
            << u"textDocument/documentSymbol"_s << QJsonValue(QJsonArray{Uri}) << u"textDocument.uri"_s;
        QTest::newRow("will save, reason as text")
            << u"textDocument/willSaveWaitUntil"_s
            << QJsonValue(QJsonObject{{u"textDocument"_s, document}, {u"reason"_s, u"manual"_s}}) << u"reason"_s;
    }
    void invalidParams()
    {
        QFETCH(QString, method);
        QFETCH(QJsonValue, params);
        QFETCH(QString, member);
        Client client;
        client.initialize();
        client.open(Uri, u"Sub A()\n  MsgBox \"x\", 36\nEnd Sub\n"_s);
        QVERIFY(!client.diagnosticsFor(Uri, 1).isEmpty());
        const QJsonObject response = client.request(method, params);
        QCOMPARE(response[u"error"_s][u"code"_s].toInt(), -32602);
        QVERIFY2(response[u"error"_s][u"message"_s].toString().contains(member),
                 qPrintable(response[u"error"_s][u"message"_s].toString()));
        QVERIFY(!response.contains(u"result"_s));
        // And it goes on.
        QVERIFY(client
                    .request(u"textDocument/hover"_s,
                             QJsonObject{{u"textDocument"_s, documentId(Uri)}, {u"position"_s, position(1, 15)}})
                    .contains(u"result"_s));
        QCOMPARE(client.finish(), 0);
    }

    // After shutdown nothing is published: not what waited, nor what a
    // notification would bring.
    void nothingPublishedAfterShutdown()
    {
        Client client;
        client.initialize();
        const QString text = u"Sub A()\n  MsgBox \"x\", 36\nEnd Sub\n"_s;
        // The open and the shutdown in one write: the check has not run.
        client.sendRaw(
            Client::frame(Client::notification(
                u"textDocument/didOpen"_s,
                {{u"textDocument"_s,
                  QJsonObject{{u"uri"_s, Uri}, {u"languageId"_s, u"vb"_s}, {u"version"_s, 1}, {u"text"_s, text}}}}))
            + Client::frame(QJsonObject{{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, 7}, {u"method"_s, u"shutdown"_s}}));
        QVERIFY(!client.waitFor([](const QJsonObject &m) { return m[u"id"_s] == 7; }).isEmpty());
        const QString other = u"file:///project/Module2.bas"_s;
        client.open(other, text);
        client.notify(u"textDocument/didChange"_s,
                      {{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, 2}}},
                       {u"contentChanges"_s, QJsonArray{QJsonObject{{u"text"_s, text}}}}});
        client.notify(u"workspace/didChangeConfiguration"_s,
                      {{u"settings"_s, QJsonObject{{u"quillkit98"_s, QJsonObject{{u"dialect"_s, u"libreoffice"_s}}}}}});
        client.notify(u"textDocument/didClose"_s, {{u"textDocument"_s, documentId(Uri)}});
        QTest::qWait(300);
        QCOMPARE(client.finish(false), 0);
        bool shutDown = false;
        for (const QJsonObject &m : client.received()) {
            shutDown = shutDown || m[u"id"_s] == 7;
            QVERIFY2(!(shutDown && m.contains(u"method"_s)), qPrintable(m[u"method"_s].toString()));
        }
    }

    // A change whose range does not fit the text is no edit: the document
    // is not checked until its whole text comes again. One that fits, even
    // at the very end or past a line's end, is applied.
    void changeRanges_data()
    {
        QTest::addColumn<QJsonObject>("start");
        QTest::addColumn<QJsonObject>("end");
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QString>("after"); // empty where the change is refused
        const QString text = u"Sub A()\n  MsgBox \"x\", 0\nEnd Sub\n"_s;
        QTest::newRow("reversed on a line") << position(1, 15) << position(1, 14) << u"36"_s << QString();
        QTest::newRow("reversed over lines") << position(2, 0) << position(1, 0) << QString() << QString();
        QTest::newRow("past the last line") << position(9, 0) << position(9, 0) << u"Beep\n"_s << QString();
        QTest::newRow("the empty last line")
            << position(3, 0) << position(3, 0) << u"Sub B()\n  MsgBox \"y\", 36\nEnd Sub\n"_s
            << text + u"Sub B()\n  MsgBox \"y\", 36\nEnd Sub\n"_s;
        QTest::newRow("past a line's end")
            << position(1, 14) << position(1, 99) << u"36"_s << u"Sub A()\n  MsgBox \"x\", 36\nEnd Sub\n"_s;
    }
    void changeRanges()
    {
        QFETCH(QJsonObject, start);
        QFETCH(QJsonObject, end);
        QFETCH(QString, insert);
        QFETCH(QString, after);
        const QString text = u"Sub A()\n  MsgBox \"x\", 0\nEnd Sub\n"_s;
        Client client;
        client.initialize();
        client.open(Uri, text);
        client.diagnosticsFor(Uri, 1);
        client.logged();
        const auto change = [&](int version, const QJsonObject &content) {
            client.notify(u"textDocument/didChange"_s,
                          {{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, version}}},
                           {u"contentChanges"_s, QJsonArray{content}}});
        };
        change(2, {{u"range"_s, QJsonObject{{u"start"_s, start}, {u"end"_s, end}}}, {u"text"_s, insert}});
        const QJsonArray diagnostics = client.diagnosticsFor(Uri, 2)[u"params"_s][u"diagnostics"_s].toArray();
        if (after.isEmpty()) {
            QCOMPARE(diagnostics.size(), 1);
            QCOMPARE(diagnostics[0][u"code"_s].toString(), u"not-checked"_s);
            QCOMPARE(client.logged(1).size(), 1);
            // Whole again, checked again.
            const QString whole = u"Sub A()\n  MsgBox \"x\", 16\nEnd Sub\n"_s;
            change(3, {{u"text"_s, whole}});
            QCOMPARE(asFixLines(whole, client.diagnosticsFor(Uri, 3)[u"params"_s][u"diagnostics"_s].toArray()),
                     fixCheck(whole));
        } else {
            QCOMPARE(asFixLines(after, diagnostics), fixCheck(after));
            QCOMPARE(applied(after, fixAllEdits(client, Uri, after)).toUtf8(), fixed(after).out);
            QCOMPARE(client.logged(), QStringList());
        }
        QCOMPARE(client.finish(), 0);
    }

    // A notification of the wrong shape cannot be answered: it is logged in
    // one line, and changes nothing, or leaves the document unchecked where
    // its text is no longer known.
    void notificationsOfTheWrongShape_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QJsonObject>("params");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<bool>("unchecked");
        const QString other = u"file:///project/Module2.bas"_s;
        QTest::newRow("open, the text a number")
            << u"textDocument/didOpen"_s
            << QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, other}, {u"version"_s, 1}, {u"text"_s, 5}}}}
            << u"textDocument.text must be a string"_s << false;
        QTest::newRow("open, no uri") << u"textDocument/didOpen"_s
                                      << QJsonObject{{u"textDocument"_s,
                                                      QJsonObject{{u"version"_s, 1}, {u"text"_s, u"x"_s}}}}
                                      << u"textDocument.uri must be a string"_s << false;
        QTest::newRow("change, the changes an object")
            << u"textDocument/didChange"_s
            << QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, 2}}},
                           {u"contentChanges"_s, QJsonObject()}}
            << u"contentChanges must be an array"_s << false;
        QTest::newRow("change without its text")
            << u"textDocument/didChange"_s
            << QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, 2}}},
                           {u"contentChanges"_s,
                            QJsonArray{QJsonObject{
                                {u"range"_s, QJsonObject{{u"start"_s, position(0, 0)}, {u"end"_s, position(0, 0)}}}}}}}
            << u"a change without its text"_s << true;
        QTest::newRow("close, the document a string")
            << u"textDocument/didClose"_s << QJsonObject{{u"textDocument"_s, Uri}}
            << u"textDocument.uri must be a string"_s << false;
    }
    void notificationsOfTheWrongShape()
    {
        QFETCH(QString, method);
        QFETCH(QJsonObject, params);
        QFETCH(QString, logged);
        QFETCH(bool, unchecked);
        const QString text = u"Sub A()\n  MsgBox \"x\", 36\nEnd Sub\n"_s;
        Client client;
        client.initialize();
        client.open(Uri, text);
        client.diagnosticsFor(Uri, 1);
        client.logged();
        client.notify(method, params);
        const QStringList lines = client.logged(1);
        QVERIFY2(lines.size() == 1 && lines[0].contains(logged), qPrintable(lines.join(u'\n')));
        if (unchecked) {
            const QJsonArray diagnostics = client.diagnosticsFor(Uri, 2)[u"params"_s][u"diagnostics"_s].toArray();
            QCOMPARE(diagnostics.size(), 1);
            QCOMPARE(diagnostics[0][u"code"_s].toString(), u"not-checked"_s);
        } else {
            // The document is as it was: its fix-all is still fix's.
            QCOMPARE(applied(text, fixAllEdits(client, Uri, text)).toUtf8(), fixed(text).out);
        }
        QCOMPARE(client.finish(), 0);
        for (const QJsonObject &m : client.received())
            QVERIFY(m[u"params"_s][u"uri"_s] != u"file:///project/Module2.bas"_s);
    }

    // Fix on save: willSaveWaitUntil gives fix's edits when the user asked
    // for them, at start or in the settings later, and for a save they make;
    // otherwise no edits.
    void fixOnSave_data()
    {
        QTest::addColumn<QJsonValue>("initial");
        QTest::addColumn<QJsonValue>("setting");
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("edits");
        const QJsonValue none(QJsonValue::Undefined);
        QTest::newRow("off unless asked") << none << none << 1 << false;
        QTest::newRow("on from the start") << QJsonValue(true) << none << 1 << true;
        QTest::newRow("turned on in the settings") << QJsonValue(false) << QJsonValue(true) << 1 << true;
        QTest::newRow("turned off in the settings") << QJsonValue(true) << QJsonValue(false) << 1 << false;
        QTest::newRow("on, a save after a delay") << QJsonValue(true) << none << 2 << false;
        QTest::newRow("on, a save on leaving the window") << QJsonValue(true) << none << 3 << true;
        QTest::newRow("a setting of the wrong type keeps it") << QJsonValue(true) << QJsonValue(u"no"_s) << 1 << true;
    }
    void fixOnSave()
    {
        QFETCH(QJsonValue, initial);
        QFETCH(QJsonValue, setting);
        QFETCH(int, reason);
        QFETCH(bool, edits);
        const QString text =
            u"Sub A()\r\n  If MsgBox(\"Sure?\", 4 + 32) = 6 Then Beep\r\n  MsgBox \"x\", 16\r\nEnd Sub\r\n"_s;
        QJsonObject options;
        if (!initial.isUndefined())
            options.insert(u"fixOnSave"_s, initial);
        Client client;
        client.initialize({{u"capabilities"_s, QJsonObject()}, {u"initializationOptions"_s, options}});
        client.open(Uri, text);
        client.diagnosticsFor(Uri, 1);
        if (!setting.isUndefined())
            client.notify(u"workspace/didChangeConfiguration"_s,
                          {{u"settings"_s, QJsonObject{{u"quillkit98"_s, QJsonObject{{u"fixOnSave"_s, setting}}}}}});
        if (setting.isString())
            QVERIFY(!client.waitFor([](const QJsonObject &m) { return m[u"method"_s] == u"window/showMessage"_s; })
                         .isEmpty());
        const QJsonObject response =
            client.request(u"textDocument/willSaveWaitUntil"_s,
                           QJsonObject{{u"textDocument"_s, documentId(Uri)}, {u"reason"_s, reason}});
        QVERIFY(response[u"result"_s].isArray());
        const QJsonArray result = response[u"result"_s].toArray();
        if (edits)
            QCOMPARE(applied(text, result).toUtf8(), fixed(text).out);
        else
            QCOMPARE(result, QJsonArray());
        QCOMPARE(client.finish(), 0);
    }

    // The dialect set at run time checks the open modules again at once: a
    // LibreOffice module's warnings name MB_ constants; a bad dialect says
    // so and leaves each module's own.
    // Settings pushed with the notification, or pulled with
    // workspace/configuration from a client that offers it.
    void dialectSetAtRunTime_data()
    {
        QTest::addColumn<bool>("pulled");
        QTest::newRow("pushed") << false;
        QTest::newRow("pulled") << true;
    }
    void dialectSetAtRunTime()
    {
        QFETCH(bool, pulled);
        const QString text = u"Sub A()\n  If MsgBox(\"Sure?\", 36) = 6 Then Beep\nEnd Sub\n"_s;
        Client client;
        client.initialize(
            {{u"capabilities"_s, QJsonObject{{u"workspace"_s, QJsonObject{{u"configuration"_s, pulled}}}}}});
        // The client's answer to the server's request for the settings.
        const auto answer = [&](const QJsonValue &settings) {
            const QJsonObject asked =
                client.waitFor([](const QJsonObject &m) { return m[u"method"_s] == u"workspace/configuration"_s; });
            QCOMPARE(asked[u"params"_s][u"items"_s][0][u"section"_s], u"quillkit98"_s);
            client.sendRaw(Client::frame(
                {{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, asked[u"id"_s]}, {u"result"_s, QJsonArray{settings}}}));
        };
        if (pulled)
            answer(QJsonValue::Null); // nothing set at the start
        client.open(Uri, text);
        const auto lines = [&](const QJsonObject &published) {
            return asFixLines(text, published[u"params"_s][u"diagnostics"_s].toArray());
        };
        QCOMPARE(lines(client.diagnosticsFor(Uri, 1)), fixCheck(text));
        const auto configure = [&](const QJsonValue &dialect) {
            if (pulled) {
                client.notify(u"workspace/didChangeConfiguration"_s, {{u"settings"_s, QJsonValue::Null}});
                answer(QJsonObject{{u"dialect"_s, dialect}});
                return;
            }
            client.notify(u"workspace/didChangeConfiguration"_s,
                          {{u"settings"_s, QJsonObject{{u"quillkit98"_s, QJsonObject{{u"dialect"_s, dialect}}}}}});
        };
        configure(u"libreoffice"_s);
        const QStringList libreOffice = lines(client.diagnosticsFor(Uri, 1));
        const Run check = runProgram({u"fix"_s, u"--check"_s, u"--dialect"_s, u"libreoffice"_s, u"-"_s}, text.toUtf8());
        QStringList want = QString::fromUtf8(check.out).split(u'\n', Qt::SkipEmptyParts);
        for (QString &line : want)
            line.remove(0, 2);
        QCOMPARE(libreOffice, want);
        QVERIFY2(libreOffice.join(u' ').contains(u"MB_YESNO"_s), qPrintable(libreOffice.join(u'\n')));
        configure(u"gambas"_s);
        const QJsonObject message =
            client.waitFor([](const QJsonObject &m) { return m[u"method"_s] == u"window/showMessage"_s; });
        QVERIFY(message[u"params"_s][u"message"_s].toString().contains(u"quillkit98.dialect must be"_s));
        QCOMPARE(lines(client.diagnosticsFor(Uri, 1)), fixCheck(text));
        QCOMPARE(client.finish(), 0);
    }

    // The outline through the protocol: as a hierarchy where the client
    // takes one, else flat with the container named; in an .xba the places
    // are the file's.
    void documentSymbols_data()
    {
        QTest::addColumn<bool>("hierarchical");
        QTest::addColumn<QString>("uri");
        QTest::newRow("hierarchy") << true << Uri;
        QTest::newRow("flat") << false << Uri;
        QTest::newRow("hierarchy in an .xba") << true << u"file:///project/Module1.xba"_s;
    }
    void documentSymbols()
    {
        QFETCH(bool, hierarchical);
        QFETCH(QString, uri);
        const QString basic = u"Const Greeting = \"a & b\"\nEnum Colour\n  Red\n  Green\nEnd Enum\n"
                              u"Sub Paint(ByVal c As Colour)\n  MsgBox Greeting, 64\nEnd Sub\n"_s;
        const bool xba = uri.endsWith(u".xba"_s);
        const QString text =
            xba ? u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<script:module xmlns:script="
                  u"\"http://openoffice.org/2000/script\" script:name=\"Module1\" script:language=\"StarBasic\">"_s
                      + basic.toHtmlEscaped() + u"</script:module>\n"_s
                : basic;
        const QJsonObject symbolCapabilities{{u"hierarchicalDocumentSymbolSupport"_s, hierarchical}};
        Client client;
        client.initialize({{u"capabilities"_s,
                            QJsonObject{{u"textDocument"_s, QJsonObject{{u"documentSymbol"_s, symbolCapabilities}}}}}});
        client.open(uri, text);
        const QJsonArray symbols = client
                                       .request(u"textDocument/documentSymbol"_s,
                                                QJsonObject{{u"textDocument"_s, documentId(uri)}})[u"result"_s]
                                       .toArray();
        const auto slice = [&](const QJsonValue &range) {
            const qsizetype from = offsetOf(text, range[u"start"_s].toObject());
            return text.mid(from, offsetOf(text, range[u"end"_s].toObject()) - from);
        };
        QStringList outline;
        for (const QJsonValue symbol : symbols) {
            const QString name = symbol[u"name"_s].toString();
            if (hierarchical) {
                QCOMPARE(slice(symbol[u"selectionRange"_s]), name);
                QVERIFY(slice(symbol[u"range"_s]).contains(name));
                outline << u"%1 %2"_s.arg(symbol[u"kind"_s].toInt()).arg(name);
                for (const QJsonValue child : symbol[u"children"_s].toArray()) {
                    QCOMPARE(slice(child[u"selectionRange"_s]), child[u"name"_s].toString());
                    outline << u"  %1 %2"_s.arg(child[u"kind"_s].toInt()).arg(child[u"name"_s].toString());
                }
            } else {
                QCOMPARE(symbol[u"location"_s][u"uri"_s].toString(), uri);
                QVERIFY(slice(symbol[u"location"_s][u"range"_s]).contains(name));
                const QString container = symbol[u"containerName"_s].toString();
                outline << (container.isEmpty() ? QString() : container + u"."_s)
                               + u"%1 %2"_s.arg(symbol[u"kind"_s].toInt()).arg(name);
            }
        }
        const QStringList want =
            hierarchical ? QStringList{u"14 Greeting"_s, u"10 Colour"_s, u"  22 Red"_s, u"  22 Green"_s, u"12 Paint"_s}
                         : QStringList{u"14 Greeting"_s, u"10 Colour"_s, u"Colour.22 Red"_s, u"Colour.22 Green"_s,
                                       u"12 Paint"_s};
        QCOMPARE(outline, want);
        if (xba) // the escaped text lies inside the constant's range
            QVERIFY(slice(symbols[0][u"range"_s]).contains(u"&amp;"_s));
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
        QStringList inserts;
        for (const QJsonValue action : actions) {
            if (action[u"command"_s][u"command"_s] == u"quillkit98.openInWindow"_s)
                command = action[u"command"_s].toObject();
            if (action[u"command"_s][u"command"_s] == u"quillkit98.insertFromWindow"_s)
                inserts << action[u"title"_s].toString();
        }
        // Every tool's insert, on any line.
        QCOMPARE(inserts, (QStringList{u"Insert from Quillkit 98: Notewright (message box)"_s,
                                       u"Insert from Quillkit 98: Askwright (input box)"_s,
                                       u"Insert from Quillkit 98: Topwright (file header)"_s,
                                       u"Insert from Quillkit 98: Pickwright (common dialog)"_s}));
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
            QVERIFY(action[u"command"_s][u"command"_s] != u"quillkit98.openInWindow"_s);
        QCOMPARE(client.finish(), 0);
    }

    // A client that resolves code actions gets the fix-all without its edit
    // at each request and with it when resolved: fix's bytes; not for a text
    // that changed since.
    void fixAllResolved()
    {
        const QString text = u"Sub A()\n  MsgBox \"x\", 36\n  If MsgBox(\"y\", 4) = 6 Then Beep\nEnd Sub\n"_s;
        Client client;
        client.initialize(
            {{u"capabilities"_s,
              QJsonObject{{u"textDocument"_s,
                           QJsonObject{{u"codeAction"_s,
                                        QJsonObject{{u"resolveSupport"_s,
                                                     QJsonObject{{u"properties"_s, QJsonArray{u"edit"_s}}}}}}}}}}});
        client.open(Uri, text);
        const QJsonArray actions =
            client
                .request(
                    u"textDocument/codeAction"_s,
                    QJsonObject{{u"textDocument"_s, documentId(Uri)},
                                {u"range"_s, QJsonObject{{u"start"_s, position(3, 0)}, {u"end"_s, position(3, 0)}}},
                                {u"context"_s, QJsonObject{{u"diagnostics"_s, QJsonArray()}}}})[u"result"_s]
                .toArray();
        QJsonObject fixAll;
        for (const QJsonValue action : actions) {
            if (action[u"kind"_s] == u"source.fixAll.quillkit98"_s)
                fixAll = action.toObject();
        }
        QVERIFY(!fixAll.isEmpty() && !fixAll.contains(u"edit"_s));
        const QJsonObject resolved = client.request(u"codeAction/resolve"_s, fixAll)[u"result"_s].toObject();
        QCOMPARE(applied(text, resolved[u"edit"_s][u"changes"_s][Uri].toArray()).toUtf8(), fixed(text).out);
        client.notify(u"textDocument/didChange"_s,
                      {{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, 2}}},
                       {u"contentChanges"_s, QJsonArray{QJsonObject{{u"text"_s, QString(u"' x\n"_s + text)}}}}});
        QVERIFY(!client.request(u"codeAction/resolve"_s, fixAll)[u"result"_s].toObject().contains(u"edit"_s));
        QCOMPARE(client.finish(), 0);
    }

    // Help while typing, over the protocol: completion, signature help and
    // code lens, in both dialects. `want` lists the labels (completion), the
    // active parameter and the signature's label (signature help), or the
    // lenses' titles; empty for no answer.
    void typingHelp_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("dialect");
        QTest::addColumn<QString>("text"); // | marks the place
        QTest::addColumn<QStringList>("want");
        const QString completion = u"textDocument/completion"_s;
        const QString signature = u"textDocument/signatureHelp"_s;
        const QString lens = u"textDocument/codeLens"_s;
        const QStringList vbSets{u"vbOKOnly"_s,      u"vbOKCancel"_s, u"vbAbortRetryIgnore"_s,
                                 u"vbYesNoCancel"_s, u"vbYesNo"_s,    u"vbRetryCancel"_s};
        const QStringList vbIcons{u"vbCritical"_s, u"vbQuestion"_s, u"vbExclamation"_s, u"vbInformation"_s};
        const QStringList vbDefaults{u"vbDefaultButton1"_s, u"vbDefaultButton2"_s, u"vbDefaultButton3"_s,
                                     u"vbDefaultButton4"_s};
        const QStringList vbFlags{u"vbApplicationModal"_s,    u"vbSystemModal"_s, u"vbMsgBoxHelpButton"_s,
                                  u"vbMsgBoxSetForeground"_s, u"vbMsgBoxRight"_s, u"vbMsgBoxRtlReading"_s};
        QTest::newRow("buttons of a statement")
            << completion << u"vb"_s << u"  MsgBox \"x\", |"_s << vbSets + vbIcons + vbDefaults + vbFlags;
        QTest::newRow("after a set and +")
            << completion << u"vb"_s << u"  MsgBox \"x\", vbYesNo + |"_s << vbIcons + vbDefaults + vbFlags;
        QTest::newRow("after a number and a name")
            << completion << u"vb"_s << u"  r = MsgBox(\"x\", 36 + vbDefaultButton2 + |"_s << vbFlags;
        QTest::newRow("a flag once") << completion << u"vb"_s << u"  MsgBox \"x\", vbSystemModal + vbMsgBoxRight + |"_s
                                     << vbSets + vbIcons + vbDefaults
                                            + QStringList{u"vbMsgBoxHelpButton"_s, u"vbMsgBoxSetForeground"_s,
                                                          u"vbMsgBoxRtlReading"_s};
        QTest::newRow("a name being typed")
            << completion << u"vb"_s << u"  MsgBox \"x\", vbYesNo + vbQu|"_s << vbIcons + vbDefaults + vbFlags;
        QTest::newRow("named buttons") << completion << u"vb"_s << u"  MsgBox Prompt:=\"x\", Buttons:=vbCritical + |"_s
                                       << vbSets + vbDefaults + vbFlags;
        QTest::newRow("LibreOffice's") << completion << u"libreoffice"_s << u"  MsgBox \"x\", MB_YESNO + |"_s
                                       << QStringList{
                                              u"MB_ICONSTOP"_s,        u"MB_ICONQUESTION"_s, u"MB_ICONEXCLAMATION"_s,
                                              u"MB_ICONINFORMATION"_s, u"MB_DEFBUTTON1"_s,   u"MB_DEFBUTTON2"_s,
                                              u"MB_DEFBUTTON3"_s,      u"MB_APPLMODAL"_s,    u"MB_SYSTEMMODAL"_s};
        QTest::newRow("the message is no buttons") << completion << u"vb"_s << u"  MsgBox |"_s << QStringList();
        QTest::newRow("the title is no buttons") << completion << u"vb"_s << u"  MsgBox \"x\", 4, |"_s << QStringList();
        QTest::newRow("no box") << completion << u"vb"_s << u"  Debug.Print 1, |"_s << QStringList();
        QTest::newRow("Case on the box") << completion << u"vb"_s
                                         << u"  Select Case MsgBox(\"x\", vbYesNoCancel)\n  Case |"_s
                                         << QStringList{u"vbYes"_s, u"vbNo"_s, u"vbCancel"_s};
        QTest::newRow("Case on its answer, one given")
            << completion << u"vb"_s
            << u"  r = MsgBox(\"x\", vbRetryCancel + vbCritical)\n  Select Case r\n  Case vbRetry\n  Case |"_s
            << QStringList{u"vbCancel"_s};
        QTest::newRow("Case in LibreOffice")
            << completion << u"libreoffice"_s << u"  Select Case MsgBox(\"x\", MB_YESNO)\n  Case |"_s
            << QStringList{u"IDYES"_s, u"IDNO"_s};
        QTest::newRow("Case on something else")
            << completion << u"vb"_s << u"  Select Case n\n  Case |"_s << QStringList();
        QTest::newRow("MsgBox( first") << signature << u"vb"_s << u"  r = MsgBox(|"_s
                                       << QStringList{u"0"_s, u"MsgBox(Prompt, [Buttons As VbMsgBoxStyle = vbOKOnly], "
                                                              u"[Title], [HelpFile], [Context]) As VbMsgBoxResult"_s};
        QTest::newRow("a statement's title") << signature << u"vb"_s << u"  MsgBox \"a, b\", f(1, 2), |"_s
                                             << QStringList{u"2"_s, u"MsgBox(Prompt, [Buttons As VbMsgBoxStyle = "
                                                                    u"vbOKOnly], [Title], [HelpFile], [Context]) As "
                                                                    u"VbMsgBoxResult"_s};
        QTest::newRow("named Title") << signature << u"vb"_s << u"  MsgBox Title:=|"_s
                                     << QStringList{u"2"_s, u"MsgBox(Prompt, [Buttons As VbMsgBoxStyle = vbOKOnly], "
                                                            u"[Title], [HelpFile], [Context]) As VbMsgBoxResult"_s};
        QTest::newRow("LibreOffice's MsgBox") << signature << u"libreoffice"_s << u"  r = MsgBox(\"x\", |"_s
                                              << QStringList{u"1"_s, u"MsgBox(Text As String, [DialogType As Integer], "
                                                                     u"[DialogTitle As String]) As Integer"_s};
        QTest::newRow("InputBox's default") << signature << u"vb"_s << u"  s = InputBox(\"Name?\", \"T\", |"_s
                                            << QStringList{u"2"_s, u"InputBox(Prompt, [Title], [Default], [XPos], "
                                                                   u"[YPos], [HelpFile], [Context]) As String"_s};
        QTest::newRow("LibreOffice's InputBox") << signature << u"libreoffice"_s << u"  s = InputBox(|"_s
                                                << QStringList{u"0"_s, u"InputBox(Prompt As String, [Title As String], "
                                                                       u"[Default As String], [xPosition As Long], "
                                                                       u"[yPosition As Long]) As String"_s};
        QTest::newRow("a call inside the box's message")
            << signature << u"vb"_s << u"  MsgBox Format(1, |"_s
            << QStringList{u"0"_s, u"MsgBox(Prompt, [Buttons As VbMsgBoxStyle = vbOKOnly], [Title], [HelpFile], "
                                   u"[Context]) As VbMsgBoxResult"_s};
        QTest::newRow("no box to sign") << signature << u"vb"_s << u"  x = Format(1, |"_s << QStringList();
        QTest::newRow("lenses") << lens << u"vb"_s
                                << u"  If MsgBox(\"Delete?\", 36 + 256, \"Records\") = 6 Then Beep\n  MsgBox \"Done\"\n"
                                   u"  MsgBox \"x\", Flags\n  VBA.MsgBox \"y\", vbCritical + vbSystemModal|"_s
                                << QStringList{u"Yes, No · Question · second button default"_s, u"OK"_s,
                                               u"OK · Error · system modal"_s};
        QTest::newRow("LibreOffice's lenses") << lens << u"libreoffice"_s
                                              << u"  MsgBox \"x\", MB_YESNOCANCEL + MB_ICONSTOP\n  MsgBox \"y\", "
                                                 u"vbYesNo|"_s
                                              << QStringList{u"Yes, No, Cancel · Error"_s};
    }
    void typingHelp()
    {
        QFETCH(QString, method);
        QFETCH(QString, dialect);
        QFETCH(QString, text);
        QFETCH(QStringList, want);
        const qsizetype at = text.indexOf(u'|');
        text.remove(at, 1);
        text = u"Sub A()\n"_s + text + u"\nEnd Sub\n"_s;
        Client client;
        client.initialize(
            {{u"capabilities"_s, QJsonObject()}, {u"initializationOptions"_s, QJsonObject{{u"dialect"_s, dialect}}}});
        client.open(Uri, text);
        QJsonObject params{{u"textDocument"_s, documentId(Uri)}};
        if (method != u"textDocument/codeLens"_s)
            params.insert(u"position"_s, positionOf(text, at + 8));
        const QJsonValue result = client.request(method, params)[u"result"_s];
        QStringList got;
        if (method == u"textDocument/completion"_s) {
            for (const QJsonValue item : result[u"items"_s].toArray()) {
                got << item[u"label"_s].toString();
                QVERIFY2(item[u"detail"_s].toString().startsWith(u"= "_s)
                             && !item[u"documentation"_s].toString().isEmpty(),
                         qPrintable(item[u"label"_s].toString()));
            }
        } else if (method == u"textDocument/signatureHelp"_s && result.isObject()) {
            const QJsonObject signature = result[u"signatures"_s][0].toObject();
            const int active = result[u"activeParameter"_s].toInt();
            got << QString::number(active) << signature[u"label"_s].toString();
            // The active parameter is one of the label's.
            QVERIFY(
                signature[u"label"_s].toString().contains(signature[u"parameters"_s][active][u"label"_s].toString()));
        } else if (method == u"textDocument/codeLens"_s) {
            // Each described call has Edit and Test on its line.
            const QJsonArray lenses = result.toArray();
            for (qsizetype i = 0; i + 2 < lenses.size(); i += 3) {
                got << lenses[i][u"command"_s][u"title"_s].toString();
                QCOMPARE(lenses[i + 1][u"command"_s][u"title"_s].toString(), u"Edit"_s);
                QCOMPARE(lenses[i + 2][u"command"_s][u"title"_s].toString(), u"Test"_s);
                QCOMPARE(lenses[i + 1][u"command"_s][u"command"_s].toString(), u"quillkit98.openInWindow"_s);
                QCOMPARE(lenses[i + 2][u"command"_s][u"command"_s].toString(), u"quillkit98.testInWindow"_s);
                QCOMPARE(lenses[i][u"range"_s], lenses[i + 2][u"range"_s]);
            }
        }
        QCOMPARE(got, want);
        QCOMPARE(client.finish(), 0);
    }

    // The window as the editor's composer, under a virtual display with a
    // window manager: the server starts it, keys are typed into it
    // (xdotool), Ctrl+Return applies, and the server's workspace/applyEdit
    // gives the editor's text. A call stays a call in its expression; an
    // insert is what `generate TOOL --constants names` prints, indented like
    // the line; a document changed meanwhile is not edited.
    void windowAppliesToTheEditor_data()
    {
        QTest::addColumn<QString>("dialect");
        QTest::addColumn<QString>("text");  // | marks the place
        QTest::addColumn<QString>("tool");  // to insert; empty to edit what is there
        QTest::addColumn<QString>("block"); // the module starts with this tool's code, selected and edited
        QTest::addColumn<bool>("second");   // an edit of the If line's call comes first, in the same window
        QTest::addColumn<QString>("typed"); // into the first field
        QTest::addColumn<bool>("changedMeanwhile");
        QTest::addColumn<QString>("want"); // the text after; empty: generate's, indented
        const QString ifLine =
            u"Sub A()\r\n    If Ms|gBox(\"Delete?\", 36, \"Records\") = 6 Then Beep\r\nEnd Sub\r\n"_s;
        QTest::newRow("a call in an If")
            << u"vb"_s << ifLine << QString() << QString() << false << u"Purge"_s << false
            << u"Sub A()\r\n    If MsgBox(\"Delete?\", vbYesNo + vbQuestion, \"Purge\") = 6 Then Beep\r\nEnd Sub\r\n"_s;
        QTest::newRow("a call in LibreOffice")
            << u"libreoffice"_s << ifLine << QString() << QString() << false << u"Purge"_s << false
            << u"Sub A()\r\n    If MsgBox(\"Delete?\", MB_YESNO + MB_ICONQUESTION, \"Purge\") = 6 Then Beep\r\nEnd "
               u"Sub\r\n"_s;
        QTest::newRow("a statement") << u"vb"_s << u"Sub A()\n  x = 1: Ms|gBox \"Saved\", 64 ' done\nEnd Sub\n"_s
                                     << QString() << QString() << false << QString() << false
                                     << u"Sub A()\n  x = 1: MsgBox \"Saved\", vbInformation, \"\" ' done\nEnd Sub\n"_s;
        QTest::newRow("changed meanwhile")
            << u"vb"_s << ifLine << QString() << QString() << false << u"Purge"_s << true << QString();
        const QString blank = u"Sub A()\r\n    If MsgBox(\"Delete?\", 36) = 6 Then Beep\r\n    |\r\nEnd Sub\r\n"_s;
        for (const QString &tool : {u"msgbox"_s, u"inputbox"_s, u"header"_s, u"commondialog"_s}) {
            QTest::newRow(qPrintable(u"insert " + tool))
                << u"vb"_s << blank << tool << QString() << false << QString() << false << QString();
        }
        QTest::newRow("insert in LibreOffice")
            << u"libreoffice"_s << blank << u"msgbox"_s << QString() << false << QString() << false << QString();
        QTest::newRow("an insert after an edit, one window")
            << u"vb"_s << blank << u"commondialog"_s << QString() << true << QString() << false << QString();
        for (const QString &block : {u"header"_s, u"commondialog"_s}) {
            QTest::newRow(qPrintable(u"a selected " + block + u" block, as it was"))
                << u"vb"_s << QString() << QString() << block << false << QString() << false << QString();
        }
    }
    void windowAppliesToTheEditor()
    {
        QFETCH(QString, dialect);
        QFETCH(QString, text);
        QFETCH(QString, tool);
        QFETCH(QString, block);
        QFETCH(bool, second);
        QFETCH(QString, typed);
        QFETCH(bool, changedMeanwhile);
        QFETCH(QString, want);
        const QString xvfbRun = QStandardPaths::findExecutable(u"xvfb-run"_s);
        const QString xdotool = QStandardPaths::findExecutable(u"xdotool"_s);
        if (xvfbRun.isEmpty() || xdotool.isEmpty() || QStandardPaths::findExecutable(u"openbox"_s).isEmpty())
            QSKIP("needs xvfb-run, openbox and xdotool (scripts/deps installs them)");
        // generate's code, as it prints it.
        const auto generated = [&](const QString &name) {
            QStringList options{u"generate"_s, name, u"--constants"_s, u"names"_s};
            if (dialect == u"libreoffice"_s)
                options << u"--dialect"_s << u"libreoffice"_s;
            return QString::fromUtf8(runProgram(options, {}).out);
        };
        qsizetype end = -1;
        if (!block.isEmpty()) {
            QString code = generated(block);
            if (!code.endsWith(u"\r\n"_s))
                code += u"\r\n"_s;
            text = code + u"Option Explicit\r\n"_s;
            want = text;
            end = code.size() - 2;
        }
        const qsizetype at = std::max<qsizetype>(0, text.indexOf(u'|'));
        if (block.isEmpty())
            text.remove(at, 1);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_s);
        Client client(
            xvfbRun,
            {u"-a"_s, u"-s"_s, u"-screen 0 1280x900x24"_s, u"sh"_s, u"-c"_s,
             u"echo \"display=$DISPLAY $XAUTHORITY\" >&2; openbox --sm-disable >/dev/null 2>&1 & exec \"$0\" lsp"_s,
             qEnvironmentVariable("QUILLKIT98")},
            environment);
        QVERIFY(client.started());
        QString display;
        QString authority;
        for (const QString &line : client.logged(1)) {
            if (line.startsWith(u"display="_s)) {
                display = line.mid(8).section(u' ', 0, 0);
                authority = line.section(u' ', 1);
            }
        }
        QVERIFY2(!display.isEmpty(), "xvfb-run gave no display");
        client.initialize({{u"capabilities"_s,
                            QJsonObject{{u"workspace"_s, QJsonObject{{u"applyEdit"_s, true},
                                                                     {u"workspaceEdit"_s,
                                                                      QJsonObject{{u"documentChanges"_s, true}}}}}}},
                           {u"initializationOptions"_s, QJsonObject{{u"dialect"_s, dialect}}}});
        client.open(Uri, text);
        if (second) {
            const QJsonObject first = client.request(u"workspace/executeCommand"_s,
                                                     QJsonObject{{u"command"_s, u"quillkit98.openInWindow"_s},
                                                                 {u"arguments"_s, QJsonArray{Uri, position(1, 10)}}});
            QVERIFY2(first.contains(u"result"_s), QJsonDocument(first).toJson().constData());
        }
        QJsonArray arguments{Uri, positionOf(text, at)};
        if (end >= 0)
            arguments[1] = QJsonObject{{u"start"_s, positionOf(text, at)}, {u"end"_s, positionOf(text, end)}};
        if (!tool.isEmpty())
            arguments.append(tool);
        const QJsonObject opened =
            client.request(u"workspace/executeCommand"_s,
                           QJsonObject{{u"command"_s, tool.isEmpty() ? u"quillkit98.openInWindow"_s
                                                                     : u"quillkit98.insertFromWindow"_s},
                                       {u"arguments"_s, arguments}});
        QVERIFY2(opened.contains(u"result"_s), QJsonDocument(opened).toJson().constData());
        const auto run = [&](const QStringList &arguments) {
            QProcess process;
            QProcessEnvironment x = QProcessEnvironment::systemEnvironment();
            x.insert(u"DISPLAY"_s, display);
            x.insert(u"XAUTHORITY"_s, authority);
            process.setProcessEnvironment(x);
            process.start(xdotool, arguments);
            return process.waitForFinished(20000) && process.exitCode() == 0;
        };
        // The window manager may still be starting: activating is tried again.
        bool active = false;
        for (int tries = 0; tries < 40 && !active; ++tries) {
            active = run(
                {u"search"_s, u"--sync"_s, u"--name"_s, u"Quillkit 98 - editing"_s, u"windowactivate"_s, u"--sync"_s});
            if (!active)
                QTest::qWait(250);
        }
        QVERIFY(active);
        if (!typed.isEmpty())
            QVERIFY(run({u"key"_s, u"ctrl+a"_s, u"type"_s, u"--delay"_s, u"20"_s, typed}));
        if (changedMeanwhile) {
            client.notify(
                u"textDocument/didChange"_s,
                {{u"textDocument"_s, QJsonObject{{u"uri"_s, Uri}, {u"version"_s, 2}}},
                 {u"contentChanges"_s, QJsonArray{QJsonObject{{u"range"_s, QJsonObject{{u"start"_s, position(0, 0)},
                                                                                       {u"end"_s, position(0, 0)}}},
                                                              {u"text"_s, u"' x\r\n"_s}}}}});
            client.diagnosticsFor(Uri, 2);
        }
        // A key may come before the window takes keys: pressed again until
        // the server sends something (Apply closes the window).
        QJsonObject sent;
        for (int tries = 0; tries < 10 && sent.isEmpty(); ++tries) {
            QVERIFY(run({u"key"_s, u"ctrl+Return"_s}));
            sent = client.waitFor(
                [](const QJsonObject &m) {
                    return m[u"method"_s] == u"workspace/applyEdit"_s || m[u"method"_s] == u"window/showMessage"_s;
                },
                3000);
        }
        if (changedMeanwhile) {
            QCOMPARE(sent[u"method"_s].toString(), u"window/showMessage"_s);
            QVERIFY(sent[u"params"_s][u"message"_s].toString().contains(u"changed in the editor"_s));
            QCOMPARE(client.finish(), 0);
            return;
        }
        QCOMPARE(sent[u"method"_s].toString(), u"workspace/applyEdit"_s);
        const QJsonObject change = sent[u"params"_s][u"edit"_s][u"documentChanges"_s][0].toObject();
        QCOMPARE(change[u"textDocument"_s][u"version"_s].toInt(), 1);
        client.sendRaw(Client::frame(
            {{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, sent[u"id"_s]}, {u"result"_s, QJsonObject{{u"applied"_s, true}}}}));
        if (want.isEmpty()) {
            // generate's code in the blank line's place, each line indented as
            // it was, with the module's line ends.
            QStringList lines = generated(tool).replace(u"\r\n"_s, u"\n"_s).split(u'\n');
            while (!lines.isEmpty() && lines.back().isEmpty())
                lines.removeLast();
            for (QString &line : lines)
                line = line.isEmpty() ? line : u"    "_s + line;
            want = text.left(at - 4) + lines.join(u"\r\n"_s) + text.mid(at);
        }
        QCOMPARE(applied(text, change[u"edits"_s].toArray()), want);
        QCOMPARE(client.finish(), 0);
    }

    // Without a display the window's commands answer with an error and say
    // why in a message, and the server goes on answering.
    void windowWithoutADisplay_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QJsonArray>("arguments");
        QTest::newRow("edit") << u"quillkit98.openInWindow"_s << QJsonArray{Uri, position(1, 4)};
        QTest::newRow("test") << u"quillkit98.testInWindow"_s << QJsonArray{Uri, position(1, 4)};
        QTest::newRow("insert") << u"quillkit98.insertFromWindow"_s << QJsonArray{Uri, position(2, 0), u"header"_s};
    }
    void windowWithoutADisplay()
    {
        QFETCH(QString, command);
        QFETCH(QJsonArray, arguments);
#if defined(Q_OS_WIN)
        QSKIP("a Windows session always has its desktop");
#endif
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        Client client(qEnvironmentVariable("QUILLKIT98"), {u"lsp"_s}, environment);
        client.initialize();
        client.open(Uri, u"Sub A()\n  MsgBox \"Sure?\", 36\n\nEnd Sub\n"_s);
        const QJsonObject response = client.request(u"workspace/executeCommand"_s,
                                                    QJsonObject{{u"command"_s, command}, {u"arguments"_s, arguments}});
        QVERIFY2(response[u"error"_s][u"message"_s].toString().contains(u"no display"_s),
                 QJsonDocument(response).toJson().constData());
        const QJsonObject shown =
            client.waitFor([](const QJsonObject &m) { return m[u"method"_s] == u"window/showMessage"_s; });
        QVERIFY(shown[u"params"_s][u"message"_s].toString().contains(u"no display"_s));
        QVERIFY(client
                    .request(u"textDocument/hover"_s,
                             QJsonObject{{u"textDocument"_s, documentId(Uri)}, {u"position"_s, position(1, 17)}})
                    .contains(u"result"_s));
        QCOMPARE(client.finish(), 0);
    }
};

QTEST_GUILESS_MAIN(TestLspServer)
#include "tst_lspserver.moc"
