// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxTyping.h"

#include "basic/Constants.h"
#include "basic/Flags.h"
#include "basic/MsgBoxStyles.h"
#include "basic/Names.h"
#include "basic/Tokens.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

using basic::TokenKind;

bool is(const basic::Tokens &t, qsizetype i, QStringView word)
{
    return i >= 0 && i < t.size() && t.isWord(i, word);
}

struct ButtonsValue
{
    qint32 value = 0;
    bool known = true;
    QList<basic::NameGroup> groups; // of the names written
    QList<qint32> flags;            // the flags written, by value
};

// A buttons argument of names and whole numbers added up (+ or Or): its
// value where every term is known.
ButtonsValue buttonsValue(const basic::Tokens &t, qsizetype begin, qsizetype end, basic::Dialect dialect)
{
    ButtonsValue v;
    for (qsizetype i = begin; i < end; ++i) {
        if (t.isPunct(i, u'+') || is(t, i, u"or") || t.isPunct(i, u'(') || t.isPunct(i, u')'))
            continue;
        if (t.isIdent(i)) {
            const basic::BasicName *name = basic::findName(t.text(i));
            if (!name || name->dialect != dialect || name->group == basic::NameGroup::Result
                || name->group == basic::NameGroup::CommonDialogFlag) {
                v.known = false;
                continue;
            }
            v.value |= name->value;
            v.groups << name->group;
            if (name->group != basic::NameGroup::ButtonSet && name->group != basic::NameGroup::Icon
                && name->group != basic::NameGroup::DefaultButton)
                v.flags << name->value;
            continue;
        }
        if (t.kind(i) == TokenKind::Number) {
            try {
                const qint64 number = basic::numberLiteral(t, i);
                v.value |= qint32(number);
                if (number & MsgBoxButtonSetMask)
                    v.groups << basic::NameGroup::ButtonSet;
                if (number & MsgBoxIconMask)
                    v.groups << basic::NameGroup::Icon;
                if (number & MsgBoxDefaultButtonMask)
                    v.groups << basic::NameGroup::DefaultButton;
                for (const basic::MsgBoxFlagRow &flag : basic::msgBoxFlags()) {
                    if (flag.value && (number & flag.value))
                        v.flags << flag.value;
                }
            } catch (const basic::Refusal &) {
                v.known = false;
            }
            continue;
        }
        v.known = false;
    }
    return v;
}

QString caption(const char *text)
{
    return QCoreApplication::translate("MsgBoxStyles", text);
}

QString nameIn(basic::Dialect dialect, QStringView vb, QStringView libreOffice)
{
    return (dialect == basic::Dialect::LibreOffice ? libreOffice : vb).toString();
}

std::vector<Completion> buttonsCompletions(const ButtonsValue &present, basic::Dialect dialect)
{
    std::vector<Completion> items;
    const auto add = [&](const QString &name, qint32 value, const QString &meaning, const QString &group) {
        if (!name.isEmpty())
            items.push_back({name, u"= %1"_s.arg(value), meaning, group});
    };
    if (!present.groups.contains(basic::NameGroup::ButtonSet)) {
        for (const basic::ButtonSetRow &row : basic::buttonSets())
            add(nameIn(dialect, row.vbName, row.libreOfficeName), row.value, basic::buttonSetMeaning(row),
                u"1 buttons"_s);
    }
    if (!present.groups.contains(basic::NameGroup::Icon)) {
        for (const basic::IconRow &row : basic::msgBoxIcons()) {
            if (row.value)
                add(nameIn(dialect, row.vbName, row.libreOfficeName), row.value, row.meaning.toString(), u"2 icon"_s);
        }
    }
    if (!present.groups.contains(basic::NameGroup::DefaultButton)) {
        for (const basic::DefaultButtonRow &row : basic::defaultButtons())
            add(nameIn(dialect, row.vbName, row.libreOfficeName), row.value,
                u"the %1 button the default"_s.arg(row.ordinal), u"3 default button"_s);
    }
    bool modal = present.groups.contains(basic::NameGroup::Modality);
    for (const qint32 flag : present.flags)
        modal = modal || (flag & MsgBoxModalityMask) != 0;
    for (const basic::MsgBoxFlagRow &row : basic::msgBoxFlags()) {
        const bool modality = (row.value & MsgBoxModalityMask) != 0 || row.value == 0;
        if (present.flags.contains(row.value) || (modality && modal))
            continue;
        add(nameIn(dialect, row.vbName, row.libreOfficeName), row.value,
            row.meaning.isEmpty() ? u"application modal (as without it)"_s : row.meaning.toString(), u"4 flag"_s);
    }
    return items;
}

