// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TypingHelp.h"

#include "basic/Tokens.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

using basic::TokenKind;

// Where the logical line around the place starts: lines ended by " _" go on.
qsizetype logicalLineStart(QStringView text, qsizetype at)
{
    qsizetype start = lineStartAt(text, at);
    while (start > 0) {
        qsizetype end = start - 1;
        if (end > 0 && text[end] == u'\n' && text[end - 1] == u'\r')
            --end;
        const QStringView before = text.sliced(lineStartAt(text, end), end - lineStartAt(text, end)).trimmed();
        if (!before.endsWith(u" _") && before != u"_")
            break;
        start = lineStartAt(text, end);
    }
    return start;
}

bool is(const basic::Tokens &t, qsizetype i, QStringView word)
{
    return i >= 0 && i < t.size() && t.isWord(i, word);
}

} // namespace

qsizetype lineStartAt(QStringView text, qsizetype at)
{
    while (at > 0 && text[at - 1] != u'\n' && text[at - 1] != u'\r')
        --at;
    return at;
}

std::optional<OpenCall> openCallAt(QStringView text, qsizetype offset, const QStringList &words)
{
    if (offset < 0 || offset > text.size())
        return std::nullopt;
    const qsizetype start = logicalLineStart(text, offset);
    const basic::Tokens t(text.sliced(start, offset - start));
    struct Frame
    {
        QString word; // empty for parentheses of anything else
        bool bare = false;
        int argument = 0;
        QString named;
        qsizetype argumentBegin = 0;
    };
    std::vector<Frame> frames;
    const auto callWord = [&](qsizetype i) -> QString {
        if (!t.isIdent(i))
            return {};
        for (const QString &word : words) {
            if (t.isWord(i, word))
                return word.toLower();
        }
        return {};
    };
    const auto after = [&](qsizetype i) { return start + (i < t.size() ? t.pos(i) : offset - start); };
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t.kind(i) == TokenKind::Newline || t.isPunct(i, u':') || is(t, i, u"then") || is(t, i, u"else")) {
            frames.clear(); // a new statement
            continue;
        }
        const QString word = callWord(i);
        if (!word.isEmpty() && i + 1 < t.size() && t.isPunct(i + 1, u'(')) {
            frames.push_back({word, false, 0, {}, after(i + 2)});
            ++i;
            continue;
        }
        const bool statementStart = i == 0 || t.kind(i - 1) == TokenKind::Newline || t.isPunct(i - 1, u':')
                                    || is(t, i - 1, u"then") || is(t, i - 1, u"else") || is(t, i - 1, u"call")
                                    || (t.isPunct(i - 1, u'.') && i == 2);
        if (!word.isEmpty() && statementStart && i + 1 < t.size()) {
            frames.push_back({word, true, 0, {}, after(i + 1)});
            continue;
        }
        if (t.isPunct(i, u'(')) {
            frames.push_back({QString(), false, 0, {}, after(i + 1)});
        } else if (t.isPunct(i, u')')) {
            if (!frames.empty() && !frames.back().bare)
                frames.pop_back();
        } else if (t.isPunct(i, u',') && !frames.empty() && !frames.back().word.isEmpty()) {
            ++frames.back().argument;
            frames.back().named.clear();
            frames.back().argumentBegin = after(i + 1);
        } else if (t.isPunct(i, u":=") && i > 0 && t.isIdent(i - 1) && !frames.empty()) {
            frames.back().named = t.text(i - 1).toString().toLower();
            frames.back().argumentBegin = after(i + 1);
        }
    }
    for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame) {
        if (!frame->word.isEmpty())
            return OpenCall{frame->word, frame->argument, frame->named, frame->argumentBegin};
    }
    return std::nullopt;
}

int activeParameter(const OpenCall &call, const CallSignature &signature)
{
    int active = call.argument;
    if (!call.named.isEmpty()) {
        for (int i = 0; i < signature.parameters.size(); ++i) {
            const QString bare = QString(signature.parameters[i]).remove(u'[').remove(u']').section(u' ', 0, 0);
            if (bare.compare(call.named, Qt::CaseInsensitive) == 0)
                active = i;
        }
    }
    return std::min(active, int(signature.parameters.size()) - 1);
}
