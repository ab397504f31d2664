// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/ModuleBuilder.h"

#include <algorithm>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

// A condition of #If or a value of #Const, as Visual Basic works it out:
// whole numbers, True (-1) and False, the #Const names set above, and the
// operators, Not, And, Or, Xor, Eqv and Imp bitwise, binding in that
// order. Anything else (a name
// the project may set, a text, a division) leaves it undecided.
class DirectiveExpression
{
public:
    DirectiveExpression(const Tokens &line, const QHash<QString, qint64> &constants) : t(line), m_constants(constants)
    {
    }
    std::optional<qint64> evaluate(qint32 begin, qint32 end)
    {
        m_end = end;
        qint32 i = begin;
        const std::optional<qint64> value = imp(i);
        if (i != end)
            return std::nullopt;
        return value;
    }

private:
    using Value = std::optional<qint64>;
    template<typename Next, typename Apply>
    Value binary(qint32 &i, Next next, std::initializer_list<QStringView> words, Apply apply)
    {
        Value left = (this->*next)(i);
        for (;;) {
            QStringView op;
            for (const QStringView w : words) {
                if (i < m_end && (t.isWord(i, w) || (t.kind(i) == TokenKind::Punct && t.text(i) == w)))
                    op = w;
            }
            if (op.isEmpty() || !left)
                return left;
            ++i;
            const Value right = (this->*next)(i);
            if (!right)
                return std::nullopt;
            left = apply(op, *left, *right);
            if (*left <= -(qint64(1) << 40) || *left >= (qint64(1) << 40))
                return std::nullopt;
        }
    }
    Value imp(qint32 &i)
    {
        return binary(i, &DirectiveExpression::eqv, {u"imp"}, [](QStringView, qint64 a, qint64 b) { return ~a | b; });
    }
    Value eqv(qint32 &i)
    {
        return binary(i, &DirectiveExpression::xorOp, {u"eqv"},
                      [](QStringView, qint64 a, qint64 b) { return ~(a ^ b); });
    }
    // Or binds more closely than Xor.
    Value xorOp(qint32 &i)
    {
        return binary(i, &DirectiveExpression::orOp, {u"xor"}, [](QStringView, qint64 a, qint64 b) { return a ^ b; });
    }
    Value orOp(qint32 &i)
    {
        return binary(i, &DirectiveExpression::andOp, {u"or"}, [](QStringView, qint64 a, qint64 b) { return a | b; });
    }
    Value andOp(qint32 &i)
    {
        return binary(i, &DirectiveExpression::notOp, {u"and"}, [](QStringView, qint64 a, qint64 b) { return a & b; });
    }
    Value notOp(qint32 &i)
    {
        if (i < m_end && t.isWord(i, u"not")) {
            ++i;
            const Value v = notOp(i);
            return v ? Value(~*v) : std::nullopt;
        }
        return compare(i);
    }
    Value compare(qint32 &i)
    {
        return binary(i, &DirectiveExpression::additive, {u"=", u"<>", u"<=", u">=", u"<", u">"},
                      [](QStringView op, qint64 a, qint64 b) -> qint64 {
                          bool r = false;
                          if (op == u"=")
                              r = a == b;
                          else if (op == u"<>")
                              r = a != b;
                          else if (op == u"<=")
                              r = a <= b;
                          else if (op == u">=")
                              r = a >= b;
                          else if (op == u"<")
                              r = a < b;
                          else
                              r = a > b;
                          return r ? -1 : 0;
                      });
    }
    Value additive(qint32 &i)
    {
        return binary(i, &DirectiveExpression::multiplicative, {u"+", u"-"},
                      [](QStringView op, qint64 a, qint64 b) { return op == u"+" ? a + b : a - b; });
    }
    Value multiplicative(qint32 &i)
    {
        return binary(i, &DirectiveExpression::unary, {u"*"}, [](QStringView, qint64 a, qint64 b) { return a * b; });
    }
    Value unary(qint32 &i)
    {
        if (i < m_end && t.isPunct(i, u'-')) {
            ++i;
            const Value v = unary(i);
            return v ? Value(-*v) : std::nullopt;
        }
        return primary(i);
    }
    Value primary(qint32 &i)
    {
        if (i >= m_end)
            return std::nullopt;
        if (t.isPunct(i, u'(')) {
            ++i;
            const Value v = imp(i);
            if (i >= m_end || !t.isPunct(i, u')'))
                return std::nullopt;
            ++i;
            return v;
        }
        const qint32 k = i++;
        if (t.isWord(k, u"true"))
            return -1;
        if (t.isWord(k, u"false"))
            return 0;
        if (t.kind(k) == TokenKind::Number) {
            bool ok = false;
            const qint64 v = t.text(k).toLongLong(&ok);
            // Magnitudes stay far from overflow in every operator.
            return ok && v > -(qint64(1) << 31) && v < (qint64(1) << 31) ? Value(v) : std::nullopt;
        }
        if (t.isIdent(k)) {
            const auto found = m_constants.constFind(t.text(k).toString().toLower());
            if (found != m_constants.cend())
                return *found;
        }
        return std::nullopt;
    }

