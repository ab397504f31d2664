// SPDX-License-Identifier: GPL-3.0-or-later
#include "fix/ModuleFixer.h"

#include "basic/Calls.h"
#include "basic/Constants.h"
#include "basic/Flags.h"
#include "basic/Module.h"
#include "basic/Names.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace fix {

namespace {

using basic::TokenKind;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// The terms of a names text that are numbers: the parts of a value that the
// dialect has no name for.
QStringList numberTerms(const QString &names)
{
    QStringList numbers;
    for (const QString &term : names.split(u" + "_s)) {
        if (term.front().isDigit())
            numbers << term;
    }
    return numbers;
}

class Fixer
{
public:
    Fixer(QStringView text, basic::Dialect dialect, bool dialectSure)
        : m(text),
          t(m.tokens()),
          m_dialect(dialect),
          m_dialectSure(dialectSure)
    { }
    ModuleFixes run();

private:
    void call(qint32 statement, qint32 k);
    void buttons(qint32 begin, qint32 end, int call);
    // A number at token i that the box's result is compared with: named,
    // or left with a note that says why (`unsure`).
    void result(qint32 i, int call, const QString &unsure = {});
    // Case items that are numbers, from the Select's statement on.
    void caseItems(qint32 select, int call, const QString &unsure = {});
    void resultVariables();
    // Whether an operand that ends before token i ends there.
    bool operandEnds(qint32 i, const basic::Statement &s) const;
    // Whether an operand that starts at token i starts there.
    bool operandStarts(qint32 i, const basic::Statement &s) const;
    // Whether the '=' at token i assigns: the statement's target before it.
    bool isAssignment(qint32 i, const basic::Statement &s) const;
    // The module's own declaration of the name, as words for a note
    // ("a Const, line 3"), or empty when it declares none.
    QString declaredAs(QStringView name) const;
    void note(qsizetype pos, qsizetype end, const QString &message)
    {
        if (m_notes.contains(pos))
            return;
        const basic::LineColumn at = m.lineColumnOf(pos);
        m_notes.emplace(pos, Note{pos, end, at.line, at.column, message});
    }
    void noteAt(qint32 begin, qint32 end, const QString &message) { note(t.pos(begin), t.endPos(end - 1), message); }
    void replace(qint32 begin, qint32 end, QString replacement, int call, ChangeKind kind);
    // Leaves the changes that would make a line too long for the editor.
    void keepLinesShort();

