// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/ModuleCheck.h"

#include "basic/Lexer.h"
#include "basic/Module.h"
#include "basic/Tokens.h"
#include "lsp/Memory.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lsp {

namespace {

using basic::TokenKind;

// A name's key (lower case, no type suffix) as a number: equal keys give
// equal numbers, and two keys that meet by chance only make a check whole.
quint64 keyHash(QStringView name)
{
    if (!name.isEmpty() && QStringView(u"$%&!#@").contains(name.back()))
        name.chop(1);
    quint64 h = 14695981039346656037ULL;
    for (const QChar c : name) {
        h ^= c.toLower().unicode();
        h *= 1099511628211ULL;
    }
    return h;
}

bool has(const std::vector<quint64> &sorted, quint64 h)
{
    return std::binary_search(sorted.begin(), sorted.end(), h);
}

void settle(std::vector<quint64> &v)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    // Kept as long as the module is open: each name once, no room to spare.
    v.shrink_to_fit();
}

// As BASIC's model limits a module's tokens.
qsizetype tokenLimit(qsizetype size)
{
    return (2 * 2 * size + 44 * 1024 * 1024) / 18;
}

// A module cut as the check in part needs it: the declarations section,
// then procedures, each with the blank and comment lines after it.
struct Segments
{
    bool ok = true;
    ModuleCheck::Facts header;
    qsizetype headerEnd = 0;
    struct Procedure
    {
        qsizetype begin = 0;
        qsizetype bodyBegin = 0;
        qsizetype bodyEnd = 0;
        ModuleCheck::Facts facts;
    };
    std::vector<Procedure> procedures;
};

class Segmenter
{
public:
    Segmenter(QStringView text, const QStringList &boxes)
        : t(text, false, std::size_t(tokenLimit(text.size()))),
          m_boxes(boxes)
    { }

    Segments run()
    {
        Segments s;
        const qint32 n = qint32(t.size());
        if (n >= tokenLimit(t.source().size()))
            s.ok = false;
        bool inProcedure = false;
        qsizetype lineStart = 0;
        for (qint32 i = 0; i < n && s.ok;) {
            qint32 e = i;
            while (e < n && t.kind(e) != TokenKind::Newline)
                ++e;
            const qsizetype next = e < n ? t.endPos(e) : t.source().size();
            qint32 code = e;
            if (code > i && t.kind(code - 1) == TokenKind::Comment)
                --code;
            ModuleCheck::Facts *facts = s.procedures.empty() ? &s.header : &s.procedures.back().facts;
            if (!inProcedure && start(i, code)) {
                s.procedures.push_back({lineStart, next, 0, {}});
                facts = &s.procedures.back().facts;
                inProcedure = true;
            } else if (inProcedure && code - i == 2 && t.isWord(i, u"end")
                       && (t.isWord(i + 1, u"sub") || t.isWord(i + 1, u"function") || t.isWord(i + 1, u"property"))) {
                s.procedures.back().bodyEnd = lineStart;
                inProcedure = false;
            } else if (inProcedure) {
                s.ok = s.ok && plainBody(i, code);
            } else if (code > i && !s.procedures.empty()) {
                s.ok = false; // code between or after procedures
            }
            if (!s.procedures.empty() && code > i && t.kind(i) == TokenKind::Directive)
                s.ok = false;
            add(*facts, i, e < n ? e + 1 : e, code);
            i = e + 1;
            lineStart = next;
        }
        if (inProcedure)
            s.ok = false;
        s.headerEnd = s.procedures.empty() ? t.source().size() : s.procedures.front().begin;
        if (s.ok)
            ownNames(s);
        settleAll(s.header);
        for (auto &p : s.procedures)
            settleAll(p.facts);
        return s;
    }

private:
    bool word(qint32 k, qint32 end, QStringView w) const { return k < end && t.isWord(k, w); }

