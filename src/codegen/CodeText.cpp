// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/CodeText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

using namespace Qt::StringLiterals;

namespace codegen {

QString joinLines(const QStringList &lines)
{
    return lines.join(CrLf);
}

QString charCode(QChar c, CodeOptions::Dialect dialect)
{
    return (dialect == CodeOptions::Dialect::LibreOffice ? u"Chr$("_s : u"Chr("_s) + QString::number(c.unicode())
           + u')';
}

namespace {

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Val ignores blanks, tabs and line feeds anywhere in the text: a cursor
// that steps over them. It reads only as far as the number goes, so a long
// text after the number costs nothing.
class ValReader
{
public:
    explicit ValReader(QStringView text) : m_text(text) { skipBlanks(); }

    // The character under the cursor; 0 at the end, which starts nothing.
    char16_t peek() const { return m_pos < m_text.size() ? m_text[m_pos].unicode() : u'\0'; }
    char16_t take()
    {
        const char16_t c = peek();
        ++m_pos;
        skipBlanks();
        return c;
    }
    // Appends the digits under the cursor to `out`, blanks among them
    // skipped, in one tight loop: a topic may be megabytes of digits.
    // Returns whether there was one.
    bool takeDigits(std::string &out)
    {
        const std::size_t before = out.size();
        for (; m_pos < m_text.size(); ++m_pos) {
            const char16_t c = m_text[m_pos].unicode();
            if (isAsciiDigit(c))
                out += char(c);
            else if (!isBlank(c))
                break;
        }
        return out.size() > before;
    }

private:
    static bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos].unicode()))
            ++m_pos;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

// Val reads "&H" and "&O" numbers as BASIC's integers: up to 16 bits a
// signed Integer (&HFFFF is -1), up to 32 bits a signed Long (&H10000 is
// 65536, &HFFFFFFFF is -1), and a trailing "&" asks for a Long (&HFFFF& is
// 65535). Beyond 32 bits Val overflows, which gives 0 like any text it
// cannot read.
double readRadix(ValReader &reader, int radix)
{
    constexpr quint64 longBits = 0xFFFFFFFFu;
    quint64 value = 0;
    bool overflow = false;
    for (;;) {
        const char16_t c = reader.peek();
        int digit = -1;
        if (isAsciiDigit(c))
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = 10 + (c - u'a');
        else if (c >= u'A' && c <= u'F')
            digit = 10 + (c - u'A');
        if (digit < 0 || digit >= radix)
            break;
        value = value * quint64(radix) + quint64(digit);
        // Saturates instead of wrapping, however many digits follow.
        if (value > longBits) {
            overflow = true;
            value = longBits + 1;
        }
        reader.take();
    }
    const bool asLong = reader.peek() == u'&';
    if (overflow)
        return 0;
    if (!asLong && value <= 0xFFFFu)
        return double(qint16(quint16(value)));
    return double(qint32(quint32(value)));
}

} // namespace

double topicNumber(QStringView text)
{
    ValReader reader(text);
    if (reader.peek() == u'&') {
        reader.take();
        const char16_t radix = reader.take();
        if (radix == u'H' || radix == u'h')
            return readRadix(reader, 16);
        if (radix == u'O' || radix == u'o')
            return readRadix(reader, 8);
        return 0;
    }

    // Collect the longest prefix that forms a decimal number, then let the C
    // library do the exact conversion. The number is at most as long as the
    // text, and reserving that much writes no memory, where growing would
    // copy a long number again and again.
    std::string number;
    number.reserve(std::size_t(text.size()));
    if (reader.peek() == u'+' || reader.peek() == u'-')
        number += char(reader.take());
    // Digits with at most one decimal point among them.
    bool anyDigit = reader.takeDigits(number);
    if (reader.peek() == u'.') {
        number += char(reader.take());
        anyDigit = reader.takeDigits(number) || anyDigit;
    }
    if (!anyDigit)
        return 0;
    const char16_t e = reader.peek();
    if (e == u'E' || e == u'e' || e == u'D' || e == u'd') {
        reader.take();
        std::string exponent = "e";
        if (reader.peek() == u'+' || reader.peek() == u'-')
            exponent += char(reader.take());
        if (reader.takeDigits(exponent))
            number += exponent;
    }
    // from_chars reads "." as the point whatever the locale, as Val does;
    // it takes no "+" sign. A number beyond a double overflows Val, and one
    // too small for it is 0: both give 0.
    const char *first = number.data() + (number.front() == '+' ? 1 : 0);
    double value = 0;
    const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
    Q_UNUSED(end);
    return error == std::errc() ? value : 0;
}

QString formatTopicNumber(double value)
{
    if (!std::isfinite(value))
        return u"0"_s;
    if (value == 0)
        return u"0"_s; // also -0
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    // Shortest text that reads back exactly: plain decimals in the usual
    // range, BASIC's exponent form ("1E+20", "1E-05") beyond it.
    const double magnitude = std::fabs(value);
    const bool scientific = magnitude >= 1e15 || magnitude < 1e-4;
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      scientific ? std::chars_format::scientific : std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        QString digits = text.mid(e + 2);
        if (digits.size() < 2)
            digits.prepend(u'0');
        text = text.left(e) + u'E' + text.at(e + 1) + digits;
    }
    return text;
}

QString topicArgument(QStringView topicText)
{
    return formatTopicNumber(topicNumber(topicText));
}

double topicContext(QStringView topicText)
{
    const double value = topicNumber(topicText);
    return std::isfinite(value) && value != 0 ? value : 0;
}

QString toCrLf(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += CrLf;
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += CrLf;
        } else {
            out += c;
        }
    }
    return out;
}

bool hasLineBreak(QStringView text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

} // namespace codegen