    const basic::Module m;
    const basic::Tokens &t;
    basic::Dialect m_dialect;
    bool m_dialectSure;
    std::map<qsizetype, Change> m_changes;
    std::map<qsizetype, Note> m_notes;
    int m_calls = 0;
    // Statements `name = MsgBox(…)` by procedure and name, and the first
    // one's call.
    struct Assignments
    {
        std::vector<qint32> statements;
        int call = 0;
    };
    std::map<std::pair<qint32, QString>, Assignments> m_resultAssignments;
    // If and Select blocks by the statement that opens them.
    QHash<qint32, qint32> m_containers;
};

ModuleFixes Fixer::run()
{
    const auto &statements = m.statements();
    std::vector<std::pair<qint32, qint32>> calls;
    for (qint32 s = 0; s < qint32(statements.size()); ++s) {
        for (qint32 k = statements[std::size_t(s)].begin; k < statements[std::size_t(s)].end; ++k) {
            if (t.isWord(k, u"msgbox") && t.builtinCallHead(k, statements[std::size_t(s)].begin) >= 0)
                calls.emplace_back(s, k);
        }
    }
    // A module with a MsgBox of its own (or a VBA, an Interaction): its
    // calls may mean that one.
    for (const QStringView own : {QStringView(u"MsgBox"), QStringView(u"VBA"), QStringView(u"Interaction")}) {
        if (calls.empty())
            break;
        if (const basic::DeclaredName *declared = m.declaration(own)) {
            note(t.pos(declared->token), t.endPos(declared->token),
                 u"this module declares its own %1 (%2): its message box calls stay as they are"_s.arg(
                     t.text(declared->token).toString(), declaredAs(own)));
            calls.clear();
        }
    }
    // Names alone said LibreOffice: in Visual Basic code MB_ICONSTOP may be
    // another module's constant, and MB_YESNO written beside it nothing.
    for (qint32 k = 0; !m_dialectSure && !calls.empty() && k < qint32(t.size()); ++k) {
        const basic::BasicName *name = t.isIdent(k) ? basic::findName(t.text(k)) : nullptr;
        if (name && name->dialect == basic::Dialect::LibreOffice) {
            note(t.pos(k), t.endPos(k),
                 u"only names such as %1 say this module is LibreOffice Basic, and Visual Basic code may declare them "
                 "too: its message box calls stay as they are (--dialect says which BASIC it is)"_s.arg(t.text(k)));
            calls.clear();
        }
    }
    for (const auto &[s, k] : calls)
        call(s, k);
    resultVariables();
    keepLinesShort();

    ModuleFixes fixes;
    QSet<int> changedCalls;
    for (auto &[from, change] : m_changes) {
        const basic::LineColumn at = m.lineColumnOf(from);
        change.line = at.line;
        change.column = at.column;
        changedCalls.insert(change.call);
        fixes.changes.push_back(change);
    }
    fixes.calls = int(changedCalls.size());
    for (auto &[pos, note] : m_notes)
        fixes.notes.push_back(note);
    return fixes;
}

QString Fixer::declaredAs(QStringView name) const
{
    const basic::DeclaredName *declared = m.declaration(name);
    if (!declared)
        return {};
    return u"%1, line %2"_s.arg(declared->kind).arg(m.lineColumnOf(t.pos(declared->token)).line);
}

void Fixer::call(qint32 statement, qint32 k)
{
    const basic::Statement &s = m.statements()[std::size_t(statement)];
    const int id = ++m_calls;
    const qint32 head = t.builtinCallHead(k, s.begin);
    // The call as the reader reads it; one that BASIC does not compile
    // (unclosed, no parentheses in an expression, its arguments wrong) is
    // left as it is.
    const basic::CallForm form = basic::callForm(t, s, head, k, false);
    if (!form.closed() || (form.open < 0 && !form.statement))
        return;
    std::vector<basic::Parameter> params;
    try {
        params = basic::bindArguments(t, basic::splitArguments(t, form.argumentsBegin, form.argumentsEnd),
                                      basic::msgBoxParameters(), u"MsgBox");
    } catch (const basic::Refusal &refusal) {
        note(refusal.pos, refusal.pos, u"the call stays as it is: "_s + refusal.message);
        return;
    }
    const basic::Parameter &buttonsArg = params[1];
    if (buttonsArg.given())
        buttons(buttonsArg.begin, buttonsArg.end, id);
    const qint32 close = form.parenthesized ? form.close : -1;
    if (close < 0)
        return;
    const auto comparison = [&](qint32 op) { return t.isPunct(op, u'=') || t.isPunct(op, u"<>"); };
    // MsgBox(…) = 6, 6 <> MsgBox(…): the call itself is the operand.
    if (close + 2 < s.end && comparison(close + 1) && t.kind(close + 2) == TokenKind::Number
        && operandStarts(head, s) && operandEnds(close + 3, s))
        result(close + 2, id);
    if (head - 2 >= s.begin && comparison(head - 1) && !isAssignment(head - 1, s)
        && t.kind(head - 2) == TokenKind::Number && operandStarts(head - 2, s) && operandEnds(close + 1, s))
        result(head - 2, id);
    // Select Case MsgBox(…)
    if (head - 2 == s.begin && t.isWord(s.begin, u"select") && t.isWord(s.begin + 1, u"case") && close + 1 == s.end)
        caseItems(statement, id);
    // r = MsgBox(…): the name's comparisons, if nothing else sets it.
    qint32 target = s.begin;
    if (t.isWord(target, u"let"))
        ++target;
    if (target + 2 == head && t.isIdent(target) && t.isPunct(target + 1, u'=') && close + 1 == s.end) {
        Assignments &assigned = m_resultAssignments[{s.procedure, basic::nameKey(t.text(target))}];
        if (assigned.statements.empty())
            assigned.call = id;
        assigned.statements.push_back(statement);
    }
}

bool Fixer::operandEnds(qint32 i, const basic::Statement &s) const
{
    return i >= s.end || t.isWord(i, u"then") || t.isWord(i, u"and") || t.isWord(i, u"or") || t.isWord(i, u"xor")
           || t.isWord(i, u"andalso") || t.isWord(i, u"orelse") || t.isWord(i, u"else") || t.isPunct(i, u')')
           || t.isPunct(i, u',');
}

bool Fixer::isAssignment(qint32 i, const basic::Statement &s) const
{
    qint32 k = s.begin;
    if (t.isWord(k, u"let") || t.isWord(k, u"set"))
        ++k;
    if (k >= i || !t.isIdent(k))
        return false;
    t.nameChain(k, i);
    return k == i;
}

bool Fixer::operandStarts(qint32 i, const basic::Statement &s) const
{
    const qint32 p = i - 1;
    if (p < s.begin)
        return true;
    if (t.isPunct(p, u'(') || t.isPunct(p, u','))
        return true;
    if (t.isPunct(p, u'='))
        return isAssignment(p, s);
    for (const QStringView word : {QStringView(u"if"), QStringView(u"elseif"), QStringView(u"while"),
                                   QStringView(u"until"), QStringView(u"and"), QStringView(u"or"), QStringView(u"xor"),
                                   QStringView(u"not"), QStringView(u"andalso"), QStringView(u"orelse"),
                                   QStringView(u"return")}) {
        if (t.isWord(p, word))
            return true;
    }
    return false;
}

void Fixer::buttons(qint32 begin, qint32 end, int id)
{
    // Only an argument with a number of its own (not one passed to a
    // function) is one that would be named.
    bool hasNumber = false;
    std::vector<bool> inCall;
    for (qint32 i = begin; i < end && !hasNumber; ++i) {
        if (t.isPunct(i, u'('))
            inCall.push_back(i > begin && t.isIdent(i - 1));
        else if (t.isPunct(i, u')') && !inCall.empty())
            inCall.pop_back();
        else if (t.kind(i) == TokenKind::Number)
            hasNumber = std::find(inCall.begin(), inCall.end(), true) == inCall.end();
    }
    if (!hasNumber)
        return;
    basic::FlagValue value;
    try {
        value = basic::evalFlags(t, begin, end, basic::FlagKind::MsgBox, u"the buttons"_s);
    } catch (const basic::Refusal &refusal) {
        note(refusal.pos, refusal.pos, u"the buttons stay as they are: "_s + refusal.message);
        return;
    }
    if (!value.usedNumber)
        return;
    const QString stay = u"the buttons stay as they are: "_s;
    // A name of the other dialect's means nothing here (an empty variable):
    // writing this dialect's names over it would change what the box shows.
    const auto basicOf = [](basic::Dialect dialect) {
        return dialect == basic::Dialect::LibreOffice ? u"LibreOffice Basic"_s : u"Visual Basic"_s;
    };
    for (const basic::FlagTerm &term : value.terms) {
        const QStringView written = t.text(term.end - 1);
        const basic::BasicName *name = term.named ? basic::findName(written) : nullptr;
        if (name && name->dialect != m_dialect) {
            noteAt(qint32(term.begin), qint32(term.end),
                   stay
                       + u"%1 is %2's name, and this module is %3 code"_s.arg(written, basicOf(name->dialect),
                                                                              basicOf(m_dialect)));
            return;
        }
    }
    // A name the module declares means what the module says.
    for (const basic::FlagTerm &term : value.terms) {
        if (!term.named)
            continue;
        const QStringView name = t.text(term.end - 1);
        if (const QString declared = declaredAs(name); !declared.isEmpty()) {
            noteAt(qint32(term.begin), qint32(term.end),
                   stay + u"this module declares %1 (%2)"_s.arg(name.toString(), declared));
            return;
        }
    }
    const QString names = basic::buttonsNames(qint32(value.value), m_dialect);
    if (const QStringList numbers = numberTerms(names); !numbers.isEmpty()) {
        const QString visualBasic = basic::buttonsNames(qint32(value.value), basic::Dialect::VisualBasic);
        if (m_dialect == basic::Dialect::LibreOffice && numberTerms(visualBasic).isEmpty()) {
            QStringList missing;
            for (const QString &number : numbers)
                missing << basic::buttonsNames(number.toInt(), basic::Dialect::VisualBasic);
            noteAt(begin, end, stay + u"LibreOffice has no name for %1"_s.arg(missing.join(u" + "_s)));
        } else {
            noteAt(begin, end, stay + u"%1 is no flag of a message box"_s.arg(numberTerms(visualBasic).join(u" + "_s)));
        }
        return;
    }
    for (const QString &name : names.split(u" + "_s)) {
        if (const QString declared = declaredAs(name); !declared.isEmpty()) {
            noteAt(begin, end, stay + u"this module declares %1 (%2)"_s.arg(name, declared));
            return;
        }
    }
    replace(begin, end, names, id, ChangeKind::Buttons);
}

void Fixer::result(qint32 i, int id, const QString &unsure)
{
    qint64 value = 0;
    try {
        value = basic::numberLiteral(t, i);
    } catch (const basic::Refusal &) {
        return;
    }
    const std::optional<QStringView> name = value >= 1 && value <= 7
                                                ? basic::nameFor(basic::NameGroup::Result, qint32(value), m_dialect)
                                                : std::nullopt;
    const QString number = t.text(i).toString();
    if (!unsure.isEmpty()) {
        if (name)
            noteAt(i, i + 1, u"%1 stays as it is: %2"_s.arg(number, unsure));
        return;
    }
    if (!name) {
        noteAt(i, i + 1, u"%1 stays as it is: a message box gives no such result"_s.arg(number));
        return;
    }
    if (const QString declared = declaredAs(*name); !declared.isEmpty()) {
        noteAt(i, i + 1, u"%1 stays as it is: this module declares %2 (%3)"_s.arg(number, name->toString(), declared));
        return;
    }
    replace(i, i + 1, name->toString(), id, ChangeKind::Result);
}

void Fixer::replace(qint32 begin, qint32 end, QString replacement, int id, ChangeKind kind)
{
    const QStringView source = t.source();
    const qsizetype from = t.pos(begin);
    const qsizetype to = t.endPos(end - 1);
    const QString original = source.sliced(from, to - from).toString();
    if (original == replacement)
        return;
    // A name must not run into the word beside it: 6Then is no vbYesThen.
    if (to < source.size() && isWordCharacter(source[to]))
        replacement += u' ';
    if (from > 0 && isWordCharacter(source[from - 1]))
        replacement.prepend(u' ');
    m_changes.emplace(from, Change{from, to, original, replacement, 0, 0, id, kind});
}

void Fixer::caseItems(qint32 select, int id, const QString &unsure)
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
                result(b, id, unsure);
            itemBegin = i + 1;
        }
    }
}

