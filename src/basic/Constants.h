// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// BASIC's own constants' values, in one place for the generators, the
// readers, the live dialogs and the command line; their names in each
// dialect are in basic/Names.h, the message box's in basic/MsgBoxStyles.h.

// MsgBox style flags. A box's buttons value is one button set, one icon and
// one default button added up, plus the modality and Help flags.
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
    vbDefaultButton4 = 768,

    vbApplicationModal = 0,
    vbSystemModal = 4096,

    vbMsgBoxHelpButton = 16384,

    // BASIC knows these too, but the tools have no option for them.
    vbMsgBoxSetForeground = 65536,
    vbMsgBoxRight = 524288,
    vbMsgBoxRtlReading = 1048576,
};

// The parts of a buttons value that each flag group occupies.
inline constexpr qint32 MsgBoxButtonSetMask = 0x000F;
inline constexpr qint32 MsgBoxIconMask = 0x00F0;
inline constexpr qint32 MsgBoxDefaultButtonMask = 0x0F00;
inline constexpr qint32 MsgBoxModalityMask = 0x3000;

// MsgBox result codes.
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// The five standard dialogs of the common dialog control, in the order of
// the tool's pages.
enum class DialogKind { Open, Save, Font, Color, Printer };

// The common dialog control's Flags constants. Each dialog reads its own, so
// the same bit means different things to different dialogs.
enum CommonDialogFlag : qint32 {
    cdlOFNOverwritePrompt = 0x2, // Save: ask before replacing a file
    cdlCFScreenFonts = 0x1,
    cdlCFPrinterFonts = 0x2,
    cdlCFBoth = 0x3,
    cdlCCPreventFullOpen = 0x4,
    cdlPDDisablePrintToFile = 0x80000,
};
