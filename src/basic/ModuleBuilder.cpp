// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/ModuleBuilder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

QString defType(QStringView word)
{
    static const QHash<QString, QString> types{
        {u"defbool"_s, u"Boolean"_s}, {u"defbyte"_s, u"Byte"_s},       {u"defint"_s, u"Integer"_s},
        {u"deflng"_s, u"Long"_s},     {u"deflnglng"_s, u"LongLong"_s}, {u"deflngptr"_s, u"LongPtr"_s},
        {u"defcur"_s, u"Currency"_s}, {u"defsng"_s, u"Single"_s},      {u"defdbl"_s, u"Double"_s},
        {u"defdec"_s, u"Decimal"_s},  {u"defdate"_s, u"Date"_s},       {u"defstr"_s, u"String"_s},
        {u"defobj"_s, u"Object"_s},   {u"defvar"_s, u"Variant"_s},
    };
    if (word.size() < 6 || word.size() > 9 || !word.startsWith(u"def", Qt::CaseInsensitive))
        return {};
    return types.value(lowerCase(word));
}

void ModuleBuilder::run()
{
    m.m_roles.resize(std::size_t(t.size()), Role::None);
    for (qint32 k = 0; k < qint32(t.size()); ++k) {
        if (t.isIdent(k))
            m.m_roles[std::size_t(k)] = Role::Unknown;
    }
    collectNames();
    startProcedure(QString(), 0);
    const qint32 n = qint32(t.size());
    qint32 i = 0;
    while (i < n) {
        qint32 end = i;
        while (end < n && t.kind(end) != TokenKind::Newline)
            ++end;
        line(i, end);
        i = end + 1;
    }
    endProcedure();
    rolesLeftOut();
    finishRoles();
    m.m_callsBefore.assign(m.m_statements.size() + 1, 0);
    for (std::size_t k = 0; k < m.m_statements.size(); ++k)
        m.m_callsBefore[k + 1] = m.m_callsBefore[k] + (m.m_statements[k].changesCalls ? 1 : 0);
}

void ModuleBuilder::collectNames()
{
    const qint32 n = qint32(t.size());
    bool atStart = true;
    for (qint32 i = 0; i < n; ++i) {
        const TokenKind kind = t.kind(i);
        if (kind == TokenKind::Newline || kind == TokenKind::Comment || kind == TokenKind::Directive
            || t.isPunct(i, u':')) {
            atStart = true;
            continue;
        }
        if (kind == TokenKind::Ident && atStart) {
            if (const QString type = defType(t.text(i)); !type.isEmpty())
                collectDefTypes(i, type);
        }
        if (kind == TokenKind::Ident) {
            if ((t.isWord(i, u"sub") || t.isWord(i, u"function") || t.isWord(i, u"get") || t.isWord(i, u"let")
                 || t.isWord(i, u"set"))
                && i + 1 < n && t.isIdent(i + 1) && (i + 2 >= n || t.isPunct(i + 2, u'(') || t.kind(i + 2) == TokenKind::Newline)) {
                if (!(t.isWord(i, u"let") || t.isWord(i, u"set")) || (i > 0 && t.isWord(i - 1, u"property")))
                    m_procedureNames.insert(nameKey(t.text(i + 1)));
            }
            if (atStart && i + 1 < n && t.isPunct(i + 1, u'='))
                m_variables.insert(nameKey(t.text(i)));
            if ((t.isWord(i, u"dim") || t.isWord(i, u"const") || t.isWord(i, u"static") || t.isWord(i, u"redim")
                 || t.isWord(i, u"global") || t.isWord(i, u"private") || t.isWord(i, u"public")
                 || t.isWord(i, u"let") || t.isWord(i, u"set") || t.isWord(i, u"for") || t.isWord(i, u"each"))
                && i + 1 < n && t.isIdent(i + 1))
                m_variables.insert(nameKey(t.text(i + 1)));
            if (i > 0 && t.isPunct(i - 1, u',') && i + 1 < n && t.isWord(i + 1, u"as"))
                m_variables.insert(nameKey(t.text(i)));
        }
        atStart = false;
    }
}

