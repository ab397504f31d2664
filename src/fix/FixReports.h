// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fix/ModuleFixer.h"

#include <QByteArray>
#include <QJsonArray>

namespace basic {
class Source;
}

enum class ReportFormat { Text, GitHub, Sarif };

// What `fix --check` reports, file by file: one line per change and note
// (text, GitHub's workflow commands), or one SARIF log at the end.
class Report
{
public:
    explicit Report(ReportFormat format) : m_format(format) {}

    // The lines for one file (empty for SARIF, which gathers them).
    QByteArray add(const QString &shown, const basic::Source &source, const fix::ModuleFixes &fixes);
    // What is left to write once every file is in.
    QByteArray finish() const;

private:
    ReportFormat m_format;
    QJsonArray m_results;
};

// A relative path as a URI reference: each segment %-encoded.
QString relativeUri(const QString &path);
