// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Constants.h"
#include "basic/Dialect.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

// BASIC's named constants that the tools write and read, in both dialects:
// Visual Basic's vb… and cdl… names and LibreOffice Basic's MB_… and ID….
namespace basic {

// Gambas has no such names; its code is told by its own classes.

// What a name stands for. A buttons value is one of each MsgBox group
// added up.
enum class NameGroup {
    ButtonSet,
    Icon,
    DefaultButton,
    Modality,
    HelpButton,
    BoxOption, // vbMsgBoxSetForeground, vbMsgBoxRight, vbMsgBoxRtlReading
    Result,    // vbYes, IDYES, …
    CommonDialogFlag,
};

struct BasicName
{
    QStringView name;
    qint32 value;
    NameGroup group;
    Dialect dialect;
};

// Every name, the one a value is written with first within its group and
// dialect.
std::span<const BasicName> basicNames();

// The name spelt so, in any case; nullptr when BASIC has none such.
const BasicName *findName(QStringView name);

// The name that writes the value in the group, as the names style does.
std::optional<QStringView> nameFor(NameGroup group, qint32 value, Dialect dialect);

// A result code's name ("vbYes" for 6, LibreOffice's "IDYES"), or the
// number for a value that has none.
QString resultName(int resultCode, Dialect dialect);

// A buttons value written as the sum of constant names, as both the
// generator and `fix` write it: the button set, the icon, the default button
// after the first, the system-modal flag, the Help flag, then the flags the
// tools have no option for (vbMsgBoxSetForeground, vbMsgBoxRight,
// vbMsgBoxRtlReading), joined by " + ". The OK-only name is written only
// when no other name is (0, or OK with a number). A group's value without a
// name in the dialect, and bits that belong to no group it names, are
// written as numbers: LibreOffice has no Help flag, no fourth default
// button and none of those options.
QString buttonsNames(qint32 value, Dialect dialect);

// The text constants (vbCrLf, vbTab, …) and their texts.
std::optional<QString> textConstant(QStringView name);

} // namespace basic
