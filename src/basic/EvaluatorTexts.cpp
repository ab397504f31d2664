// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Evaluator.h"

#include "basic/Flags.h"
#include "basic/Limits.h"
#include "basic/Names.h"
#include "basic/Source.h"

#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// A Gambas literal's body (at source offset pos) decoded: \\ \" \r \n \t
// and \xHH. Gambas's texts are bytes, read as UTF-8: \xC3\xA9 is "é", and
// a literal that leaves a character half written is refused. Any other
// escape, and a doubled quotation mark, is refused rather than guessed at.
void decodeEscapes(QStringView body, qsizetype pos, QString &out)
{
    QByteArray bytes;
    bool raw = false; // a \x byte from 0x80 up
    for (qsizetype k = 0; k < body.size(); ++k) {
        const QChar c = body[k];
        if (c == u'"')
            Tokens::refuse(pos + k, u"a doubled quotation mark is no escape in Gambas (it writes \\\")"_s);
        if (c != u'\\') {
            // A pair of surrogates is one character.
            const qsizetype n = c.isHighSurrogate() && k + 1 < body.size() ? 2 : 1;
            bytes += body.sliced(k, n).toUtf8();
            k += n - 1;
            continue;
        }
        const QChar e = k + 1 < body.size() ? body[k + 1] : QChar();
        switch (e.unicode()) {
        case u'\\':
        case u'"':
            bytes += char(e.unicode());
            break;
        case u'r':
            bytes += '\r';
            break;
        case u'n':
            bytes += '\n';
            break;
        case u't':
            bytes += '\t';
            break;
        case u'x': {
            const int high = k + 2 < body.size() ? hexValue(body[k + 2]) : -1;
            const int low = k + 3 < body.size() ? hexValue(body[k + 3]) : -1;
            if (high < 0 || low < 0)
                Tokens::refuse(pos + k, u"\\x needs two hexadecimal digits"_s);
            bytes += char(high * 16 + low);
            raw = raw || high >= 8;
            k += 2;
            break;
        }
        default:
            Tokens::refuse(pos + k, u"\\%1 is an escape this program does not read"_s.arg(e));
        }
        ++k;
    }
    if (!raw) {
        out += QString::fromUtf8(bytes);
        return;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        Tokens::refuse(pos, u"the literal's \\x bytes are no whole UTF-8 characters"_s);
    out += text;
}

} // namespace

QChar Evaluator::chr(qint64 code, bool wide, qint32 start, const QString &name) const
{
    const qsizetype pos = t.pos(start);
    const auto noCharacter = [&] { Tokens::refuse(pos, u"%1(%2) is no character"_s.arg(name).arg(code)); };
    // With VBA support LibreOffice's Chr takes codes from 128 up from the
    // system's encoding.
    if (!wide && m_semantics.dialect == Dialect::LibreOffice && m_semantics.vbaSupport && code >= 128)
        Tokens::refuse(
            pos, u"%1(%2) in LibreOffice Basic's VBA mode depends on the system's encoding"_s.arg(name).arg(code));
    // ChrW, and LibreOffice's Chr, take UTF-16 codes.
    if (wide || m_semantics.dialect == Dialect::LibreOffice) {
        if (code < -32768 || code > 65535)
            noCharacter();
        const char16_t c = char16_t(code & 0xFFFF);
        if (QChar::isSurrogate(c))
            Tokens::refuse(pos, u"%1(%2) is half of a UTF-16 surrogate pair, which is no character"_s.arg(name).arg(code));
        return QChar(c);
    }
    if (code < 0 || code > 255)
        noCharacter();
    if (code < 0x80)
        return QChar(char16_t(code));
    if (m_semantics.dialect == Dialect::Gambas)
        Tokens::refuse(pos, u"%1(%2) is a byte of a UTF-8 character in Gambas, no character of its own"_s.arg(name).arg(code));
    // Visual Basic takes the code from the code page the module is written in.
    if (m_semantics.codePage.isEmpty())
        return QChar(windows1252Char(quint8(code)));
    try {
        const QString decoded = decodeText(QByteArray(1, char(code)), Encoding::named(m_semantics.codePage));
        if (decoded.size() != 1 || decoded == u"\uFFFD"_s)
            noCharacter();
        return decoded.front();
    } catch (const SourceError &) {
        Tokens::refuse(pos, u"%1(%2) is no character in %3"_s.arg(name).arg(code).arg(m_semantics.codePage));
    }
}

bool Evaluator::mayBeText(qint32 begin, qint32 end) const
{
    for (qint32 i = begin; i < end; ++i) {
        switch (t.kind(i)) {
        case TokenKind::String:
        case TokenKind::BadString:
            continue;
        case TokenKind::Punct:
            if (t.isPunct(i, u'&') || t.isPunct(i, u'+') || t.isPunct(i, u'(') || t.isPunct(i, u')')
                || t.isPunct(i, u'.'))
                continue;
            return false;
        case TokenKind::Ident:
            continue;
        case TokenKind::Number:
            // Chr(13): a number only as a character code.
            if ((i > begin && t.isPunct(i - 1, u'(')) || (i > begin + 1 && t.isPunct(i - 1, u'-')))
                continue;
            return false;
        default:
            return false;
        }
    }
    return true;
}

QString Evaluator::text(qint32 begin, qint32 end, qint32 at, const QString &what)
{
    if (begin >= end)
        Tokens::refuse(t.posOf(begin, end), u"%1 is missing"_s.arg(what));
    QString out;
    qint32 i = begin;
    concat(i, end, at, out, what, 0);
    if (i < end)
        Tokens::refuse(t.pos(i), u"%1 cannot follow a text here"_s.arg(t.text(i)));
    return out;
}

