// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// Fuzz bytes as a text. A byte below 0xF0 is the character of that code, so
// that CR, LF, quotation marks and digits stay one byte long for the fuzzer;
// 0xF0 and above takes the next two bytes as any UTF-16 code unit, lone
// surrogates and NUL included.
inline QString fuzzText(const std::uint8_t *data, std::size_t size)
{
    QString text;
    text.reserve(qsizetype(size));
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] >= 0xF0 && i + 2 < size) {
            text += QChar(char16_t((data[i + 1] << 8) | data[i + 2]));
            i += 2;
        } else {
            text += QChar(char16_t(data[i]));
        }
    }
    return text;
}

// A text for a failure message: every character outside printable ASCII as
// \uXXXX, so that NULs, line breaks and surrogates show.
inline QString shown(QStringView text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    }
    return out;
}

// Stops the run with the input saved: libFuzzer reports the abort as a crash.
#define FUZZ_CHECK(condition, ...)                                                                                    \
    do {                                                                                                              \
        if (!(condition))                                                                                             \
            qFatal("check failed: %s: %s", #condition, qPrintable(QString(__VA_ARGS__)));                            \
    } while (false)
