// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Evaluator.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

// What all the names' texts together may hold, in UTF-16 units: as much as
// the module's own text, and 16 Mi for a small module. `s = s & s` on every
// line is refused long before memory runs out.
constexpr qsizetype HeldTexts = 16 * 1024 * 1024;

} // namespace

QString Evaluator::keyOf(const QString &chain)
{
    return chain.contains(u'.') ? chain.toLower() : nameKey(chain);
}

Evaluator::Evaluator(const Module &module, qsizetype maxText, TextSemantics semantics)
    : m(module), t(module.tokens()), m_semantics(std::move(semantics)), m_maxText(std::min(maxText, std::max(module.tokens().source().size(), HeldTexts))),
      m_budget(m_maxText)
{
}

void Evaluator::runTo(qint32 statement)
{
    while (m_next < statement) {
        run(m_next);
        ++m_next;
    }
}

void Evaluator::enterProcedure(qint32 procedure)
{
    m_procedure = procedure;
    m_env = m_moduleConstants;
    m_controls.clear();
    m_held = 0;
}

const Declaration *Evaluator::declarationOf(const QString &key, qint32 procedure, bool *local) const
{
    const Procedure &p = m.procedures()[std::size_t(procedure)];
    if (const auto found = p.locals.constFind(key); found != p.locals.cend()) {
        if (local)
            *local = true;
        return &*found;
    }
    if (local)
        *local = false;
    const auto found = m.moduleDeclarations().constFind(key);
    return found == m.moduleDeclarations().cend() ? nullptr : &*found;
}

void Evaluator::requireBuiltin(qint32 k, qint32 end) const
{
    if (end < 0)
        end = qint32(t.size());
    for (; k < end && t.isIdent(k); k += 2) {
        if (const DeclaredName *declared = m.declaration(t.text(k))) {
            const int line = m.lineColumnOf(t.pos(declared->token)).line;
            if (declared->role == Role::Declared)
                Tokens::refuse(t.pos(k), u"%1 is declared in this module (line %2)"_s.arg(t.text(k)).arg(line));
            Tokens::refuse(t.pos(k), u"%1 is %2 on line %3 of this module, so it may not be BASIC's own"_s
                                         .arg(t.text(k).toString(), declared->kind)
                                         .arg(line));
        }
        if (k + 1 >= end || !t.isPunct(k + 1, u'.'))
            break;
    }
}

bool Evaluator::passedElsewhere(qint32 statement, const QString &key, qint32 token) const
{
    // The boxes a reader reads change nothing they are given.
    static const QSet<QString> boxes = [] {
        QSet<QString> set{u"message"_s, u"message.info"_s, u"message.warning"_s, u"message.error"_s, u"message.question"_s};
        for (const QString &box : {u"msgbox"_s, u"inputbox"_s, u"inputbox$"_s}) {
            for (const QString &qualifier : {QString(), u"vba."_s, u"interaction."_s, u"vba.interaction."_s})
                set.insert(qualifier + box);
        }
        return set;
    }();
    const qint32 end = m.statements()[std::size_t(statement)].end;
    for (qint32 head : m.callHeads(statement)) {
        while (head >= 2 && t.isPunct(head - 1, u'.') && t.isIdent(head - 2))
            head -= 2;
        qint32 k = head;
        if (boxes.contains(t.nameChain(k, end).toLower()))
            continue;
        // The call's arguments: in its parentheses, or to the statement's end.
        const qint32 first = k < end && t.isPunct(k, u'(') ? k + 1 : k;
        const qint32 last = k < end && t.isPunct(k, u'(') ? t.closing(k, end) : end;
        if (token >= first && token < last)
            continue; // what the call itself is given, read as it is given
        for (qint32 i = first; i < last; ++i) {
            if (t.isIdent(i) && !(i > first && t.isPunct(i - 1, u'.')) && nameKey(t.text(i)) == key)
                return true;
        }
    }
    return false;
}

bool Evaluator::followed(const QString &key, qint32 procedure) const
{
    bool local = false;
    const Declaration *declaration = declarationOf(key, procedure, &local);
    return declaration && !whyNotFollowed(key, *declaration, local, m.procedures()[std::size_t(procedure)]);
}

bool Evaluator::assigns(qint32 statement, const QString &key) const
{
    const Statement &s = m.statements()[std::size_t(statement)];
    qint32 k = s.begin;
    if (k < s.end && (t.isWord(k, u"let") || t.isWord(k, u"set")))
        ++k;
    if (k >= s.end || !t.isIdent(k))
        return false;
    const QString target = keyOf(t.nameChain(k, s.end));
    return target == key && k < s.end && (t.isPunct(k, u'=') || t.isPunct(k, u"&="));
}

