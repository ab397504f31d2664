// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/ModuleBuilder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

void ModuleBuilder::statement(qint32 begin, qint32 end)
{
    if (begin >= end)
        return;
    qint32 i = begin;
    const WordsBefore word{t, end};

    if (m_inType) {
        if (word(i, u"end") && (word(i + 1, u"type") || word(i + 1, u"enum")))
            m_inType = false;
        else if (m_inEnum) {
            // Name = value, or [Name] = value.
            const qint32 name = t.isPunct(i, u'[') ? i + 1 : i;
            declared(name, u"an Enum member"_s);
            for (qint32 k = name + 1; k < end; ++k) {
                if (t.isPunct(k, u'=')) {
                    markRead(k + 1, end);
                    break;
                }
            }
        }
        return;
    }
    // Modifiers in front of a declaration or a procedure.
    bool modified = false;
    while (word(i, u"public") || word(i, u"private") || word(i, u"friend") || word(i, u"global")
           || (word(i, u"static") && (word(i + 1, u"sub") || word(i + 1, u"function") || word(i + 1, u"property")))) {
        ++i;
        modified = true;
    }
    if (declarationStatement(begin, i, end, modified) || blockStatement(begin, i, end))
        return;

    const qint32 s = addStatement(begin, end);
    if (!m_withs.empty())
        m.m_withObjects.insert(s, m_withs.back());
    if (!jumpStatement(i, end, s))
        plainStatement(i, end, s);
}

bool ModuleBuilder::blockStatement(qint32 begin, qint32 i, qint32 end)
{
    return branchStatement(begin, i, end) || loopStatement(begin, i, end) || withStatement(begin, i, end);
}

bool ModuleBuilder::inContainerPart() const
{
    return currentKind() == BlockKind::Branch && m_stack.size() >= 2
           && m.m_blocks[std::size_t(m_stack[m_stack.size() - 2])].kind == BlockKind::Container;
}

bool ModuleBuilder::branchStatement(qint32 begin, qint32 i, qint32 end)
{
    const WordsBefore word{t, end};
    if (word(i, u"if")) {
        const qint32 s = addStatement(begin, end);
        expression(i + 1, end, s);
        openBlock(BlockKind::Container, s);
        openBlock(BlockKind::Branch, s);
        return true;
    }
    if (word(i, u"elseif") || word(i, u"else")) {
        if (inContainerPart()) {
            closeBlock();
        } else {
            unmatched(BlockKind::Branch);
            openBlock(BlockKind::Container, qint32(m.m_statements.size()));
        }
        const qint32 s = addStatement(begin, end);
        expression(i + 1, end, s);
        openBlock(BlockKind::Branch, s);
        return true;
    }
    if (word(i, u"select") && word(i + 1, u"case")) {
        const qint32 s = addStatement(begin, end);
        expression(i + 2, end, s);
        openBlock(BlockKind::Container, s);
        return true;
    }
    if (word(i, u"case")) {
        if (inContainerPart())
            closeBlock();
        else if (currentKind() != BlockKind::Container) {
            unmatched(BlockKind::Branch);
            openBlock(BlockKind::Container, qint32(m.m_statements.size()));
        }
        const qint32 s = addStatement(begin, end);
        expression(i + 1, end, s);
        openBlock(BlockKind::Branch, s);
        return true;
    }
    if (word(i, u"end") && (word(i + 1, u"if") || word(i + 1, u"select"))) {
        if (inContainerPart()) {
            closeBlock();
            closeBlock();
        } else if (currentKind() == BlockKind::Container) {
            closeBlock();
        } else {
            unmatched(BlockKind::Branch);
        }
        addStatement(begin, end);
        return true;
    }
    return false;
}

