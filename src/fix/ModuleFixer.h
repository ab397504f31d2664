// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Limits.h"
#include "basic/Names.h"

#include <QString>

#include <vector>

// What `fix` changes in one module: the bare numbers of its message boxes'
// buttons and results, each replaced by BASIC's names for it, and nothing
// else. A pure function of the module's text.
namespace fix {

enum class ChangeKind { Buttons, Result };

struct Change
{
    qsizetype from; // UTF-16 offsets into the text
    qsizetype to;
    QString original;
    QString replacement; // with a space where a word would otherwise follow
    int line;
    int column;
    int call; // the message box call it belongs to
    ChangeKind kind;
};

// A number fix leaves as it is, and why.
struct Note
{
    qsizetype pos; // UTF-16 offsets into the text
    qsizetype end;
    int line;
    int column;
    QString message;
};

struct ModuleFixes
{
    std::vector<Change> changes; // in order, apart
    std::vector<Note> notes;     // in order, one per place
    int calls = 0;               // message box calls that a change belongs to
};

// dialectSure: false where only names said which BASIC the module is, which
// then leaves its calls as they are, with a note.
ModuleFixes fixModule(QStringView text, basic::Dialect dialect, bool dialectSure = true);

} // namespace fix