std::optional<QString> Evaluator::whyNotFollowed(const QString &spelling, const Declaration &declaration, bool local,
                                                 const Procedure &procedure) const
{
    const int line = m.lineOf(declaration.statement);
    if (!local)
        return u"%1 is declared for the whole module (line %2), so other procedures may set it"_s.arg(spelling).arg(line);
    if (declaration.parameter)
        return u"%1 is a parameter: its text comes from the caller"_s.arg(spelling);
    if (declaration.keyword == u"static"_s)
        return u"%1 is Static (line %2): it keeps its text from one call to the next"_s.arg(spelling).arg(line);
    if (procedure.isStatic)
        return u"%1 keeps its text from one call to the next: %2 is a Static procedure"_s.arg(spelling, procedure.name);
    if (declaration.keyword != u"dim"_s && !declaration.constant)
        return u"%1 is declared with %2 (line %3); only a procedure's own Dim is followed"_s.arg(spelling, declaration.keyword)
            .arg(line);
    if (!declaration.text)
        return u"%1 is declared As %2; only a String or Variant is read as text"_s.arg(spelling, declaration.type);
    return std::nullopt;
}

void Evaluator::requireFollowed(qint32 token, qint32 at, const Declaration *declaration, bool local) const
{
    if (!declaration)
        return; // refused by the caller, with what it knows of the name
    const QString spelling = t.text(token).toString();
    const Procedure &procedure = m.procedures()[std::size_t(m.statements()[std::size_t(at)].procedure)];
    if (const std::optional<QString> why = whyNotFollowed(spelling, *declaration, local, procedure))
        Tokens::refuse(t.pos(token), *why);
    if (declaration->statement >= at)
        Tokens::refuse(t.pos(token), u"%1 is declared only after it is read, on line %2"_s.arg(spelling)
                                         .arg(m.lineOf(declaration->statement)));
}

void Evaluator::run(qint32 index)
{
    const Statement &s = m.statements()[std::size_t(index)];
    if (s.procedure != m_procedure)
        enterProcedure(s.procedure);
    qint32 i = s.begin;
    const qint32 end = s.end;
    while (i < end && (t.isWord(i, u"public") || t.isWord(i, u"private") || t.isWord(i, u"global")))
        ++i;
    if (i < end && t.isWord(i, u"const")) {
        ++i;
        while (i + 1 < end && t.isIdent(i)) {
            const QString key = nameKey(t.text(i));
            qint32 k = i + 1;
            if (k + 1 < end && t.isWord(k, u"as"))
                k += 2;
            if (k >= end || !t.isPunct(k, u'='))
                return;
            k = assign(index, key, k + 1, true);
            if (k < end && t.isPunct(k, u','))
                ++k;
            i = k;
        }
        return;
    }
    if (i < end && t.isWord(i, u"let"))
        ++i;
    // name = …, control.property = …, .property = … (in a With).
    qint32 k = i;
    QString key;
    if (k + 1 < end && t.isPunct(k, u'.') && t.isIdent(k + 1)) {
        ++k;
        const std::optional<QString> object = m.withObject(index);
        const QString chain = t.nameChain(k, end).toLower();
        key = object ? *object + u'.' + chain : QString();
    } else if (k < end && t.isIdent(k)) {
        key = keyOf(t.nameChain(k, end));
    }
    const bool appendsTo = k < end && t.isPunct(k, u"&=");
    if (key.isEmpty() || k >= end || !(t.isPunct(k, u'=') || appendsTo))
        return;
    const qsizetype dot = key.lastIndexOf(u'.');
    if (dot > 0) {
        const QString control = key.first(dot);
        const QString property = key.sliced(dot + 1);
        m_controls[control].insert(property, Setting{property, index, i, k + 1, end});
    }
    assign(index, key, k + 1, false, appendsTo ? i : -1);
}

