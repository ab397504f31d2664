// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/LspCommand.h"

#include "cli/ToolOptions.h"
#include "commands/CommandIo.h"
#include "lsp/LspServer.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include <memory>

#if defined(Q_OS_WIN)
#include <atomic>
#include <mutex>
#include <thread>

#include <windows.h>
#else
#include <poll.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QString lspHelpText()
{
    return QCoreApplication::translate(
        "LspCommand", "Usage: quillkit98 lsp [--stdio]\n"
                      "A language server (the Language Server Protocol on standard input and output) for\n"
                      "BASIC modules: each number that fix would name is a warning with a quick fix, each note\n"
                      "an information, and source.fixAll.quillkit98 gives the text fix writes. Hovering over a\n"
                      "number tells its meaning, over a message box or input box call what read makes of it.\n"
                      "The document symbols are the module's procedures, Enums, Types and Consts. Completion,\n"
                      "signature help and code lenses help with message boxes; Edit in Quillkit 98 and Insert\n"
                      "from Quillkit 98 open the window, whose Apply to Editor puts its code back into the editor.\n"
                      "The editor may set initializationOptions {\"dialect\": \"vb\"} or \"libreoffice\"; otherwise\n"
                      "each module's code tells. With {\"fixOnSave\": true} a save gets the fix-all's edits\n"
                      "(willSaveWaitUntil). Both may change at run time: workspace/didChangeConfiguration with\n"
                      "{\"settings\": {\"quillkit98\": {...}}}, or the section quillkit98 of workspace/configuration\n"
                      "where the client offers it. The server writes no file and logs to standard error.\n");
}

// The program's window as the language server's: one at a time, its requests
// as lines of JSON on its standard input, its messages on its standard
// output; its standard error is kept for the reason where it fails.
class WindowProcess : public QObject
{
public:
    explicit WindowProcess(lsp::Server &server) : m_server(server) { }

    bool send(const QJsonObject &request, QString *error)
    {
        if (!m_process && !start(error))
            return false;
        m_process->write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
        return true;
    }

private:
    bool start(QString *error)
    {
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            *error = u"there is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set)"_s;
            return false;
        }
#endif
        auto *process = new QProcess(this);
        process->setProgram(QCoreApplication::applicationFilePath());
        process->setArguments({u"--no-splash"_s});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUILLKIT98_EDITOR_LINK"_s, u"1"_s);
        process->setProcessEnvironment(environment);
        connect(process, &QProcess::readyReadStandardOutput, this, [this, process] { read(process); });
        connect(process, &QProcess::readyReadStandardError, this,
                [this, process] { m_errors = QByteArray(m_errors + process->readAllStandardError()).right(4096); });
        connect(process, &QProcess::finished, this, [this, process](int status) {
            read(process);
            m_errors += process->readAllStandardError();
            const QString said = QString::fromLocal8Bit(m_errors).trimmed().section(u'\n', -1);
            m_errors.clear();
            if (m_process == process)
                m_process = nullptr;
            process->deleteLater();
            m_server.windowEnded(said.isEmpty() ? u"the window ended (status %1)"_s.arg(status) : said);
        });
        process->start();
        if (!process->waitForStarted(10000)) {
            *error = process->errorString();
            delete process;
            return false;
        }
        m_process = process;
        return true;
    }

    void read(QProcess *process)
    {
        m_buffer += process->readAllStandardOutput();
        for (qsizetype end = m_buffer.indexOf('\n'); end >= 0; end = m_buffer.indexOf('\n')) {
            const QJsonObject message = QJsonDocument::fromJson(m_buffer.first(end)).object();
            m_buffer.remove(0, end + 1);
            if (!message.isEmpty())
                m_server.fromWindow(message);
        }
    }

    lsp::Server &m_server;
    QProcess *m_process = nullptr;
    QByteArray m_buffer;
    QByteArray m_errors;
};

} // namespace

int runLsp(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err)
{
    for (const QString &argument : arguments.mid(2)) {
        if (argument == u"--help"_s || argument == u"-h"_s)
            return writeChecked(out, lspHelpText().toUtf8()) ? 0 : 1;
        // Escaped as every command echoes what it was given.
        if (argument != u"--stdio"_s)
            return commands::usageError(err, u"lsp: unexpected argument '%1'"_s.arg(argument), u"lsp");
    }
#if defined(__GLIBC__)
    // A large module's diagnostics are megabytes of JSON, made anew at each
    // change: such blocks go back to the system when freed, not into a heap
    // that would keep the largest that ever was.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    int status = 1;
    std::unique_ptr<WindowProcess> window;
    lsp::Server server(
        tools,
        [&](const QByteArray &bytes) {
            if (!writeChecked(out, bytes)) {
                err.write("quillkit98 lsp: cannot write to the client; ending\n");
                QCoreApplication::exit(1);
            }
        },
        err, [&](const QJsonObject &request, QString *error) { return window->send(request, error); });
    window = std::make_unique<WindowProcess>(server);
    QObject::connect(&server, &lsp::Server::finished, [&](int code) {
        status = code;
        QCoreApplication::exit(code);
    });
#if defined(Q_OS_WIN)
    // A console or pipe cannot be waited on with the event loop: a thread
    // reads, and hands each block to the loop while the loop still runs.
    struct Input
    {
        std::mutex mutex;
        bool open = true;
        std::atomic<int> pending = 0;
    };
    const auto input = std::make_shared<Input>();
    server.setInputPending([input] { return input->pending.load() > 0; });
    QObject *const loop = QCoreApplication::instance();
    std::thread([input, loop, &server] {
        const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
        for (;;) {
            char buffer[1 << 16];
            DWORD count = 0;
            const bool ok = ReadFile(handle, buffer, sizeof buffer, &count, nullptr) && count > 0;
            const std::lock_guard lock(input->mutex);
            if (!input->open)
                return;
            ++input->pending;
            QByteArray block = ok ? QByteArray(buffer, count) : QByteArray();
            QMetaObject::invokeMethod(loop, [input, &server, block] {
                --input->pending;
                if (block.isEmpty())
                    server.endOfInput();
                else
                    server.receive(block);
            }, Qt::QueuedConnection);
            if (!ok)
                return;
        }
    }).detach();
    const int code = QCoreApplication::exec();
    {
        const std::lock_guard lock(input->mutex);
        input->open = false;
    }
    return code == 0 ? status : code;
#else
    server.setInputPending([] {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        return ::poll(&input, 1, 0) > 0;
    });
    QSocketNotifier notifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        char buffer[1 << 16];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (count <= 0) {
            notifier.setEnabled(false);
            server.endOfInput();
            return;
        }
        server.receive(QByteArrayView(buffer, count));
    });
    const int code = QCoreApplication::exec();
    return code == 0 ? status : code;
#endif
}
