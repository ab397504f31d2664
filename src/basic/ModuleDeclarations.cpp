// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/ModuleBuilder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

bool ModuleBuilder::designerStart(qint32 begin, qint32 end)
{
    const WordsBefore word{t, end};
    // VERSION 5.00 heads a form's file; a designer part starts with
    // Begin Library.Class Name, which no code does.
    if (m_inProcedure || begin >= end)
        return false;
    if (!m_designerSeen && m.m_statements.empty() && word(begin, u"version") && begin + 1 < end
        && t.kind(begin + 1) == TokenKind::Number)
        return true;
    if (!word(begin, u"begin") || begin + 1 >= end || !t.isIdent(begin + 1))
        return false;
    qint32 k = begin + 1;
    const QString type = t.nameChain(k, end);
    if (!type.contains(u'.') || k + 1 != end || !t.isIdent(k))
        return false;
    m_designerSeen = true;
    m.m_hasDesignerPart = true;
    designerNames(begin, end, k);
    m_designerControls.push_back(nameKey(t.text(k)));
    m_designerPropertyDepth = 0;
    return true;
}

void ModuleBuilder::designerNames(qint32 begin, qint32 end, qint32 control)
{
    for (qint32 k = begin; k < end; ++k)
        mark(k, k == control ? Role::Control : Role::Keyword);
}

bool ModuleBuilder::designerLine(qint32 begin, qint32 end)
{
    const WordsBefore word{t, end};
    if (m_designerControls.empty())
        return designerStart(begin, end);
    designerNames(begin, end, -1);
    if (word(begin, u"beginproperty")) {
        ++m_designerPropertyDepth;
    } else if (word(begin, u"endproperty")) {
        m_designerPropertyDepth = std::max(0, m_designerPropertyDepth - 1);
    } else if (word(begin, u"begin")) {
        qint32 k = begin + 1;
        if (k < end && t.isIdent(k))
            t.nameChain(k, end);
        designerNames(begin, end, k);
        m_designerControls.push_back(k < end && t.isIdent(k) ? nameKey(t.text(k)) : QString());
        m_designerPropertyDepth = 0;
    } else if (word(begin, u"end") && begin + 1 == end) {
        m_designerControls.pop_back();
        m_designerPropertyDepth = 0;
    } else if (m_designerPropertyDepth == 0 && begin + 1 < end && t.isIdent(begin) && t.isPunct(begin + 1, u'=')
               && !m_designerControls.back().isEmpty()) {
        auto &properties = m.m_designer[m_designerControls.back()];
        const QString property = t.text(begin).toString().toLower();
        if (!properties.contains(property))
            properties.insert(property, DesignerProperty{begin, begin + 2, end});
    }
    return true;
}

bool ModuleBuilder::declarationStatement(qint32 begin, qint32 i, qint32 end, bool modified)
{
    const WordsBefore word{t, end};
    if (word(i, u"declare") || word(i, u"event")) {
        qint32 k = i + 1;
        while (word(k, u"ptrsafe") || word(k, u"sub") || word(k, u"function"))
            ++k;
        declared(k, word(i, u"event") ? u"an Event"_s : u"a Declare"_s);
        addStatement(begin, end);
        return true;
    }
    // A statement of modifiers alone ends at i: no word follows them.
    if (word(i, u"option") || word(i, u"attribute") || word(i, u"implements")
        || (i < end && !defType(t.text(i)).isEmpty())) {
        addStatement(begin, end);
        return true;
    }
    // A user-defined type or an Enum opens only so, at module level.
    if (!m_inProcedure && (word(i, u"type") || word(i, u"enum")) && i + 2 == end && t.isIdent(i + 1)) {
        m_inType = true;
        m_inEnum = word(i, u"enum");
        declared(i + 1, m_inEnum ? u"an Enum"_s : u"a Type"_s);
        addStatement(begin, end);
        return true;
    }
    if (procedureStatement(begin, i, end))
        return true;
    if (word(i, u"const")) {
        const qint32 s = addStatement(begin, end);
        declare(i + 1, end, s, true, true);
        return true;
    }
    if (word(i, u"dim") || word(i, u"static") || word(i, u"redim") || (modified && t.isIdent(i))) {
        const bool redim = word(i, u"redim");
        if (word(i, u"dim") || word(i, u"static") || redim)
            ++i;
        if (redim && word(i, u"preserve"))
            ++i;
        const qint32 s = addStatement(begin, end);
        if (redim)
            changeNamesIn(i, std::min(i + 1, end), s);
        else
            declare(i, end, s, true, false);
        return true;
    }
    return false;
}

bool ModuleBuilder::procedureStatement(qint32 begin, qint32 i, qint32 end)
{
    const WordsBefore word{t, end};
    const bool sub = word(i, u"sub") || word(i, u"function");
    const bool property = word(i, u"property") && (word(i + 1, u"get") || word(i + 1, u"let") || word(i + 1, u"set"));
    if (sub || property) {
        endProcedure();
        const qint32 nameAt = i + (property ? 2 : 1);
        startProcedure(nameAt < end ? t.text(nameAt).toString() : QString(), m_lineBegin);
        m_inProcedure = true;
        declared(nameAt, property ? u"a Property"_s : word(i, u"sub") ? u"a Sub"_s : u"a Function"_s);
        for (qint32 k = begin; k < i; ++k) {
            if (t.isWord(k, u"static"))
                m.m_procedures[std::size_t(m_procedure)].isStatic = true;
        }
        const qint32 s = addStatement(begin, end);
        if (nameAt + 1 < end && t.isPunct(nameAt + 1, u'(')) {
            parameters(nameAt + 1, end, s);
            typeAndValue(t.closing(nameAt + 1, end) + 1, end);
        }
        return true;
    }
    if (word(i, u"end") && (word(i + 1, u"sub") || word(i + 1, u"function") || word(i + 1, u"property"))) {
        addStatement(begin, end);
        endProcedure();
        startProcedure(QString(), m_lineEnd + 1);
        m_inProcedure = false;
        return true;
    }
    return false;
}