bool ModuleBuilder::loopStatement(qint32 begin, qint32 i, qint32 end)
{
    const WordsBefore word{t, end};
    if (word(i, u"for") || word(i, u"do") || word(i, u"while")) {
        // The statement belongs to its loop: a For sets its counter on
        // every round.
        openBlock(BlockKind::Loop, qint32(m.m_statements.size()));
        const qint32 s = addStatement(begin, end);
        m.m_blocks[std::size_t(current())].opening = s;
        if (word(i, u"for")) {
            qint32 k = i + 1;
            if (word(k, u"each"))
                ++k;
            if (k < end && t.isIdent(k)) {
                mark(k, Role::Assigned);
                change(nameKey(t.text(k)), s);
            }
            expression(k + 1, end, s);
        } else {
            expression(i + 1, end, s);
        }
        return true;
    }
    if (word(i, u"next") || word(i, u"loop") || word(i, u"wend")) {
        const qint32 s = addStatement(begin, end);
        expression(i + 1, end, s);
        qint32 loops = 1;
        if (word(i, u"next")) {
            for (qint32 k = i + 1; k < end; ++k)
                loops += t.isPunct(k, u',') ? 1 : 0;
        }
        for (; loops > 0; --loops) {
            if (currentKind() == BlockKind::Loop)
                closeBlock();
            else
                unmatched(BlockKind::Loop);
        }
        return true;
    }
    return false;
}

bool ModuleBuilder::withStatement(qint32 begin, qint32 i, qint32 end)
{
    const WordsBefore word{t, end};
    if (word(i, u"with")) {
        const qint32 s = addStatement(begin, end);
        markRead(i + 1, end);
        for (qint32 k = i + 1; k < end; ++k) {
            if (t.isPunct(k, u'(')) {
                expression(i + 1, end, s);
                break;
            }
        }
        // The object is known when it is a plain name, or a member of the
        // known object of the With around it.
        qint32 k = i + 1;
        QString object;
        if (k < end && t.isIdent(k)) {
            object = t.nameChain(k, end).toLower();
            if (k != end)
                object.clear();
        } else if (k + 1 < end && t.isPunct(k, u'.') && !m_withs.empty() && !m_withs.back().isEmpty()) {
            ++k;
            object = m_withs.back() + u'.' + t.nameChain(k, end).toLower();
            if (k != end)
                object.clear();
        }
        openBlock(BlockKind::With, s);
        m_withBlocks.push_back(current());
        m_withs.push_back(object);
        return true;
    }
    if (word(i, u"end") && word(i + 1, u"with")) {
        if (!m_withBlocks.empty() && current() == m_withBlocks.back())
            closeBlock();
        else
            unmatched(BlockKind::Branch);
        addStatement(begin, end);
        return true;
    }
    return false;
}

bool ModuleBuilder::jumpStatement(qint32 i, qint32 end, qint32 s)
{
    const WordsBefore word{t, end};
    Procedure &procedure = m.m_procedures[std::size_t(m_procedure)];
    if (word(i, u"goto") || (i < end && t.kind(i) == TokenKind::Number)) {
        procedure.gotos.push_back(s);
        return true;
    }
    if (word(i, u"exit") || word(i, u"stop") || (word(i, u"end") && i + 1 == end))
        return true;
    if (word(i, u"gosub") || word(i, u"return") || word(i, u"resume") || word(i, u"on")) {
        bool jumpsBack = !word(i, u"on");
        for (qint32 k = i; k < end; ++k)
            jumpsBack = jumpsBack || t.isWord(k, u"gosub");
        if (jumpsBack && procedure.jumpBack < 0)
            procedure.jumpBack = s;
        if (word(i, u"on"))
            procedure.gotos.push_back(s);
        if (word(i, u"on") && !word(i + 1, u"error") && !word(i + 1, u"local")) {
            qint32 jump = i + 1;
            while (jump < end && !t.isWord(jump, u"goto") && !t.isWord(jump, u"gosub"))
                ++jump;
            expression(i + 1, jump, s);
        }
        return true;
    }
    return false;
}