QString Evaluator::singleLine(qint32 begin, qint32 end, qint32 at, const QString &what)
{
    const QString value = text(begin, end, at, what);
    if (value.contains(u'\r') || value.contains(u'\n'))
        Tokens::refuse(t.posOf(begin, end), u"%1 holds a line break; it can only hold one line"_s.arg(what));
    return value;
}

std::optional<QString> Evaluator::appPathText(qint32 token, qint32 at, const QString &what)
{
    if (!t.isIdent(token))
        return std::nullopt;
    bool appPath = false;
    const QString key = nameKey(t.text(token));
    const QString &value = lookup(key, token, at, what, &appPath);
    if (!appPath)
        return std::nullopt;
    return value;
}

void Evaluator::concat(qint32 &i, qint32 end, qint32 at, QString &out, const QString &what, int depth)
{
    term(i, end, at, out, what, depth);
    while (i < end && (t.isPunct(i, u'&') || t.isPunct(i, u'+'))) {
        // Gambas's + adds numbers: "1" + "2" is 3.
        if (t.isPunct(i, u'+') && m_semantics.dialect == Dialect::Gambas)
            Tokens::refuse(t.pos(i), u"+ adds numbers in Gambas; texts are joined with &"_s);
        ++i;
        term(i, end, at, out, what, depth);
    }
}

void Evaluator::term(qint32 &i, qint32 end, qint32 at, QString &out, const QString &what, int depth)
{
    if (i >= end)
        Tokens::refuse(t.posOf(i, end), u"a text is missing at the end"_s);
    const auto grow = [&](qsizetype more) {
        if (out.size() + more > m_maxText)
            Tokens::refuse(t.pos(i), u"%1 grows longer than this program reads"_s.arg(what));
    };
    switch (t.kind(i)) {
    case TokenKind::String: {
        const QStringView body = t.text(i).sliced(1).chopped(1);
        grow(body.size());
        if (t.backslashEscapes()) {
            decodeEscapes(body, t.pos(i) + 1, out);
            ++i;
            return;
        }
        for (qsizetype k = 0; k < body.size(); ++k) {
            out += body[k];
            if (body[k] == u'"')
                ++k; // doubled
        }
        ++i;
        return;
    }
    case TokenKind::BadString:
        Tokens::refuse(t.pos(i), u"the text has no closing quotation mark"_s);
    case TokenKind::Number:
        Tokens::refuse(t.pos(i), u"%1 is a number; %2 can only hold text"_s.arg(t.text(i), what));
    case TokenKind::Punct:
        if (t.isPunct(i, u'(')) {
            if (depth >= MaxNesting)
                Tokens::refuse(t.pos(i), u"the parentheses are nested too deeply"_s);
            ++i;
            concat(i, end, at, out, what, depth + 1);
            if (i >= end || !t.isPunct(i, u')'))
                Tokens::refuse(t.posOf(i, end), u"a closing parenthesis is missing"_s);
            ++i;
            return;
        }
        Tokens::refuse(t.pos(i), u"%1 cannot start a text"_s.arg(t.text(i)));
    case TokenKind::Ident:
        break;
    default:
        Tokens::refuse(t.pos(i), u"a text is missing"_s);
    }

    const qint32 start = i;
    const QString name = t.nameChain(i, end);
    QString key = name.toLower();
    for (const QStringView prefix : {QStringView(u"vba.strings."), QStringView(u"vba.constants."), QStringView(u"vba.")}) {
        if (key.startsWith(prefix)) {
            key.remove(0, prefix.size());
            break;
        }
    }
    if (i < end && t.isPunct(i, u'(')) {
        if (key == u"chr"_s || key == u"chr$"_s || key == u"chrw"_s || key == u"chrw$"_s) {
            ++i;
            const bool negative = i < end && t.isPunct(i, u'-');
            if (negative)
                ++i;
            if (i >= end || t.kind(i) != TokenKind::Number || i + 1 >= end || !t.isPunct(i + 1, u')'))
                Tokens::refuse(t.posOf(i, end), u"%1 takes a plain number here"_s.arg(name));
            const qint64 code = numberLiteral(t, i) * (negative ? -1 : 1);
            requireBuiltin(start, i);
            const QChar c = chr(code, key.startsWith(u"chrw"_s), start, name);
            grow(1);
            out += QChar(c);
            i += 2;
            return;
        }
        Tokens::refuse(t.pos(start), u"%1(…) is a function call; %2 can only hold fixed text"_s.arg(name, what));
    }
    if (const std::optional<QString> constant = textConstant(key)) {
        requireBuiltin(start, i);
        if (m_semantics.dialect == Dialect::Gambas
            || (m_semantics.dialect == Dialect::LibreOffice && !m_semantics.vbaSupport))
            Tokens::refuse(t.pos(start), u"%1 is Visual Basic's; %2 has no such constant"_s.arg(name,
                                             m_semantics.dialect == Dialect::Gambas
                                                 ? u"Gambas"_s
                                                 : u"LibreOffice Basic without Option VBASupport 1"_s));
        // In LibreOffice's VBA mode these follow the system: vbNewLine is LF
        // on Linux, and vbBack is not there.
        if (m_semantics.dialect == Dialect::LibreOffice && (key == u"vbnewline"_s || key == u"vbback"_s))
            Tokens::refuse(t.pos(start), u"%1 in LibreOffice Basic depends on the system it runs on"_s.arg(name));
        out += *constant;
        return;
    }
    key = keyOf(key);
    if (key.contains(u'.'))
        Tokens::refuse(t.pos(start), u"%1 is a property; %2 can only hold fixed text"_s.arg(name, what));
    const QString &value = lookup(key, start, at, what);
    grow(value.size());
    out += value;
}

} // namespace basic
