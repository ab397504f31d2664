// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The lines the input box tool writes around its code and the notes where a
// dialect's box lacks a setting: the writers write them and the readers look
// for them, from here alone.
namespace inputbox {

inline const QString BeginMarker = QStringLiteral("'*** Begin Askwright Code ***");
inline const QString EndMarker = QStringLiteral("'*** End Askwright Code ***");

inline const QString LibreOfficeNoHelp =
    QStringLiteral("'LibreOffice's input box has no help file: the help file and topic are left out.");
inline const QString GambasNoHelp =
    QStringLiteral("'Gambas's input box has no help file: the help file and topic are left out.");

} // namespace inputbox
