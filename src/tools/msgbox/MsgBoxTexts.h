// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The lines the message box tool writes around its code and the notes where a
// dialect's box lacks a setting: the writers write them and the readers look
// for them, from here alone.
namespace msgbox {

// A box with several buttons, whose answer is kept.
inline const QString StartMarker = QStringLiteral("'*** Start Notewright Code ***");
// An OK-only box, a plain statement.
inline const QString StartPlainMarker = QStringLiteral("'*** Start MsgBox Code ***");
// What both start markers begin with.
inline const QString StartMarkerPrefix = QStringLiteral("'*** Start");
inline const QString EndMarker = QStringLiteral("'*** End Notewright Code ***");

// The block that acts on the answer: a case per button, each with what was
// clicked (the answer's reply label) and where the user's code goes.
inline const QString SelectResponse = QStringLiteral("Select Case Response");
inline const QString CaseIndent = QStringLiteral("  Case ");
inline const QString ClickedComment = QStringLiteral("  'User has clicked ");
inline const QString YourCodeHere = QStringLiteral("    '*** Your Code Here ***");
inline const QString EndSelect = QStringLiteral("End Select");

inline const QString LibreOfficeNoHelp =
    QStringLiteral("'LibreOffice's message box has no Help button or help file: they are left out.");

inline const QString GambasInformationOneButton =
    QStringLiteral("'Gambas's information box has one button only: the question box shows these.");
inline const QString GambasPlainOneButton =
    QStringLiteral("'Gambas's box without an icon has one button only: the question box shows these.");
inline const QString GambasFirstButtonDefault =
    QStringLiteral("'Gambas's message box makes its first button the default: Message.DefaultButton only turns "
                   "that on or off.");
inline const QString GambasNotSystemModal =
    QStringLiteral("'Gambas's message box is modal to the application only: it cannot be system-modal.");
inline const QString GambasNoHelp =
    QStringLiteral("'Gambas's message box has no Help button or help file: they are left out.");

} // namespace msgbox
