// SPDX-License-Identifier: GPL-3.0-or-later
// `quillkit98 lsp` as an editor meets it: a module of 1,000 to 100,000 lines
// open, one keystroke at a time, the time from the change sent to its
// diagnostics received; then a burst of changes in one write, and how many
// publications it costs; then a hover (on a number, on a call), the code
// actions at a call and the outline, each sent with a keystroke, and the time
// to its answer; then the server's memory.
// Usage: quillkit98_lsp_bench PROGRAM [KEYSTROKES [LINES...]].

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A procedure of 22 CR LF lines, as the classic editor saves them, with
// message boxes whose numbers fix names.
QString procedure(int n)
{
    return uR"bas(Private Sub cmdAction%1_Click()
    Dim strName As String, lngCount As Long, Answer As Long
    strName = txtName.Text & " (" & CStr(lngCount + %1) & ")"
    If Len(strName) = 0 Then
        MsgBox "Please type a name first.", 48, "Customer %1"
        Exit Sub
    End If
    For lngCount = 1 To 10 ' the usual loop
        lstItems.AddItem strName & Format$(lngCount, "000")
    Next lngCount
    Answer = MsgBox("Save " & strName & "?", 36, "Save")
    If Answer = 6 Then
        Call SaveCustomer(strName, lngCount)
    ElseIf Answer <> 7 Then
        Debug.Print "odd"
    End If
    Select Case MsgBox("Print it too?", vbYesNoCancel + vbQuestion)
    Case 6: PrintCustomer strName
    Case 2: Exit Sub
    End Select
    lblStatus.Caption = "Saved " & strName & " at " & Format$(Now, "hh:nn:ss")
End Sub
)bas"_s.arg(n).replace(u"\n"_s, u"\r\n"_s);
}

class Client
{
public:
    explicit Client(const QString &program)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, {u"lsp"_s});
        m_process.waitForStarted();
    }
    void send(const QJsonObject &message)
    {
        m_process.write(frame(message));
        m_process.waitForBytesWritten();
    }
    static QByteArray frame(const QJsonObject &message)
    {
        const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
        return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }
    void write(const QByteArray &bytes)
    {
        m_process.write(bytes);
        m_process.waitForBytesWritten();
    }
    // Waits for the diagnostics of the version, until their last byte is
    // read; counts the publications seen. Only the start of a publication is
    // looked at: the time is the server's, not that of a client's parser.
    bool diagnostics(int version, int *publications = nullptr)
    {
        const QByteArray wanted = ",\"version\":" + QByteArray::number(version) + ",";
        return waitFor([&](const QByteArray &body) {
            const QByteArrayView start = QByteArrayView(body).first(std::min<qsizetype>(body.size(), 400));
            if (!start.contains("textDocument/publishDiagnostics"))
                return false;
            if (publications)
                ++*publications;
            return start.contains(wanted);
        });
    }
    // Waits for the response to the request.
    bool response(int id)
    {
        const QByteArray wanted = "\"id\":" + QByteArray::number(id) + ",";
        return waitFor([&](const QByteArray &body) {
            return QByteArrayView(body).first(std::min<qsizetype>(body.size(), 60)).contains(wanted);
        });
    }
    template<typename Wanted>
    bool waitFor(Wanted wanted)
    {
        for (;;) {
            for (;;) {
                const qsizetype end = m_buffer.indexOf("\r\n\r\n", m_read);
                if (end < 0)
                    break;
                const qsizetype size = m_buffer.mid(m_read + 16, end - m_read - 16).trimmed().toLongLong();
                if (m_buffer.size() < end + 4 + size)
                    break;
                const QByteArray body = m_buffer.mid(end + 4, size);
                m_read = end + 4 + size;
                if (m_read > (1 << 22)) {
                    m_buffer.remove(0, m_read);
                    m_read = 0;
                }
                if (wanted(body))
                    return true;
            }
            if (!m_process.waitForReadyRead(30000))
                return false;
            m_buffer += m_process.readAllStandardOutput();
        }
    }
    // The server's resident memory now and at its peak, in KiB.
    std::pair<long, long> memory() const
    {
        QFile status(u"/proc/%1/status"_s.arg(m_process.processId()));
        long rss = 0;
        long peak = 0;
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : status.readAll().split('\n')) {
                if (line.startsWith("VmRSS:"))
                    rss = line.mid(6).trimmed().split(' ').front().toLong();
                if (line.startsWith("VmHWM:"))
                    peak = line.mid(6).trimmed().split(' ').front().toLong();
            }
        }
        return {rss, peak};
    }
    QProcess m_process;
    QByteArray m_buffer;
    qsizetype m_read = 0;
};