qint32 Evaluator::assign(qint32 index, const QString &key, qint32 valueBegin, bool constant, qint32 appendTo)
{
    const Statement &s = m.statements()[std::size_t(index)];
    Binding binding;
    binding.statement = index;
    binding.constant = constant;
    const auto old = m_env.constFind(key);
    if (old != m_env.cend() && old->value)
        m_held -= old->value->size();
    const qint32 valueEnd = t.topLevel(valueBegin, s.end, [&](qint32 k) { return constant && t.isPunct(k, u','); });
    // A name no read will follow is not worked out: reads refuse it by
    // its declaration first.
    if (!constant && !key.contains(u'.') && !followed(key, s.procedure)) {
        binding.reason = u"%1 is not followed"_s.arg(key);
        m_env.insert(key, binding);
        return valueEnd;
    }
    qint32 v = valueBegin;
    if (appendTo < 0 && valueEnd - v >= 4 && t.isWord(v, u"app") && t.isPunct(v + 1, u'.') && t.isWord(v + 2, u"path")
        && t.isPunct(v + 3, u'&') && !m.declaration(u"app")) {
        binding.appPath = true;
        v += 4;
    }
    if (v >= valueEnd || !mayBeText(v, valueEnd)) {
        binding.notText = true; // the reason is written if it is ever needed
    } else {
        try {
            QString out = valueText(index, key, v, valueEnd, appendTo, binding.appPath);
            if (out.size() > m_maxText || m_held + out.size() > m_budget)
                Tokens::refuse(t.pos(v), u"the text grows longer than this program reads"_s);
            m_held += out.size();
            binding.value = std::move(out);
        } catch (const Refusal &refusal) {
            binding.reason = refusal.traced ? refusal.message
                                            : u"%1 (set on line %2): %3"_s.arg(t.text(s.begin, std::max(s.begin, valueBegin - 1)).toString().trimmed())
                                                  .arg(m.lineOf(index))
                                                  .arg(refusal.message);
        }
    }
    m_env.insert(key, binding);
    if (constant && m.procedures()[std::size_t(s.procedure)].name.isEmpty())
        m_moduleConstants.insert(key, binding);
    return valueEnd;
}

QString Evaluator::valueText(qint32 index, const QString &key, qint32 v, qint32 valueEnd, qint32 appendTo, bool &appPath)
{
    QString out;
    qint32 k = v;
    const auto namesKey = [&](qint32 from) {
        return std::any_of(t.begin() + from, t.begin() + valueEnd, [&](const Token &token) {
            return token.kind == TokenKind::Ident && nameKey(t.source().sliced(token.pos, token.len)) == key;
        });
    };
    if (appendTo >= 0 && namesKey(k))
        Tokens::refuse(t.pos(appendTo), u"%1 is appended to with itself"_s.arg(t.text(appendTo)));
    const bool appends = appendTo >= 0
                         || (t.isIdent(k) && nameKey(t.text(k)) == key && (k + 1 == valueEnd || t.isPunct(k + 1, u'&'))
                             && !namesKey(k + 1));
    if (!appends) {
        concat(k, valueEnd, index, out, u"the text"_s, 0);
        if (k < valueEnd)
            Tokens::refuse(t.pos(k), u"%1 cannot follow a text here"_s.arg(t.text(k)));
        return out;
    }
    // `s = s & "…"`: the old text is taken, not copied, so that a text
    // built over many lines costs its length once.
    const qint32 own = appendTo >= 0 ? appendTo : k;
    auto held = m_env.end();
    if (startsEmpty(index, key, own)) {
        held = m_env.insert(key, Binding{declarationOf(key, m.statements()[std::size_t(index)].procedure)->statement,
                                         QString(), QString(), false, false});
    } else {
        bool oldAppPath = false;
        lookup(key, own, index, QString(), &oldAppPath);
        appPath = appPath || oldAppPath;
        held = m_env.find(key);
    }
    out = std::move(*held->value);
    held->value.reset();
    if (appendTo >= 0)
        concat(k, valueEnd, index, out, u"the text"_s, 0);
    else
        ++k;
    while (k < valueEnd && t.isPunct(k, u'&')) {
        ++k;
        term(k, valueEnd, index, out, u"the text"_s, 0);
    }
    if (k < valueEnd)
        Tokens::refuse(t.pos(k), u"%1 cannot follow a text here"_s.arg(t.text(k)));
    return out;
}

bool Evaluator::startsEmpty(qint32 index, const QString &key, qint32 token) const
{
    // `Dim s As String` then `s = s & "…"`: a text of this procedure's own
    // starts out empty.
    bool local = false;
    const Declaration *declared = declarationOf(key, m.statements()[std::size_t(index)].procedure, &local);
    const std::vector<qint32> &changes = m.changesOf(key);
    const auto before = std::lower_bound(changes.begin(), changes.end(), index);
    return local && declared && !declared->parameter && declared->text && declared->statement < index
           && t.isWord(m.statements()[std::size_t(declared->statement)].begin, u"dim")
           && (before == changes.begin() || *(before - 1) < declared->statement)
           && !unsure(key, t.text(token).toString(), declared->statement, index);
}

