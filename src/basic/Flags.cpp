// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Flags.h"

#include "basic/Limits.h"
#include "basic/MsgBoxStyles.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

constexpr qint64 MaxFlags = 0x7FFFFFFF;

class FlagParser
{
public:
    FlagParser(const Tokens &tokens, qsizetype end, FlagKind kind, const QString &what)
        : t(tokens), m_end(end), m_kind(kind), m_what(what)
    {
    }
    FlagValue orExpr(qsizetype &i, int depth);

private:
    FlagValue sum(qsizetype &i, int depth);
    FlagValue term(qsizetype &i, int depth);
    void combine(FlagValue &a, FlagValue &&b, bool add, qsizetype pos) const;

    const Tokens &t;
    qsizetype m_end;
    FlagKind m_kind;
    const QString &m_what;
};

FlagValue FlagParser::orExpr(qsizetype &i, int depth)
{
    FlagValue value = sum(i, depth);
    while (i < m_end && t.isWord(i, u"or")) {
        const qsizetype pos = t.pos(i);
        ++i;
        combine(value, sum(i, depth), false, pos);
    }
    return value;
}

FlagValue FlagParser::sum(qsizetype &i, int depth)
{
    FlagValue value = term(i, depth);
    while (i < m_end && t.isPunct(i, u'+')) {
        const qsizetype pos = t.pos(i);
        ++i;
        combine(value, term(i, depth), true, pos);
    }
    return value;
}

FlagValue FlagParser::term(qsizetype &i, int depth)
{
    if (i >= m_end)
        Tokens::refuse(t.posOf(i, m_end), u"a flag is missing at the end"_s);
    const qsizetype start = i;
    if (t.kind(i) == TokenKind::Number) {
        const qint64 value = numberLiteral(t, i);
        if (value < 0)
            Tokens::refuse(t.pos(i), u"%1 is not a valid value for %2"_s.arg(t.text(i), m_what));
        ++i;
        FlagValue result{value, false, true, 0, {}};
        result.terms.push_back({start, i, value, false});
        return result;
    }
    if (t.isPunct(i, u'(')) {
        if (depth >= MaxNesting)
            Tokens::refuse(t.pos(i), u"the parentheses are nested too deeply"_s);
        ++i;
        FlagValue value = orExpr(i, depth + 1);
        if (i >= m_end || !t.isPunct(i, u')'))
            Tokens::refuse(t.posOf(i, m_end), u"a closing parenthesis is missing"_s);
        ++i;
        return value;
    }
    if (!t.isIdent(i))
        Tokens::refuse(t.pos(i), u"%1 cannot start %2"_s.arg(t.text(i), m_what));
    const QString name = t.nameChain(i, m_end);
    QStringView key = name;
    for (const QStringView prefix : {QStringView(u"VBA."), QStringView(u"VbMsgBoxStyle."), QStringView(u"Constants.")}) {
        if (key.startsWith(prefix, Qt::CaseInsensitive))
            key = key.sliced(prefix.size());
    }
    if (i < m_end && t.isPunct(i, u'('))
        Tokens::refuse(t.pos(start), u"%1(…) is a function call; %2 can only hold fixed flags"_s.arg(name, m_what));
    const BasicName *found = findName(key);
    const bool fits = found
                      && (m_kind == FlagKind::CommonDialog
                              ? found->group == NameGroup::CommonDialogFlag
                              : found->group != NameGroup::CommonDialogFlag && found->group != NameGroup::Result);
    if (!fits)
        Tokens::refuse(t.pos(start), u"%1 is a variable; %2 can only hold fixed flags"_s.arg(name, m_what));
    FlagValue result{found->value, true, false, found->dialect == Dialect::LibreOffice ? 2 : 1, {}};
    result.terms.push_back({start, i, found->value, true});
    return result;
}