    // [Public|Private|Friend|Static]… Sub|Function|Property Get|Let|Set name
    bool start(qint32 i, qint32 end) const
    {
        qint32 k = i;
        while (
            k < end && k < i + 3
            && (t.isWord(k, u"public") || t.isWord(k, u"private") || t.isWord(k, u"friend") || t.isWord(k, u"static")))
            ++k;
        if (word(k, end, u"property"))
            return (word(k + 1, end, u"get") || word(k + 1, end, u"let") || word(k + 1, end, u"set")) && k + 2 < end
                   && t.isIdent(k + 2);
        return (word(k, end, u"sub") || word(k, end, u"function")) && k + 1 < end && t.isIdent(k + 1);
    }

    // A line of a procedure's body that begins or ends nothing, and holds
    // nothing that BASIC's model takes for the whole module.
    bool plainBody(qint32 i, qint32 end) const
    {
        for (qint32 k = i; k < end; ++k) {
            if (t.kind(k) == TokenKind::Directive)
                return false;
            if (!t.isIdent(k) || (k > i && t.isPunct(k - 1, u'.')))
                continue;
            if ((t.isWord(k, u"sub") || t.isWord(k, u"function") || t.isWord(k, u"property"))
                && !(k > i && t.isWord(k - 1, u"exit")))
                return false;
            if (t.isWord(k, u"enum") || t.isWord(k, u"type"))
                return false;
            const bool atStart = k == i || t.isPunct(k - 1, u':');
            const QStringView w = t.text(k);
            if (atStart && w.size() >= 6 && w.size() <= 9 && w.startsWith(u"def", Qt::CaseInsensitive))
                return false;
        }
        return true;
    }

    void add(ModuleCheck::Facts &f, qint32 i, qint32 e, qint32 code)
    {
        const qint32 n = qint32(t.size());
        f.tokens += e - i;
        const auto key = [&](qint32 k) { return keyHash(t.text(k)); };
        static const QStringView declaring[] = {u"dim",      u"static",  u"const",  u"redim", u"private",
                                                u"public",   u"global",  u"friend", u"sub",   u"function",
                                                u"property", u"declare", u"event",  u"enum",  u"type"};
        bool declares = false;
        bool atStart = true;
        for (qint32 k = i; k < code; ++k) {
            const TokenKind kind = t.kind(k);
            if (kind == TokenKind::Comment || kind == TokenKind::Directive || t.isPunct(k, u':')) {
                atStart = true;
                continue;
            }
            if (kind == TokenKind::Ident) {
                const quint64 h = key(k);
                f.uses.push_back(h);
                // a.b and a.b.c too, as BASIC's model keeps their changes,
                // where they are read: a.b = … only sets a.b.
                if (!(k > i && t.isPunct(k - 1, u'.'))) {
                    qint32 last = k;
                    while (last + 2 < code && t.isPunct(last + 1, u'.') && t.isIdent(last + 2))
                        last += 2;
                    const bool target = atStart && last + 1 < code && t.isPunct(last + 1, u'=');
                    QString chain = t.text(k).toString().toLower();
                    for (qint32 j = k; j < last && !target; j += 2) {
                        chain += u'.' + t.text(j + 2).toString().toLower();
                        f.uses.push_back(keyHash(chain));
                    }
                }
                // As BASIC's model collects the module's variables and procedures.
                if (atStart && k + 1 < n && t.isPunct(k + 1, u'='))
                    f.variables.push_back(h);
                for (const QStringView w :
                     {QStringView(u"dim"), QStringView(u"const"), QStringView(u"static"), QStringView(u"redim"),
                      QStringView(u"global"), QStringView(u"private"), QStringView(u"public"), QStringView(u"let"),
                      QStringView(u"set"), QStringView(u"for"), QStringView(u"each")}) {
                    if (t.isWord(k, w) && k + 1 < n && t.isIdent(k + 1))
                        f.variables.push_back(key(k + 1));
                }
                if (k > 0 && t.isPunct(k - 1, u',') && k + 1 < n && t.isWord(k + 1, u"as"))
                    f.variables.push_back(h);
                if ((t.isWord(k, u"sub") || t.isWord(k, u"function") || t.isWord(k, u"get") || t.isWord(k, u"let")
                     || t.isWord(k, u"set"))
                    && k + 1 < n && t.isIdent(k + 1)
                    && (k + 2 >= n || t.isPunct(k + 2, u'(') || t.kind(k + 2) == TokenKind::Newline)) {
                    if (!(t.isWord(k, u"let") || t.isWord(k, u"set")) || (k > 0 && t.isWord(k - 1, u"property")))
                        f.procedures.push_back(key(k + 1));
                }
                if (!(k > i && t.isPunct(k - 1, u'.'))) {
                    for (const QStringView w : declaring)
                        declares = declares || t.isWord(k, w);
                }
                if (atStart && k + 1 < code && t.isPunct(k + 1, u':') && !t.isWord(k, u"else"))
                    declared(f, k);
                if (isBox(k))
                    buttons(f, k, code);
            }
            atStart = false;
        }
        if (declares) {
            for (qint32 k = i; k < code; ++k) {
                if (t.isIdent(k))
                    declared(f, k);
            }
        }
    }

