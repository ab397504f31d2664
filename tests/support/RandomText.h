// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Random texts for the tests, made of pieces that each test chooses for
// what it stresses (quotation marks, continuations, surrogate pairs, …).
namespace testsupport {

// One more piece on the text, or a CR LF instead one time in `breakOneIn`
// (never when it is 0).
inline void appendRandomPiece(QRandomGenerator &random, QString &text, const QStringList &pieces, int breakOneIn)
{
    if (breakOneIn > 0 && random.bounded(breakOneIn) == 0)
        text += u"\r\n";
    else
        text += pieces.at(random.bounded(int(pieces.size())));
}

// `count` pieces.
inline QString randomPieces(QRandomGenerator &random, const QStringList &pieces, int count, int breakOneIn)
{
    QString text;
    for (int i = 0; i < count; ++i)
        appendRandomPiece(random, text, pieces, breakOneIn);
    return text;
}

// Pieces until the text holds at least `size` UTF-16 units.
inline QString randomPiecesOfSize(QRandomGenerator &random, const QStringList &pieces, qsizetype size, int breakOneIn)
{
    QString text;
    while (text.size() < size)
        appendRandomPiece(random, text, pieces, breakOneIn);
    return text;
}

} // namespace testsupport
