// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Tool.h"

#include <QString>

// A tool that lives in the tests alone, added to the program through its one
// entry (this folder's Tools.cpp): it proves that a new tool needs nothing
// more. It jots a note for someone as one comment line,
// `' JOT (Ann): Check the rounding`, and reads such a line back.
struct JotFields
{
    QString author = QStringLiteral("Me");
    QString note;

    friend bool operator==(const JotFields &, const JotFields &) = default;
};

QString generateJot(const JotFields &fields, const codegen::CodeOptions &options);

Tool jotTool();
