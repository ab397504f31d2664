// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Names.h"
#include "tools/commondialog/CommonDialogFields.h"
#include "tools/header/HeaderFields.h"
#include "tools/inputbox/InputBoxFields.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QString>

#include <optional>

// Reads BASIC source back into a tool's fields: the first message-box call,
// input-box call, common dialog block or file header block in the text.

enum class ReadTool { MsgBox, InputBox, Header, CommonDialog };

// How the message box's buttons argument was written.
enum class ConstantsStyle { Numbers, Names };

// Where and why the text could not be read; line and column count from 1,
// columns in characters, as an editor counts them.
struct ReadError
{
    int line = 1;
    int column = 1;
    QString message;

    // "line 3, column 18: UserName is a variable; ..."
    QString text() const;
};

struct ReadResult
{
    // Set when the text holds nothing the tools can hold; then no fields are.
    std::optional<ReadError> error;

    ReadTool tool = ReadTool::MsgBox;
    // Only the found tool's fields are filled in; the common dialog's
    // fields carry the page.
    MsgBoxFields msgBox;
    ConstantsStyle constants = ConstantsStyle::Numbers;
    // The BASIC the code is written in.
    basic::Dialect dialect = basic::Dialect::VisualBasic;
    InputBoxFields inputBox;
    HeaderFields header;
    CommonDialogFields commonDialog;

    bool ok() const { return !error.has_value(); }
};

// The window's single entry point. With `only`, just that tool's code is
// looked for. All or nothing: either every field the code shows, or an error.
ReadResult readCode(const QString &text, std::optional<ReadTool> only = std::nullopt);