    const Tokens &t;
    const QHash<QString, qint64> &m_constants;
    qint32 m_end = 0;
};

} // namespace

void ModuleBuilder::directive(qint32 index)
{
    // #If, #ElseIf, #Else, #End If, #Const: decided where the condition is
    // plain (True, False, a number or a #Const of one), otherwise each part
    // is taken as code that may run.
    const QStringView text = t.text(index);
    const Tokens line(text.sliced(1));
    qint32 n = qint32(line.size());
    while (n > 0 && (line.kind(n - 1) == TokenKind::Newline || line.kind(n - 1) == TokenKind::Comment))
        --n;
    const auto decide = [&](qint32 begin, qint32 end) -> std::optional<bool> {
        const std::optional<qint64> value = DirectiveExpression(line, m_directiveConstants).evaluate(begin, end);
        if (!value)
            return std::nullopt;
        return *value != 0;
    };
    const auto thenAt = [&]() {
        qint32 k = 1;
        while (k < n && !line.isWord(k, u"then"))
            ++k;
        return k;
    };
    const bool outer = active();
    if (n >= 1 && line.isWord(0, u"if")) {
        const std::optional<bool> value = decide(1, thenAt());
        Condition condition{outer && value.value_or(true), value.value_or(false), value.has_value(), outer, -1};
        if (!value && outer)
            condition.branch = openBlock(BlockKind::Branch, qint32(m.m_statements.size()));
        m_conditions.push_back(condition);
        return;
    }
    // A #Const holds from its line on, for the whole module.
    if (n >= 4 && line.isWord(0, u"const") && line.isIdent(1) && line.isPunct(2, u'=')) {
        if (!outer)
            return;
        // Set in a part that may not be compiled, its value is unknown.
        const bool undecided = std::any_of(m_conditions.begin(), m_conditions.end(), [](const Condition &c) { return !c.decided; });
        const std::optional<qint64> value =
            undecided ? std::nullopt : DirectiveExpression(line, m_directiveConstants).evaluate(3, n);
        if (value)
            m_directiveConstants.insert(lowerCase(line.text(1)), *value);
        else
            m_directiveConstants.remove(lowerCase(line.text(1)));
        return;
    }
    if (m_conditions.empty())
        return; // an #Else or #End If whose #If is not in the text: its parts are all kept
    Condition &condition = m_conditions.back();
    const auto closeBranch = [&] {
        if (condition.branch >= 0 && !m_stack.empty() && current() == condition.branch) {
            closeBlock();
        }
        condition.branch = -1;
    };
    if (n >= 1 && (line.isWord(0, u"elseif") || line.isWord(0, u"else"))) {
        const bool isElse = line.isWord(0, u"else");
        std::optional<bool> value = isElse ? std::optional<bool>(true) : decide(1, thenAt());
        closeBranch();
        if (!condition.decided || !value) {
            condition.decided = false;
            condition.active = condition.outerActive && !condition.taken;
            if (condition.active)
                condition.branch = openBlock(BlockKind::Branch, qint32(m.m_statements.size()));
        } else {
            condition.active = condition.outerActive && !condition.taken && *value;
            condition.taken = condition.taken || *value;
        }
        return;
    }
    if (n >= 2 && line.isWord(0, u"end") && line.isWord(1, u"if")) {
        closeBranch();
        m_conditions.pop_back();
        return;
    }
}

} // namespace basic
