// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// The base protocol's framing: `Content-Length: N` headers, a blank line,
// then N bytes of JSON. Memory stays bounded whatever arrives: a body larger
// than the limit is skipped, keeping only its start.
namespace lsp {

struct Frame
{
    enum class Kind { Body, BadHeader, TooLarge };
    Kind kind = Kind::Body;
    QByteArray body;     // the whole body; for TooLarge its first and last bytes
    qint64 size = 0;     // the body's length as the header gave it
};

class MessageReader
{
public:
    // The longest body kept whole, and how much of a longer one is kept.
    explicit MessageReader(qint64 maxBody, qsizetype keptPrefix = 64 * 1024);

    // Takes the next bytes of the stream; complete frames are appended.
    void feed(QByteArrayView bytes, std::vector<Frame> &frames);

private:
    // A header longer than this is no header.
    static constexpr qsizetype MaxHeader = 8 * 1024;

    qint64 m_maxBody;
    qsizetype m_keptPrefix;
    QByteArray m_header;
    QByteArray m_body;
    QByteArray m_tail; // of a body too large: its last bytes so far
    qint64 m_expected = -1; // the body's length once its header is read
    qint64 m_received = 0;
};

} // namespace lsp