    // What BASIC's model takes as the module's own names: every occurrence
    // that declares or sets a name, or that it cannot tell, in the unit that
    // holds it. Where that is a box's word or a constant's name, no part of
    // the module stands for the whole.
    void ownNames(Segments &s)
    {
        try {
            const basic::Module model(t.source());
            const auto factsAt = [&](qsizetype pos) -> ModuleCheck::Facts & {
                const auto after =
                    std::upper_bound(s.procedures.begin(), s.procedures.end(), pos,
                                     [](qsizetype at, const Segments::Procedure &p) { return at < p.begin; });
                return after == s.procedures.begin() ? s.header : (after - 1)->facts;
            };
            for (const basic::Procedure &procedure : model.procedures()) {
                if (procedure.name.isEmpty() || procedure.tokenBegin >= qint32(t.size()))
                    continue;
                ModuleCheck::Facts &facts = factsAt(t.pos(procedure.tokenBegin));
                for (auto local = procedure.locals.cbegin(); local != procedure.locals.cend(); ++local) {
                    if (!basic::isBuiltinName(local.key()))
                        facts.locals.push_back(keyHash(local.key()));
                }
                settle(facts.locals);
            }
            const std::vector<basic::Role> &roles = model.roles();
            for (qint32 k = 0; k < qint32(roles.size()) && k < qint32(t.size()); ++k) {
                const basic::Role role = roles[std::size_t(k)];
                if (role != basic::Role::Declared && role != basic::Role::Assigned && role != basic::Role::Control
                    && role != basic::Role::Unknown)
                    continue;
                ModuleCheck::Facts &facts = factsAt(t.pos(k));
                declared(facts, k);
                facts.changed.push_back(keyHash(t.text(k)));
            }
            for (auto name = model.changes().cbegin(); name != model.changes().cend(); ++name) {
                // BASIC's own function, passed on where the model cannot
                // tell a call from an array, is no variable that changes
                // (declared or set as one, its role says so).
                if (basic::isBuiltinName(name.key()))
                    continue;
                for (const qint32 statement : name.value()) {
                    const qint32 first = model.statements()[std::size_t(statement)].begin;
                    if (first < qint32(t.size()))
                        factsAt(t.pos(first)).changed.push_back(keyHash(name.key()));
                }
            }
        } catch (const basic::Refusal &) {
            s.ok = false;
        }
    }

    void declared(ModuleCheck::Facts &f, qint32 k)
    {
        f.declared.push_back(keyHash(t.text(k)));
        const QStringView w = t.text(k);
        if (isBox(k) || w.compare(u"vba", Qt::CaseInsensitive) == 0
            || w.compare(u"interaction", Qt::CaseInsensitive) == 0 || basic::findName(w))
            ++f.specialDeclarations;
    }

    // The names after a message box's first argument on its line: more than
    // its buttons, never fewer.
    void buttons(ModuleCheck::Facts &f, qint32 k, qint32 end)
    {
        bool named = false;
        for (qint32 j = k + 1; j < end; ++j)
            named = named || t.isPunct(j, u":=");
        int depth = 0;
        bool firstEnded = false;
        for (qint32 j = k + 1; j < end; ++j) {
            if (t.isPunct(j, u'('))
                ++depth;
            else if (t.isPunct(j, u')'))
                --depth;
            else if (t.isPunct(j, u',') && depth <= 1)
                firstEnded = true;
            else if (t.isIdent(j) && (firstEnded || named))
                f.buttons.push_back(keyHash(t.text(j)));
        }
    }

