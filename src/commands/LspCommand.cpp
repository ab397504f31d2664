// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/LspCommand.h"

#include "cli/ToolOptions.h"
#include "commands/CommandIo.h"
#include "lsp/LspServer.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QProcess>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#if defined(Q_OS_WIN)
#include <QDir>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include <windows.h>
#else
#include <poll.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/mman.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QString lspHelpText()
{
    return QCoreApplication::translate(
        "LspCommand",
        "Usage: quillkit98 lsp [--stdio]\n"
        "A language server (the Language Server Protocol on standard input and output) for\n"
        "BASIC modules: each number that fix would name is a warning with a quick fix, each note\n"
        "an information, and source.fixAll.quillkit98 gives the text fix writes. Hovering over a\n"
        "number tells its meaning, over a message box or input box call what read makes of it.\n"
        "The document symbols are the module's procedures, Enums, Types and Consts.\n"
        "The editor may set initializationOptions {\"dialect\": \"vb\"} or \"libreoffice\"; otherwise\n"
        "each module's code tells. With {\"fixOnSave\": true} a save gets the fix-all's edits\n"
        "(willSaveWaitUntil). Both may change at run time: workspace/didChangeConfiguration with\n"
        "{\"settings\": {\"quillkit98\": {...}}}, or the section quillkit98 of workspace/configuration\n"
        "where the client offers it. The server writes no file and logs to standard error.\n");
}

#if defined(Q_OS_WIN)
// The window, with the text on its standard input through a pipe: nothing
// is left on disk, and the window reads it as from the clipboard.
bool startWindow(const QString &text, QString *error)
{
    const auto failed = [&] {
        *error = qt_error_string(int(GetLastError()));
        return false;
    };
    const QByteArray bytes = text.toUtf8();
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, DWORD(bytes.size()) + 4096))
        return failed();
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE none = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0,
                              nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    // Never the protocol's channel, nor the editor's log pipe.
    startup.hStdOutput = none;
    startup.hStdError = none;
    std::wstring commandLine = L"\"" + QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdWString()
                               + L"\" --no-splash --read-file -";
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                                        nullptr, &startup, &process);
    const DWORD startError = GetLastError();
    CloseHandle(readEnd);
    if (none != INVALID_HANDLE_VALUE)
        CloseHandle(none);
    if (!started) {
        CloseHandle(writeEnd);
        SetLastError(startError);
        return failed();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    bool ok = true;
    for (qsizetype written = 0; ok && written < bytes.size();) {
        DWORD count = 0;
        ok = WriteFile(writeEnd, bytes.constData() + written, DWORD(bytes.size() - written), &count, nullptr);
        written += count;
    }
    if (!ok)
        failed();
    CloseHandle(writeEnd);
    return ok;
}
#else
// The window, with the text on its standard input from memory: nothing is
// left on disk, and the window reads it as from the clipboard.
bool startWindow(const QString &text, QString *error)
{
    const int fd = ::memfd_create("quillkit98-call", MFD_CLOEXEC);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    bool ok = true;
    for (qsizetype written = 0; ok && written < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        ok = count > 0;
        written += count;
    }
    if (!ok || ::lseek(fd, 0, SEEK_SET) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments({u"--no-splash"_s, u"--read-file"_s, u"-"_s});
    process.setStandardInputFile(u"/proc/self/fd/%1"_s.arg(fd));
    // Never the protocol's channel.
    process.setStandardOutputFile(QProcess::nullDevice());
    // Nor the editor's log pipe, which the window would hold open.
    process.setStandardErrorFile(QProcess::nullDevice());
    ok = process.startDetached();
    if (!ok)
        *error = process.errorString();
    ::close(fd);
    return ok;
}
#endif

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
    lsp::Server server(
        tools,
        [&](const QByteArray &bytes) {
            if (!writeChecked(out, bytes)) {
                err.write("quillkit98 lsp: cannot write to the client; ending\n");
                QCoreApplication::exit(1);
            }
        },
        err, startWindow);
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
