// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QList>
#include <QString>

#include <optional>

// Reads BASIC source back into a tool's fields: the first construct in the
// text that one of the tools can hold (a message-box call, input-box call,
// common dialog block or file header block).
//
// With `only`, just that tool's code is looked for. All or nothing: either
// every field the code shows, or an error.
struct ReadSettings
{
    // The BASIC the code is written in; unset, the code's own constructs
    // tell (only those no other dialect has), else it is Visual Basic.
    std::optional<basic::Dialect> dialect;
    // The encoding the code was read in ("windows-1251"), the code page of
    // Visual Basic's Chr; empty for Windows-1252.
    QString codePage;
    // Where reading starts: the first construct of a statement or comment
    // that begins there or later (an offset in the text) is read.
    qsizetype from = 0;
};

ReadResult readCode(const QString &text, const QList<Tool> &tools, const Tool *only = nullptr,
                    const ReadSettings &settings = {});

// The BASIC a module is written in, by the one rule that `read`, `fix` and
// the language server share: the dialect given (--dialect, the server's
// setting), else the one its first construct of the tools reads as, else
// Visual Basic (also for a module too long to look through).
// sure: set false where only names tell, which Visual Basic code may have
// too (MB_YESNO declared by another module).
basic::Dialect moduleDialect(const QString &text, const QList<Tool> &tools, std::optional<basic::Dialect> given,
                             bool *sure = nullptr);

// The names by which `read` may take code for LibreOffice Basic's: its
// option, services and documents, and its own MB_ and ID names.
const QStringList &libreOfficeSignWords();

// Whether `read`, given no dialect, may take the text, or a part of it, for
// Gambas's: a line in a form only Gambas writes.
bool mayReadAsGambas(const QString &text, const QList<Tool> &tools);