    static void settleAll(ModuleCheck::Facts &f)
    {
        settle(f.uses);
        settle(f.variables);
        settle(f.procedures);
        settle(f.declared);
        settle(f.buttons);
        settle(f.locals);
        settle(f.changed);
    }

    bool isBox(qint32 k) const
    {
        for (const QString &word : m_boxes) {
            if (t.isWord(k, word))
                return true;
        }
        return false;
    }

    const basic::Tokens t;
    const QStringList &m_boxes;
};

void shiftSymbol(Symbol &symbol, qsizetype by)
{
    symbol.begin += by;
    symbol.end += by;
    symbol.nameBegin += by;
    symbol.nameEnd += by;
    for (Symbol &child : symbol.children)
        shiftSymbol(child, by);
}

int lineBreaks(QStringView text)
{
    int lines = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
            ++lines;
    }
    return lines;
}

fix::ModuleFixes fixesOf(QStringView text, basic::Dialect dialect, bool dialectSure, bool *refused = nullptr)
{
    try {
        return fix::fixModule(text, dialect, dialectSure);
    } catch (const basic::Refusal &refusal) {
        if (refused)
            *refused = true;
        fix::ModuleFixes fixes;
        fixes.notes.push_back({refusal.pos, refusal.pos, 0, 0, refusal.message});
        return fixes;
    }
}

// Whether a note names a line, which moves when lines come or go above it.
bool namesALine(const fix::Note &note)
{
    static const QRegularExpression line(u"\\bline \\d"_s);
    return line.match(note.message).hasMatch();
}

} // namespace

void ModuleCheck::set(fix::ModuleFixes fixes)
{
    m_outline.reset();
    m_fixes = std::move(fixes);
    m_incremental = false;
    m_units.clear();
}

void ModuleCheck::checkAll(QStringView text, basic::Dialect dialect, const QStringList &boxes, bool dialectSure)
{
    m_dialect = dialect;
    m_dialectSure = dialectSure;
    m_boxes = boxes;
    full(text);
}

void ModuleCheck::share(fix::Change &change)
{
    // A module's numbers and names are few, its changes many: each text is
    // held once.
    for (QString *text : {&change.original, &change.replacement}) {
        const auto held = m_texts.constFind(*text);
        if (held != m_texts.cend())
            *text = *held;
        else if (m_texts.size() < 4096)
            m_texts.insert(*text);
    }
}