void ModuleBuilder::collectDefTypes(qint32 i, const QString &type)
{
    const qint32 n = qint32(t.size());
    m.m_hasDefType = true;
    // DefInt A-C, X: letters and ranges of letters.
    qint32 k = i + 1;
    while (k < n && t.kind(k) != TokenKind::Newline && !t.isPunct(k, u':')) {
        const auto letter = [&](qint32 at) {
            const QStringView w = t.text(at);
            return t.isIdent(at) && w.size() == 1 ? int((w[0].unicode() | 0x20) - u'a') : -1;
        };
        const int from = letter(k);
        int to = from;
        if (from >= 0 && k + 2 < n && t.isPunct(k + 1, u'-') && letter(k + 2) >= 0) {
            to = letter(k + 2);
            k += 2;
        }
        for (int c = std::min(from, to); from >= 0 && c <= std::max(from, to) && c < 26; ++c)
            m.m_defTypes[c] = type;
        ++k;
    }
}

qint32 ModuleBuilder::addStatement(qint32 begin, qint32 end)
{
    m.m_statements.push_back({begin, end, current(), m_procedure, false});
    return qint32(m.m_statements.size() - 1);
}

qint32 ModuleBuilder::openBlock(BlockKind kind, qint32 opening)
{
    m.m_blocks.push_back({current(), kind, opening, -1});
    const qint32 index = qint32(m.m_blocks.size() - 1);
    if (m_stack.size() == 1)
        m_pendingBlocks.push_back(index);
    m_stack.push_back(index);
    return index;
}

void ModuleBuilder::closeBlock()
{
    // The procedure's own block ends with the procedure.
    if (m_stack.size() <= 1)
        return;
    m.m_blocks[std::size_t(current())].last = qint32(m.m_statements.size());
    if (!m_withBlocks.empty() && m_withBlocks.back() == current()) {
        m_withBlocks.pop_back();
        m_withs.pop_back();
    }
    m_stack.pop_back();
}

void ModuleBuilder::unmatched(BlockKind kind)
{
    // Everything since the procedure began (or since the last such
    // statement) goes into a block that ends here.
    const qint32 procedureBlock = m_stack.front();
    while (m_stack.size() > 1)
        closeBlock();
    m.m_blocks.push_back({procedureBlock, kind, m_barrierStart, qint32(m.m_statements.size())});
    const qint32 synthetic = qint32(m.m_blocks.size() - 1);
    for (const qint32 block : m_pendingBlocks)
        m.m_blocks[std::size_t(block)].parent = synthetic;
    for (std::size_t k = std::size_t(m_barrierStart); k < m.m_statements.size(); ++k) {
        if (m.m_statements[k].block == procedureBlock)
            m.m_statements[k].block = synthetic;
    }
    m_pendingBlocks = {synthetic};
    m_barrierStart = qint32(m.m_statements.size());
}

void ModuleBuilder::startProcedure(const QString &name, qint32 tokenBegin)
{
    if (!m.m_procedures.empty())
        m.m_procedures.back().tokenEnd = tokenBegin;
    Procedure procedure;
    procedure.name = name;
    procedure.tokenBegin = tokenBegin;
    procedure.tokenEnd = qint32(t.size());
    procedure.first = qint32(m.m_statements.size());
    m.m_blocks.push_back({-1, BlockKind::Procedure, procedure.first, -1});
    procedure.block = qint32(m.m_blocks.size() - 1);
    m.m_procedures.push_back(procedure);
    m_procedure = qint32(m.m_procedures.size() - 1);
    m_stack = {procedure.block};
    m_barrierStart = procedure.first;
    m_pendingBlocks.clear();
    m_withs.clear();
    m_withBlocks.clear();
}

void ModuleBuilder::endProcedure()
{
    while (m_stack.size() > 1)
        closeBlock();
    m.m_blocks[std::size_t(m_stack.front())].last = qint32(m.m_statements.size());
    m.m_procedures[std::size_t(m_procedure)].last = qint32(m.m_statements.size());
}