// The buttons argument of the message box call at token k: its tokens.
std::optional<std::pair<qsizetype, qsizetype>> buttonsArgument(const basic::Tokens &t, qsizetype k, qsizetype end)
{
    qsizetype i = k + 1;
    const bool parenthesized = i < end && t.isPunct(i, u'(');
    if (parenthesized)
        ++i;
    int depth = 0;
    int argument = 0;
    qsizetype begin = -1;
    for (; i < end; ++i) {
        if (t.kind(i) == TokenKind::Newline
            || (depth == 0 && (t.isPunct(i, u':') || is(t, i, u"then") || is(t, i, u"else"))))
            break;
        if (t.isPunct(i, u'(')) {
            ++depth;
        } else if (t.isPunct(i, u')')) {
            if (depth == 0)
                break;
            --depth;
        } else if (t.isPunct(i, u":=")) {
            return std::nullopt; // named arguments: left to the reader
        } else if (t.isPunct(i, u',') && depth == 0) {
            ++argument;
            if (argument == 1)
                begin = i + 1;
            else if (argument == 2)
                return std::pair{begin, i};
        }
    }
    if (argument == 0)
        return std::pair{i, i}; // no buttons: OK only
    return std::pair{begin, i};
}

// After `Case ` in a Select Case on a message box's answer: its answers.
std::optional<std::vector<Completion>> caseCompletions(QStringView text, qsizetype offset, basic::Dialect dialect)
{
    const qsizetype start = lineStartAt(text, offset);
    static const QRegularExpression caseLine(u"^\\s*Case\\s+(Is\\s*=\\s*)?([\\w\\s,]*)$"_s,
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = caseLine.match(text.sliced(start, offset - start));
    if (!match.hasMatch() || match.captured(2).trimmed().startsWith(u"else"_s, Qt::CaseInsensitive))
        return std::nullopt;
    // The Select it stands in, up the lines; a procedure's edge stops.
    static const QRegularExpression selectLine(u"^\\s*Select\\s+Case\\s+(.*)$"_s,
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression endSelect(u"^\\s*End\\s+Select\\b"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression edge(
        u"^\\s*((Public|Private|Friend|Static)\\s+)*(Sub|Function|Property)\\b|^\\s*End\\s+(Sub|Function|Property)\\b"_s,
        QRegularExpression::CaseInsensitiveOption);
    int depth = 0;
    QString subject;
    QStringList written = match.captured(2).split(u',', Qt::SkipEmptyParts);
    qsizetype at = start;
    while (at > 0 && subject.isEmpty()) {
        const qsizetype end = at - 1 > 0 && text[at - 1] == u'\n' && text[at - 2] == u'\r' ? at - 2 : at - 1;
        at = lineStartAt(text, end);
        const QString line = text.sliced(at, end - at).toString();
        if (edge.match(line).hasMatch())
            return std::nullopt;
        if (endSelect.match(line).hasMatch()) {
            ++depth;
        } else if (const QRegularExpressionMatch other = caseLine.match(line); other.hasMatch() && depth == 0) {
            written += other.captured(2).split(u',', Qt::SkipEmptyParts); // the Select's other answers
        } else if (const QRegularExpressionMatch select = selectLine.match(line); select.hasMatch()) {
            if (depth-- == 0)
                subject = select.captured(1);
        }
    }
    if (subject.isEmpty())
        return std::nullopt;
    // The box itself, or a variable a box's answer was put in above.
    QString call = subject;
    const basic::Tokens s(subject);
    qsizetype callAt = s.size() > 0 && s.isWord(0, u"msgbox") ? 0 : s.size() > 2 && s.isWord(2, u"msgbox") ? 2 : -1;
    if (callAt < 0) {
        if (!(s.size() == 1 || (s.size() == 2 && s.kind(1) == TokenKind::Comment)) || !s.isIdent(0))
            return std::nullopt;
        const QRegularExpression assigned(u"^\\s*(Let\\s+)?%1\\s*=\\s*((VBA\\.)?MsgBox\\b.*)$"_s.arg(
                                              QRegularExpression::escape(s.text(0).toString())),
                                          QRegularExpression::CaseInsensitiveOption);
        call.clear();
        qsizetype up = at;
        while (up > 0 && call.isEmpty()) {
            const qsizetype end = up - 1 > 0 && text[up - 1] == u'\n' && text[up - 2] == u'\r' ? up - 2 : up - 1;
            up = lineStartAt(text, end);
            const QString line = text.sliced(up, end - up).toString();
            if (edge.match(line).hasMatch())
                return std::nullopt;
            if (const QRegularExpressionMatch m = assigned.match(line); m.hasMatch())
                call = m.captured(2);
        }
        if (call.isEmpty())
            return std::nullopt;
    }
    const basic::Tokens c(call);
    qsizetype k = 0;
    while (k < c.size() && !c.isWord(k, u"msgbox"))
        ++k;
    if (k >= c.size())
        return std::nullopt;
    const auto argument = buttonsArgument(c, k, c.size());
    if (!argument)
        return std::nullopt;
    const ButtonsValue buttons = buttonsValue(c, argument->first, argument->second, dialect);
    if (!buttons.known)
        return std::nullopt;
    std::vector<Completion> items;
    for (const int code : basic::msgBoxButtonCodes(buttons.value & MsgBoxButtonSetMask)) {
        const QString name = basic::resultName(code, dialect);
        const bool there = std::any_of(written.begin(), written.end(), [&](const QString &w) {
            return w.trimmed().compare(name, Qt::CaseInsensitive) == 0 || w.trimmed() == QString::number(code);
        });
        const basic::MsgBoxResultRow *row = basic::msgBoxResult(code);
        if (!there && row)
            items.push_back({name, u"= %1"_s.arg(code), u"the answer when %1 is clicked"_s.arg(caption(row->caption)),
                             u"1 answer"_s});
    }
    return items;
}

} // namespace

std::optional<std::vector<Completion>> msgBoxCompletions(QStringView text, qsizetype offset, basic::Dialect dialect)
{
    if (dialect == basic::Dialect::Gambas || offset < 0 || offset > text.size())
        return std::nullopt;
    if (auto answers = caseCompletions(text, offset, dialect))
        return answers;
    const std::optional<OpenCall> call = openCallAt(text, offset, {u"MsgBox"_s});
    if (!call)
        return std::nullopt;
    const bool buttons = call->named.isEmpty() ? call->argument == 1
                                               : call->named == u"buttons"_s || call->named == u"dialogtype"_s
                                                     || call->named == u"type"_s;
    if (!buttons)
        return std::nullopt;
    const basic::Tokens t(text.sliced(call->argumentBegin, offset - call->argumentBegin));
    // The name being typed is no name present yet.
    qsizetype end = t.size();
    if (end > 0 && t.isIdent(end - 1) && t.endPos(end - 1) == offset - call->argumentBegin)
        --end;
    return buttonsCompletions(buttonsValue(t, 0, end, dialect), dialect);
}

std::optional<CallSignature> msgBoxSignature(basic::Dialect dialect)
{
    CallSignature s;
    if (dialect == basic::Dialect::Gambas)
        return std::nullopt;
    if (dialect != basic::Dialect::LibreOffice) {
        s.parameters = {u"Prompt"_s, u"[Buttons As VbMsgBoxStyle = vbOKOnly]"_s, u"[Title]"_s, u"[HelpFile]"_s,
                        u"[Context]"_s};
        s.parameterDocs = {u"the message, at most about 1024 characters"_s,
                           u"the buttons, icon, default button and flags added up: vbYesNo + vbQuestion"_s,
                           u"the title bar's text; the application's name without it"_s,
                           u"the help file the Help button and F1 open; with Context"_s,
                           u"the help topic's number; with HelpFile"_s};
        s.label = u"MsgBox(%1) As VbMsgBoxResult"_s;
        s.documentation = u"Shows a message box and waits for a button: its answer is vbOK, vbCancel, vbAbort, "
                          u"vbRetry, vbIgnore, vbYes or vbNo."_s;
    } else {
        s.parameters = {u"Text As String"_s, u"[DialogType As Integer]"_s, u"[DialogTitle As String]"_s};
        s.parameterDocs = {u"the message"_s,
                           u"the buttons, icon and default button added up: MB_YESNO + MB_ICONQUESTION"_s,
                           u"the title bar's text"_s};
        s.label = u"MsgBox(%1) As Integer"_s;
        s.documentation = u"Shows a message box and waits for a button: its answer is IDOK, IDCANCEL, IDABORT, "
                          u"IDRETRY, IDIGNORE, IDYES or IDNO."_s;
    }
    s.label = s.label.arg(s.parameters.join(u", "_s));
    return s;
}

namespace {

// "Yes, No · Question · second button default" for a buttons value.
QString boxTitle(qint32 value, const basic::ButtonSetRow &set)
{
    QStringList captions;
    for (const MsgBoxResult answer : set.buttons()) {
        if (const basic::MsgBoxResultRow *row = basic::msgBoxResult(answer))
            captions << caption(row->caption);
    }
    QStringList parts{captions.join(u", "_s)};
    if (const basic::IconRow *icon = basic::msgBoxIcon(value & MsgBoxIconMask); icon && icon->value)
        parts << caption(icon->caption);
    if (const int index = basic::defaultButtonIndex(value); index > 0) {
        if (const basic::DefaultButtonRow *row = basic::defaultButton(basic::defaultButtonValue(index)))
            parts << u"%1 button default"_s.arg(row->ordinal);
    }
    for (const basic::MsgBoxFlagRow &flag : basic::msgBoxFlags()) {
        if (flag.value && (value & flag.value) && !flag.meaning.isEmpty())
            parts << flag.meaning.toString();
    }
    return parts.join(u" · "_s);
}

} // namespace

std::vector<CallLens> msgBoxLenses(QStringView text, basic::Dialect dialect)
{
    std::vector<CallLens> lenses;
    if (dialect == basic::Dialect::Gambas || text.size() > basic::MaxTextLength)
        return lenses;
    const basic::Tokens t(text);
    // A module has many boxes and few kinds of them: each title is made once.
    QHash<qint32, QString> titles;
    for (qsizetype k = 0; k < t.size(); ++k) {
        if (!t.isWord(k, u"msgbox") || (k + 1 < t.size() && (t.isPunct(k + 1, u'=') || t.isPunct(k + 1, u'.'))))
            continue;
        if (k > 0 && t.isPunct(k - 1, u'.') && !(k > 1 && (t.isWord(k - 2, u"vba") || t.isWord(k - 2, u"interaction"))))
            continue;
        const auto argument = buttonsArgument(t, k, t.size());
        if (!argument)
            continue;
        const ButtonsValue buttons = buttonsValue(t, argument->first, argument->second, dialect);
        const basic::ButtonSetRow *set = basic::buttonSet(buttons.value & MsgBoxButtonSetMask);
        if (!buttons.known || !set)
            continue;
        auto title = titles.find(buttons.value);
        if (title == titles.end())
            title = titles.insert(buttons.value, boxTitle(buttons.value, *set));
        lenses.push_back({t.pos(k), *title});
    }
    return lenses;
}
