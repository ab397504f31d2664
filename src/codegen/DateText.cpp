// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/DateText.h"

namespace codegen {

QString shortDateFormatWithFullYear(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString result;
    result.reserve(format.size() + 2);
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            quoted = !quoted;
            result += c;
            ++i;
            continue;
        }
        if (quoted || c != u'y') {
            result += c;
            ++i;
            continue;
        }
        // Any run of y outside quotes is the year; "yyyy" is its full form.
        while (i < format.size() && format.at(i) == u'y')
            ++i;
        result += QStringLiteral("yyyy");
    }
    return result;
}

QString shortDateText(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, shortDateFormatWithFullYear(locale));
}

} // namespace codegen
