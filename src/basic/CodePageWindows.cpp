// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/CodePage.h"

#include <QHash>

#include <algorithm>

#include <windows.h>

using namespace Qt::StringLiterals;

namespace basic::codepage {

namespace {

// The forms of Unicode that the code page functions do not convert.
enum : unsigned {
    Utf16 = 1200,
    Utf16BE = 1201,
    Utf32 = 12000,
    Utf32BE = 12001,
    Utf16Marked = 0x10000, // "UTF-16": a byte order mark decides, big-endian without one
    Utf32Marked = 0x10001,
};

// iconv's name for it, upper case and without '-', '_' and spaces.
QString folded(const QString &name)
{
    QString key;
    for (const QChar c : name) {
        if (c != u'-' && c != u'_' && c != u' ')
            key += c.toUpper();
    }
    return key;
}

std::optional<unsigned> codePageOf(const QString &name)
{
    static const QHash<QString, unsigned> names{
        {u"UTF8"_s, CP_UTF8}, {u"UTF7"_s, CP_UTF7},
        {u"UTF16"_s, Utf16Marked}, {u"UTF16LE"_s, Utf16}, {u"UTF16BE"_s, Utf16BE},
        {u"UCS2LE"_s, Utf16}, {u"UCS2BE"_s, Utf16BE},
        {u"UTF32"_s, Utf32Marked}, {u"UTF32LE"_s, Utf32}, {u"UTF32BE"_s, Utf32BE},
        {u"UCS4LE"_s, Utf32}, {u"UCS4BE"_s, Utf32BE},
        {u"ASCII"_s, 20127}, {u"USASCII"_s, 20127}, {u"ANSIX3.41968"_s, 20127},
        {u"LATIN1"_s, 28591}, {u"L1"_s, 28591}, {u"LATIN2"_s, 28592}, {u"L2"_s, 28592},
        {u"LATIN3"_s, 28593}, {u"LATIN4"_s, 28594}, {u"CYRILLIC"_s, 28595}, {u"ARABIC"_s, 28596},
        {u"GREEK"_s, 28597}, {u"HEBREW"_s, 28598}, {u"LATIN5"_s, 28599}, {u"LATIN9"_s, 28605},
        {u"KOI8R"_s, 20866}, {u"KOI8U"_s, 21866},
        {u"SHIFTJIS"_s, 932}, {u"SJIS"_s, 932}, {u"MSKANJI"_s, 932}, {u"EUCJP"_s, 20932},
        {u"GB2312"_s, 936}, {u"EUCCN"_s, 936}, {u"GBK"_s, 936}, {u"GB18030"_s, 54936},
        {u"BIG5"_s, 950}, {u"BIG5HKSCS"_s, 950}, {u"EUCKR"_s, 51949}, {u"UHC"_s, 949}, {u"JOHAB"_s, 1361},
        {u"MACINTOSH"_s, 10000}, {u"MAC"_s, 10000}, {u"MACCYRILLIC"_s, 10007},
        {u"TIS620"_s, 874}, {u"ISO2022JP"_s, 50220}, {u"ISO2022KR"_s, 50225},
    };
    const QString key = folded(name);
    if (const auto found = names.constFind(key); found != names.constEnd())
        return *found;
    // The numbered families: windows-1251, CP1251, IBM850, ISO-8859-5.
    for (const auto &[prefix, base] : {std::pair{u"WINDOWS"_s, 0u}, std::pair{u"CP"_s, 0u}, std::pair{u"IBM"_s, 0u},
                                       std::pair{u"MSCP"_s, 0u}, std::pair{u"ISO8859"_s, 28590u}}) {
        if (!key.startsWith(prefix))
            continue;
        bool ok = false;
        const unsigned number = key.mid(prefix.size()).toUInt(&ok);
        if (!ok || number == 0 || number > 65535 || key.mid(prefix.size()).startsWith(u'0'))
            return std::nullopt;
        if (base && number > 16)
            return std::nullopt;
        return base + number;
    }
    return std::nullopt;
}

bool isUnicodeForm(unsigned page)
{
    return page == Utf16 || page == Utf16BE || page == Utf32 || page == Utf32BE || page == Utf16Marked
           || page == Utf32Marked;
}

// UTF-16 and UTF-32, which MultiByteToWideChar does not take, through Qt's
// own converters, refusing what is not text.
std::optional<QString> decodeUnicode(unsigned page, QByteArrayView bytes, qsizetype *failedAt)
{
    const bool wide = page == Utf32 || page == Utf32BE || page == Utf32Marked;
    const qsizetype unit = wide ? 4 : 2;
    qsizetype start = 0;
    bool big = page == Utf16BE || page == Utf32BE || page == Utf16Marked || page == Utf32Marked;
    if (page == Utf16Marked && bytes.size() >= 2) {
        if (bytes.first(2) == "\xFF\xFE") {
            big = false;
            start = 2;
        } else if (bytes.first(2) == "\xFE\xFF") {
            start = 2;
        }
    } else if (page == Utf32Marked && bytes.size() >= 4) {
        if (bytes.first(4) == QByteArrayView("\xFF\xFE\0\0", 4)) {
            big = false;
            start = 4;
        } else if (bytes.first(4) == QByteArrayView("\0\0\xFE\xFF", 4)) {
            start = 4;
        }
    }
    QString text;
    for (qsizetype i = start; i < bytes.size(); i += unit) {
        const auto byte = [&](qsizetype k) { return char32_t(static_cast<unsigned char>(bytes[i + k])); };
        if (i + unit > bytes.size()) {
            *failedAt = i;
            return std::nullopt;
        }
        char32_t code = 0;
        for (qsizetype k = 0; k < unit; ++k)
            code |= byte(big ? k : unit - 1 - k) << (8 * (unit - 1 - k));
        if (!wide && QChar::isHighSurrogate(code)) {
            if (i + 2 * unit > bytes.size()) {
                *failedAt = i;
                return std::nullopt;
            }
            char32_t low = 0;
            for (qsizetype k = 0; k < unit; ++k)
                low |= char32_t(static_cast<unsigned char>(bytes[i + unit + (big ? k : unit - 1 - k)]))
                       << (8 * (unit - 1 - k));
            if (!QChar::isLowSurrogate(low)) {
                *failedAt = i;
                return std::nullopt;
            }
            text += QChar(char16_t(code));
            text += QChar(char16_t(low));
            i += unit;
            continue;
        }
        if (QChar::isSurrogate(code) || code > 0x10FFFF) {
            *failedAt = i;
            return std::nullopt;
        }
        text += QString::fromUcs4(&code, 1);
    }
    return text;
}

std::optional<QByteArray> encodeUnicode(unsigned page, QStringView text)
{
    const bool wide = page == Utf32 || page == Utf32BE || page == Utf32Marked;
    const bool big = page == Utf16BE || page == Utf32BE;
    const int unit = wide ? 4 : 2;
    QByteArray bytes;
    const auto put = [&](char32_t code) {
        for (int k = 0; k < unit; ++k)
            bytes += char((code >> (8 * (big ? unit - 1 - k : k))) & 0xFF);
    };
    // iconv marks "UTF-16" and "UTF-32" with a byte order mark, little-endian.
    if (page == Utf16Marked || page == Utf32Marked)
        put(0xFEFF);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char16_t low = text[++i].unicode();
            if (wide) {
                put(QChar::surrogateToUcs4(u, low));
            } else {
                put(u);
                put(low);
            }
        } else if (QChar::isSurrogate(u)) {
            return std::nullopt;
        } else {
            put(u);
        }
    }
    return bytes;
}

