// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxGambasReader.h"

#include "codegen/CodeText.h"
#include "tools/msgbox/MsgBoxGambas.h"
#include "tools/msgbox/MsgBoxTexts.h"

using namespace Qt::StringLiterals;

qint32 findGambasMsgBox(const ReadContext &c, qint32 statement)
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

void readGambasMsgBox(ReadContext &c, qint32 statement, qint32 k, ReadResult &result)
{
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    static const std::vector<QStringView> names{u"message", u"button1", u"button2", u"button3"};
    // Message(…) or Message.Info(…) and the like, as find() found it.
    const Call call = c.call(statement, t.isPunct(k + 1, u'(') ? k : k + 2, names, u"Message");
    const QString function = call.name == k ? QString() : t.text(call.name).toString().toLower();
    // A plain name, no Let: what the tool writes.
    const bool answered = call.head == s.begin + 2 && t.isIdent(s.begin) && t.isPunct(s.begin + 1, u'=');
    if (call.head != s.begin && !answered)
        refuse(t.pos(s.begin), u"the message box's answer can only go straight into a variable"_s);
    if (!call.closed())
        refuse(t.pos(call.open), u"the call's parenthesis is not closed"_s);
    if (call.after < s.end)
        refuse(t.pos(call.after), u"the message box's answer can only go straight into a variable"_s);
    const std::vector<Parameter> params = call.arguments();
    const qint32 open = call.open;
    const qint32 close = call.close;
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
    for (const basic::ButtonSetRow &candidate : basic::buttonSets()) {
        if (gambasButtonTexts(candidate.value) == buttons)
            set = candidate.value;
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
    // The icon whose Message function it is; a box of several buttons that
    // Gambas could only show as a question box says which it was.
    const auto iconOf = [](QStringView function) {
        for (const basic::IconRow &row : basic::msgBoxIcons()) {
            if (row.gambasFunction.compare(function, Qt::CaseInsensitive) == 0)
                return &row;
        }
        return &basic::msgBoxIcons().front();
    };
    const basic::IconRow *shown = iconOf(function);
    if (shown->gambasOneButton && buttons.size() > 1)
        refuse(t.pos(k),
               u"Gambas's %1 box has one button only"_s.arg(function.isEmpty() ? u"plain"_s : u"information"_s));
    const basic::IconRow *icon = shown;
    if (shown->value == vbQuestion) {
        if (says(msgbox::GambasInformationOneButton))
            icon = basic::msgBoxIcon(vbInformation);
        else if (says(msgbox::GambasPlainOneButton))
            icon = basic::msgBoxIcon(vbNoIcon);
    }
    fields.style.buttonSet = set;
    fields.style.icon = icon->value;
    // Which button the code meant as the default it cannot say: the second.
    if (buttons.size() > 1
        && says(msgbox::GambasFirstButtonDefault))
        fields.style.defaultButton = basic::defaultButtonValue(1);
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
