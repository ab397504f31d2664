// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StandardStreams.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

#if defined(Q_OS_WIN)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#elif defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

#if defined(Q_OS_WIN)
// A console takes UTF-16 text: the bytes are UTF-8, and a character may
// arrive in two writes.
class ConsoleDevice : public QIODevice
{
public:
    explicit ConsoleDevice(HANDLE console) : m_console(console) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const QString text = m_decoder.decode(QByteArrayView(data, size));
        const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
        for (qsizetype done = 0; done < text.size();) {
            DWORD written = 0;
            const DWORD chunk = DWORD(std::min<qsizetype>(text.size() - done, 8192));
            if (!WriteConsoleW(m_console, wide + done, chunk, &written, nullptr) || written == 0) {
                setErrorString(u"cannot write to the console"_s);
                return -1;
            }
            done += written;
        }
        return size;
    }

private:
    HANDLE m_console;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

HANDLE consoleOf(int fd)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_CHAR || !GetConsoleMode(handle, &mode))
        return nullptr;
    return handle;
}
#endif

} // namespace

void prepareStandardStreams()
{
#if defined(Q_OS_WIN)
    // Text mode would write CR LF for each LF, and end input at a Ctrl+Z.
    for (const int fd : {0, 1, 2}) {
        if (_get_osfhandle(fd) != -1)
            _setmode(fd, _O_BINARY);
    }
#elif defined(Q_OS_UNIX)
    // A standard stream that was closed (`>&-`) must stay closed to what the
    // program writes or reads: otherwise the next file opened would take its
    // number and receive the output. /dev/null opened the other way round
    // holds the number, so that every write (or read) fails and is reported.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) == -1) {
            const int held = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
            if (held >= 0 && held != fd) {
                dup2(held, fd);
                close(held);
            }
        }
    }
#endif
}

QStringList programArguments(int argc, char **argv)
{
    QStringList arguments;
#if defined(Q_OS_WIN)
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
    }
#else
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
#endif
    return arguments;
}

std::unique_ptr<QIODevice> openStandardOutput(int fd, QString &error)
{
#if defined(Q_OS_WIN)
    if (HANDLE console = consoleOf(fd))
        return std::make_unique<ConsoleDevice>(console);
#endif
    auto file = std::make_unique<QFile>();
    // Unbuffered, straight to the descriptor: every failed write is seen
    // where it happens, none is left to a buffer flushed (or not) at exit.
    if (!file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file->errorString();
        return nullptr;
    }
    return file;
}

std::unique_ptr<QIODevice> openStandardInput(QString &error)
{
    auto file = std::make_unique<QFile>();
    if (!file->open(0, QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error = file->errorString();
        return nullptr;
    }
    return file;
}

void writeStandardError(const QString &text)
{
    QString error;
    if (const auto err = openStandardOutput(2, error))
        err->write(text.toUtf8());
}

void releaseOwnConsole()
{
#if defined(Q_OS_WIN)
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1)
        FreeConsole();
#endif
}
