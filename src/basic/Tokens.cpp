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

qint32 Tokens::builtinCallHead(qint32 k, qint32 begin) const
{
    qint32 head = k;
    const auto qualifier = [&](qint32 dot, QStringView word) {
        return dot - 1 >= begin && isPunct(dot, u'.') && isWord(dot - 1, word);
    };
    if (qualifier(head - 1, u"interaction"))
        head -= 2;
    if (qualifier(head - 1, u"vba"))
        head -= 2;
    if (head - 1 >= begin && isPunct(head - 1, u'.'))
        return -1;
    return head;
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
