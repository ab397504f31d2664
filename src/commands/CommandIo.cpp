// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/CommandIo.h"

#include "cli/Messages.h"

#include <QCommandLineParser>
#include <QFileDevice>
#include <QIODevice>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <sys/ioctl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace commands {

void writeLine(QIODevice &device, QStringView line)
{
    device.write((line.toString() + u'\n').toUtf8());
}

void writeError(QIODevice &err, QStringView message)
{
    writeLine(err, cli::programMessage(message));
}

void writeFileError(QIODevice &err, QStringView file, QStringView reason)
{
    writeError(err, cli::fileMessage(file, reason));
}

int usageError(QIODevice &err, QStringView message, QStringView command)
{
    writeError(err, message);
    writeLine(err, cli::tryHelp(command));
    return 2;
}

int usageErrorLines(QIODevice &err, QStringView message, QStringView command)
{
    writeLine(err, QString(cli::programName() + u": "_s + message.toString()));
    writeLine(err, cli::tryHelp(command));
    return 2;
}

int reportedError(QIODevice &err, const CliError &error, const QString &context, QStringView command)
{
    if (!error.usage) {
        writeError(err, error.message);
        return 2;
    }
    return usageError(err, context.isEmpty() ? error.message : QString(context + u": "_s + error.message), command);
}

void writeOutputError(QIODevice &err, const QIODevice &out)
{
    writeLine(err, u"%1: cannot write the output: %2"_s.arg(cli::programName(), out.errorString()));
}

int printed(QIODevice &out, QIODevice &err, QStringView text)
{
    if (writeChecked(out, text))
        return 0;
    writeOutputError(err, out);
    return 1;
}

int helpWidth(QIODevice &out)
{
#if defined(Q_OS_UNIX)
    if (auto *file = qobject_cast<QFileDevice *>(&out); file && file->handle() >= 0 && isatty(file->handle())) {
        winsize size{};
        if (ioctl(file->handle(), TIOCGWINSZ, &size) == 0 && size.ws_col >= 40)
            return size.ws_col;
    }
#endif
    Q_UNUSED(out);
    return 80;
}

QString givenTwice(const QCommandLineParser &parser, const QList<QCommandLineOption> &options)
{
    const QStringList given = parser.optionNames();
    for (const QCommandLineOption &option : options) {
        const QStringList names = option.names();
        const auto times = std::count_if(given.cbegin(), given.cend(),
                                         [&](const QString &name) { return names.contains(name); });
        if (times > 1)
            return names.constFirst();
    }
    return {};
}

} // namespace commands