std::optional<QString> Evaluator::unsure(const QString &key, const QString &spelling, qint32 changed, qint32 at) const
{
    const Statement &reader = m.statements()[std::size_t(at)];
    const Procedure &procedure = m.procedures()[std::size_t(reader.procedure)];
    const auto &blocks = m.blocks();
    const auto effective = [&](qint32 b) {
        while (blocks[std::size_t(b)].kind == BlockKind::Container || blocks[std::size_t(b)].kind == BlockKind::With)
            b = blocks[std::size_t(b)].parent;
        return b;
    };
    const qint32 target = effective(m.statements()[std::size_t(changed)].block);
    bool encloses = false;
    for (qint32 b = reader.block; b >= 0; b = blocks[std::size_t(b)].parent) {
        if (b == target) {
            encloses = true;
            break;
        }
    }
    if (!encloses) {
        const Block &block = blocks[std::size_t(target)];
        const int line = m.lineOf(block.opening);
        return block.kind == BlockKind::Loop
                   ? u"%1 is set in the loop that starts on line %2, which may run any number of times"_s.arg(spelling).arg(line)
                   : u"%1 is set on line %2 under a condition that starts on line %3, which may not hold"_s
                         .arg(spelling)
                         .arg(m.lineOf(changed))
                         .arg(line);
    }
    const std::vector<qint32> &changes = m.changesOf(key);
    for (qint32 b = reader.block; b >= 0; b = blocks[std::size_t(b)].parent) {
        const Block &block = blocks[std::size_t(b)];
        if (block.kind != BlockKind::Loop)
            continue;
        const auto later = std::lower_bound(changes.begin(), changes.end(), at);
        if (later != changes.end() && *later < block.last)
            return u"%1 changes again on line %2, in the loop that starts on line %3"_s.arg(spelling)
                .arg(m.lineOf(*later))
                .arg(m.lineOf(block.opening));
    }
    const auto label = std::upper_bound(procedure.labels.begin(), procedure.labels.end(), changed);
    if (label != procedure.labels.end() && *label <= at)
        return u"a jump to the label on line %1 may pass over where %2 is set"_s.arg(m.lineOf(*label)).arg(spelling);
    // A jump to a label above where the name is set runs that code again,
    // and a Dim does not empty the name on the way.
    for (const qint32 label : procedure.labels) {
        if (label > changed)
            break;
        const auto jump = std::lower_bound(procedure.gotos.begin(), procedure.gotos.end(), label);
        if (jump != procedure.gotos.end())
            return u"the GoTo on line %1 may jump back above where %2 is set, and set it again"_s.arg(m.lineOf(*jump)).arg(spelling);
    }
    if (procedure.jumpBack >= 0)
        return u"the code jumps back on line %1 (Resume, GoSub or Return), so %2 may hold another text"_s
            .arg(m.lineOf(procedure.jumpBack))
            .arg(spelling);
    bool local = false;
    declarationOf(key.section(u'.', 0, 0), reader.procedure, &local);
    if (!local) {
        if (m.callsBetween(changed + 1, at)) {
            const qint32 call = m.firstCallBetween(changed + 1, at);
            return u"%1 may be changed by the call on line %2"_s.arg(spelling).arg(m.lineOf(call));
        }
        for (const qint32 change : changes) {
            if (m.statements()[std::size_t(change)].procedure != reader.procedure)
                return u"%1 is also set in another procedure, on line %2"_s.arg(spelling).arg(m.lineOf(change));
        }
    }
    return std::nullopt;
}

void Evaluator::requireAccounted(const QString &key, qint32 token, qint32 procedure, const Declaration *declaration,
                                 bool local)
{
    // Every occurrence of the name where it means this variable: the
    // procedure's text for its own, the whole module for the module's.
    std::vector<std::pair<qint32, qint32>> ranges;
    if (local) {
        const Procedure &p = m.procedures()[std::size_t(procedure)];
        ranges.emplace_back(p.tokenBegin, p.tokenEnd);
    } else {
        for (const Procedure &p : m.procedures()) {
            if (!p.locals.contains(key) || p.name.isEmpty())
                ranges.emplace_back(p.tokenBegin, p.tokenEnd);
        }
    }
    const qint32 declaredAt = declaration ? declaration->token : -1;
    const QString cacheKey = key + u'/' + QString::number(local ? procedure : -1);
    auto found = m_accounted.find(cacheKey);
    if (found == m_accounted.end()) {
        qint32 use = -1;
        for (const auto &[begin, end] : ranges) {
            use = m.unfollowedUse(key, begin, end, declaredAt);
            if (use >= 0)
                break;
        }
        found = m_accounted.insert(cacheKey, use);
    }
    if (*found < 0)
        return;
    const qint32 use = *found;
    const int line = m.lineColumnOf(t.pos(use)).line;
    const QString spelling = t.text(token).toString();
    switch (m.roles()[std::size_t(use)]) {
    case Role::Declared:
        Tokens::refuse(
            t.pos(token),
            u"%1 is declared more than once (lines %2 and %3): which one holds depends on how the code is compiled"_s
                .arg(spelling)
                .arg(declaration ? m.lineColumnOf(t.pos(declaration->token)).line : line)
                .arg(line));
    case Role::Control:
        Tokens::refuse(t.pos(token), u"%1 is also a control of the form (line %2)"_s.arg(spelling).arg(line));
    default:
        Tokens::refuse(t.pos(token),
                       u"%1 is used on line %2 in a way this program does not follow"_s.arg(spelling).arg(line));
    }
}

