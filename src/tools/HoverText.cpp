// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HoverText.h"

using namespace Qt::StringLiterals;

namespace hover {

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (QStringView(u"\\`*_{}[]()<>#+-.!|~").contains(c))
            out += u'\\';
        out += c;
    }
    return out;
}

QString shortened(QString text, qsizetype most)
{
    text.replace(u"\r\n"_s, u" ⏎ "_s);
    if (text.size() > most) {
        // Not between the halves of a surrogate pair.
        qsizetype cut = most;
        if (text[cut - 1].isHighSurrogate())
            --cut;
        text = text.left(cut) + u'…';
    }
    return text;
}

QStringList heading(const QString &what, const QJsonObject &fields)
{
    const QJsonValue title = fields.value(u"title"_s);
    return {u"**%1**"_s.arg(what), QString(),
            u"- Title: "_s + (title.isNull() ? u"(the program's name)"_s : escaped(title.toString())),
            u"- Message: "_s + escaped(shortened(fields.value(u"message"_s).toString(), 200))};
}

} // namespace hover
