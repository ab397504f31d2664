// SPDX-License-Identifier: GPL-3.0-or-later
#include "fix/UnifiedDiff.h"

#include <QFile>
#include <QList>

#include <algorithm>
#include <vector>

namespace {

// Lines as patch and git see them: up to and with each LF (a lone CR is
// part of its line).
QList<QByteArrayView> splitLines(const QByteArray &bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            lines << QByteArrayView(bytes).sliced(start, i + 1 - start);
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines << QByteArrayView(bytes).sliced(start);
    return lines;
}

} // namespace

QByteArray gitQuoted(const QByteArray &path)
{
    bool needed = false;
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        needed = needed || u < 0x20 || u >= 0x7f || c == '"' || c == '\\';
    }
    if (!needed)
        return path;
    QByteArray quoted = "\"";
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\a': quoted += "\\a"; break;
        case '\b': quoted += "\\b"; break;
        case '\t': quoted += "\\t"; break;
        case '\n': quoted += "\\n"; break;
        case '\v': quoted += "\\v"; break;
        case '\f': quoted += "\\f"; break;
        case '\r': quoted += "\\r"; break;
        default:
            if (u < 0x20 || u >= 0x7f) {
                quoted += '\\';
                quoted += char('0' + (u >> 6));
                quoted += char('0' + ((u >> 3) & 7));
                quoted += char('0' + (u & 7));
            } else {
                quoted += c;
            }
        }
    }
    return quoted + '"';
}

QByteArray unifiedDiff(const QString &path, const QByteArray &before, const QByteArray &after)
{
    if (before == after)
        return {};
    const QList<QByteArrayView> a = splitLines(before);
    const QList<QByteArrayView> b = splitLines(after);
    // The changes replace spans inside lines: the lines before the first
    // difference and after the last are common.
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    // Within that range, pair the lines up where the counts agree (a span
    // that ends a line never adds or removes one), so that each changed line
    // is a hunk of its own.
    struct Edit
    {
        qsizetype aBegin, aEnd, bBegin, bEnd;
    };
    std::vector<Edit> edits;
    const qsizetype aCount = a.size() - head - tail;
    const qsizetype bCount = b.size() - head - tail;
    if (aCount == bCount) {
        for (qsizetype k = 0; k < aCount; ++k) {
            if (a[head + k] == b[head + k])
                continue;
            if (!edits.empty() && edits.back().aEnd == head + k)
                edits.back().aEnd = edits.back().bEnd = head + k + 1;
            else
                edits.push_back({head + k, head + k + 1, head + k, head + k + 1});
        }
    } else {
        edits.push_back({head, head + aCount, head, head + bCount});
    }
    constexpr qsizetype context = 3;
    QByteArray out;
    // git's headers: GNU patch takes the names from `diff --git` (quoted or
    // not), and a name with a space gets a tab after it, as git writes it.
    // UTF-8, as git writes names on every system (not Windows' ANSI code page).
    const QByteArray name = path.toUtf8();
    const QByteArray aName = gitQuoted("a/" + name);
    const QByteArray bName = gitQuoted("b/" + name);
    const QByteArray tab = name.contains(' ') ? QByteArray("\t") : QByteArray();
    out += "diff --git " + aName + ' ' + bName + '\n';
    out += "--- " + aName + tab + "\n+++ " + bName + tab + '\n';
    const auto line = [&](char mark, QByteArrayView text) {
        out += mark;
        out += text;
        if (!text.endsWith('\n'))
            out += "\n\\ No newline at end of file\n";
    };
    std::size_t e = 0;
    while (e < edits.size()) {
        std::size_t f = e;
        while (f + 1 < edits.size() && edits[f + 1].aBegin - edits[f].aEnd <= 2 * context)
            ++f;
        const qsizetype aStart = std::max<qsizetype>(0, edits[e].aBegin - context);
        const qsizetype aStop = std::min(a.size(), edits[f].aEnd + context);
        const qsizetype shift = edits[e].bBegin - edits[e].aBegin;
        const qsizetype bStart = aStart + shift;
        const qsizetype bStop = aStop + (edits[f].bEnd - edits[f].aEnd);
        out += "@@ -" + QByteArray::number(aStop > aStart ? aStart + 1 : aStart) + ',' + QByteArray::number(aStop - aStart)
               + " +" + QByteArray::number(bStop > bStart ? bStart + 1 : bStart) + ',' + QByteArray::number(bStop - bStart)
               + " @@\n";
        qsizetype ai = aStart;
        for (std::size_t k = e; k <= f; ++k) {
            for (; ai < edits[k].aBegin; ++ai)
                line(' ', a[ai]);
            for (qsizetype x = edits[k].aBegin; x < edits[k].aEnd; ++x)
                line('-', a[x]);
            for (qsizetype x = edits[k].bBegin; x < edits[k].bEnd; ++x)
                line('+', b[x]);
            ai = edits[k].aEnd;
        }
        for (; ai < aStop; ++ai)
            line(' ', a[ai]);
        e = f + 1;
    }
    return out;
}

