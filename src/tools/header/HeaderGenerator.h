// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"
#include "codegen/CodeOptions.h"
#include "tools/header/HeaderFields.h"
#include "tools/header/HeaderTexts.h"

#include <QDate>
#include <QList>
#include <QString>

// The header block: a framed comment that heads a source file.
namespace header {

// What the copyright and date fields hold at start-up and after New.
struct DateDefaults
{
    QString copyright;
    QString date;
};

// `todayText` is today's date as the user's short date format writes it;
// the caller converts it, since only the shell knows the user's locale.
DateDefaults headerDateDefaults(const QDate &today, const QString &todayText);
// Writes the date defaults into the copyright and date fields.
void applyDateDefaults(HeaderFields &fields, const QDate &today, const QString &todayText);

// Eight CR LF lines: the rule, one line per field, the rule again, with no
// CR LF after the last. Values are written exactly as typed; one too long for
// a line goes on over as many comment lines as it needs, aligned under its
// start. The block has no constants, so every code style gives the same.
QString generateHeaderBlock(const HeaderFields &fields, const codegen::CodeOptions &options = {});
// The same block handed to `sink` a line at a time, to be joined by CR LF.
void writeHeaderBlock(const HeaderFields &fields, const codegen::LineSink &sink);

} // namespace header