QJsonObject notification(const QString &method, const QJsonObject &params)
{
    return {{u"jsonrpc"_s, u"2.0"_s}, {u"method"_s, method}, {u"params"_s, params}};
}

QJsonObject keystroke(const QString &uri, int version, int line, bool insert)
{
    const QJsonObject start{{u"line"_s, line}, {u"character"_s, 4}};
    const QJsonObject end{{u"line"_s, line}, {u"character"_s, insert ? 4 : 5}};
    return notification(u"textDocument/didChange"_s,
                        {{u"textDocument"_s, QJsonObject{{u"uri"_s, uri}, {u"version"_s, version}}},
                         {u"contentChanges"_s, QJsonArray{QJsonObject{
                                                   {u"range"_s, QJsonObject{{u"start"_s, start}, {u"end"_s, end}}},
                                                   {u"text"_s, insert ? u"x"_s : QString()}}}}});
}

double percentile(std::vector<double> times, int p)
{
    std::sort(times.begin(), times.end());
    return times[std::min(times.size() - 1, times.size() * std::size_t(p) / 100)];
}

// One module of about `wanted` lines through a fresh server; false where the
// server stopped answering.
bool measure(const QString &program, int wanted, int keystrokes)
{
    QString text = u"Attribute VB_Name = \"modCustomers\"\r\nOption Explicit\r\n\r\n"_s;
    for (int n = 1; text.count(u'\n') < wanted; ++n)
        text += procedure(n);
    const int lines = int(text.count(u'\n'));
    const QString uri = u"file:///bench/modCustomers.bas"_s;

    Client client(program);
    client.send({{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, 1}, {u"method"_s, u"initialize"_s},
                 {u"params"_s, QJsonObject{{u"capabilities"_s, QJsonObject()}}}});
    client.send(notification(u"textDocument/didOpen"_s,
                             {{u"textDocument"_s, QJsonObject{{u"uri"_s, uri}, {u"languageId"_s, u"vb"_s},
                                                               {u"version"_s, 1}, {u"text"_s, text}}}}));
    QElapsedTimer timer;
    timer.start();
    if (!client.diagnostics(1))
        return false;
    const double opened = double(timer.nsecsElapsed()) / 1e6;
    const auto [openRss, openPeak] = client.memory();

    // One keystroke, then its diagnostics: a letter typed, then taken out,
    // in the middle of the module.
    std::vector<double> times;
    int version = 1;
    for (int k = 0; k < keystrokes; ++k) {
        client.send(keystroke(uri, ++version, lines / 2, k % 2 == 0));
        timer.restart();
        if (!client.diagnostics(version))
            return false;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    // A burst of 50 keystrokes in one write.
    QByteArray burst;
    constexpr int BurstSize = 50;
    for (int k = 0; k < BurstSize; ++k)
        burst += Client::frame(keystroke(uri, ++version, lines / 2, k % 2 == 0));
    timer.restart();
    client.write(burst);
    int publications = 0;
    if (!client.diagnostics(version, &publications))
        return false;
    const double burstTime = double(timer.nsecsElapsed()) / 1e6;

    // A keystroke and a request in one write, the clock running until the
    // request's answer: what the editor asks while the user types.
    int id = 100;
    const auto withKeystroke = [&](const QString &method, const QJsonObject &params, std::vector<double> &times) {
        for (int k = 0; k < 21; ++k) {
            QByteArray both = Client::frame(keystroke(uri, ++version, lines / 2, k % 2 == 0));
            both += Client::frame(
                {{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, ++id}, {u"method"_s, method}, {u"params"_s, params}});
            timer.restart();
            client.write(both);
            if (!client.response(id))
                return false;
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (!client.diagnostics(version))
                return false;
        }
        return true;
    };
    const QJsonObject textDocument{{u"uri"_s, uri}};
    const auto at = [](int line, int character) { return QJsonObject{{u"line"_s, line}, {u"character"_s, character}}; };
    // A number, and a call, of the first procedure; the call's line in it
    // is 10 (0-based, after the module's three).
    std::vector<double> hovers;
    std::vector<double> callHovers;
    std::vector<double> actions;
    std::vector<double> outlines;
    if (!withKeystroke(u"textDocument/hover"_s, {{u"textDocument"_s, textDocument}, {u"position"_s, at(7, 45)}}, hovers)
        || !withKeystroke(u"textDocument/hover"_s, {{u"textDocument"_s, textDocument}, {u"position"_s, at(13, 14)}},
                          callHovers)
        || !withKeystroke(u"textDocument/codeAction"_s,
                          {{u"textDocument"_s, textDocument},
                           {u"range"_s, QJsonObject{{u"start"_s, at(13, 14)}, {u"end"_s, at(13, 14)}}},
                           {u"context"_s, QJsonObject{{u"diagnostics"_s, QJsonArray()}}}},
                          actions)
        || !withKeystroke(u"textDocument/documentSymbol"_s, {{u"textDocument"_s, textDocument}}, outlines))
        return false;
    const auto [rss, peak] = client.memory();
    const double document = double(text.toUtf8().size()) / 1024;

    std::printf("%d lines (%.0f KiB), %d keystrokes\n", lines, document, keystrokes);
    std::printf("  open to diagnostics:       %8.1f ms\n", opened);
    std::printf("  keystroke to diagnostics:  %8.1f ms median, %.1f ms 95th percentile, %.1f ms max\n",
                percentile(times, 50), percentile(times, 95), percentile(times, 100));
    std::printf("  burst of %d in one write:  %8.1f ms to the last version's diagnostics, %d publication(s)\n",
                BurstSize, burstTime, publications);
    const auto report = [](const char *what, const std::vector<double> &times) {
        std::printf("  %-27s%8.1f ms median, %.1f ms 95th percentile, %.1f ms max\n", what, percentile(times, 50),
                    percentile(times, 95), percentile(times, 100));
    };
    report("hover on a number:", hovers);
    report("hover on a call:", callHovers);
    report("code actions at a call:", actions);
    report("outline:", outlines);
    std::printf("  memory:                    %8.1f MiB resident when open, %.1f MiB at the end, %.1f MiB at the "
                "peak; twice the document and 30 MiB: %.1f MiB\n",
                double(openRss) / 1024, double(rss) / 1024, double(std::max(openPeak, peak)) / 1024,
                (2 * document + 30 * 1024) / 1024);
    client.send({{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, 2}, {u"method"_s, u"shutdown"_s}});
    client.send(notification(u"exit"_s, {}));
    client.m_process.waitForFinished();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: quillkit98_lsp_bench PROGRAM [KEYSTROKES [LINES...]]\n");
        return 2;
    }
    const int keystrokes = arguments.size() > 2 ? arguments.at(2).toInt() : 101;
    QList<int> sizes;
    for (const QString &lines : arguments.mid(3))
        sizes << lines.toInt();
    if (sizes.isEmpty())
        sizes = {1'000, 10'000, 50'000, 100'000};
    std::printf("quillkit98 lsp\n");
    for (const int lines : sizes) {
        if (!measure(arguments.at(1), lines, keystrokes))
            return 1;
        std::fflush(stdout);
    }
    return 0;
}
