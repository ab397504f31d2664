// SPDX-License-Identifier: GPL-3.0-or-later
// The Filter property built from a list of file types, and its conversion
// to Qt's name filters. Oracle: the patterns that Qt's file dialog reads from
// each name filter (its own parsing, rebuilt below from QFileDialog) are
// exactly the patterns of the matching pair in the filter.

#include "FuzzInput.h"
#include "platform/QtCommonDialog.h"
#include "tools/commondialog/CommonDialogGenerator.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// What QFileDialog makes of one name filter: it simplifies the text, takes
// the patterns between the final parentheses when only characters of its
// own choosing stand there, and otherwise the whole text; either way split
// at blanks.
QStringList patternsQtReads(const QString &nameFilter)
{
    static const QRegularExpression filterRegExp(
        u"^(.*)\\(([a-zA-Z0-9_.,*? +;#\\-\\[\\]@\\{\\}/!<>\\$%&=^~:\\|]*)\\)$"_s);
    QString text = nameFilter.simplified();
    if (const QRegularExpressionMatch match = filterRegExp.match(text); match.hasMatch())
        text = match.captured(2);
    return text.split(u' ', Qt::SkipEmptyParts);
}

// The patterns a pair of the Filter property names: separated by
// semicolons, and by blanks, which Qt cannot keep inside a pattern.
QStringList patternsOf(const QString &patternText)
{
    return QString(patternText).replace(u';', u' ').simplified().split(u' ', Qt::SkipEmptyParts);
}

void checkNameFilters(const QString &filter)
{
    const QStringList nameFilters = qtcommondialog::nameFilters(filter);
    const QStringList parts = filter.split(u'|');
    // Each name filter stands for one pair of the filter, in order. A pair
    // whose patterns Qt cannot read in any form may be left out, but only
    // then: every pattern list that does not end in ")" can be written bare.
    qsizetype next = 0;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList wanted = patternsOf(parts.at(i + 1));
        if (wanted.isEmpty())
            continue;
        if (next < nameFilters.size() && patternsQtReads(nameFilters.at(next)) == wanted) {
            ++next;
            continue;
        }
        FUZZ_CHECK(wanted.join(u' ').endsWith(u')'),
                   u"pair %1 of %2 becomes %3"_s.arg(i / 2).arg(shown(filter), shown(nameFilters.value(next))));
    }
    FUZZ_CHECK(next == nameFilters.size(), u"extra name filters for "_s + shown(filter));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QString text = fuzzText(data + 1, size - 1);
    if (data[0] & 1) {
        // Any Filter property, as a program could set it.
        checkNameFilters(text);
        return 0;
    }
    // File types as the Add button collects them: one line each, not empty.
    const QStringList types = text.split(u'\n', Qt::SkipEmptyParts);
    const QString filter = buildFileFilter(types);
    FUZZ_CHECK(filter.isEmpty() == types.isEmpty());
    FUZZ_CHECK(types.isEmpty() || filter.endsWith(u'|'));
    QString rebuilt;
    for (const QString &type : types)
        rebuilt += type + u" Files|*."_s + type + u'|';
    FUZZ_CHECK(filter == rebuilt, filter);
    checkNameFilters(filter);
    return 0;
}