void FlagParser::combine(FlagValue &a, FlagValue &&b, bool add, qsizetype pos) const
{
    if (m_kind == FlagKind::MsgBox) {
        // vbCritical + vbQuestion adds up to vbExclamation: each group is
        // checked before the values are joined.
        for (const MsgBoxGroup &group : msgBoxGroups) {
            const qint64 left = a.value & group.mask;
            const qint64 right = b.value & group.mask;
            if (left && right && (add || left != right))
                Tokens::refuse(pos, u"the buttons combine two %1"_s.arg(group.what));
        }
    }
    if (add && (a.value & b.value))
        Tokens::refuse(pos, u"the same flag is added twice"_s);
    a.value = add ? a.value + b.value : (a.value | b.value);
    if (a.value > MaxFlags)
        Tokens::refuse(pos, u"%1 adds up to more than a Long holds"_s.arg(m_what));
    a.usedName = a.usedName || b.usedName;
    a.usedNumber = a.usedNumber || b.usedNumber;
    a.dialects |= b.dialects;
    a.terms.insert(a.terms.end(), b.terms.begin(), b.terms.end());
}

} // namespace

FlagValue evalFlags(const Tokens &tokens, qsizetype begin, qsizetype end, FlagKind kind, const QString &what)
{
    if (begin >= end)
        Tokens::refuse(tokens.posOf(begin, end), u"%1 is missing"_s.arg(what));
    qsizetype i = begin;
    FlagParser parser(tokens, end, kind, what);
    FlagValue value = parser.orExpr(i, 0);
    if (i < end)
        Tokens::refuse(tokens.pos(i), u"%1 cannot follow a flag here"_s.arg(tokens.text(i)));
    return value;
}

qint64 numberLiteral(const Tokens &tokens, qsizetype i)
{
    QStringView literal = tokens.text(i);
    const auto tooLarge = [&] { Tokens::refuse(tokens.pos(i), u"%1 is too large"_s.arg(literal)); };
    if (literal.startsWith(u'&')) {
        const bool hex = literal[1] == u'H' || literal[1] == u'h';
        const bool isLong = literal.endsWith(u'&');
        const bool isInteger = literal.endsWith(u'%');
        const QStringView digits = literal.sliced(2, literal.size() - 2 - (isLong || isInteger ? 1 : 0));
        qint64 value = 0;
        for (const QChar c : digits) {
            const char16_t u = c.unicode();
            const int digit = (u >= u'0' && u <= u'9') ? u - u'0' : (c.toLower().unicode() - u'a' + 10);
            value = value * (hex ? 16 : 8) + digit;
            if (value > 0xFFFFFFFFLL)
                tooLarge();
        }
        // BASIC reads &H8000 as an Integer and &H80000000 as a Long, both
        // negative.
        if (!isLong && value <= 0xFFFF && value >= 0x8000)
            value -= 0x10000;
        else if (value >= 0x80000000LL)
            value -= 0x100000000LL;
        return value;
    }
    if (QStringView(u"%&!#@").contains(literal.back()))
        literal.chop(1);
    bool ok = false;
    QString plain = literal.toString();
    plain.replace(u'd', u'e').replace(u'D', u'e');
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        tooLarge();
    if (value != std::trunc(value))
        Tokens::refuse(tokens.pos(i), u"%1 is not a whole number"_s.arg(tokens.text(i)));
    if (std::fabs(value) > 2147483647.0)
        tooLarge();
    return qint64(value);
}

QString writtenTerm(const Tokens &tokens, const FlagValue &value, qint64 bits)
{
    // A number is shown with the name it stands for.
    QString name;
    for (const BasicName &entry : basicNames()) {
        if (entry.value == (value.value & bits) && entry.value != 0 && entry.dialect == Dialect::VisualBasic
            && entry.group != NameGroup::Result && entry.group != NameGroup::CommonDialogFlag) {
            name = entry.name.toString();
            break;
        }
    }
    for (const FlagTerm &term : value.terms) {
        if (term.value & bits) {
            const QString written = tokens.text(term.begin, term.end).toString();
            return term.named || name.isEmpty() ? written : u"%1 (%2)"_s.arg(written, name);
        }
    }
    return name.isEmpty() ? QString::number(value.value & bits) : name;
}

} // namespace basic
