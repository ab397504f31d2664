// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace codegen {

// The locale's short date format with the year always in four digits: a
// file header outlives the century that a two-digit year assumes.
QString shortDateFormatWithFullYear(const QLocale &locale);

// `date` in that format.
QString shortDateText(const QDate &date, const QLocale &locale = QLocale());

} // namespace codegen
