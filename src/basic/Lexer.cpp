// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Lexer.h"

#include <algorithm>
#include <limits>

namespace basic {

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\f' || c == 0xA0 || c == 0xFEFF;
}

bool isBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(char16_t c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool startsWord(QStringView text, qsizetype i, QStringView word)
{
    return text.size() - i >= word.size() && text.sliced(i, word.size()).compare(word, Qt::CaseInsensitive) == 0
           && (i + word.size() == text.size() || !isIdentPart(text[i + word.size()]));
}

class Lexer
{
public:
    Lexer(QStringView text, bool backslashEscapes, std::size_t limit)
        : m_text(text), m_n(text.size()), m_backslashEscapes(backslashEscapes), m_limit(limit)
    {
    }
    std::vector<Token> run();

private:
    char16_t at(qsizetype i) const { return i < m_n ? m_text[i].unicode() : u'\0'; }
    void push(TokenKind kind, qsizetype start)
    {
        m_tokens.push_back({qint32(start), quint32(std::min(m_i - start, MaxTokenLength)), kind});
        m_statementStart = kind == TokenKind::Newline || kind == TokenKind::Comment || kind == TokenKind::Directive;
    }
    // Whether " _" and blanks up to the line's end start at i; j is then
    // the first character of the next line.
    bool continuationAt(qsizetype i, qsizetype &j) const;
    // Moves past the rest of the line, and past the lines that a trailing
    // " _" joins to it.
    void toLineEnd();
    // Each moves past one token that starts at m_i.
    void lineBreak(char16_t c, qsizetype start);
    bool string(); // whether it is closed
    void decimalNumber();
    bool radixNumber(); // &H…, &O…; moves nowhere when there is none
    void punctuation(char16_t c, qsizetype start);

    QStringView m_text;
    qsizetype m_n;
    bool m_backslashEscapes;
    std::size_t m_limit;
    qsizetype m_i = 0;
    bool m_statementStart = true;
    std::vector<Token> m_tokens;
};

bool Lexer::continuationAt(qsizetype i, qsizetype &j) const
{
    if (at(i) != u'_' || (i > 0 && !isBlank(at(i - 1)) && !isBreak(at(i - 1))))
        return false;
    j = i + 1;
    while (j < m_n && isBlank(at(j)))
        ++j;
    if (j < m_n && !isBreak(at(j)))
        return false;
    if (j < m_n)
        j += (at(j) == u'\r' && at(j + 1) == u'\n') ? 2 : 1;
    return true;
}

void Lexer::toLineEnd()
{
    while (m_i < m_n && !isBreak(at(m_i))) {
        qsizetype next = 0;
        // BASIC carries a comment on as well: "' note _" takes the next
        // line into the comment.
        if (continuationAt(m_i, next) && next < m_n) {
            m_i = next;
            continue;
        }
        ++m_i;
    }
}

void Lexer::lineBreak(char16_t c, qsizetype start)
{
    m_i += (c == u'\r' && at(m_i + 1) == u'\n') ? 2 : 1;
    // Gambas goes on with an expression on the next line after a trailing
    // & or comma.
    if (m_backslashEscapes && !m_tokens.empty() && m_tokens.back().kind == TokenKind::Punct
        && m_tokens.back().len == 1 && (at(m_tokens.back().pos) == u'&' || at(m_tokens.back().pos) == u','))
        return;
    push(TokenKind::Newline, start);
}

bool Lexer::string()
{
    ++m_i;
    while (m_i < m_n && !isBreak(at(m_i))) {
        if (m_backslashEscapes && at(m_i) == u'\\' && m_i + 1 < m_n && !isBreak(at(m_i + 1))) {
            m_i += 2;
            continue;
        }
        if (at(m_i) == u'"') {
            if (at(m_i + 1) == u'"') {
                m_i += 2;
                continue;
            }
            ++m_i;
            return true;
        }
        ++m_i;
    }
    return false;
}

void Lexer::decimalNumber()
{
    while (isDigit(at(m_i)))
        ++m_i;
    if (at(m_i) == u'.') {
        ++m_i;
        while (isDigit(at(m_i)))
            ++m_i;
    }
    const char16_t e = at(m_i);
    if (e == u'E' || e == u'e' || e == u'D' || e == u'd') {
        qsizetype j = m_i + 1;
        if (at(j) == u'+' || at(j) == u'-')
            ++j;
        if (isDigit(at(j))) {
            while (isDigit(at(j)))
                ++j;
            m_i = j;
        }
    }
    if (at(m_i) != u'\0' && QStringView(u"%&!#@").contains(QChar(at(m_i))))
        ++m_i;
}

bool Lexer::radixNumber()
{
    const char16_t base = at(m_i + 1);
    const bool hex = base == u'H' || base == u'h';
    const bool oct = base == u'O' || base == u'o';
    if (!(hex && isHexDigit(at(m_i + 2))) && !(oct && at(m_i + 2) >= u'0' && at(m_i + 2) <= u'7'))
        return false;
    m_i += 2;
    while (hex ? isHexDigit(at(m_i)) : (at(m_i) >= u'0' && at(m_i) <= u'7'))
        ++m_i;
    if (at(m_i) == u'&' || at(m_i) == u'%')
        ++m_i;
    return true;
}

void Lexer::punctuation(char16_t c, qsizetype start)
{
    // A character outside the BMP is one token, not two halves.
    if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(at(m_i + 1))) {
        m_i += 2;
        push(TokenKind::Punct, start);
        return;
    }
    const char16_t d = at(m_i + 1);
    const bool pair = (c == u':' && d == u'=') || (c == u'<' && (d == u'=' || d == u'>')) || (c == u'>' && d == u'=')
                      || (m_backslashEscapes && c == u'&' && d == u'=');
    m_i += pair ? 2 : 1;
    push(TokenKind::Punct, start);
    m_statementStart = c == u':' && !pair;
}

