// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lsp/ModuleCheck.h"
#include "reader/CodeReader.h"

#include <QList>
#include <QString>

#include <optional>

// What the editor is told about a place in the code: the meaning of a
// message box's numbers, and the call there as `read` holds it.
namespace lsp {

// "Yes and No, the question icon, the first button the default" for the
// names of a buttons value; "the answer when Yes is clicked" for a result.
// Empty where a name is not BASIC's.
QString meaningOfNames(QStringView names);

// A message box or input box call at a place in the module, read as `read`
// reads it, with what came before it in the module in view.
struct CallReading
{
    qsizetype begin = 0; // the call's statement
    qsizetype end = 0;
    ReadResult result;
    // A text that the window, reading as from the clipboard, reads into
    // exactly this call; empty where there is none.
    QString windowText;
};

// Null where no message box or input box call is at the offset.
std::optional<CallReading> readCallAt(const QString &text, qsizetype offset, const QList<Tool> &tools,
                                      const ReadSettings &settings, bool forWindow);

// As readCallAt on the whole text, read from the declarations and the
// procedure around the offset where the check says those read alike.
std::optional<CallReading> readCallIn(const ModuleCheck &check, const QString &text, qsizetype offset,
                                      const QList<Tool> &tools, const ReadSettings &settings, bool forWindow);

// The reading as markdown: the call's title, message (shortened), buttons
// and answer, or why it cannot be read.
QString callMarkdown(const CallReading &reading);

} // namespace lsp
