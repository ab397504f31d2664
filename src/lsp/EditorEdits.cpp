// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/EditorEdits.h"

#include "basic/Tokens.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace lsp {

namespace {

using basic::TokenKind;

bool callsTool(const basic::Tokens &t, qsizetype i, const Tool &tool)
{
    if (!t.isIdent(i))
        return false;
    for (const QString &word : tool.callWords) {
        if (t.text(i).compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The end of the call at token k: its closing parenthesis (inclusive), or the
// statement's end; -1 where the parenthesis is not closed.
qsizetype callEnd(const basic::Tokens &t, qsizetype k, qsizetype end, bool *parenthesized)
{
    *parenthesized = k + 1 < end && t.isPunct(k + 1, u'(');
    int depth = 0;
    for (qsizetype i = k + 1; i < end; ++i) {
        if (t.kind(i) == TokenKind::Newline || t.kind(i) == TokenKind::Comment)
            return *parenthesized ? -1 : i - 1;
        if (depth == 0 && !*parenthesized && (t.isPunct(i, u':') || t.isWord(i, u"else")))
            return i - 1;
        if (t.isPunct(i, u'('))
            ++depth;
        else if (t.isPunct(i, u')') && --depth == 0 && *parenthesized)
            return i;
    }
    return *parenthesized ? -1 : end - 1;
}

} // namespace

std::optional<CallSite> callSiteIn(QStringView text, qsizetype begin, qsizetype end, qsizetype offset, const Tool &tool)
{
    const basic::Tokens t(text.sliced(begin, end - begin));
    qsizetype call = -1;
    for (qsizetype k = 0; k < t.size(); ++k) {
        if (!callsTool(t, k, tool))
            continue;
        if (call >= 0 && begin + t.pos(k) > offset)
            break;
        call = k;
    }
    if (call < 0)
        return std::nullopt;
    CallSite site;
    const qsizetype last = callEnd(t, call, t.size(), &site.parenthesized);
    if (last < call)
        return std::nullopt;
    qsizetype head = call;
    if (call >= 2 && t.isPunct(call - 1, u'.') && (t.isWord(call - 2, u"vba") || t.isWord(call - 2, u"interaction")))
        head = call - 2;
    site.begin = begin + t.pos(head);
    site.end = begin + t.endPos(last);
    site.words = t.text(head, call + 1).toString();
    return site;
}

std::optional<QString> callArguments(const QString &code, const Tool &tool, QString *why)
{
    const basic::Tokens t(code);
    qsizetype call = 0;
    while (call < t.size() && !callsTool(t, call, tool))
        ++call;
    if (call >= t.size()) {
        *why = u"the window's code holds no call of %1"_s.arg(tool.callWords.value(0));
        return std::nullopt;
    }
    bool parenthesized = false;
    const qsizetype last = callEnd(t, call, t.size(), &parenthesized);
    const qsizetype first = call + (parenthesized ? 2 : 1);
    const qsizetype stop = parenthesized ? last : last + 1;
    if (last < call || stop < first) {
        *why = u"the window's call is not closed"_s;
        return std::nullopt;
    }
    // A name the code sets before the call (a long message put in a
    // variable) would be missing where the call goes alone.
    QSet<QString> set;
    bool atStart = true;
    for (qsizetype i = 0; i < call; ++i) {
        if (t.kind(i) == TokenKind::Newline || t.isPunct(i, u':')) {
            atStart = true;
            continue;
        }
        if (atStart && t.isIdent(i) && i + 1 < t.size() && t.isPunct(i + 1, u'='))
            set.insert(t.text(i).toString().toLower());
        atStart = false;
    }
    for (qsizetype i = first; i < stop; ++i) {
        if (t.isIdent(i) && set.contains(t.text(i).toString().toLower())) {
            *why = u"the window's call needs the code before it (%1 is set there): copy it from the window with "
                   u"Copy instead"_s.arg(t.text(i));
            return std::nullopt;
        }
    }
    return stop > first ? t.text(first, stop).toString() : QString();
}

QString lineEndOf(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return u"\n"_s;
        if (text[i] == u'\r')
            return i + 1 < text.size() && text[i + 1] == u'\n' ? u"\r\n"_s : u"\r"_s;
    }
    return u"\n"_s;
}

QString reindented(const QString &code, QStringView indentation, QStringView lineEnd, bool first)
{
    QString lines = code;
    lines.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    while (lines.endsWith(u'\n'))
        lines.chop(1);
    QString result;
    bool firstLine = true;
    for (const QStringView line : QStringView(lines).split(u'\n')) {
        if (!firstLine)
            result += lineEnd;
        if ((!firstLine || first) && !line.isEmpty())
            result += indentation;
        result += line;
        firstLine = false;
    }
    return result;
}

} // namespace lsp