// Characters from bytes, refusing bytes that are no character.
std::optional<QString> toWide(unsigned page, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    // UTF-7 and the ISO-2022 pages take no flags.
    const DWORD flags = page == CP_UTF7 || (page >= 50220 && page <= 50229) ? 0 : MB_ERR_INVALID_CHARS;
    const int size = MultiByteToWideChar(page, flags, bytes.data(), int(bytes.size()), nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    if (MultiByteToWideChar(page, flags, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t *>(text.data()), size)
        != size)
        return std::nullopt;
    return text;
}

} // namespace

bool known(const QString &name)
{
    const auto page = codePageOf(name);
    return page && (isUnicodeForm(*page) || IsValidCodePage(*page));
}

std::optional<QString> decode(const QString &name, QByteArrayView bytes, qsizetype *failedAt)
{
    qsizetype unused = 0;
    if (!failedAt)
        failedAt = &unused;
    const auto page = codePageOf(name);
    if (!page) {
        *failedAt = 0;
        return std::nullopt;
    }
    if (isUnicodeForm(*page))
        return decodeUnicode(*page, bytes, failedAt);
    // Windows takes any byte as ASCII (dropping the eighth bit); iconv does not.
    if (*page == 20127) {
        const auto high = std::find_if(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
        if (high != bytes.end()) {
            *failedAt = high - bytes.begin();
            return std::nullopt;
        }
    }
    if (auto text = toWide(*page, bytes))
        return text;
    // Where it fails: character by character, each of at most four bytes.
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype length = 1;
        while (length <= 4 && at + length <= bytes.size() && !toWide(*page, bytes.sliced(at, length)))
            ++length;
        if (length > 4 || at + length > bytes.size())
            break;
        at += length;
    }
    *failedAt = at;
    return std::nullopt;
}

std::optional<QByteArray> encode(const QString &name, QStringView text)
{
    const auto page = codePageOf(name);
    if (!page)
        return std::nullopt;
    if (isUnicodeForm(*page))
        return encodeUnicode(*page, text);
    if (text.isEmpty())
        return QByteArray();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    // UTF-7 and the ISO-2022 pages take no flags and no default character.
    const bool stateful = *page == CP_UTF7 || (*page >= 50220 && *page <= 50229);
    const DWORD flags = *page == CP_UTF8 ? WC_ERR_INVALID_CHARS : stateful ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    BOOL *usedDefault = stateful || *page == CP_UTF8 ? nullptr : &defaulted;
    const int size = WideCharToMultiByte(*page, flags, wide, int(text.size()), nullptr, 0, nullptr, usedDefault);
    if (size <= 0 || defaulted)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    if (WideCharToMultiByte(*page, flags, wide, int(text.size()), bytes.data(), size, nullptr, usedDefault) != size
        || defaulted)
        return std::nullopt;
    // No best fit, and nothing that reads back as another character.
    if (*page != CP_UTF8 && toWide(*page, bytes) != text.toString())
        return std::nullopt;
    return bytes;
}

} // namespace basic::codepage
