// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

// BASIC's named constants that the tools write and read, in both dialects:
// Visual Basic's vb… and cdl… names and LibreOffice Basic's MB_… and ID….
namespace basic {

// Gambas has no such names; its code is told by its own classes.
enum class Dialect { VisualBasic, LibreOffice, Gambas };

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

// The text constants (vbCrLf, vbTab, …) and their texts.
std::optional<QString> textConstant(QStringView name);

} // namespace basic
