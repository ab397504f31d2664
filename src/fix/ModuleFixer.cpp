// SPDX-License-Identifier: GPL-3.0-or-later
#include "fix/ModuleFixer.h"

#include "basic/Flags.h"
#include "basic/Module.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace fix {

namespace {

using basic::TokenKind;

constexpr qint64 ButtonSetMask = 0x000F;
constexpr qint64 IconMask = 0x00F0;
constexpr qint64 DefaultButtonMask = 0x0F00;
constexpr qint64 SystemModal = 4096;

class Fixer
{
public:
    Fixer(QStringView text, basic::Dialect dialect) : m(text), t(m.tokens()), m_dialect(dialect) {}
    ModuleFixes run();

private:
    void call(qint32 statement, qint32 k);
    void buttons(qint32 begin, qint32 end, int call);
    // A result number at token i: replaced by its name.
    void result(qint32 i, int call);
    // Case items that are numbers, from the Select's statement on.
    void caseItems(qint32 select, int call);
    void resultVariables();
    bool wholeOperand(qint32 i, qint32 end) const;
    void note(qsizetype pos, const QString &message)
    {
        const basic::LineColumn at = m.lineColumnOf(pos);
        m_fixes.notes.push_back({at.line, at.column, message});
    }
    void replace(qint32 begin, qint32 end, const QString &replacement, int call)
    {
        const qsizetype from = t.pos(begin);
        const qsizetype to = t.endPos(end - 1);
        const QString original = t.source().sliced(from, to - from).toString();
        if (original == replacement)
            return;
        m_changes.emplace(from, Change{from, to, original, replacement, 0, 0, call});
    }

