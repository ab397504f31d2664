// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Random texts for the tests, made of pieces that each test chooses for
// what it stresses (quotation marks, continuations, surrogate pairs, …).
namespace testsupport {

// The seed of a randomized test: QUILLKIT_SEED's, else a new one; logged as
// "<what> from seed N", so that a failure can be run again.
inline quint32 seed(const char *what)
{
    const quint32 seed = qEnvironmentVariableIsSet("QUILLKIT_SEED")
                             ? quint32(qEnvironmentVariable("QUILLKIT_SEED").toULong())
                             : QRandomGenerator::global()->generate();
    qInfo("%s from seed %u", what, seed);
    return seed;
}

// How a piece is drawn: QRandomGenerator draws an int bound and a qsizetype
// one differently. A test whose fixed seeds must keep giving the texts they
// gave keeps the draw it was written with.
enum class PieceDraw { Narrow, Wide };

// One more piece on the text, or a CR LF instead one time in `breakOneIn`
// (never when it is 0).
inline void appendRandomPiece(QRandomGenerator &random, QString &text, const QStringList &pieces, int breakOneIn,
                              PieceDraw draw = PieceDraw::Narrow)
{
    if (breakOneIn > 0 && random.bounded(breakOneIn) == 0)
        text += u"\r\n";
    else if (draw == PieceDraw::Wide)
        text += pieces.at(random.bounded(pieces.size()));
    else
        text += pieces.at(random.bounded(int(pieces.size())));
}

// `count` pieces.
inline QString randomPieces(QRandomGenerator &random, const QStringList &pieces, int count, int breakOneIn,
                            PieceDraw draw = PieceDraw::Narrow)
{
    QString text;
    for (int i = 0; i < count; ++i)
        appendRandomPiece(random, text, pieces, breakOneIn, draw);
    return text;
}

// Fewer than `maxPieces` pieces, as many as chance gives: none now and then.
inline QString randomShortText(QRandomGenerator &random, const QStringList &pieces, int maxPieces, int breakOneIn,
                               PieceDraw draw = PieceDraw::Narrow)
{
    const int count = random.bounded(maxPieces);
    return randomPieces(random, pieces, count, breakOneIn, draw);
}

// Pieces until the text holds at least `size` UTF-16 units.
inline QString randomPiecesOfSize(QRandomGenerator &random, const QStringList &pieces, qsizetype size, int breakOneIn,
                                  PieceDraw draw = PieceDraw::Narrow)
{
    QString text;
    while (text.size() < size)
        appendRandomPiece(random, text, pieces, breakOneIn, draw);
    return text;
}

} // namespace testsupport