void ModuleBuilder::change(const QString &name, qint32 statement)
{
    std::vector<qint32> &changes = m.m_changes[name.contains(u'.') ? name : nameKey(name)];
    if (changes.empty() || changes.back() != statement)
        changes.push_back(statement);
}

void ModuleBuilder::mark(qint32 k, Role role)
{
    if (k < 0 || k >= t.size())
        return;
    Role &current = m.m_roles[std::size_t(k)];
    if (current == Role::Unknown || (current != Role::None && role > current))
        current = role;
}

void ModuleBuilder::markRead(qint32 begin, qint32 end)
{
    for (qint32 k = begin; k < end; ++k)
        mark(k, k > begin && t.isPunct(k - 1, u'.') ? Role::Member : Role::Read);
}

void ModuleBuilder::rolesLeftOut()
{
    if (m_leftOut.empty() || m_everyBranch)
        return;
    Module scratch(m.m_tokens);
    ModuleBuilder every(scratch);
    every.m_everyBranch = true;
    every.run();
    for (const auto &[begin, end] : m_leftOut) {
        for (qint32 k = begin; k < end; ++k) {
            m.m_roles[std::size_t(k)] = scratch.m_roles[std::size_t(k)];
            // A declaration there still names the module's own.
            if (scratch.m_roles[std::size_t(k)] == Role::Declared) {
                const QString key = nameKey(t.text(k));
                if (const auto found = scratch.m_declared.constFind(key);
                    found != scratch.m_declared.cend() && found->token == k && !m.m_declared.contains(key))
                    m.m_declared.insert(key, *found);
            }
        }
    }
}

void ModuleBuilder::finishRoles()
{
    const qint32 n = qint32(t.size());
    for (qint32 k = 0; k < n; ++k) {
        Role &role = m.m_roles[std::size_t(k)];
        if (role == Role::Unknown && isReservedWord(t.text(k)))
            role = Role::Keyword;
        // [Name] spells a name the way only a declaration needs to.
        if (role != Role::None && k > 0 && k + 1 < n && t.isPunct(k - 1, u'[') && t.isPunct(k + 1, u']'))
            role = Role::Unknown;
    }
    // Whatever sets a name, or is a use the parser cannot tell, counts as
    // the module's own declaration of it, after the declarations proper.
    for (qint32 k = 0; k < n; ++k) {
        const Role role = m.m_roles[std::size_t(k)];
        const QString kind = role == Role::Assigned  ? u"set as a variable"_s
                             : role == Role::Control ? u"a control of the form"_s
                             : role == Role::Unknown ? u"used in a way this program does not follow"_s
                                                     : QString();
        if (kind.isEmpty())
            continue;
        const QString key = nameKey(t.text(k));
        if (!m.m_declared.contains(key))
            m.m_declared.insert(key, DeclaredName{k, kind, role});
    }
}

void ModuleBuilder::declared(qint32 token, const QString &kind)
{
    if (token < 0 || token >= t.size() || !t.isIdent(token))
        return;
    mark(token, Role::Declared);
    const QString key = nameKey(t.text(token));
    if (!m.m_declared.contains(key))
        m.m_declared.insert(key, DeclaredName{token, kind});
}

void ModuleBuilder::line(qint32 begin, qint32 end)
{
    m_lineBegin = begin;
    m_lineEnd = end;
    if (designerLine(begin, end > begin && t.kind(end - 1) == TokenKind::Comment ? end - 1 : end))
        return;
    if (begin < end && t.kind(begin) == TokenKind::Directive) {
        directive(begin);
        return;
    }
    if (!active()) {
        m_leftOut.emplace_back(begin, end);
        return;
    }
    if (begin < end && t.kind(begin) == TokenKind::Comment)
        m.m_lineComments.push_back(begin);
    if (end > begin && t.kind(end - 1) == TokenKind::Comment)
        --end;
    qint32 i = begin;
    // A label or line number: control may come here from anywhere.
    const bool number = i < end && t.kind(i) == TokenKind::Number;
    const bool label = i + 1 < end && t.isIdent(i) && t.isPunct(i + 1, u':') && !t.isWord(i, u"else");
    if (number || label) {
        m.m_procedures[std::size_t(m_procedure)].labels.push_back(qint32(m.m_statements.size()));
        if (label)
            declared(i, u"a label"_s);
        i += number ? 1 : 2;
    }
    range(i, end);
    // A one-line If ends with its line, and so does whatever its parts
    // opened; what they closed, or a procedure they began or ended, leaves
    // less to close.
    if (!m_oneLine.empty()) {
        while (m_stack.size() > m_oneLineBase && m_stack.size() > 1)
            closeBlock();
        m_oneLine.clear();
    }
}

