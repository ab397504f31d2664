#include "codegen/CodeText.h"

#include <QByteArray>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace codegen {

QString joinLines(const QStringList &lines)
{
    return lines.join(CrLf);
}

QString EncodeStringExpression(QStringView text)
{
    static constexpr QStringView lineBreakPiece = u"\" & vbCrLf & \"";
    static constexpr QStringView quotePiece = u"\" & Chr(34) & \"";

    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += text.mid(runStart, i - runStart);
            out += lineBreakPiece;
            i += 2; // the CR and whatever follows it, normally its LF
            runStart = qMin(i, text.size());
        } else if (c == u'"') {
            out += text.mid(runStart, i - runStart);
            out += quotePiece;
            ++i;
            runStart = i;
        } else {
            ++i;
        }
    }
    if (runStart < text.size())
        out += text.mid(runStart);
    out += u'"';
    return out;
}

QString BuildResponseSelect(const QList<int> &resultCodes)
{
    static constexpr std::array<QStringView, 7> comments = {
        u"  'User has clicked OK",    u"  'User has clicked Cancel", u"  'User has clicked Abort",
        u"  'User has clicked retry", u"  'User has clicked Ignore", u"  'User has clicked Yes",
        u"  'User has clicked No",
    };
    QStringList lines{u"Select Case Response"_s};
    for (const int code : resultCodes) {
        Q_ASSERT(code >= 1 && code <= 7);
        lines << u"  Case "_s + QString::number(code) + comments.at(std::size_t(code - 1));
        lines << u"    '*** Your Code Here ***"_s;
    }
    lines << u"End Select"_s;
    return joinLines(lines);
}

namespace {

bool isValBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Val reads a radix number after "&H" or "&O"; digits beyond what a double
// holds saturate to infinity, which formatTopicNumber treats as unreadable.
double readRadix(const std::u16string &s, std::size_t pos, int radix)
{
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const char16_t c = s[pos];
        int digit = -1;
        if (isAsciiDigit(c))
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = 10 + (c - u'a');
        else if (c >= u'A' && c <= u'F')
            digit = 10 + (c - u'A');
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}

} // namespace

double topicNumber(QStringView text)
{
    std::u16string s;
    s.reserve(std::size_t(text.size()));
    for (const QChar c : text) {
        if (!isValBlank(c))
            s.push_back(c.unicode());
    }

    if (s.size() >= 2 && s[0] == u'&') {
        if (s[1] == u'H' || s[1] == u'h')
            return readRadix(s, 2, 16);
        if (s[1] == u'O' || s[1] == u'o')
            return readRadix(s, 2, 8);
        return 0;
    }

    // Collect the longest prefix that forms a decimal number, then let the C
    // library do the exact conversion.
    QByteArray number;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        number += char(s[i++]);
    bool anyDigit = false;
    bool seenPoint = false;
    for (; i < s.size(); ++i) {
        if (isAsciiDigit(s[i])) {
            anyDigit = true;
            number += char(s[i]);
        } else if (s[i] == u'.' && !seenPoint) {
            seenPoint = true;
            number += '.';
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        std::size_t j = i + 1;
        QByteArray exponent = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent += char(s[j++]);
        bool anyExponentDigit = false;
        for (; j < s.size() && isAsciiDigit(s[j]); ++j) {
            anyExponentDigit = true;
            exponent += char(s[j]);
        }
        if (anyExponentDigit)
            number += exponent;
    }
    return std::strtod(number.constData(), nullptr);
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

QString quoteLiteral(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        out += c;
        if (c == u'"')
            out += c;
    }
    out += u'"';
    return out;
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
