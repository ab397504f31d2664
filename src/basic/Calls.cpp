// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Calls.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

CallForm callForm(const Tokens &t, const Statement &s, qint32 head, qint32 name, bool alwaysParenthesized)
{
    CallForm call;
    call.head = head;
    call.name = name;
    call.statementEnd = s.end;
    call.called = call.head > s.begin && t.isWord(call.head - 1, u"call");
    call.statement = call.head == s.begin || (call.head - 1 == s.begin && call.called);
    call.argumentsBegin = name + 1;
    call.argumentsEnd = s.end;
    if (name + 1 < s.end && t.isPunct(name + 1, u'(')) {
        call.open = name + 1;
        call.close = t.closing(call.open, s.end);
        // A statement without Call whose parenthesis is followed by more
        // has the parenthesis around its first argument.
        call.parenthesized = alwaysParenthesized || !(call.statement && !call.called && call.close + 1 < s.end);
        if (call.parenthesized) {
            call.argumentsBegin = call.open + 1;
            call.argumentsEnd = call.close;
        }
    }
    call.after = call.parenthesized && call.closed() ? call.close + 1 : s.end;
    qint32 i = s.begin;
    if (t.isWord(i, u"let"))
        ++i;
    if (t.isIdent(i)) {
        qint32 j = i;
        const QString variable = t.nameChain(j, s.end);
        if (j + 1 == call.head && t.isPunct(j, u'=')) {
            call.variable = variable;
            call.variableAt = i;
        }
    }
    return call;
}

std::vector<Argument> splitArguments(const Tokens &t, qint32 begin, qint32 end)
{
    std::vector<Argument> args;
    if (begin == end)
        return args;
    qsizetype depth = 0;
    qint32 start = begin;
    const auto push = [&](qint32 stop) {
        Argument arg;
        arg.begin = start;
        arg.end = stop;
        if (stop - start >= 2 && t.isIdent(start) && t.isPunct(start + 1, u":=")) {
            arg.name = t.text(start).toString().toLower();
            arg.namePos = t.pos(start);
            arg.begin = start + 2;
        }
        args.push_back(arg);
    };
    for (qint32 i = begin; i < end; ++i) {
        if (t.isPunct(i, u'('))
            ++depth;
        else if (t.isPunct(i, u')'))
            --depth;
        else if (depth == 0 && t.isPunct(i, u',')) {
            push(i);
            start = i + 1;
        }
    }
    push(end);
    return args;
}

std::vector<Parameter> bindArguments(const Tokens &t, const std::vector<Argument> &args,
                                     const std::vector<QStringView> &names, QStringView function)
{
    std::vector<Parameter> bound(names.size());
    std::vector<bool> seen(names.size(), false);
    bool named = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const Argument &arg = args[k];
        std::size_t slot = k;
        if (!arg.name.isEmpty()) {
            named = true;
            slot = std::size_t(std::find(names.begin(), names.end(), arg.name) - names.begin());
            const QStringView written = t.source().sliced(arg.namePos, arg.name.size());
            if (slot == names.size())
                Tokens::refuse(arg.namePos, u"%1 is not an argument of %2"_s.arg(written, function));
            if (seen[slot])
                Tokens::refuse(arg.namePos, u"%1 is given twice"_s.arg(written));
        } else {
            if (named && arg.end > arg.begin)
                Tokens::refuse(t.posOf(arg.begin, arg.end), u"an argument without a name follows a named one"_s);
            if (named)
                continue;
            if (slot >= names.size())
                Tokens::refuse(t.posOf(arg.begin, arg.end),
                               u"%1 takes at most %2 arguments"_s.arg(function).arg(names.size()));
        }
        seen[slot] = true;
        bound[slot] = {arg.begin, arg.end};
    }
    return bound;
}

const std::vector<QStringView> &msgBoxParameters()
{
    static const std::vector<QStringView> names{u"prompt", u"buttons", u"title", u"helpfile", u"context"};
    return names;
}

} // namespace basic
