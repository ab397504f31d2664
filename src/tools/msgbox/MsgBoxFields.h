// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/MsgBoxStyles.h"
#include "tools/HelpFields.h"

#include <QString>
#include <QtGlobal>

// The style values that the panel's option handlers keep in step with the
// chosen icon, button option and modality. Nothing else writes them.
struct MsgBoxStyleValues
{
    qint32 buttonSet = vbOKOnly;
    qint32 defaultButton = vbDefaultButton1;
    qint32 icon = vbNoIcon;
    qint32 modality = vbApplicationModal;

    friend bool operator==(const MsgBoxStyleValues &, const MsgBoxStyleValues &) = default;
};

// Everything the message-box tool's code and live test are made from, as the
// panel starts: an empty OK-only box without icon or help.
struct MsgBoxFields
{
    // Line breaks as CR LF.
    QString message;
    QString title;
    MsgBoxStyleValues style;
    HelpFields help;

    friend bool operator==(const MsgBoxFields &, const MsgBoxFields &) = default;
};
