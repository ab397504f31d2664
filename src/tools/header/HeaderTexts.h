// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Limits.h"
#include "tools/header/HeaderFields.h"

#include <QList>
#include <QString>

// The header block's captions and layout: the generator writes them, the
// reader looks for them and the panel labels its fields with them, from here
// alone.
namespace header {

// One labelled line of the block. The caption is also the panel's label, and
// caption plus blanks always fill 14 characters so the values line up.
struct HeaderLine
{
    QString caption;
    int blanks;
    QString HeaderFields::*field;
};

// The six lines, top to bottom, as the panel shows them.
inline const QList<HeaderLine> &headerLines()
{
    static const QList<HeaderLine> lines{
        {QStringLiteral("Project:"), 6, &HeaderFields::project},
        {QStringLiteral("Program:"), 6, &HeaderFields::program},
        {QStringLiteral("Version:"), 6, &HeaderFields::version},
        {QStringLiteral("Date:"), 9, &HeaderFields::date},
        {QStringLiteral("Copyright:"), 4, &HeaderFields::copyright},
        {QStringLiteral("Description:"), 2, &HeaderFields::description},
    };
    return lines;
}

// Where every value starts: after "' ", the caption and its blanks. A value
// too long for its line goes on over comment lines indented as far, an
// apostrophe and blanks.
inline constexpr qsizetype ValueColumn = 16;

// The frame above and below: an apostrophe and 79 asterisks.
inline QString headerRule()
{
    return u'\'' + QString(79, u'*');
}

// The longest line of the block, and how much shorter a line cut inside a
// word can be: a surrogate pair stays whole, and a line may not end in " _".
inline constexpr qsizetype LineLength = basic::MaxLineLength;
inline constexpr qsizetype CutWordSlack = 2;

} // namespace header