bool ModuleCheck::checkUnit(QStringView text, const Unit &unit, QStringView unitText, Found &found)
{
    const QStringView header = text.first(m_header.end);
    // Without the lines above first; again on its own lines where a note
    // names a line.
    for (const bool onItsLines : {false, true}) {
        const int padding = onItsLines ? unit.line - m_header.lines : 0;
        QString local;
        local.reserve(header.size() + padding + unitText.size());
        local += header;
        local += QString(padding, u'\n');
        const qsizetype localStart = local.size();
        local += unitText;
        bool refused = false;
        fix::ModuleFixes fixes = fixesOf(local, m_dialect, m_dialectSure, &refused);
        if (refused)
            return false;
        // The declarations section's own findings are what they were.
        const auto changes = std::lower_bound(fixes.changes.begin(), fixes.changes.end(), localStart,
                                              [](const fix::Change &c, qsizetype pos) { return c.from < pos; });
        const auto notes = std::lower_bound(fixes.notes.begin(), fixes.notes.end(), localStart,
                                            [](const fix::Note &n, qsizetype pos) { return n.pos < pos; });
        if (changes - fixes.changes.begin() != qsizetype(m_headerFixes.changes.size())
            || notes - fixes.notes.begin() != qsizetype(m_headerFixes.notes.size()))
            return false;
        for (std::size_t i = 0; i < m_headerFixes.changes.size(); ++i) {
            const fix::Change &a = m_headerFixes.changes[i];
            const fix::Change &b = fixes.changes[i];
            if (a.from != b.from || a.to != b.to || a.replacement != b.replacement || a.line != b.line)
                return false;
        }
        for (std::size_t i = 0; i < m_headerFixes.notes.size(); ++i) {
            if (m_headerFixes.notes[i].pos != fixes.notes[i].pos
                || m_headerFixes.notes[i].message != fixes.notes[i].message)
                return false;
        }
        if (!onItsLines && std::any_of(notes, fixes.notes.end(), namesALine))
            continue;
        const qsizetype shift = unit.begin - localStart;
        const int lines = onItsLines ? 0 : unit.line - m_header.lines;
        QSet<int> calls;
        int most = 0;
        found.changes.assign(std::make_move_iterator(changes), std::make_move_iterator(fixes.changes.end()));
        for (fix::Change &c : found.changes) {
            share(c);
            c.from += shift;
            c.to += shift;
            c.line += lines;
            calls.insert(c.call);
            most = std::max(most, c.call);
            c.call += m_nextCall;
        }
        found.notes.assign(std::make_move_iterator(notes), std::make_move_iterator(fixes.notes.end()));
        for (fix::Note &n : found.notes) {
            n.pos += shift;
            n.end += shift;
            n.line += lines;
        }
        m_nextCall += most + 1;
        found.calls = int(calls.size());
        return true;
    }
    return false;
}

void ModuleCheck::checkWhole(QStringView text)
{
    m_outline.reset();
    m_size = text.size();
    m_units.clear();
    m_uses.clear();
    m_variables.clear();
    m_procedures.clear();
    m_declared.clear();
    m_buttons.clear();
    m_changed.clear();
    m_specialDeclarations = 0;
    m_tokens = 0;
    m_nextCall = 0;
    m_incremental = false;
    const auto whole = [&] {
        bool refused = false;
        m_fixes = fixesOf(text, m_dialect, m_dialectSure, &refused);
        for (fix::Change &change : m_fixes.changes)
            share(change);
        if (refused)
            m_units.clear();
        m_headerFixes = {};
        for (const fix::Change &change : m_fixes.changes) {
            if (change.from >= m_header.end)
                break;
            m_headerFixes.changes.push_back(change);
        }
        for (const fix::Note &note : m_fixes.notes) {
            if (note.pos >= m_header.end)
                break;
            m_headerFixes.notes.push_back(note);
        }
        // Each call's changes lie in one unit: its calls are counted there.
        int most = 0;
        std::size_t u = 0;
        QSet<int> seen;
        for (const fix::Change &change : m_fixes.changes) {
            most = std::max(most, change.call);
            while (u < m_units.size() && change.from >= m_units[u].end) {
                m_units[u].calls = int(seen.size());
                seen.clear();
                ++u;
            }
            if (u < m_units.size() && change.from >= m_units[u].begin)
                seen.insert(change.call);
        }
        if (u < m_units.size())
            m_units[u].calls = int(seen.size());
        m_nextCall = most + 1;
        m_incremental = !m_units.empty();
    };
    // A dialect only names told leaves every call with one note for the
    // module: no part stands for it.
    if (m_dialect == basic::Dialect::Gambas || !m_dialectSure) {
        whole();
        return;
    }
    Segments s = Segmenter(text, m_boxes).run();
    if (!s.ok || s.procedures.empty()) {
        whole();
        return;
    }
    m_header = {0, s.headerEnd, 0, 0, 0, lineBreaks(text.first(s.headerEnd)), 0, std::move(s.header)};
    count(m_header.facts, 1);
    int line = m_header.lines;
    m_units.reserve(s.procedures.size());
    for (std::size_t i = 0; i < s.procedures.size(); ++i) {
        auto &p = s.procedures[i];
        const qsizetype end = i + 1 < s.procedures.size() ? s.procedures[i + 1].begin : text.size();
        Unit unit{
            p.begin,           end, p.bodyBegin, p.bodyEnd, line, lineBreaks(text.sliced(p.begin, end - p.begin)), 0,
            std::move(p.facts)};
        line += unit.lines;
        m_specialDeclarations += unit.facts.specialDeclarations;
        count(unit.facts, 1);
        m_units.push_back(std::move(unit));
    }
    // Each procedure on its own with the declarations section, where no
    // name crosses (the section is read once for each, so it must be small).
    bool apart = m_header.end <= 64 * 1024 && m_tokens < tokenLimit(text.size()) && !headerCrosses();
    for (std::size_t i = 0; apart && i < m_units.size(); ++i)
        apart = !crosses(m_units[i].facts, m_units[i].facts);
    if (apart) {
        bool refused = false;
        m_headerFixes = fixesOf(text.first(m_header.end), m_dialect, m_dialectSure, &refused);
        apart = !refused;
    }
    fix::ModuleFixes fixes;
    if (apart) {
        fixes.changes = m_headerFixes.changes;
        fixes.notes = m_headerFixes.notes;
        fixes.calls = m_headerFixes.calls;
        int most = 0;
        for (fix::Change &change : fixes.changes) {
            share(change);
            most = std::max(most, change.call);
        }
        m_nextCall = most + 1;
        Found found;
        for (std::size_t i = 0; apart && i < m_units.size(); ++i) {
            Unit &unit = m_units[i];
            apart = checkUnit(text, unit, text.sliced(unit.begin, unit.end - unit.begin), found);
            fixes.changes.insert(fixes.changes.end(), std::make_move_iterator(found.changes.begin()),
                                 std::make_move_iterator(found.changes.end()));
            fixes.notes.insert(fixes.notes.end(), std::make_move_iterator(found.notes.begin()),
                               std::make_move_iterator(found.notes.end()));
            unit.calls = found.calls;
            fixes.calls += found.calls;
        }
    }
    if (!apart) {
        whole();
        return;
    }
    m_fixes = std::move(fixes);
    m_fixes.changes.shrink_to_fit();
    m_fixes.notes.shrink_to_fit();
    m_incremental = true;
}

