// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxReader.h"

#include "codegen/BasicLimits.h"
#include "codegen/CodeText.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/inputbox/InputBoxTexts.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

qint32 find(const ReadContext &c, qint32 statement)
{
    const basic::Statement &s = c.statement(statement);
    for (qint32 k = s.begin; k < s.end; ++k) {
        if (c.t.isIdent(k) && (c.t.isWord(k, u"inputbox") || c.t.isWord(k, u"inputbox$"))
            && c.callHead(k, s.begin) >= 0)
            return k;
    }
    return -1;
}

// Declared when its `Dim … As String` comes just before, with only Dims
// and texts between.
bool declaredBefore(const ReadContext &c, qint32 statement, const QString &target)
{
    const basic::Tokens &t = c.t;
    const basic::Procedure &procedure = c.m.procedures()[std::size_t(c.statement(statement).procedure)];
    const auto local = procedure.locals.constFind(basic::nameKey(target));
    bool declared = local != procedure.locals.cend() && !local->parameter && local->statement < statement;
    for (qint32 between = declared ? local->statement + 1 : statement; between < statement && declared; ++between) {
        const basic::Statement &b = c.statement(between);
        declared = t.isWord(b.begin, u"dim") || (b.begin + 1 < b.end && t.isIdent(b.begin) && t.isPunct(b.begin + 1, u'='))
                   || (b.begin + 1 < b.end && t.isIdent(b.begin) && t.isPunct(b.begin + 1, u"&="));
    }
    return declared;
}

// The variable's declaration where the statement stands: its procedure's,
// else the module's; null for none.
const basic::Declaration *variableDeclaration(const ReadContext &c, qint32 statement, const QString &target)
{
    const basic::Procedure &procedure = c.m.procedures()[std::size_t(c.statement(statement).procedure)];
    const QString key = basic::nameKey(target);
    if (const auto local = procedure.locals.constFind(key); local != procedure.locals.cend())
        return &*local;
    const auto global = c.m.moduleDeclarations().constFind(key);
    return global != c.m.moduleDeclarations().cend() ? &*global : nullptr;
}

// The tool's variable holds the answer as a String: a variable of another
// type (As Integer, n%, DefInt) would hold something else.
void requireTextVariable(const ReadContext &c, qint32 statement, const QString &target, qsizetype pos)
{
    const basic::Declaration *declaration = variableDeclaration(c, statement, target);
    const QString type = declaration ? declaration->type : c.m.implicitType(target);
    if ((declaration && !declaration->text) || (!type.isEmpty() && type.compare(u"string"_s, Qt::CaseInsensitive) != 0
                                                 && type.compare(u"variant"_s, Qt::CaseInsensitive) != 0))
        refuse(pos, u"%1 is declared As %2; the input box tool's variable holds the answer as a String"_s.arg(target, type));
}

void readGambas(ReadContext &c, qint32 statement, const QString &target, InputBoxFields &fields, ReadResult &result)
{
    fields.variableName = target;
    fields.declareVariable = declaredBefore(c, statement, target);
    fields.help.help = c.commentsAbove(statement, inputbox::BeginMarker).contains(inputbox::GambasNoHelp);
    result.code.dialect = basic::Dialect::Gambas;
    result.fields = fields;
}

