// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Dialect.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// Help while typing a message box or input box call: what may come next in a
// message box's buttons argument or after Case on its answer, the call's
// signature, and a line above each message box that says what it shows.
// Read from the text around the place alone, so that it is quick on any
// module.
namespace lsp {

struct Completion
{
    QString label;         // vbYesNo, MB_YESNO, vbYes
    QString detail;        // "= 4"
    QString documentation; // "Yes and No"
    QString group;         // for the order: "1 buttons", "2 icon", …
};

// Null where the place is in no buttons argument and after no Case on a
// box's answer; else the names that may come there, none of a group the
// argument already has.
std::optional<std::vector<Completion>> completionsAt(QStringView text, qsizetype offset, basic::Dialect dialect);

struct Signature
{
    QString label; // MsgBox(Prompt, [Buttons], …)
    QString documentation;
    QStringList parameters; // each as the label writes it
    QStringList parameterDocs;
    int active = 0;
};

// The signature of the MsgBox or InputBox call whose arguments the place is
// in, with the argument there; null where there is none.
std::optional<Signature> signatureAt(QStringView text, qsizetype offset, basic::Dialect dialect);

struct BoxLens
{
    qsizetype call = 0; // the MsgBox word
    QString title;      // "Yes, No · Question · second button default"
};

// A lens for each message box call whose buttons are names of the dialect
// and numbers only, in order.
std::vector<BoxLens> messageBoxLenses(QStringView text, basic::Dialect dialect);

} // namespace lsp