    const basic::Module m;
    const basic::Tokens &t;
    basic::Dialect m_dialect;
    ModuleFixes m_fixes;
    std::map<qsizetype, Change> m_changes;
    int m_calls = 0;
    // A statement `name = MsgBox(…)`: the name, by its statement.
    QHash<qint32, QString> m_resultAssignments;
    // If and Select blocks by the statement that opens them.
    QHash<qint32, qint32> m_containers;
};

ModuleFixes Fixer::run()
{
    const auto &statements = m.statements();
    for (qint32 s = 0; s < qint32(statements.size()); ++s) {
        for (qint32 k = statements[std::size_t(s)].begin; k < statements[std::size_t(s)].end; ++k) {
            if (t.isWord(k, u"msgbox") && t.builtinCallHead(k, statements[std::size_t(s)].begin) >= 0)
                call(s, k);
        }
    }
    resultVariables();
    QSet<int> calls;
    for (auto &[from, change] : m_changes) {
        const basic::LineColumn at = m.lineColumnOf(from);
        change.line = at.line;
        change.column = at.column;
        calls.insert(change.call);
        m_fixes.changes.push_back(change);
    }
    m_fixes.calls = int(calls.size());
    std::sort(m_fixes.notes.begin(), m_fixes.notes.end(),
              [](const Note &a, const Note &b) { return std::pair(a.line, a.column) < std::pair(b.line, b.column); });
    return m_fixes;
}

void Fixer::call(qint32 statement, qint32 k)
{
    const basic::Statement &s = m.statements()[std::size_t(statement)];
    const int id = ++m_calls;
    const qint32 head = t.builtinCallHead(k, s.begin);
    const bool called = head > s.begin && t.isWord(head - 1, u"call");
    const bool isStatement = head == s.begin || (head - 1 == s.begin && called);
    qint32 argsBegin = k + 1;
    qint32 argsEnd = s.end;
    qint32 close = -1;
    if (k + 1 < s.end && t.isPunct(k + 1, u'(')) {
        close = t.closing(k + 1, s.end);
        if (close >= s.end)
            return;
        if (!(isStatement && !called && close + 1 < s.end)) {
            argsBegin = k + 2;
            argsEnd = close;
        } else {
            close = -1;
        }
    } else if (!isStatement) {
        return;
    }
    // The buttons: the second argument, or the one named Buttons.
    std::vector<std::pair<qint32, qint32>> args;
    qint32 start = argsBegin;
    int depth = 0;
    for (qint32 i = argsBegin; i <= argsEnd; ++i) {
        if (i < argsEnd && t.isPunct(i, u'('))
            ++depth;
        else if (i < argsEnd && t.isPunct(i, u')'))
            --depth;
        else if (i == argsEnd || (depth == 0 && t.isPunct(i, u','))) {
            args.emplace_back(start, i);
            start = i + 1;
        }
    }
    std::optional<std::pair<qint32, qint32>> buttonsArg;
    bool named = false;
    for (std::size_t a = 0; a < args.size(); ++a) {
        const auto [b, e] = args[a];
        if (e - b >= 2 && t.isIdent(b) && t.isPunct(b + 1, u":=")) {
            named = true;
            if (t.isWord(b, u"buttons"))
                buttonsArg = std::pair(b + 2, e);
        } else if (!named && a == 1 && e > b) {
            buttonsArg = std::pair(b, e);
        }
    }
    if (buttonsArg)
        buttons(buttonsArg->first, buttonsArg->second, id);

    if (close < 0)
        return;
    // MsgBox(…) = 6, 6 <> MsgBox(…)
    if (close + 2 < s.end + 1 && close + 2 <= s.end && (t.isPunct(close + 1, u'=') || t.isPunct(close + 1, u"<>"))
        && close + 2 < s.end && t.kind(close + 2) == TokenKind::Number && wholeOperand(close + 2, s.end))
        result(close + 2, id);
    if (head - 2 >= s.begin && (t.isPunct(head - 1, u'=') || t.isPunct(head - 1, u"<>"))
        && t.kind(head - 2) == TokenKind::Number
        && (head - 3 < s.begin || t.isWord(head - 3, u"if") || t.isWord(head - 3, u"elseif") || t.isPunct(head - 3, u'(')
            || t.isWord(head - 3, u"and") || t.isWord(head - 3, u"or") || t.isWord(head - 3, u"while")
            || t.isWord(head - 3, u"until")))
        result(head - 2, id);
    // Select Case MsgBox(…)
    if (head - 2 == s.begin && t.isWord(s.begin, u"select") && t.isWord(s.begin + 1, u"case") && close + 1 == s.end)
        caseItems(statement, id);
    // r = MsgBox(…): the name's comparisons, if nothing else sets it.
    qint32 target = s.begin;
    if (t.isWord(target, u"let"))
        ++target;
    if (target + 2 == head && t.isIdent(target) && t.isPunct(target + 1, u'=') && close + 1 == s.end)
        m_resultAssignments.insert(statement, t.text(target).toString().toLower());
}

bool Fixer::wholeOperand(qint32 i, qint32 end) const
{
    return i + 1 == end || t.isWord(i + 1, u"then") || t.isWord(i + 1, u"and") || t.isWord(i + 1, u"or")
           || t.isPunct(i + 1, u')') || t.isWord(i + 1, u"else");
}

void Fixer::buttons(qint32 begin, qint32 end, int id)
{
    try {
        const basic::FlagValue value = basic::evalFlags(t, begin, end, basic::FlagKind::MsgBox, u"the buttons"_s);
        if (!value.usedNumber)
            return;
        replace(begin, end, buttonsNames(value.value, m_dialect), id);
    } catch (const basic::Refusal &refusal) {
        note(refusal.pos, u"the buttons stay as they are: "_s + refusal.message);
    }
}

void Fixer::result(qint32 i, int id)
{
    qint64 value = 0;
    try {
        value = basic::numberLiteral(t, i);
    } catch (const basic::Refusal &) {
        return;
    }
    if (value < 1 || value > 7)
        return;
    if (const auto name = basic::nameFor(basic::NameGroup::Result, qint32(value), m_dialect))
        replace(i, i + 1, name->toString(), id);
}

void Fixer::caseItems(qint32 select, int id)
{
    // The Case statements directly inside this Select.
    const auto &statements = m.statements();
    if (m_containers.isEmpty()) {
        for (qint32 b = 0; b < qint32(m.blocks().size()); ++b) {
            if (m.blocks()[std::size_t(b)].kind == basic::BlockKind::Container)
                m_containers.insert(m.blocks()[std::size_t(b)].opening, b);
        }
    }
    const qint32 container = m_containers.value(select, -1);
    if (container < 0)
        return;
    const qint32 last = m.blocks()[std::size_t(container)].last;
    for (qint32 s = select + 1; s < last && s < qint32(statements.size()); ++s) {
        const basic::Statement &st = statements[std::size_t(s)];
        // A Case stands in its Select; its code is in a branch below.
        if (!t.isWord(st.begin, u"case") || st.block != container || t.isWord(st.begin + 1, u"else"))
            continue;
        qint32 itemBegin = st.begin + 1;
        for (qint32 i = itemBegin; i <= st.end; ++i) {
            if (i < st.end && !t.isPunct(i, u','))
                continue;
            qint32 b = itemBegin;
            if (i - b == 3 && t.isWord(b, u"is") && (t.isPunct(b + 1, u'=') || t.isPunct(b + 1, u"<>")))
                b += 2;
            if (i - b == 1 && t.kind(b) == TokenKind::Number)
                result(b, id);
            itemBegin = i + 1;
        }
    }
}

void Fixer::resultVariables()
{
    const auto &statements = m.statements();
    for (auto it = m_resultAssignments.cbegin(); it != m_resultAssignments.cend(); ++it) {
        const qint32 assigned = it.key();
        const QString &name = it.value();
        const qint32 procedure = statements[std::size_t(assigned)].procedure;
        const basic::Procedure &p = m.procedures()[std::size_t(procedure)];
        bool again = false;
        const std::vector<qint32> &changes = m.changesOf(name);
        for (auto change = std::lower_bound(changes.begin(), changes.end(), p.first);
             change != changes.end() && *change < p.last; ++change) {
            if (*change != assigned) {
                const basic::Statement &other = statements[std::size_t(*change)];
                note(t.pos(other.begin), u"%1 is set again here, so the numbers it is compared with stay as they are"_s
                                             .arg(t.text(statements[std::size_t(assigned)].begin).toString()));
                again = true;
                break;
            }
        }
        if (again)
            continue;
        // The call that gave it its value.
        int id = 0;
        const qsizetype from = t.pos(statements[std::size_t(assigned)].begin);
        const qsizetype to = t.endPos(statements[std::size_t(assigned)].end - 1);
        for (auto change = m_changes.lower_bound(from); change != m_changes.end() && change->first < to; ++change)
            id = change->second.call;
        if (id == 0)
            id = ++m_calls;
        for (qint32 s = p.first; s < p.last; ++s) {
            const basic::Statement &st = statements[std::size_t(s)];
            for (qint32 i = st.begin; i < st.end; ++i) {
                if (!t.isIdent(i) || t.text(i).compare(name, Qt::CaseInsensitive) != 0
                    || (i > st.begin && t.isPunct(i - 1, u'.')))
                    continue;
                // r = 6, r <> 7, 6 = r (not the assignment itself)
                const bool assignment = i == st.begin && s == assigned;
                if (!assignment && i + 2 <= st.end - 0 && i + 2 < st.end + 1 && i + 2 <= st.end
                    && (i + 1 < st.end && (t.isPunct(i + 1, u'=') || t.isPunct(i + 1, u"<>"))) && i + 2 < st.end
                    && t.kind(i + 2) == TokenKind::Number && wholeOperand(i + 2, st.end) && i != st.begin)
                    result(i + 2, id);
                if (i - 2 >= st.begin && (t.isPunct(i - 1, u'=') || t.isPunct(i - 1, u"<>")) && t.kind(i - 2) == TokenKind::Number
                    && i - 2 > st.begin)
                    result(i - 2, id);
                if (i == st.begin + 2 && t.isWord(st.begin, u"select") && t.isWord(st.begin + 1, u"case") && i + 1 == st.end)
                    caseItems(s, id);
            }
        }
    }
}

} // namespace

