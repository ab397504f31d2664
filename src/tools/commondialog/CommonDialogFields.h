// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Constants.h"

#include <QString>
#include <QStringList>


// The Font page's choice of fonts to display.
enum class FontsToDisplay { ScreenOnly, PrinterOnly, Both };

// The common dialog tool's fields, page by page. The initializers are the
// start-up state, and what New puts back on a page.
struct CommonDialogFields
{
    // The tool's page, which picks the dialog.
    DialogKind page = DialogKind::Open;

    QString openTitle = QStringLiteral("Open");
    // File types in the order they were added, repeats and spelling kept.
    QStringList openFileTypes;

    QString saveTitle = QStringLiteral("Save As");
    QString saveDefaultExtension;
    QStringList saveFileTypes;

    FontsToDisplay fonts = FontsToDisplay::Both;
    bool customColors = true;
    bool printToFile = true;

    friend bool operator==(const CommonDialogFields &, const CommonDialogFields &) = default;
};
