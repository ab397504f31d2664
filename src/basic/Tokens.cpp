// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Tokens.h"

namespace basic {

qsizetype Tokens::closing(qsizetype open, qsizetype end) const
{
    qsizetype depth = 0;
    for (qsizetype i = open; i < end; ++i) {
        if (isPunct(i, u'('))
            ++depth;
        else if (isPunct(i, u')') && --depth == 0)
            return i;
    }
    return end;
}

QString Tokens::nameChain(qsizetype &i, qsizetype end) const
{
    QString name = text(i).toString();
    ++i;
    while (i + 1 < end && isPunct(i, u'.') && isIdent(i + 1)) {
        name += u'.';
        name += text(i + 1);
        i += 2;
    }
    return name;
}

} // namespace basic