void ModuleCheck::full(QStringView text)
{
    checkWhole(text);
    giveBackFreed(text.size());
}

void ModuleCheck::count(const Facts &facts, int sign)
{
    for (const auto &[list, counts] :
         {std::pair{&facts.uses, &m_uses}, std::pair{&facts.variables, &m_variables},
          std::pair{&facts.procedures, &m_procedures}, std::pair{&facts.declared, &m_declared},
          std::pair{&facts.buttons, &m_buttons}, std::pair{&facts.changed, &m_changed}}) {
        for (const quint64 h : *list) {
            int &c = (*counts)[h];
            c += sign;
            if (c == 0)
                counts->remove(h);
        }
    }
    m_tokens += sign * facts.tokens;
}

bool ModuleCheck::headerCrosses() const
{
    // The declarations section checked alone reads of the procedures'
    // variables, procedures and declarations what it reads in the module.
    const Facts &header = m_header.facts;
    for (const quint64 w : header.uses) {
        if ((m_variables.value(w) > 0 && !has(header.variables, w))
            || (m_procedures.value(w) > 0 && !has(header.procedures, w)))
            return true;
    }
    for (const quint64 w : header.buttons) {
        if (m_declared.value(w) - has(header.declared, w) > 0)
            return true;
    }
    return m_specialDeclarations > 0;
}