std::vector<Token> Lexer::run()
{
    m_tokens.reserve(m_limit ? std::min(m_limit, std::size_t(m_n / 2 + 16)) : std::size_t(m_n / 4 + 16));
    while (m_i < m_n && (!m_limit || m_tokens.size() < m_limit)) {
        const char16_t c = at(m_i);
        if (isBlank(c)) {
            ++m_i;
            continue;
        }
        const qsizetype start = m_i;
        qsizetype next = 0;
        if (isBreak(c)) {
            lineBreak(c, start);
        } else if (continuationAt(m_i, next)) {
            m_i = next;
        } else if (c == u'\'' || (m_statementStart && startsWord(m_text, m_i, u"rem"))) {
            toLineEnd();
            push(TokenKind::Comment, start);
        } else if (c == u'#' && m_statementStart && isIdentStart(QChar(at(m_i + 1)))) {
            toLineEnd();
            push(TokenKind::Directive, start);
        } else if (c == u'"') {
            push(string() ? TokenKind::String : TokenKind::BadString, start);
        } else if (isDigit(c) || (c == u'.' && isDigit(at(m_i + 1)))) {
            decimalNumber();
            push(TokenKind::Number, start);
        } else if (c == u'&' && radixNumber()) {
            push(TokenKind::Number, start);
        } else if (isIdentStart(m_text[m_i])) {
            while (m_i < m_n && isIdentPart(m_text[m_i]))
                ++m_i;
            if (at(m_i) == u'$')
                ++m_i;
            push(TokenKind::Ident, start);
        } else {
            punctuation(c, start);
        }
    }
    return std::move(m_tokens);
}

} // namespace

bool isIdentStart(QChar c)
{
    return c.isLetter();
}

bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

std::vector<Token> tokenize(QStringView text, bool backslashEscapes, std::size_t limit)
{
    return Lexer(text.first(std::min(text.size(), MaxTextLength)), backslashEscapes, limit).run();
}

LineColumn lineColumnAt(QStringView text, qsizetype pos)
{
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    qsizetype lineStart = 0;
    qint64 line = 1;
    for (qsizetype i = 0; i < pos; ++i) {
        const QChar c = text[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    qint64 column = 1;
    for (qsizetype i = lineStart; i < pos; ++i) {
        if (!(text[i].isLowSurrogate() && i > lineStart && text[i - 1].isHighSurrogate()))
            ++column;
    }
    constexpr qint64 most = std::numeric_limits<int>::max();
    return {int(std::min(line, most)), int(std::min(column, most))};
}

} // namespace basic
