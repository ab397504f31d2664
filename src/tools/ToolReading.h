// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Calls.h"
#include "basic/Evaluator.h"
#include "basic/Flags.h"
#include "basic/Module.h"
#include "basic/Names.h"
#include "codegen/CodeOptions.h"
#include "tools/HelpFields.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <any>
#include <functional>
#include <optional>
#include <vector>

struct Tool;

// Where and why the text could not be read; line and column count from 1,
// columns in characters, as an editor counts them.
struct ReadError
{
    int line = 1;
    int column = 1;
    QString message;

    // "line 3, column 18: UserName is a variable; ..."
    QString text() const;
};

// The code of one tool read back into its fields, or why it cannot be.
struct ReadResult
{
    // Set when the text holds nothing the tools can hold; then no fields are.
    std::optional<ReadError> error;

    // The tool whose code was found, and its Fields struct (the common
    // dialog's carries the page).
    const Tool *tool = nullptr;
    std::any fields;
    // How the code is written: its BASIC, and for a tool with constants
    // whether they were written as names.
    codegen::CodeOptions code;
    // How many constructs of the tools the text holds; the first is read.
    int found = 0;

    bool ok() const { return !error.has_value(); }
    // The found tool's command name ("msgbox"); empty when none was found.
    QString toolName() const;
    // The fields as the found tool's type; throws std::bad_any_cast for
    // another tool's.
    template<typename Fields>
    const Fields &fieldsAs() const
    {
        return std::any_cast<const Fields &>(fields);
    }
};

using basic::Parameter;

// Ends the read with a refusal at that source position.
[[noreturn]] void refuse(qsizetype pos, const QString &message);

// A call as a statement holds it, read the same way for every tool; each
// reader refuses by it the forms it cannot hold.
struct Call : basic::CallForm
{
    // The arguments bound to the parameters that call() was given. An
    // argument they do not take is refused here, so that a reader's own
    // rules about the call's form come first.
    std::vector<Parameter> arguments() const;

private:
    friend class ReadContext;
    std::vector<Parameter> m_arguments;
    std::optional<basic::Refusal> m_refusal;
};

// The module being read, and what every tool's reader shares: its tokens, the
// evaluator of its texts, and the reading of calls and their arguments.
class ReadContext
{
public:
    ReadContext(const basic::Module &module, basic::Evaluator &evaluator) :
        m(module), t(module.tokens()), eval(evaluator)
    {
    }

    const basic::Statement &statement(qint32 index) const { return m.statements()[std::size_t(index)]; }

    // The first token of a call of BASIC's own function at k (`MsgBox`,
    // `VBA.Interaction.MsgBox`), or -1 when k is a method of some object or
    // the module declares a name of it (then it is the module's own).
    qint32 callHead(qint32 k, qint32 begin) const;
    // Flags as evalFlags reads them, refused where the module declares a
    // name they use.
    basic::FlagValue flags(qint32 begin, qint32 end, basic::FlagKind kind, const QString &what) const;
    // A text exactly as the call receives it, in the tools' CR LF: a lone
    // CR or LF (vbLf) is no line break the tools write, and is refused.
    QString lineBreaksChecked(const QString &text, qint32 at) const;
    // The call whose function's name is token `name` of the statement, its
    // arguments bound to the parameters `names` (lower case) by position or
    // by `name:=`; `function` names it in refusals.
    Call call(qint32 statement, qint32 name, const std::vector<QStringView> &names, QStringView function) const;
    // The help file and topic arguments.
    HelpFields readHelp(const Parameter &file, const Parameter &context, qint32 at);
    // Whether that comment line heads the statement: just above it, or above
    // the Dims and assignments that lead up to it.
    bool commentBefore(qint32 statement, QStringView comment) const;

    // The whole comment lines above the statement in its procedure, nearest
    // first, up to the one that starts with `blockStart`.
    QStringList commentsAbove(qint32 statement, QStringView blockStart) const;

    // Whether the text holds the code just as `generate` writes it for
    // LibreOffice Basic, and not as it writes it for Visual Basic: the one
    // sign of LibreOffice's code that Visual Basic's does not also give.
    bool writtenForLibreOffice(const std::function<QString(const codegen::CodeOptions &)> &generate,
                               codegen::CodeOptions::Constants constants = {}) const;

    const basic::Module &m;
    const basic::Tokens &t;
    basic::Evaluator &eval;

private:
    QString topicOf(const Parameter &context) const;
};

// A tool's face for reading code back. The reader goes through the module in
// order; in each statement the tool whose construct starts first is read,
// and a block of whole comment lines is tried where it starts.
struct ToolReader
{
    // The token at which the statement holds the tool's construct, or -1.
    qint32 (*find)(const ReadContext &context, qint32 statement) = nullptr;
    // Reads the construct that find() found at token `at` into the result's
    // fields (and constants and dialect); refuses what the tool cannot hold.
    void (*read)(ReadContext &context, qint32 statement, qint32 at, ReadResult &result) = nullptr;
    // Reads a block of comment lines that starts at this comment token, if
    // it is the tool's.
    bool (*readComment)(const ReadContext &context, qint32 comment, ReadResult &result) = nullptr;
    // What is looked for, as "no … in the text" says: among all the tools,
    // and for this tool alone.
    QString sought;
    QString soughtAlone;
    // Statements that only the tool's Gambas code has, as alternatives of a
    // regular expression matched at a line's start after blanks; empty for
    // none. One of them makes the whole text Gambas.
    QString gambasForms = {};
    // A weak sign that the text is the tool's Gambas code, for code that
    // reads in Visual Basic too: then the text is Gambas only where it holds
    // just what the tool writes in Gambas.
    bool (*mayBeGambas)(const QString &text) = nullptr;
};
