// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fix/ModuleFixer.h"

#include <QByteArray>

namespace basic {
class Source;
}

enum class ReportFormat { Text, GitHub, Sarif };

// What `fix --check` reports, file by file: one line per change and note
// (text, GitHub's workflow commands), or one SARIF log, written as it goes
// (one result a line) so that a large project's log is never held whole.
class Report
{
public:
    explicit Report(ReportFormat format) : m_format(format) {}

    // What to write for one file.
    QByteArray add(const QString &shown, const basic::Source &source, const fix::ModuleFixes &fixes);
    // What is left to write once every file is in.
    QByteArray finish();

private:
    // The SARIF log's head, up to its first result, once; the separator
    // before each later one.
    QByteArray next();

    ReportFormat m_format;
    bool m_started = false;
};

// A relative path as a URI reference: each segment %-encoded.
QString relativeUri(const QString &path);
