// SPDX-License-Identifier: GPL-3.0-or-later
// `quillkit98 lsp` as an editor meets it: a module of 10,000 lines open, one
// keystroke at a time, the time from the change sent to its diagnostics
// received; then a burst of changes in one write, and how many publications
// it costs; then a hover sent with a keystroke, and the time to its answer.
// Usage: quillkit98_lsp_bench PROGRAM [KEYSTROKES].

#include <QCoreApplication>
#include <QElapsedTimer>
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
    // Waits for the diagnostics of the version; counts the publications seen.
    bool diagnostics(int version, int *publications = nullptr)
    {
        return waitFor([&](const QJsonObject &message) {
            if (message[u"method"_s] != u"textDocument/publishDiagnostics"_s)
                return false;
            if (publications)
                ++*publications;
            return message[u"params"_s][u"version"_s].toInt() == version;
        });
    }
    // Waits for the response to the request.
    bool response(int id)
    {
        return waitFor([&](const QJsonObject &message) { return message[u"id"_s] == id; });
    }
    template<typename Wanted>
    bool waitFor(Wanted wanted)
    {
        for (;;) {
            for (;;) {
                const qsizetype end = m_buffer.indexOf("\r\n\r\n");
                if (end < 0)
                    break;
                const qsizetype size = m_buffer.mid(16, end - 16).trimmed().toLongLong();
                if (m_buffer.size() < end + 4 + size)
                    break;
                const QJsonObject message = QJsonDocument::fromJson(m_buffer.mid(end + 4, size)).object();
                m_buffer.remove(0, end + 4 + size);
                if (wanted(message))
                    return true;
            }
            if (!m_process.waitForReadyRead(30000))
                return false;
            m_buffer += m_process.readAllStandardOutput();
        }
    }
    QProcess m_process;
    QByteArray m_buffer;
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: quillkit98_lsp_bench PROGRAM [KEYSTROKES]\n");
        return 2;
    }
    const int keystrokes = arguments.size() > 2 ? arguments.at(2).toInt() : 101;
    QString text = u"Attribute VB_Name = \"modCustomers\"\r\nOption Explicit\r\n\r\n"_s;
    for (int n = 1; text.count(u'\n') < 10'000; ++n)
        text += procedure(n);
    const int lines = int(text.count(u'\n'));
    const QString uri = u"file:///bench/modCustomers.bas"_s;

    Client client(arguments.at(1));
    client.send({{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, 1}, {u"method"_s, u"initialize"_s},
                 {u"params"_s, QJsonObject{{u"capabilities"_s, QJsonObject()}}}});
    client.send(notification(u"textDocument/didOpen"_s,
                             {{u"textDocument"_s, QJsonObject{{u"uri"_s, uri}, {u"languageId"_s, u"vb"_s},
                                                               {u"version"_s, 1}, {u"text"_s, text}}}}));
    QElapsedTimer timer;
    timer.start();
    if (!client.diagnostics(1))
        return 1;
    const double opened = double(timer.nsecsElapsed()) / 1e6;

    // One keystroke, then its diagnostics: a letter typed, then taken out,
    // in the middle of the module.
    std::vector<double> times;
    int version = 1;
    for (int k = 0; k < keystrokes; ++k) {
        client.send(keystroke(uri, ++version, lines / 2, k % 2 == 0));
        timer.restart();
        if (!client.diagnostics(version))
            return 1;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());

    // A burst of 50 keystrokes in one write.
    QByteArray burst;
    constexpr int BurstSize = 50;
    for (int k = 0; k < BurstSize; ++k)
        burst += Client::frame(keystroke(uri, ++version, lines / 2, k % 2 == 0));
    timer.restart();
    client.write(burst);
    int publications = 0;
    if (!client.diagnostics(version, &publications))
        return 1;
    const double burstTime = double(timer.nsecsElapsed()) / 1e6;

    // A keystroke and a hover over a number elsewhere in one write: the
    // hover is answered before the keystroke's check.
    std::vector<double> hovers;
    for (int k = 0; k < 21; ++k) {
        QByteArray both = Client::frame(keystroke(uri, ++version, lines / 2, k % 2 == 0));
        both += Client::frame(
            {{u"jsonrpc"_s, u"2.0"_s},
             {u"id"_s, 100 + k},
             {u"method"_s, u"textDocument/hover"_s},
             {u"params"_s, QJsonObject{{u"textDocument"_s, QJsonObject{{u"uri"_s, uri}}},
                                       {u"position"_s, QJsonObject{{u"line"_s, 7}, {u"character"_s, 45}}}}}});
        timer.restart();
        client.write(both);
        if (!client.response(100 + k))
            return 1;
        hovers.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!client.diagnostics(version))
            return 1;
    }
    std::sort(hovers.begin(), hovers.end());

    std::printf("quillkit98 lsp, a module of %d lines (%.0f KiB), %d keystrokes\n", lines, text.size() / 1024.0,
                keystrokes);
    std::printf("open to diagnostics:          %8.1f ms\n", opened);
    std::printf("keystroke to diagnostics:     %8.1f ms median, %.1f ms 90th percentile, %.1f ms max; target: 50 ms median\n",
                times[times.size() / 2], times[times.size() * 9 / 10], times.back());
    std::printf("burst of %d in one write:     %8.1f ms to the last version's diagnostics, %d publication(s)\n",
                BurstSize, burstTime, publications);
    std::printf("hover with a keystroke:       %8.1f ms median, %.1f ms max\n", hovers[hovers.size() / 2],
                hovers.back());
    client.send({{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, 2}, {u"method"_s, u"shutdown"_s}});
    client.send(notification(u"exit"_s, {}));
    client.m_process.waitForFinished();
    return 0;
}
