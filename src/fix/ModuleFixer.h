// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Names.h"

#include <QString>

#include <vector>

// What `fix` changes in one module: the bare numbers of its message boxes'
// buttons and results, each replaced by BASIC's names for it, and nothing
// else. A pure function of the module's text.
namespace fix {

struct Change
{
    qsizetype from; // UTF-16 offsets into the text
    qsizetype to;
    QString original;
    QString replacement;
    int line;
    int column;
    int call; // the message box call it belongs to
};

// Something fix leaves as it is, and why.
struct Note
{
    int line;
    int column;
    QString message;
};

struct ModuleFixes
{
    std::vector<Change> changes; // in order, apart
    std::vector<Note> notes;
    int calls = 0; // message box calls that a change belongs to
};

ModuleFixes fixModule(QStringView text, basic::Dialect dialect);

// The names the buttons value is written with, in the order the names style
// writes them; the dialect's own names, numbers where it has none.
QString buttonsNames(qint64 value, basic::Dialect dialect);

} // namespace fix
