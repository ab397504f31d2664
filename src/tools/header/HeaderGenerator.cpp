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
        Q_ASSERT(prefix.size() == ValueColumn);
        codegen::wrapComment(prefix, fields.*line.field, u'\'' + QString(ValueColumn - 1, u' '), LineLength, sink);
    }
    sink(headerRule());
}

} // namespace header
