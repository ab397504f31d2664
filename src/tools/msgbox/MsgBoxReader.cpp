// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxReader.h"

#include "basic/Flags.h"
#include "codegen/CodeText.h"
#include "tools/msgbox/MsgBoxGambasReader.h"
#include "tools/msgbox/MsgBoxGenerator.h"
#include "tools/msgbox/MsgBoxTexts.h"

using namespace Qt::StringLiterals;

namespace {

qint32 find(const ReadContext &c, qint32 statement)
{
    if (c.t.backslashEscapes())
        return findGambasMsgBox(c, statement);
    const basic::Statement &s = c.statement(statement);
    for (qint32 k = s.begin; k < s.end; ++k) {
        if (c.t.isIdent(k) && c.t.isWord(k, u"msgbox") && c.callHead(k, s.begin) >= 0)
            return k;
    }
    return -1;
}

// The box's style from its buttons value, refused where it holds what the
// tool has no option for; `buttonsPos` is where the value is written.
MsgBoxStyleValues styleOf(const basic::Tokens &t, const basic::FlagValue &buttons, qsizetype buttonsPos)
{
    const qint64 value = buttons.value;
    const qint64 set = value & MsgBoxButtonSetMask;
    const qint64 icon = value & MsgBoxIconMask;
    const qint64 defaultButton = value & MsgBoxDefaultButtonMask;
    const qint64 modal = value & MsgBoxModalityMask;
    const qint64 rest = value & ~qint64(basic::MsgBoxKnownBits);
    const auto noOption = [&](qint64 bits) {
        refuse(buttonsPos, u"%1 is a flag the message box tool has no option for"_s.arg(basic::writtenTerm(t, buttons, bits)));
    };
    for (const basic::MsgBoxFlagRow &flag : basic::msgBoxFlags()) {
        if (!flag.offered && (rest & flag.value))
            noOption(flag.value);
    }
    if (rest)
        refuse(buttonsPos, u"%1 holds flags that MsgBox does not know"_s.arg(value));
    const basic::DefaultButtonRow *defaultRow = basic::defaultButton(qint32(defaultButton));
    if (defaultRow && !defaultRow->offered)
        noOption(defaultButton);
    const basic::ButtonSetRow *setRow = basic::buttonSet(qint32(set));
    if (!setRow)
        refuse(buttonsPos, u"%1 is no button set"_s.arg(set));
    if (!basic::msgBoxIcon(qint32(icon)))
        refuse(buttonsPos, u"%1 is no icon"_s.arg(icon));
    if (!defaultRow)
        refuse(buttonsPos, u"%1 is no default button"_s.arg(defaultButton));
    if (modal != vbApplicationModal && modal != vbSystemModal)
        refuse(buttonsPos, u"%1 is no modality"_s.arg(modal));
    const qsizetype buttonCount = setRow->buttonCount;
    if (basic::defaultButtonIndex(qint32(defaultButton)) >= buttonCount)
        refuse(buttonsPos, u"%1 names a button that the box does not have (it has %2)"_s
                               .arg(basic::writtenTerm(t, buttons, defaultButton))
                               .arg(buttonCount));
    MsgBoxStyleValues style;
    style.buttonSet = qint32(set);
    style.icon = qint32(icon);
    style.defaultButton = qint32(defaultButton);
    style.modality = qint32(modal);
    return style;
}

void read(ReadContext &c, qint32 statement, qint32 k, ReadResult &result)
{
    if (c.t.backslashEscapes())
        return readGambasMsgBox(c, statement, k, result);
    const basic::Tokens &t = c.t;
    const Call call = c.call(statement, k, basic::msgBoxParameters(), u"MsgBox");
    if (!call.closed())
        refuse(t.pos(call.open), u"the call's parenthesis is not closed"_s);
    if (call.open < 0 && !call.statement)
        refuse(t.pos(k), u"MsgBox used in an expression needs its arguments in parentheses"_s);
    // Visual Basic takes `MsgBox ("Sure?")`, a text in parentheses, but not
    // two arguments in them without Call.
    if (call.parenthesized && call.statement && !call.called
        && c.eval.semantics().dialect == basic::Dialect::VisualBasic
        && t.topLevel(call.argumentsBegin, call.argumentsEnd, [&](qint32 i) { return t.isPunct(i, u','); })
               < call.argumentsEnd)
        refuse(t.pos(call.open), u"Visual Basic does not compile a MsgBox statement with its arguments in parentheses;"
                                 " it takes MsgBox \"…\", … or Call MsgBox(…)"_s);
    const std::vector<Parameter> params = call.arguments();
    MsgBoxFields fields;
    if (!params[0].given())
        refuse(t.pos(k), u"the MsgBox call has no message (Prompt)"_s);
    fields.message = c.lineBreaksChecked(c.eval.text(params[0].begin, params[0].end, statement, u"the message"_s), params[0].begin);
    basic::FlagValue buttons;
    if (params[1].given())
        buttons = c.flags(params[1].begin, params[1].end, basic::FlagKind::MsgBox, u"the buttons"_s);
    if (params[2].given())
        fields.title = c.eval.singleLine(params[2].begin, params[2].end, statement, u"the title"_s);

    const qsizetype buttonsPos = params[1].given() ? t.pos(params[1].begin) : t.pos(k);
    fields.style = styleOf(t, buttons, buttonsPos);
    const qint64 value = buttons.value;

    const bool helpButton = value & vbMsgBoxHelpButton;
    if (!helpButton && (params[3].given() || params[4].given()))
        refuse(t.posOf(params[3].given() ? params[3].begin : params[4].begin, call.argumentsEnd),
               u"a help file needs the Help button (vbMsgBoxHelpButton) in the buttons"_s);
    fields.help = c.readHelp(params[3], params[4], statement);
    fields.help.help = helpButton;

    // LibreOffice's MB_ names say so; otherwise the code is LibreOffice's
    // only where it is just what the tool writes there, and not what it
    // writes for Visual Basic.
    result.code.dialect = (buttons.dialects & 2) ? basic::Dialect::LibreOffice : c.eval.semantics().dialect;
    const auto constants = buttons.usedName ? codegen::CodeOptions::Constants::Names : codegen::CodeOptions::Constants::Numbers;
    if (result.code.dialect == basic::Dialect::VisualBasic
        && c.writtenForLibreOffice([&](const codegen::CodeOptions &options) { return generateMsgBoxCode(fields, options); },
                                   constants)) {
        result.code.dialect = basic::Dialect::LibreOffice;
    }
    // LibreOffice's code says where it left the help out.
    if (!helpButton
        && c.commentBefore(statement, msgbox::LibreOfficeNoHelp)) {
        result.code.dialect = basic::Dialect::LibreOffice;
        fields.help.help = true;
    }
    result.fields = fields;
    result.code.constants =
        buttons.usedName ? codegen::CodeOptions::Constants::Names : codegen::CodeOptions::Constants::Numbers;
}

} // namespace

ToolReader msgBoxReader()
{
    // Message.Title and Message's icon functions; a bare Message(…) may be
    // the module's own function: no sign.
    return {.find = find,
            .read = read,
            .sought = u"message box call"_s,
            .soughtAlone = u"message box call"_s,
            .gambasForms = uR"(Message\.Title[ \t]*=|(?:\w+[ \t]*=[ \t]*)?Message\.(?:Info|Warning|Error|Question)\()"_s};
}