bool ModuleCheck::crosses(const Facts &before, const Facts &after) const
{
    const Facts &header = m_header.facts;
    // What the procedure reads of the module's variables and procedures is
    // the same with the declarations section alone…
    for (const quint64 w : after.uses) {
        for (const auto &[counts, mine, inHeader, now] :
             {std::tuple{&m_variables, &before.variables, &header.variables, &after.variables},
              std::tuple{&m_procedures, &before.procedures, &header.procedures, &after.procedures}}) {
            const int elsewhere = counts->value(w) - has(*mine, w) - has(*inHeader, w);
            if (elsewhere > 0 && !has(*inHeader, w) && !has(*now, w))
                return true;
        }
    }
    // …and what it makes a variable or a procedure, or no longer, no other
    // part of the module reads.
    for (const auto &[counts, was, is] : {std::tuple{&m_variables, &before.variables, &after.variables},
                                          std::tuple{&m_procedures, &before.procedures, &after.procedures}}) {
        for (const auto *list : {was, is}) {
            for (const quint64 w : *list) {
                const int total = counts->value(w);
                const bool then = total > 0;
                const bool now = total - has(*was, w) + has(*is, w) > 0;
                if (then != now && m_uses.value(w) - has(before.uses, w) > 0)
                    return true;
            }
        }
    }
    // The declarations that a message box's check looks up anywhere in the
    // module: of the box's word and the constants' names, and of the names in its
    // buttons. One there before the change held back every procedure's calls,
    // and one there after holds them back.
    if (m_specialDeclarations > 0 || after.specialDeclarations > 0)
        return true;
    for (const quint64 w : after.buttons) {
        if (m_declared.value(w) - has(before.declared, w) - has(header.declared, w) > 0)
            return true;
    }
    for (const auto *list : {&before.declared, &after.declared}) {
        for (const quint64 w : *list) {
            if (m_buttons.value(w) - has(before.buttons, w) > 0)
                return true;
        }
    }
    return false;
}

const std::vector<Symbol> &ModuleCheck::outline(QStringView text)
{
    if (!m_outline || text.size() != m_size)
        m_outline = moduleSymbols(text, false);
    return *m_outline;
}

std::optional<ModuleCheck::Part> ModuleCheck::readablePart(QStringView text, qsizetype offset,
                                                           const QStringList &moduleWide) const
{
    // The declarations read alone as in the module, first.
    if (!m_incremental || text.size() != m_size || m_specialDeclarations > 0 || headerCrosses())
        return std::nullopt;
    if (std::any_of(moduleWide.begin(), moduleWide.end(),
                    [&](const QString &word) { return m_uses.contains(keyHash(word)); }))
        return std::nullopt;
    const auto found = std::upper_bound(m_units.begin(), m_units.end(), offset,
                                        [](qsizetype at, const Unit &u) { return at < u.begin; });
    if (found == m_units.begin())
        return std::nullopt;
    const Unit &unit = *(found - 1);
    if (offset < unit.bodyBegin || offset >= unit.bodyEnd)
        return std::nullopt;
    const Facts &mine = unit.facts;
    const Facts &header = m_header.facts;
    const auto elsewhere = [&](const QHash<quint64, int> &counts, const std::vector<quint64> &own,
                               const std::vector<quint64> &inHeader,
                               quint64 w) { return counts.value(w) - has(own, w) - has(inHeader, w) > 0; };
    for (const quint64 w : mine.uses) {
        // Its own locals are its own; any other name, another procedure
        // may declare (as its own too: BASIC's model looks a name up in the
        // whole module), change or define.
        if (has(mine.locals, w))
            continue;
        if (elsewhere(m_changed, mine.changed, header.changed, w)
            || elsewhere(m_procedures, mine.procedures, header.procedures, w))
            return std::nullopt;
    }
    Part part;
    const QStringView sectionText = text.first(m_header.end);
    const qsizetype padding = unit.line - m_header.lines;
    part.text.reserve(sectionText.size() + padding + unit.end - unit.begin);
    part.text += sectionText;
    part.text += QString(padding, u'\n');
    part.shift = unit.begin - part.text.size();
    part.text += text.sliced(unit.begin, unit.end - unit.begin);
    return part;
}