QString buttonsNames(qint64 value, basic::Dialect dialect)
{
    using basic::NameGroup;
    QStringList terms;
    const auto add = [&](NameGroup group, qint64 part) {
        if (const auto name = basic::nameFor(group, qint32(part), dialect))
            terms << name->toString();
        else
            terms << QString::number(part);
    };
    add(NameGroup::ButtonSet, value & ButtonSetMask);
    if (const qint64 icon = value & IconMask)
        add(NameGroup::Icon, icon);
    if (const qint64 defaultButton = value & DefaultButtonMask)
        add(NameGroup::DefaultButton, defaultButton);
    if (value & SystemModal)
        add(NameGroup::Modality, SystemModal);
    qint64 rest = value & ~(ButtonSetMask | IconMask | DefaultButtonMask | SystemModal);
    for (const basic::BasicName &name : basic::basicNames()) {
        if ((name.group == NameGroup::HelpButton || name.group == NameGroup::BoxOption) && name.dialect == dialect
            && (rest & name.value)) {
            terms << name.name.toString();
            rest &= ~qint64(name.value);
        }
    }
    // Bits the dialect has no name for stay a number.
    if (rest)
        terms << QString::number(rest);
    return terms.join(u" + "_s);
}

ModuleFixes fixModule(QStringView text, basic::Dialect dialect)
{
    return Fixer(text, dialect).run();
}

} // namespace fix