void read(ReadContext &c, qint32 statement, qint32 k, ReadResult &result)
{
    const basic::Tokens &t = c.t;
    const basic::Module &m = c.m;
    const basic::Statement &s = c.statement(statement);
    static const std::vector<QStringView> names{u"prompt", u"title", u"default", u"xpos",
                                                 u"ypos",   u"helpfile", u"context"};
    // Gambas's InputBox takes the prompt, title and default only.
    const bool gambas = t.backslashEscapes();
    static const std::vector<QStringView> gambasNames(names.begin(), names.begin() + 3);
    const Call call = c.call(statement, k, gambas ? gambasNames : names, u"InputBox");
    // Only `name = [VBA.]InputBox(...)`: the tool stores the answer in a
    // variable.
    const QString target = call.variable;
    if (target.isEmpty())
        refuse(t.pos(k), u"the input box's answer must be stored in a variable (Answer = InputBox(…))"_s);
    // Only a name the tool's Variable field takes: the code it writes must
    // compile, and read back the same.
    if (const QString problem = codegen::identifierProblem(target); !problem.isEmpty())
        refuse(t.pos(call.variableAt), u"the tool cannot hold the variable %1: %2"_s.arg(target, problem));
    // `Time = InputBox(…)` sets BASIC's own Time (the clock), unless the
    // module declares a variable of that name.
    if (basic::isBuiltinName(target) && !variableDeclaration(c, statement, target))
        refuse(t.pos(call.variableAt),
               u"%1 = InputBox(…) sets BASIC's own %1, not a variable, unless the code declares one"_s.arg(target));
    if (call.open < 0)
        refuse(t.pos(k), u"InputBox needs its arguments in parentheses"_s);
    if (!call.closed())
        refuse(t.pos(call.open), u"the call's parenthesis is not closed"_s);
    if (call.after < s.end)
        refuse(t.pos(call.after), u"the input box's answer must go straight into the variable"_s);
    const std::vector<Parameter> params = call.arguments();
    InputBoxFields fields;
    if (!params[0].given())
        refuse(t.pos(k), u"the InputBox call has no message (Prompt)"_s);
    fields.message = c.lineBreaksChecked(c.eval.text(params[0].begin, params[0].end, statement, u"the message"_s), params[0].begin);
    if (params[1].given())
        fields.title = c.eval.singleLine(params[1].begin, params[1].end, statement, u"the title"_s);
    if (params[2].given())
        fields.defaultAnswer = c.eval.singleLine(params[2].begin, params[2].end, statement, u"the default answer"_s);
    requireTextVariable(c, statement, target, t.pos(call.variableAt));
    if (gambas) {
        readGambas(c, statement, target, fields, result);
        return;
    }
    for (const std::size_t position : {std::size_t(3), std::size_t(4)}) {
        if (params[position].given())
            refuse(t.pos(params[position].begin),
                   u"the input box tool has no field for the box's position (XPos, YPos); it is always centred"_s);
    }
    fields.help = c.readHelp(params[5], params[6], statement);
    fields.variableName = target;
    // Declared when its Dim comes just before, with only Dims and texts
    // between.
    const basic::Procedure &procedure = m.procedures()[std::size_t(s.procedure)];
    const auto local = procedure.locals.constFind(basic::nameKey(target));
    bool declared = local != procedure.locals.cend() && !local->parameter && local->statement < statement;
    if (declared) {
        for (qint32 between = local->statement + 1; between < statement && declared; ++between) {
            const basic::Statement &b = m.statements()[std::size_t(between)];
            declared = t.isWord(b.begin, u"dim")
                       || (b.begin + 1 < b.end && t.isIdent(b.begin) && t.isPunct(b.begin + 1, u'='));
        }
    }
    fields.declareVariable = declared;
    result.code.dialect = c.eval.semantics().dialect;
    if (!fields.help.help
        && c.commentBefore(statement, inputbox::LibreOfficeNoHelp)) {
        result.code.dialect = basic::Dialect::LibreOffice;
        fields.help.help = true;
    }
    // The code is LibreOffice's where it is just what the tool writes
    // there, and not what it writes for Visual Basic ("As String" alone is
    // no sign: the classic editor writes it so too).
    if (result.code.dialect == basic::Dialect::VisualBasic
        && c.writtenForLibreOffice([&](const codegen::CodeOptions &options) { return generateInputBox(fields, options); })) {
        result.code.dialect = basic::Dialect::LibreOffice;
    }
    result.fields = fields;
}

// The Gambas block reads the same in Visual Basic once the classic editor
// has taken the blank out of `InputBox (`.
bool mayBeGambas(const QString &text)
{
    static const QRegularExpression inputBox(uR"(^[ \t]*\w+ = InputBox\()"_s, QRegularExpression::MultilineOption);
    return text.contains(inputbox::BeginMarker) && inputBox.match(text).hasMatch();
}

} // namespace

ToolReader inputBoxReader()
{
    return {.find = find,
            .read = read,
            .sought = u"input box call"_s,
            .soughtAlone = u"input box call"_s,
            .mayBeGambas = mayBeGambas};
}
