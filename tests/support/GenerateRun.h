// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandLine.h"

#include <QBuffer>
#include <QStringList>

// One run of `quillkit98 generate TOOL options...`, in process.
struct GenerateRun
{
    int status = -1;
    QString out;
    QString err;
};

inline GenerateRun runGenerate(const QString &tool, const QStringList &options, const QByteArray &input = {})
{
    QBuffer out, err, in;
    in.setData(input);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    GenerateRun run;
    run.status = runCommandLine(QStringList{QStringLiteral("quillkit98"), QStringLiteral("generate"), tool} + options, out, err, in);
    run.out = QString::fromUtf8(out.data());
    run.err = QString::fromUtf8(err.data());
    return run;
}

// The line that says what is wrong with a `generate TOOL` command, when the
// error output is that one line and then the one that points to the tool's
// help; empty otherwise.
inline QString usageMessage(const GenerateRun &run, const QString &tool)
{
    const QString tryLine = QStringLiteral("Try 'quillkit98 generate %1 --help' for more information.\n").arg(tool);
    if (!run.err.endsWith(tryLine))
        return {};
    const QString message = run.err.chopped(tryLine.size());
    return message.endsWith(u'\n') && message.count(u'\n') == 1 ? message : QString();
}

// One run of `quillkit98 ARGUMENTS...`, in process, its output as bytes.
struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline Run run(const QStringList &arguments, const QByteArray &input = {})
{
    QBuffer out, err, in;
    in.setData(input);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    Run result;
    result.status = runCommandLine(QStringList{QStringLiteral("quillkit98")} + arguments, out, err, in);
    result.out = out.data();
    result.err = err.data();
    return result;
}
