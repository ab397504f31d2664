// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxReader.h"

#include "basic/Flags.h"
#include "codegen/CodeText.h"
#include "tools/msgbox/MsgBoxGambas.h"
#include "tools/msgbox/MsgBoxGenerator.h"
#include "tools/msgbox/MsgBoxTexts.h"

using namespace Qt::StringLiterals;

namespace {

// Gambas: Message(…), Message.Info(…), .Warning, .Error or .Question(…).
qint32 findGambas(const ReadContext &c, qint32 statement)
{
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    for (qint32 k = s.begin; k < s.end; ++k) {
        if (!t.isWord(k, u"message") || (k > s.begin && t.isPunct(k - 1, u'.')) || c.m.declaration(u"message"))
            continue;
        if (k + 1 < s.end && t.isPunct(k + 1, u'('))
            return k;
        if (k + 3 < s.end && t.isPunct(k + 1, u'.') && t.isPunct(k + 3, u'(')
            && (t.isWord(k + 2, u"info") || t.isWord(k + 2, u"warning") || t.isWord(k + 2, u"error")
                || t.isWord(k + 2, u"question")))
            return k;
    }
    return -1;
}

void readGambas(ReadContext &c, qint32 statement, qint32 k, ReadResult &result)
{
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    const bool answered = k == s.begin + 2 && t.isIdent(s.begin) && t.isPunct(s.begin + 1, u'=');
    if (k != s.begin && !answered)
        refuse(t.pos(s.begin), u"the message box's answer can only go straight into a variable"_s);
    const qint32 open = t.isPunct(k + 1, u'(') ? k + 1 : k + 3;
    const QString function = t.isPunct(k + 1, u'(') ? QString() : t.text(k + 2).toString().toLower();
    const qint32 close = t.closing(open, s.end);
    if (close >= s.end)
        refuse(t.pos(open), u"the call's parenthesis is not closed"_s);
    if (close + 1 < s.end)
        refuse(t.pos(close + 1), u"the message box's answer can only go straight into a variable"_s);
    const std::vector<QStringView> names{u"message", u"button1", u"button2", u"button3"};
    const std::vector<Parameter> params = c.arguments(open + 1, close, names, u"Message");
    if (!params[0].given())
        refuse(t.pos(k), u"the Message call has no message"_s);
    MsgBoxFields fields;
    fields.message = c.lineBreaksChecked(c.eval.text(params[0].begin, params[0].end, statement, u"the message"_s), params[0].begin);
    QStringList buttons;
    for (std::size_t b = 1; b < params.size(); ++b) {
        if (!params[b].given()) {
            if (b + 1 < params.size() && params[b + 1].given())
                refuse(t.posOf(params[b].begin, close), u"a button text is missing"_s);
            continue;
        }
        buttons << c.eval.singleLine(params[b].begin, params[b].end, statement, u"a button's text"_s);
    }
    qint32 set = -1;
    for (qint32 candidate = vbOKOnly; candidate <= vbRetryCancel; ++candidate) {
        if (gambasButtonTexts(candidate) == buttons)
            set = candidate;
    }
    if (buttons.isEmpty())
        refuse(t.pos(open), u"the Message call names no buttons; the tool writes their texts (\"OK\")"_s);
    if (set < 0)
        refuse(t.pos(open), u"the buttons (%1) are no button set of the message box tool"_s.arg(buttons.join(u", "_s)));
    if (answered != (buttons.size() > 1))
        refuse(t.pos(s.begin), buttons.size() > 1 ? u"the answer of a box with several buttons must be kept"_s
                                                  : u"a box with one button has no answer to keep"_s);
    const QStringList comments = c.commentsAbove(statement, msgbox::StartMarkerPrefix);
    const auto says = [&](const QString &comment) { return comments.contains(comment); };
    qint32 icon = vbNoIcon;
    if (function == u"error"_s)
        icon = vbCritical;
    else if (function == u"warning"_s)
        icon = vbExclamation;
    else if (function == u"info"_s)
        icon = vbInformation;
    else if (function == u"question"_s) {
        icon = vbQuestion;
        if (says(msgbox::GambasInformationOneButton))
            icon = vbInformation;
        else if (says(msgbox::GambasPlainOneButton))
            icon = vbNoIcon;
    }
    if ((function.isEmpty() || function == u"info"_s) && buttons.size() > 1)
        refuse(t.pos(k), u"Gambas's %1 box has one button only"_s.arg(function.isEmpty() ? u"plain"_s : u"information"_s));
    fields.style.buttonSet = set;
    fields.style.icon = icon;
    // Which button the code meant as the default it cannot say: the second.
    if (buttons.size() > 1
        && says(msgbox::GambasFirstButtonDefault))
        fields.style.defaultButton = vbDefaultButton2;
    if (says(msgbox::GambasNotSystemModal))
        fields.style.modality = vbSystemModal;
    fields.help.help = says(msgbox::GambasNoHelp);
    bool titled = false;
    for (const basic::Evaluator::Setting &setting : c.eval.settingsOf(u"message"_s, statement, u"Message"_s)) {
        if (setting.property != u"title"_s)
            refuse(t.pos(setting.name), u"%1 is a setting the message box tool has no field for"_s
                                           .arg(t.text(setting.name, setting.begin - 1).toString().trimmed()));
        fields.title = c.eval.settingText(setting, u"the title"_s);
        titled = true;
        if (codegen::hasLineBreak(fields.title))
            refuse(t.pos(setting.begin), u"the title holds a line break; it can only hold one line"_s);
    }
    // Message.Title keeps what it was last given, anywhere in the program.
    if (!titled)
        refuse(t.pos(k), u"Message.Title is not set before the call; it keeps what it was last given"_s);
    result.code.dialect = basic::Dialect::Gambas;
    result.fields = fields;
}

qint32 find(const ReadContext &c, qint32 statement)
{
    if (c.t.backslashEscapes())
        return findGambas(c, statement);
    const basic::Statement &s = c.statement(statement);
    for (qint32 k = s.begin; k < s.end; ++k) {
        if (c.t.isIdent(k) && c.t.isWord(k, u"msgbox") && c.callHead(k, s.begin) >= 0)
            return k;
    }
    return -1;
}

// The call's arguments are in its parentheses, or, for a statement, run to
// its end: `MsgBox ("Hi"), 4` has a parenthesized prompt.
void read(ReadContext &c, qint32 statement, qint32 k, ReadResult &result)
{
    if (c.t.backslashEscapes())
        return readGambas(c, statement, k, result);
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    const qint32 head = c.callHead(k, s.begin);
    const bool called = head > s.begin && t.isWord(head - 1, u"call");
    const bool isStatement = head == s.begin || (head - 1 == s.begin && called);
    const qint32 stop = s.end;
    qint32 argsBegin = k + 1;
    qint32 argsEnd = stop;
    if (k + 1 < stop && t.isPunct(k + 1, u'(')) {
        const qint32 close = t.closing(k + 1, stop);
        if (close >= stop)
            refuse(t.pos(k + 1), u"the call's parenthesis is not closed"_s);
        if (!(isStatement && !called && close + 1 < stop)) {
            argsBegin = k + 2;
            argsEnd = close;
            // Visual Basic takes `MsgBox ("Sure?")`, a text in parentheses,
            // but not two arguments in them without Call.
            if (isStatement && !called && c.eval.semantics().dialect == basic::Dialect::VisualBasic
                && t.topLevel(argsBegin, argsEnd, [&](qint32 i) { return t.isPunct(i, u','); }) < argsEnd)
                refuse(t.pos(k + 1), u"Visual Basic does not compile a MsgBox statement with its arguments in parentheses;"
                                     " it takes MsgBox \"…\", … or Call MsgBox(…)"_s);
        }
    } else if (!isStatement) {
        refuse(t.pos(k), u"MsgBox used in an expression needs its arguments in parentheses"_s);
    }

    static const std::vector<QStringView> names{u"prompt", u"buttons", u"title", u"helpfile", u"context"};
    const std::vector<Parameter> params = c.arguments(argsBegin, argsEnd, names, u"MsgBox");
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
    const qint64 value = buttons.value;
    const qint64 set = value & MsgBoxButtonSetMask;
    const qint64 icon = value & MsgBoxIconMask;
    const qint64 defaultButton = value & MsgBoxDefaultButtonMask;
    const qint64 modal = value & MsgBoxModalityMask;
    const qint64 rest = value & ~qint64(0x7FFF);
    const auto noOption = [&](qint64 bits) {
        refuse(buttonsPos, u"%1 is a flag the message box tool has no option for"_s.arg(basic::writtenTerm(t, buttons, bits)));
    };
    for (const qint64 flag : {qint64(vbMsgBoxSetForeground), qint64(vbMsgBoxRight), qint64(vbMsgBoxRtlReading)}) {
        if (rest & flag)
            noOption(flag);
    }
    if (rest || (value & 0x8000))
        refuse(buttonsPos, u"%1 holds flags that MsgBox does not know"_s.arg(value));
    if (defaultButton == vbDefaultButton4)
        noOption(vbDefaultButton4);
    if (set > vbRetryCancel)
        refuse(buttonsPos, u"%1 is no button set"_s.arg(set));
    if (icon > vbInformation)
        refuse(buttonsPos, u"%1 is no icon"_s.arg(icon));
    if (defaultButton > vbDefaultButton3)
        refuse(buttonsPos, u"%1 is no default button"_s.arg(defaultButton));
    if (modal != 0 && modal != vbSystemModal)
        refuse(buttonsPos, u"%1 is no modality"_s.arg(modal));
    const qsizetype buttonCount = msgBoxButtonCodes(qint32(set)).size();
    if ((defaultButton >> 8) >= buttonCount)
        refuse(buttonsPos, u"%1 names a button that the box does not have (it has %2)"_s
                               .arg(basic::writtenTerm(t, buttons, defaultButton))
                               .arg(buttonCount));
    fields.style.buttonSet = qint32(set);
    fields.style.icon = qint32(icon);
    fields.style.defaultButton = qint32(defaultButton);
    fields.style.modality = qint32(modal);

    const bool helpButton = value & vbMsgBoxHelpButton;
    if (!helpButton && (params[3].given() || params[4].given()))
        refuse(t.posOf(params[3].given() ? params[3].begin : params[4].begin, argsEnd),
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