void Fixer::resultVariables()
{
    const auto &statements = m.statements();
    for (const auto &[where, assigned] : m_resultAssignments) {
        const auto &[procedure, key] = where;
        const basic::Procedure &p = m.procedures()[std::size_t(procedure)];
        // The name as the first assignment writes it, after any Let.
        const qint32 target = statements[std::size_t(assigned.statements.front())].begin;
        const QString name = t.text(t.isWord(target, u"let") ? target + 1 : target).toString();
        // Only a variable of this procedure that nothing but a message box
        // sets holds the box's result.
        QString unsure;
        const auto local = p.locals.constFind(key);
        if (local != p.locals.cend() && local->parameter) {
            unsure = u"%1 is a parameter, which the caller sets"_s.arg(name);
        } else if (local == p.locals.cend() && m.moduleDeclarations().contains(key)) {
            const qint32 token = m.moduleDeclarations().value(key).token;
            unsure = u"%1 is declared for the whole module (line %2), and other procedures may set it"_s.arg(name).arg(
                m.lineColumnOf(t.pos(token)).line);
        } else if (!p.name.isEmpty() && basic::nameKey(p.name) == key) {
            unsure = u"%1 is the procedure's own result"_s.arg(name);
        } else {
            const std::vector<qint32> &changes = m.changesOf(key);
            for (auto change = std::lower_bound(changes.begin(), changes.end(), p.first);
                 change != changes.end() && *change < p.last; ++change) {
                if (std::find(assigned.statements.begin(), assigned.statements.end(), *change)
                    == assigned.statements.end()) {
                    unsure = u"%1 is also set on line %2"_s.arg(name).arg(m.lineOf(*change));
                    break;
                }
            }
        }
        for (qint32 s = p.first; s < p.last; ++s) {
            const basic::Statement &st = statements[std::size_t(s)];
            for (qint32 i = st.begin; i < st.end; ++i) {
                if (!t.isIdent(i) || basic::nameKey(t.text(i)) != key || (i > st.begin && t.isPunct(i - 1, u'.')))
                    continue;
                const auto comparison = [&](qint32 op) {
                    return op >= st.begin && op < st.end && (t.isPunct(op, u'=') || t.isPunct(op, u"<>"))
                           && !isAssignment(op, st);
                };
                // r = 6, r <> 7, 6 = r, where r is the whole operand.
                if (i + 2 < st.end && comparison(i + 1) && t.kind(i + 2) == TokenKind::Number && operandStarts(i, st)
                    && operandEnds(i + 3, st))
                    result(i + 2, assigned.call, unsure);
                if (i - 2 >= st.begin && comparison(i - 1) && t.kind(i - 2) == TokenKind::Number
                    && operandStarts(i - 2, st) && operandEnds(i + 1, st))
                    result(i - 2, assigned.call, unsure);
                if (i == st.begin + 2 && t.isWord(st.begin, u"select") && t.isWord(st.begin + 1, u"case")
                    && i + 1 == st.end)
                    caseItems(s, assigned.call, unsure);
            }
        }
    }
}

