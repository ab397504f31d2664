// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Lexer.h"

#include <QString>

// A module's text with its tokens, and the questions every reader asks of
// them.
namespace basic {

// Thrown to give up on a text: where (a UTF-16 offset), and why.
struct Refusal
{
    qsizetype pos;
    QString message;
    // Already says which name and line it comes from.
    bool traced = false;
};

class Tokens
{
public:
    explicit Tokens(QStringView text, bool backslashEscapes = false, std::size_t limit = 0)
        : m_text(text), m_tokens(tokenize(text, backslashEscapes, limit)), m_backslashEscapes(backslashEscapes)
    {
    }

    QStringView source() const { return m_text; }
    // Whether literals escape with a backslash: Gambas's code.
    bool backslashEscapes() const { return m_backslashEscapes; }
    qsizetype size() const { return qsizetype(m_tokens.size()); }
    auto begin() const { return m_tokens.begin(); }
    auto end() const { return m_tokens.end(); }
    const Token &operator[](qsizetype i) const { return m_tokens[std::size_t(i)]; }
    TokenKind kind(qsizetype i) const { return m_tokens[std::size_t(i)].kind; }
    qsizetype pos(qsizetype i) const { return m_tokens[std::size_t(i)].pos; }
    qsizetype endPos(qsizetype i) const { return pos(i) + m_tokens[std::size_t(i)].len; }
    QStringView text(qsizetype i) const { return m_text.sliced(pos(i), qsizetype(m_tokens[std::size_t(i)].len)); }
    QStringView text(qsizetype begin, qsizetype end) const
    {
        return begin < end ? m_text.sliced(pos(begin), endPos(end - 1) - pos(begin)) : QStringView();
    }

    bool isPunct(qsizetype i, char16_t c) const
    {
        const Token &t = (*this)[i];
        return t.kind == TokenKind::Punct && t.len == 1 && m_text[t.pos] == c;
    }
    template<std::size_t N>
    bool isPunct(qsizetype i, const char16_t (&p)[N]) const
    {
        return kind(i) == TokenKind::Punct && text(i) == QStringView(p, qsizetype(N - 1));
    }
    bool isIdent(qsizetype i) const { return kind(i) == TokenKind::Ident; }
    // A literal's length is known when it is compiled, not counted on
    // every call.
    template<std::size_t N>
    bool isWord(qsizetype i, const char16_t (&word)[N]) const
    {
        return isWord(i, QStringView(word, qsizetype(N - 1)));
    }
    bool isWord(qsizetype i, QStringView word) const
    {
        const Token &t = (*this)[i];
        if (t.kind != TokenKind::Ident || qsizetype(t.len) != word.size())
            return false;
        // Most words differ in their first letter: that is looked at first.
        const char16_t a = m_text[t.pos].unicode() | 0x20;
        const char16_t b = word[0].unicode() | 0x20;
        return a == b && text(i).compare(word, Qt::CaseInsensitive) == 0;
    }
    // Where token i starts, or where the range ends when i is past it.
    qsizetype posOf(qsizetype i, qsizetype end) const
    {
        if (i < end)
            return pos(i);
        if (end > 0)
            return endPos(end - 1);
        return 0;
    }
    // The token after the parenthesis that opens at i closes it; end when
    // it does not close before end.
    qsizetype closing(qsizetype open, qsizetype end) const;

    // The first token in [begin, end) outside parentheses for which `stop`
    // holds, or end.
    template<typename Stop>
    qint32 topLevel(qint32 begin, qint32 end, Stop stop) const
    {
        int depth = 0;
        for (qint32 i = begin; i < end; ++i) {
            if (isPunct(i, u'('))
                ++depth;
            else if (isPunct(i, u')'))
                --depth;
            else if (depth == 0 && stop(i))
                return i;
        }
        return end;
    }

    // Where BASIC's own MsgBox or InputBox at token k begins (MsgBox,
    // VBA.MsgBox, Interaction.MsgBox, VBA.Interaction.MsgBox), or -1 when
    // it is some object's method.
    qint32 builtinCallHead(qint32 k, qint32 begin) const;

    // A dotted name from token i ("Me.Caption"), moving i past it.
    QString nameChain(qsizetype &i, qsizetype end) const;
    QString nameChain(qint32 &i, qsizetype end) const
    {
        qsizetype k = i;
        QString name = nameChain(k, end);
        i = qint32(k);
        return name;
    }
    qint32 closing(qint32 open, qint32 end) const { return qint32(closing(qsizetype(open), qsizetype(end))); }

    [[noreturn]] static void refuse(qsizetype pos, const QString &message) { throw Refusal{pos, message}; }

private:
    QStringView m_text;
    std::vector<Token> m_tokens;
    bool m_backslashEscapes = false;
};

} // namespace basic
