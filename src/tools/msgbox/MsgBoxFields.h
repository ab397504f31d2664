#pragma once

#include "tools/HelpFields.h"

#include <QString>
#include <QtGlobal>

// BASIC's MsgBox style flags. A box's buttons value is one button set, one
// icon and one default button added up, plus the modality and Help flags.
enum MsgBoxFlag : qint32 {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,

    vbNoIcon = 0,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,

    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,

    vbApplicationModal = 0,
    vbSystemModal = 4096,

    vbMsgBoxHelpButton = 16384,
};

// The style values that the panel's option handlers keep in step with the
// chosen icon, button option and modality. Nothing else writes them.
struct MsgBoxStyleValues
{
    qint32 ButtonSetValue = vbOKOnly;
    qint32 DefaultButtonValue = vbDefaultButton1;
    qint32 IconValue = vbNoIcon;
    qint32 ModalValue = vbApplicationModal;

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
};