void Fixer::keepLinesShort()
{
    const QStringView text = t.source();
    const auto lineStart = [&](qsizetype pos) {
        while (pos > 0 && text[pos - 1] != u'\n' && text[pos - 1] != u'\r')
            --pos;
        return pos;
    };
    const auto lineEnd = [&](qsizetype pos) {
        while (pos < text.size() && text[pos] != u'\n' && text[pos] != u'\r')
            ++pos;
        return pos;
    };
    // Changes on one line (or joined into one, across a continuation):
    // the line they make, measured as it will be.
    auto it = m_changes.begin();
    while (it != m_changes.end()) {
        const qsizetype start = lineStart(it->first);
        qsizetype stop = lineEnd(it->second.to);
        qsizetype growth = 0;
        auto last = it;
        for (; last != m_changes.end() && last->first < stop; ++last) {
            stop = std::max(stop, lineEnd(last->second.to));
            growth += last->second.replacement.size() - (last->second.to - last->second.from);
        }
        const qsizetype length = stop - start + growth;
        if (growth > 0 && length > basic::MaxLineLength) {
            for (auto drop = it; drop != last;) {
                const Change &change = drop->second;
                note(change.from, change.to,
                     u"%1 stays as it is: the line would grow to %2 characters, more than the %3 the classic editor "
                     u"loads"_s.arg(QString(change.original).simplified(), QString::number(length),
                                    QString::number(basic::MaxLineLength)));
                drop = m_changes.erase(drop);
            }
        }
        it = last;
    }
}

} // namespace

ModuleFixes fixModule(QStringView text, basic::Dialect dialect, bool dialectSure)
{
    return Fixer(text, dialect, dialectSure).run();
}

} // namespace fix
