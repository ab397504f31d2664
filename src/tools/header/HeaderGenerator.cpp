// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/header/HeaderGenerator.h"

#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace header {

DateDefaults headerDateDefaults(const QDate &today, const QString &todayText)
{
    return {u"Copyright \u00a9 "_s + QString::number(today.year()), todayText};
}

void applyDateDefaults(HeaderFields &fields, const QDate &today, const QString &todayText)
{
    const DateDefaults defaults = headerDateDefaults(today, todayText);
    fields.copyright = defaults.copyright;
    fields.date = defaults.date;
}

const QList<HeaderLine> &headerLines()
{
    static const QList<HeaderLine> lines{
        {u"Project:"_s, 6, &HeaderFields::project},
        {u"Program:"_s, 6, &HeaderFields::program},
        {u"Version:"_s, 6, &HeaderFields::version},
        {u"Date:"_s, 9, &HeaderFields::date},
        {u"Copyright:"_s, 4, &HeaderFields::copyright},
        {u"Description:"_s, 2, &HeaderFields::description},
    };
    return lines;
}

QString headerRule()
{
    return u'\'' + QString(79, u'*');
}

QString generateHeaderBlock(const HeaderFields &fields, const codegen::CodeOptions &)
{
    QStringList lines;
    writeHeaderBlock(fields, [&lines](QString &&line) { lines << std::move(line); });
    return codegen::joinLines(lines);
}

void writeHeaderBlock(const HeaderFields &fields, const codegen::LineSink &sink)
{
    sink(headerRule());
    for (const HeaderLine &line : headerLines()) {
        const QString prefix = u"' "_s + line.caption + QString(line.blanks, u' ');
        codegen::wrapComment(prefix, fields.*line.field, u'\'' + QString(prefix.size() - 1, u' '),
                             codegen::LineLimits{}.length, sink);
    }
    sink(headerRule());
}

} // namespace header
