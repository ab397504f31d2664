// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CommonDialog.h"

#include <QAbstractPrintDialog>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QStringList>

class QPrintDialog;

// How the common dialog component's properties become Qt dialog settings.
// The component shows the dialogs; these functions only set them up, so
// that each mapping can be checked without showing anything.
namespace qtcommondialog {

// Qt name filters for a Filter property: each "description|pattern" pair
// becomes "description (pattern)", with the ";"-separated patterns of one
// pair in one filter. Patterns that Qt cannot read between parentheses
// (with a letter beyond ASCII, a parenthesis or a control character) stand
// bare, without the description. A missing or empty pattern drops its pair, and so does one
// that Qt cannot read in any form; an empty result means all files.
QStringList nameFilters(const QString &filter);

// A Filter property as Windows' file dialogs take it: description and
// pattern of each pair ended by a NUL, and the list by another. A pair
// without a pattern is left out, an empty description shows the pattern.
QString windowsFilter(const QString &filter);

// Title, name filters, default suffix, mode and options of a file dialog.
void setUpFileDialog(QFileDialog &dialog, DialogKind kind, const CommonDialog &properties);
QFileDialog::Options fileDialogOptions(DialogKind kind, qint32 flags);
// A comfortable size for a file dialog in `room` (a screen's available
// area), with the detail view's size and date columns wide enough to read.
void sizeFileDialog(QFileDialog &dialog, const QRect &room);

// Qt lists the same fonts for the screen and the printer; only scalable
// fonts stand for printer fonts, as those print at any resolution.
QFontDialog::FontDialogOptions fontDialogOptions(qint32 flags);
// Whether the font dialog would list any font at all.
bool fontsAvailable(QFontDialog::FontDialogOptions options);
// A family that the font dialog would list but that has no styles, or an
// empty text. Qt's dialog reads a null style for such a family as soon as it
// is current (Wine lists "MS Shell Dlg", Qt's default font, that way).
QString familyWithoutStyles(const QStringList &families);

// Qt's colour dialog always lets the user define custom colours; with
// cdlCCPreventFullOpen its "Add to Custom Colors" button is disabled
// instead, which needs Qt's own dialog rather than a native one.
QColorDialog::ColorDialogOptions colorDialogOptions(qint32 flags);
void setUpColorDialog(QColorDialog &dialog, qint32 flags);

QAbstractPrintDialog::PrintDialogOptions printDialogOptions(qint32 flags);
void setUpPrintDialog(QPrintDialog &dialog, qint32 flags);
// Qt's own print dialog prints to a file with no printer installed. On
// Windows Qt shows the system's, which needs a printer even for that.
#if defined(Q_OS_WIN)
inline constexpr bool PrintsToFileWithoutPrinter = false;
#else
inline constexpr bool PrintsToFileWithoutPrinter = true;
#endif
// The print dialog has somewhere to print to: an installed printer, or a
// file when printing to file is allowed and needs no printer.
bool canPrint(qint32 flags, qsizetype installedPrinters);

} // namespace qtcommondialog