void ModuleBuilder::parameters(qint32 open, qint32 end, qint32 statement)
{
    // The parameters: names of this procedure, set by its caller.
    const qint32 close = t.closing(open, end);
    qint32 k = open + 1;
    while (k < close) {
        while (k < close && (t.isWord(k, u"byval") || t.isWord(k, u"byref") || t.isWord(k, u"optional")
                             || t.isWord(k, u"paramarray")))
            ++k;
        if (k < close && t.isIdent(k)) {
            Declaration parameter;
            parameter.parameter = true;
            parameter.statement = statement;
            parameter.token = k;
            declared(k, u"a parameter"_s);
            qint32 stop = k + 1;
            while (stop < close && !t.isPunct(stop, u','))
                ++stop;
            if (k + 2 < stop && t.isWord(k + 1, u"as"))
                parameter.type = t.text(k + 2, stop).toString().simplified();
            typeAndValue(k + 1, stop);
            const QString type = parameter.type.toLower();
            parameter.text = type.isEmpty() || type == u"string"_s || type == u"variant"_s;
            m.m_procedures[std::size_t(m_procedure)].locals.insert(nameKey(t.text(k)), parameter);
            k = stop;
        }
        ++k;
    }
}

void ModuleBuilder::typeAndValue(qint32 begin, qint32 end)
{
    // As [New] Type [* n] [= default]: the type's words are no names in use.
    qint32 k = begin;
    if (k < end && t.isWord(k, u"as")) {
        for (++k; k < end && !t.isPunct(k, u'=') && !t.isPunct(k, u'*'); ++k)
            mark(k, Role::Keyword);
    }
    for (; k < end; ++k) {
        if (t.isPunct(k, u'=') || t.isPunct(k, u'*')) {
            markRead(k + 1, end);
            return;
        }
    }
}

void ModuleBuilder::declare(qint32 begin, qint32 end, qint32 statement, bool moduleLevel, bool isConst)
{
    // name [(…)] [As [New] Type [* n]] [= value], …
    qint32 i = begin;
    while (i < end) {
        if (t.isWord(i, u"withevents"))
            ++i;
        if (i >= end || !t.isIdent(i))
            return;
        const QString name = nameKey(t.text(i));
        declared(i, isConst ? u"a Const"_s : u"a variable"_s);
        Declaration declaration;
        declaration.statement = statement;
        declaration.token = i;
        declaration.constant = isConst;
        QString written = t.text(i).toString();
        declaration.keyword = lowerCase(t.text(m.m_statements[std::size_t(statement)].begin));
        ++i;
        // n% and its like: the lexer leaves the suffix a character of its own.
        if (i < end && t.kind(i) == TokenKind::Punct && t.pos(i) == t.endPos(i - 1) && t.text(i).size() == 1
            && QStringView(u"%&!#@").contains(t.text(i).front())) {
            written += t.text(i);
            ++i;
        }
        bool array = false;
        if (i < end && t.isPunct(i, u'(')) {
            array = true;
            const qint32 close = t.closing(i, end);
            expression(i + 1, close, statement);
            i = std::min(close + 1, end);
        }
        const qint32 typeStart = i;
        const qint32 stop = t.topLevel(i, end, [&](qint32 k) { return t.isPunct(k, u',') || t.isPunct(k, u'='); });
        typeAndValue(typeStart, stop);
        if (typeStart < stop && t.isWord(typeStart, u"as"))
            declaration.type = t.text(typeStart + 1 < stop ? typeStart + 1 : typeStart, stop).toString().simplified();
        else
            declaration.type = m.implicitType(written);
        const QString type = declaration.type.toLower();
        const QString suffixType = m.implicitType(written).toLower();
        declaration.text = !array && (type.isEmpty() || type == u"string"_s || type == u"variant"_s)
                           && (suffixType.isEmpty() || suffixType == u"string"_s || suffixType == type);
        if (array)
            declaration.type = u"an array"_s;
        Procedure &procedure = m.m_procedures[std::size_t(m_procedure)];
        // Code outside any Sub is read as a procedure of its own too.
        if (moduleLevel && !m_inProcedure)
            m.m_moduleDeclarations.insert(name, declaration);
        procedure.locals.insert(name, declaration);
        i = stop;
        if (i < end && t.isPunct(i, u'=')) {
            // A Const's value, or an initializer: the value's end.
            const qint32 valueEnd = t.topLevel(i + 1, end, [&](qint32 k) { return t.isPunct(k, u','); });
            expression(i + 1, valueEnd, statement);
            if (!isConst)
                change(name, statement);
            i = valueEnd;
        }
        if (i < end && t.isPunct(i, u','))
            ++i;
        else
            return;
    }
}

} // namespace basic