bool ModuleCheck::update(QStringView text, qsizetype from, qsizetype to, qsizetype length)
{
    const qsizetype delta = length - (to - from);
    const auto whole = [&] {
        full(text);
        return false;
    };
    if (!m_incremental || text.size() != m_size + delta)
        return whole();
    const auto found = std::upper_bound(m_units.begin(), m_units.end(), from,
                                        [](qsizetype at, const Unit &u) { return at < u.begin; });
    if (found == m_units.begin())
        return whole();
    Unit &p = *(found - 1);
    if (from < p.bodyBegin || to > p.bodyEnd)
        return whole();
    const QStringView unitText = text.sliced(p.begin, p.end + delta - p.begin);
    Segments s = Segmenter(unitText, m_boxes).run();
    if (!s.ok || s.headerEnd != 0 || s.procedures.size() != 1)
        return whole();
    Facts &after = s.procedures.front().facts;
    if (m_tokens - p.facts.tokens + after.tokens >= tokenLimit(text.size()) || crosses(p.facts, after))
        return whole();
    const int lines = lineBreaks(unitText);
    const int lineDelta = lines - p.lines;
    auto &changes = m_fixes.changes;
    auto &notes = m_fixes.notes;
    const auto firstChange = [&](qsizetype at) {
        return std::lower_bound(changes.begin(), changes.end(), at,
                                [](const fix::Change &c, qsizetype pos) { return c.from < pos; })
               - changes.begin();
    };
    const auto firstNote = [&](qsizetype at) {
        return std::lower_bound(notes.begin(), notes.end(), at,
                                [](const fix::Note &n, qsizetype pos) { return n.pos < pos; })
               - notes.begin();
    };
    const qsizetype c0 = firstChange(p.begin), c1 = firstChange(p.end);
    const qsizetype n0 = firstNote(p.begin), n1 = firstNote(p.end);
    if (lineDelta != 0) {
        for (qsizetype i = 0; i < qsizetype(notes.size()); ++i) {
            if ((i < n0 || i >= n1) && namesALine(notes[std::size_t(i)]))
                return whole();
        }
    }
    Found mine;
    if (!checkUnit(text, p, unitText, mine))
        return whole();

    // In: the procedure's findings; the rest moved by what the edit added.
    for (auto i = changes.begin() + c1; i != changes.end(); ++i) {
        i->from += delta;
        i->to += delta;
        i->line += lineDelta;
    }
    for (auto i = notes.begin() + n1; i != notes.end(); ++i) {
        i->pos += delta;
        i->end += delta;
        i->line += lineDelta;
    }
    changes.erase(changes.begin() + c0, changes.begin() + c1);
    changes.insert(changes.begin() + c0, std::make_move_iterator(mine.changes.begin()),
                   std::make_move_iterator(mine.changes.end()));
    notes.erase(notes.begin() + n0, notes.begin() + n1);
    notes.insert(notes.begin() + n0, std::make_move_iterator(mine.notes.begin()),
                 std::make_move_iterator(mine.notes.end()));
    m_fixes.calls += mine.calls - p.calls;

    if (m_outline) {
        // The procedure's own entries anew; those after it moved.
        std::vector<Symbol> &outline = *m_outline;
        const auto inside = [&](const Symbol &symbol) { return symbol.begin >= p.begin && symbol.begin < p.end; };
        const auto first = std::find_if(outline.begin(), outline.end(), inside);
        const auto last = std::find_if_not(first, outline.end(), inside);
        for (auto i = last; i != outline.end(); ++i)
            shiftSymbol(*i, delta);
        try {
            std::vector<Symbol> mine = moduleSymbols(unitText, false);
            for (Symbol &symbol : mine)
                shiftSymbol(symbol, p.begin);
            outline.insert(outline.erase(first, last), std::make_move_iterator(mine.begin()),
                           std::make_move_iterator(mine.end()));
        } catch (const basic::Refusal &) {
            m_outline.reset();
        }
    }

    // The module's units and names as they now are.
    count(p.facts, -1);
    m_specialDeclarations += after.specialDeclarations - p.facts.specialDeclarations;
    count(after, 1);
    p.facts = std::move(after);
    p.bodyEnd = p.begin + s.procedures.front().bodyEnd;
    p.end += delta;
    p.lines = lines;
    p.calls = mine.calls;
    for (auto i = found; i != m_units.end(); ++i) {
        i->begin += delta;
        i->end += delta;
        i->bodyBegin += delta;
        i->bodyEnd += delta;
        i->line += lineDelta;
    }
    m_size = text.size();
    return true;
}

} // namespace lsp
