// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The lines the common dialog tool writes around its code and the notes where
// a dialect's dialogs lack a setting: the writers write them and the readers
// look for them, from here alone.
namespace commondialog {

inline const QString BeginMarker = QStringLiteral("'*** Begin Pickwright Code ***");
inline const QString EndMarker = QStringLiteral("'*** End Pickwright Code ***");

inline const QString LibreOfficeExtensionThroughFilter =
    QStringLiteral("'The default extension is added through the filter of its type.");
inline const QString LibreOfficeAllFonts =
    QStringLiteral("'LibreOffice's font dialog cannot show only the printer's fonts: it shows them all.");
inline const QString LibreOfficeCustomColors =
    QStringLiteral("'LibreOffice's color picker always lets the user mix a custom color.");
inline const QString LibreOfficePrintToFile =
    QStringLiteral("'LibreOffice's print dialog always offers printing to a file.");

inline const QString GambasAllFonts =
    QStringLiteral("'Gambas's font dialog cannot show only the screen's or the printer's fonts: it shows them all.");
inline const QString GambasCustomColors = QStringLiteral("'Gambas's color dialog always lets the user mix a custom color.");
inline const QString GambasPrintToFile = QStringLiteral("'Gambas's print dialog always offers printing to a file.");

} // namespace commondialog
