// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

// A document as the editor holds it, and the protocol's positions in it:
// lines end at CR LF, CR or LF; characters count UTF-16 units, or UTF-8
// bytes where the client asked for them.
namespace lsp {

enum class PositionEncoding { Utf16, Utf8 };

struct Position
{
    int line = 0;
    int character = 0;
};

class TextDocument
{
public:
    TextDocument() = default;
    explicit TextDocument(QString text);

    const QString &text() const { return m_text; }

    // The offset into the text; a line or character past the end is the
    // end of the text or of the line, as the protocol asks.
    qsizetype offsetAt(Position position, PositionEncoding encoding) const;
    Position positionAt(qsizetype offset, PositionEncoding encoding) const;
    // The same for offsets in order: `line` is where the last one was, from 0.
    Position positionAt(qsizetype offset, PositionEncoding encoding, qsizetype *line) const;

    // Lines, as positions count them: a text that ends in a line break has
    // an empty line after it.
    qsizetype lineCount() const;

    // Replaces [from, to) with the text.
    void replace(qsizetype from, qsizetype to, const QString &text);

private:
    void index() const;
    qsizetype lineEnd(qsizetype line) const; // before its line break

    QString m_text;
    mutable std::vector<qsizetype> m_lineStarts; // empty until needed
};

} // namespace lsp
