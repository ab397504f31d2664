// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

// The base protocol's framing: `Content-Length: N` headers, a blank line,
// then N bytes of JSON. Memory stays bounded whatever arrives: a body larger
// than the limit is skipped, keeping only its start. A frame that is not
// well formed is reported once, and reading goes on from the next
// `Content-Length:` header.
namespace lsp {

struct Frame
{
    enum class Kind {
        Body,
        BadHeader, // no valid Content-Length, lines ending in LF alone, too long
        BadBody,   // a body that cannot be JSON: it starts with neither { nor [, or holds a header
        TooLarge,
        Stalled, // the body stopped coming: dropBody()
    };
    Kind kind = Kind::Body;
    QByteArray body;     // the whole body; for TooLarge and Stalled its first (and last) bytes
    qint64 size = 0;     // the body's length as the header gave it
    QString reason;      // what was wrong, for the log
};

class MessageReader
{
public:
    // The longest body kept whole, and how much of a longer one is kept.
    explicit MessageReader(qint64 maxBody, qsizetype keptPrefix = 64 * 1024);

    // Takes the next bytes of the stream.
    void feed(QByteArrayView bytes);
    // The next complete frame, or nothing until more bytes come.
    std::optional<Frame> next();
    // Takes the bytes and appends every frame now complete.
    void feed(QByteArrayView bytes, std::vector<Frame> &frames);

    // The body just read was no JSON: its length was likely wrong. Reading
    // goes on from the next header at or after the body's second byte.
    void skipBody(const QByteArray &body);
    // Whether a body has begun and not ended.
    bool midBody() const { return m_expected >= 0; }
    // Gives up on the body begun: a Stalled frame, after which reading goes
    // on from the next header inside what came of it.
    std::optional<Frame> dropBody();

private:
    // A header longer than this is no header.
    static constexpr qsizetype MaxHeader = 8 * 1024;
    // Enough of a body's last bytes to hold a header line cut in two.
    static constexpr qsizetype RecentBytes = 64;

    // What a step of next() leaves: the body to read, another go, or nothing
    // until more bytes come. A fault to report is put in `frame`.
    enum class Step { Read, Again, Wait };
    Step readHeader(std::optional<Frame> &frame);
    // Whether the body's first bytes show it is no message (then skipped).
    bool skippedNoMessage(QByteArrayView bytes, std::optional<Frame> &frame);
    // Whether a header stands inside the body (then read from there on).
    bool cutAtHeaderInside(QByteArrayView bytes, qsizetype take, std::optional<Frame> &frame);
    std::optional<Frame> badHeader(const QString &reason, qsizetype skip);
    void skipFrom(const QByteArray &bytes);
    void compact();

    qint64 m_maxBody;
    qsizetype m_keptPrefix;
    QByteArray m_input; // not yet taken, from m_at on
    qsizetype m_at = 0;
    QByteArray m_body;
    QByteArray m_tail; // of a body too large: its last bytes so far
    QByteArray m_recent;    // the body's last bytes, looked at again for a header
    qint64 m_expected = -1; // the body's length once its header is read
    qint64 m_received = 0;
    bool m_bodyStarted = false; // its first byte other than a blank is seen
    bool m_skipping = false;    // looking for the next Content-Length
    bool m_quiet = false;       // a fault is reported: the rest of it is not, until a good frame
};

} // namespace lsp
