// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Names.h"
#include "basic/Tokens.h"

#include <vector>

// Constant flag expressions, `vbYesNo + vbQuestion`, `36`, `&H24 Or 256`:
// what they add up to, or a refusal at the term that is no constant.
namespace basic {

// One term as it was written.
struct FlagTerm
{
    qsizetype begin; // token range
    qsizetype end;
    qint64 value;
    bool named;
};

struct FlagValue
{
    qint64 value = 0;
    bool usedName = false;
    bool usedNumber = false;
    // Which dialects' names were used (bit 0 Visual Basic, bit 1 LibreOffice).
    int dialects = 0;
    std::vector<FlagTerm> terms;
};

enum class FlagKind { MsgBox, CommonDialog };

// The value of tokens [begin, end): numbers, the kind's names (with a VBA.
// or VbMsgBoxStyle. prefix), +, Or and parentheses. For a message box, two
// choices from one group (vbCritical + vbQuestion) are refused.
FlagValue evalFlags(const Tokens &tokens, qsizetype begin, qsizetype end, FlagKind kind, const QString &what);

// A whole-number literal's value: decimal, &H or &O, as BASIC types it
// (&HFFFF is -1). Refused when it is no whole number or too large.
qint64 numberLiteral(const Tokens &tokens, qsizetype i);

// The term that sets any of the bits, as written ("vbDefaultButton4",
// "768"): what refusals name.
QString writtenTerm(const Tokens &tokens, const FlagValue &value, qint64 bits);

} // namespace basic
