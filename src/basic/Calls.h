// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Module.h"
#include "basic/Tokens.h"

#include <QString>
#include <QStringView>

#include <vector>

// A call of one of BASIC's functions as a statement holds it: its form and
// its arguments, read one way for `read`, `fix` and the language server, so
// that they cannot disagree on where a call's arguments are.
namespace basic {

// One argument of a call, by parameter: token range, empty when omitted.
struct Parameter
{
    qint32 begin = 0;
    qint32 end = 0;
    bool given() const { return end > begin; }
};

// One argument as written, before it is bound to a parameter.
struct Argument
{
    QString name; // lower case; empty when positional
    qsizetype namePos = 0;
    qint32 begin = 0;
    qint32 end = 0;
};

struct CallForm
{
    // The first token (`VBA` of `VBA.MsgBox`, `Message` of `Message.Info`)
    // and the function's own name.
    qint32 head = -1;
    qint32 name = -1;
    // `Call MsgBox(…)`; the statement starts with the call, with or without
    // Call.
    bool called = false;
    bool statement = false;
    // The parenthesis right after the name, or -1; the one that closes it,
    // or the statement's end when none does.
    qint32 open = -1;
    qint32 close = -1;
    // Whether the arguments are what the parentheses hold: not so in
    // `MsgBox ("Hi"), 4`, where they hold the first one only.
    bool parenthesized = false;
    // The arguments' tokens.
    qint32 argumentsBegin = 0;
    qint32 argumentsEnd = 0;
    // The first token after the call; the statement's end when it has none.
    qint32 after = 0;
    qint32 statementEnd = 0;
    // The name in `[Let] name = <call>`, whatever follows the call, and its
    // first token; empty and -1 for any other statement.
    QString variable;
    qint32 variableAt = -1;

    bool closed() const { return open < 0 || close < statementEnd; }
    // The variable that receives the answer: the statement is
    // `[Let] name = <call>` and no more.
    QString answer() const { return after == statementEnd ? variable : QString(); }
};

// The form of the call whose name is token `name` of the statement and whose
// first token is `head`. `alwaysParenthesized`: the dialect's calls always
// take their arguments in parentheses (Gambas).
CallForm callForm(const Tokens &t, const Statement &s, qint32 head, qint32 name, bool alwaysParenthesized);

// The arguments in [begin, end), split at the commas outside parentheses.
std::vector<Argument> splitArguments(const Tokens &t, qint32 begin, qint32 end);

// The arguments bound to the parameters `names` (lower case) by position or
// by `name:=`; refuses (Tokens::refuse) what BASIC does not compile: a name
// that is no parameter, one given twice, a positional argument after a named
// one, too many. `function` names the call in refusals.
std::vector<Parameter> bindArguments(const Tokens &t, const std::vector<Argument> &args,
                                     const std::vector<QStringView> &names, QStringView function);

// The message box's parameters, in order.
const std::vector<QStringView> &msgBoxParameters();

} // namespace basic
