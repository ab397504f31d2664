// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The window's code put back where the editor's came from, in the form it
// had there: a call stays a call in its expression, a block a block at its
// indentation, with the document's line ends.
namespace lsp {

// A call of a tool's in the editor's text: from its first word (a `VBA.`
// before the call's word) to its closing parenthesis, or to its statement's
// end where it takes no parentheses.
struct CallSite
{
    qsizetype begin = 0;
    qsizetype end = 0;
    bool parenthesized = false;
    QString words; // as written, with any `VBA.` before
};

// The call whose word is nearest before the offset in [begin, end) (the
// statement), or the statement's first; null where none of the tool's is.
std::optional<CallSite> callSiteIn(QStringView text, qsizetype begin, qsizetype end, qsizetype offset,
                                   const Tool &tool);

// The arguments of the first call of the tool in the code, as the code
// writes them; null with the reason where the call needs the rest of the
// code (a variable it sets) or there is none.
std::optional<QString> callArguments(const QString &code, const Tool &tool, QString *why);

// The line end the text uses first: CR LF, CR or LF (LF for none).
QString lineEndOf(QStringView text);

// The code's lines with the line end, each after the first (or every one
// with `first`) after the indentation; no line end after the last.
QString reindented(const QString &code, QStringView indentation, QStringView lineEnd, bool first);

} // namespace lsp
