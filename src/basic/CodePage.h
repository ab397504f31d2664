// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Text in an encoding named as iconv names it ("windows-1251", "ISO-8859-5",
// "SHIFT_JIS", "UTF-16LE"): through iconv on Linux, through the code pages of
// the Windows API on Windows, with the same names on both.
namespace basic::codepage {

bool known(const QString &name);

// The text of the bytes; the offset of the first byte that is not text in
// the encoding otherwise.
std::optional<QString> decode(const QString &name, QByteArrayView bytes, qsizetype *failedAt);

// The bytes of the text; nothing when a character has no bytes in it.
std::optional<QByteArray> encode(const QString &name, QStringView text);

} // namespace basic::codepage