void ModuleBuilder::plainStatement(qint32 i, qint32 end, qint32 s)
{
    const WordsBefore word{t, end};
    // `Name = …` sets a variable, whatever statement Name is also.
    const bool assigns = i + 1 < end && (t.isPunct(i + 1, u'=') || t.isPunct(i + 1, u'('));
    if (!assigns && (word(i, u"lset") || word(i, u"rset"))) {
        mark(i, Role::Keyword);
        changeNamesIn(i + 1, std::min(i + 2, end), s);
        expression(i + 2, end, s);
        return;
    }
    if (!assigns
        && ((word(i, u"line") && word(i + 1, u"input")) || word(i, u"input") || word(i, u"get") || word(i, u"read")
            || word(i, u"erase"))) {
        mark(i, Role::Keyword);
        if (word(i, u"line"))
            mark(++i, Role::Keyword);
        changeNamesIn(i + 1, end, s);
        return;
    }
    if (!assigns
        && (word(i, u"print") || word(i, u"write") || word(i, u"open") || word(i, u"close") || word(i, u"put")
            || word(i, u"seek") || word(i, u"kill") || word(i, u"name") || word(i, u"mkdir") || word(i, u"rmdir")
            || word(i, u"chdir") || word(i, u"beep") || word(i, u"randomize") || word(i, u"error"))) {
        mark(i, Role::Keyword);
        expression(i + 1, end, s);
        return;
    }

    // BASIC's own procedures that change nothing they are given.
    if ((word(i, u"msgbox") || (word(i, u"debug") && i + 1 < end && t.isPunct(i + 1, u'.')))
        && !m_procedureNames.contains(nameKey(t.text(i)))) {
        mark(i, word(i, u"msgbox") ? Role::Called : Role::Read);
        expression(i + 1, end, s);
        return;
    }
    const bool let = word(i, u"let") || word(i, u"set");
    const bool call = word(i, u"call");
    if (let || call)
        ++i;
    if (assignment(i, end, s, call))
        return;
    // A call of a procedure or method: it may change what it is given,
    // and anything else.
    m.m_statements[std::size_t(s)].changesCalls = true;
    qint32 argsBegin = i;
    if (i < end && (t.isIdent(i) || t.isPunct(i, u'.'))) {
        qint32 j = t.isPunct(i, u'.') ? i + 1 : i;
        if (j < end && t.isIdent(j))
            t.nameChain(j, end);
        argsBegin = j;
    }
    if (i < end && t.isIdent(i))
        m.m_callHeads[s].push_back(i);
    markRead(i, argsBegin);
    mark(i, Role::Called);
    changeNamesIn(argsBegin, end, s);
    expression(argsBegin, end, s);
}

bool ModuleBuilder::isArray(const QString &name) const
{
    const auto &locals = m.m_procedures[std::size_t(m_procedure)].locals;
    const auto local = locals.constFind(nameKey(name));
    if (local != locals.cend())
        return local->type == u"an array"_s;
    const auto global = m.m_moduleDeclarations.constFind(nameKey(name));
    return global != m.m_moduleDeclarations.cend() && global->type == u"an array"_s;
}

bool ModuleBuilder::assignment(qint32 i, qint32 end, qint32 s, bool call)
{
    // name = …, name(…) = …, a.b = …, .b = …, Mid(s, …) = ….
    qint32 k = i;
    QString target;
    if (k + 1 < end && t.isPunct(k, u'.') && t.isIdent(k + 1)) {
        ++k;
        const QString chain = t.nameChain(k, end).toLower();
        target = (m_withs.empty() || m_withs.back().isEmpty()) ? QString(u'.' + chain) : QString(m_withs.back() + u'.' + chain);
    } else if (k < end && t.isIdent(k)) {
        target = t.nameChain(k, end).toLower();
    }
    qint32 afterTarget = k;
    qint32 argsClose = -1;
    if (!target.isEmpty() && afterTarget < end && t.isPunct(afterTarget, u'(')) {
        argsClose = t.closing(afterTarget, end);
        afterTarget = argsClose + 1;
    }
    if (call || target.isEmpty() || afterTarget >= end || !(t.isPunct(afterTarget, u'=') || t.isPunct(afterTarget, u"&=")))
        return false;
    const qint32 first = t.isPunct(i, u'.') ? i + 1 : i;
    markRead(first, k);
    if (t.isPunct(i, u'.'))
        mark(first, Role::Member);
    else if (k == first + 1)
        mark(first, Role::Assigned);
    if (argsClose >= 0 && (target == u"mid"_s || target == u"mid$"_s || target == u"midb"_s || target == u"midb$"_s)) {
        mark(first, Role::Keyword);
        changeNamesIn(k + 1, std::min(k + 2, end), s);
        expression(k + 2, argsClose, s);
    } else {
        change(target, s);
        if (argsClose >= 0) {
            // Name(i) = … on anything but an array runs a Property Let or
            // Set, which takes its arguments ByRef and may change anything.
            if (!isArray(target)) {
                changeNamesIn(k + 1, argsClose, s);
                m.m_statements[std::size_t(s)].changesCalls = true;
            }
            expression(k + 1, argsClose, s);
        }
    }
    expression(afterTarget + 1, end, s);
    return true;
}

} // namespace basic
