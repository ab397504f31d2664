// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <span>
#include <vector>

// Source files as BASIC's editors save them: UTF-8 (with or without its
// byte order mark), the classic editor's Windows-1252, or what the user
// names. The bytes are kept, so that a change touches only its own span.
namespace basic {

// Why bytes could not be taken as text.
struct SourceError
{
    QString message;
};

class Encoding
{
public:
    // "auto" (or empty): UTF-8 when the bytes are valid UTF-8, otherwise
    // Windows-1252. Any other name is one that iconv knows (basic/CodePage.h).
    // Throws SourceError for a name that the system has no code page for.
    static Encoding named(const QString &name);

    bool isAuto() const { return m_name.isEmpty(); }
    QString name() const { return m_name; }

private:
    QString m_name;
};

class Source
{
public:
    // Throws SourceError for bytes that are not text in the encoding, and
    // for text that holds half of a surrogate pair.
    Source(QByteArray bytes, const Encoding &encoding);

    const QByteArray &bytes() const { return m_bytes; }
    // Without the byte order mark.
    const QString &text() const { return m_text; }
    // "UTF-8", "UTF-8 with BOM", "windows-1252" or the name given.
    QString encodingName() const;

    // The bytes with the text's spans [from, to) replaced; the spans are in
    // order and apart. Throws SourceError when a replacement cannot be
    // written in the file's encoding.
    struct Change
    {
        qsizetype from;
        qsizetype to;
        QString replacement;
    };
    QByteArray withChanges(std::span<const Change> changes) const;
    // The byte offset of each text offset, in ascending order.
    std::vector<qsizetype> byteOffsets(std::span<const qsizetype> positions) const;

private:
    enum class Kind { Utf8, Windows1252, Named };
    QByteArray encode(QStringView text) const;

    QByteArray m_bytes;
    QString m_text;
    Kind m_kind = Kind::Utf8;
    qsizetype m_bom = 0;
    QString m_encodingName;
};

// The position of the first half of a surrogate pair that stands alone.
std::optional<qsizetype> loneSurrogate(QStringView text);

// The character of a Windows-1252 byte; the five bytes it leaves undefined
// stand for the control characters of the same number.
char16_t windows1252Char(quint8 byte);

// Decodes a text given to an option (a -file, standard input) as a source
// file is decoded. Throws SourceError.
QString decodeText(const QByteArray &bytes, const Encoding &encoding = {});

} // namespace basic