QString Evaluator::reasonOf(const Binding &binding) const
{
    if (!binding.notText)
        return binding.reason;
    const Statement &s = m.statements()[std::size_t(binding.statement)];
    qint32 equals = s.begin;
    while (equals < s.end && !t.isPunct(equals, u'='))
        ++equals;
    return u"%1 is given something other than a fixed text on line %2"_s.arg(t.text(s.begin, equals).toString().trimmed())
        .arg(m.lineOf(binding.statement));
}

const QString &Evaluator::lookup(const QString &key, qint32 token, qint32 at, const QString &what, bool *appPath)
{
    const QString spelling = t.text(token).toString();
    const qsizetype pos = t.pos(token);
    const qint32 procedureIndex = m.statements()[std::size_t(at)].procedure;
    const Procedure &procedure = m.procedures()[std::size_t(procedureIndex)];
    const auto binding = m_env.constFind(key);
    bool local = false;
    const Declaration *declaration = declarationOf(key, procedureIndex, &local);
    requireAccounted(key, token, procedureIndex, declaration, local);
    // A Const: the procedure's own, or the module's where the procedure
    // declares nothing of the name.
    if (binding != m_env.cend() && binding->constant && (!local || declaration->constant)) {
        if (!binding->value)
            Tokens::refuse(pos, binding->reason);
        if (appPath)
            *appPath = binding->appPath;
        else if (binding->appPath)
            Tokens::refuse(pos, u"%1 starts with App.Path; %2 can only hold fixed text"_s.arg(spelling, what));
        return *binding->value;
    }
    const std::vector<qint32> &changes = m.changesOf(key);
    const auto after = std::lower_bound(changes.begin(), changes.end(), at);
    const qint32 changed = after == changes.begin() ? -1 : *(after - 1);
    if (changed < procedure.first) {
        if (!local) {
            for (const qint32 change : changes) {
                if (m.statements()[std::size_t(change)].procedure != procedureIndex)
                    Tokens::refuse(pos, u"%1 is set in another procedure, on line %2"_s.arg(spelling).arg(m.lineOf(change)));
            }
        }
        requireFollowed(token, at, declaration, local);
        if (declaration)
            Tokens::refuse(pos, u"%1 is set outside this code"_s.arg(spelling));
        Tokens::refuse(pos, u"%1 is a variable; %2 can only hold fixed text"_s.arg(spelling, what));
    }
    if (!declaration)
        Tokens::refuse(pos, u"%1 is not declared in this procedure (Dim), so code elsewhere may set it"_s.arg(spelling));
    requireFollowed(token, at, declaration, local);
    // `MsgBox F(s) & s`: a call earlier in the statement may change s.
    if (after != changes.end() && *after == at && !assigns(at, key) && passedElsewhere(at, key, token))
        Tokens::refuse(pos, u"%1 is given to a call in the same statement, which may change it"_s.arg(spelling));
    if (binding == m_env.cend() || binding->statement != changed) {
        const Statement &s = m.statements()[std::size_t(changed)];
        Tokens::refuse(pos, u"%1 is changed by `%2` on line %3, which this program cannot follow"_s
                                .arg(spelling, t.text(s.begin, std::min(s.end, s.begin + 3)).toString())
                                .arg(m.lineOf(changed)));
    }
    if (const std::optional<QString> why = unsure(key, spelling, changed, at))
        Tokens::refuse(pos, *why);
    if (!binding->value)
        throw Refusal{pos, reasonOf(*binding), true};
    if (appPath)
        *appPath = binding->appPath;
    else if (binding->appPath)
        Tokens::refuse(pos, u"%1 starts with App.Path; %2 can only hold fixed text"_s.arg(spelling, what));
    return *binding->value;
}

} // namespace basic