void ModuleBuilder::range(qint32 begin, qint32 end)
{
    qint32 s = begin;
    while (s < end) {
        if (t.isPunct(s, u':')) {
            ++s;
            continue;
        }
        if (!m_oneLine.empty() && t.isWord(s, u"else")) {
            // The Else of the innermost one-line If: its Then part, and what
            // that opened, end here.
            const qint32 branch = m_oneLine.back();
            const qint32 opening = m.m_blocks[std::size_t(branch)].opening;
            if (std::find(m_stack.begin(), m_stack.end(), branch) != m_stack.end()) {
                while (m_stack.size() > 1 && current() != branch)
                    closeBlock();
                closeBlock();
            }
            m_oneLine.back() = openBlock(BlockKind::Branch, opening);
            ++s;
            continue;
        }
        const qint32 stop = t.topLevel(s, end, [&](qint32 k) {
            return t.isPunct(k, u':') || (k > s && !m_oneLine.empty() && t.isWord(k, u"else"));
        });
        if (t.isWord(s, u"if")) {
            qint32 then = s + 1;
            while (then < stop && !t.isWord(then, u"then"))
                ++then;
            if (then < stop && then + 1 < end) {
                const qint32 condition = addStatement(s, then + 1);
                expression(s + 1, then, condition);
                if (m_oneLine.empty())
                    m_oneLineBase = m_stack.size();
                m_oneLine.push_back(openBlock(BlockKind::Branch, condition));
                s = then + 1;
                continue;
            }
        }
        statement(s, stop);
        s = stop;
    }
}

void ModuleBuilder::changeNamesIn(qint32 begin, qint32 end, qint32 statement)
{
    for (qint32 i = begin; i < end; ++i) {
        if (!t.isIdent(i) || (i > begin && t.isPunct(i - 1, u'.')))
            continue;
        qint32 j = i;
        const QString chain = t.nameChain(j, end).toLower();
        mark(i, Role::Passed);
        markRead(i, j);
        change(chain.section(u'.', 0, 0), statement);
        if (chain.contains(u'.'))
            change(chain, statement);
        i = j - 1;
    }
}

void ModuleBuilder::expression(qint32 begin, qint32 end, qint32 statement)
{
    Statement &s = m.m_statements[std::size_t(statement)];
    for (qint32 i = begin; i < end; ++i) {
        if (!t.isIdent(i))
            continue;
        const bool member = i > begin && t.isPunct(i - 1, u'.');
        const QString name = nameKey(t.text(i));
        const bool called = i + 1 < end && t.isPunct(i + 1, u'(');
        mark(i, member ? Role::Member : Role::Read);
        if (called) {
            const bool variable = !member && m_variables.contains(name) && !m_procedureNames.contains(name);
            if (variable)
                continue;
            if (!member)
                mark(i, Role::Called);
            if (!member && Module::isPureFunction(name) && !m_procedureNames.contains(name))
                continue;
            // A function or method that may take its arguments ByRef, and
            // change what it likes.
            const qint32 close = t.closing(i + 1, end);
            changeNamesIn(i + 2, close, statement);
            s.changesCalls = true;
            m.m_callHeads[statement].push_back(i);
            continue;
        }
        if (member || (i + 1 < end && t.isPunct(i + 1, u'.')))
            continue;
        if (m_procedureNames.contains(name) || (!m_variables.contains(name) && !isBuiltinValue(name)))
            s.changesCalls = true; // perhaps a function without arguments
    }
}

} // namespace basic
