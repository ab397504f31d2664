#pragma once

#include <QString>
#include <QStringList>

// The tool's pages, in order; the current one picks the dialog.
enum class DialogPage { Open, Save, Font, Color, Printer };

// The Font page's choice of fonts to display.
enum class FontsToDisplay { ScreenOnly, PrinterOnly, Both };

// The common dialog tool's fields, page by page. The initializers are the
// start-up state, and what New puts back on a page.
struct CommonDialogFields
{
    DialogPage page = DialogPage::Open;

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
