// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"
#include "codegen/CodeOptions.h"
#include "tools/commondialog/CommonDialogFields.h"

#include <QString>
#include <QStringList>

// The Filter property for a list of file types: "E Files|*.E|" for each
// entry E, in list order. The final bar stays; an empty list gives "".
QString buildFileFilter(const QStringList &fileTypes);

// A typed file type as the filter takes it, or why it cannot be one.
struct FileTypeCheck
{
    QString type;
    // Empty when the type is sound.
    QString problem;
};

// "*.bas", ".bas" and "bas" all give "bas"; blanks around it are dropped. A
// type that is then empty, or holds a space, "|", ";", "*", "?" or ".", would
// break the filter or match other files: `problem` says which.
FileTypeCheck checkFileType(QStringView typed);

// The code that shows the current page's dialog through `CommonDialog1`,
// with a cancel sent to an error label. Every line ends with CR LF.
// Its few constants are always written as names, so every code style gives
// the same. For LibreOffice Basic, the file picker and color picker
// services and the document's own font and print dialogs instead.
QString generateCommonDialogCode(const CommonDialogFields &fields, const codegen::CodeOptions &options = {});
// The same code, a line at a time (joined by CR LF; the last is empty).
void writeCommonDialogCode(const CommonDialogFields &fields, const codegen::CodeOptions &options,
                           const codegen::LineSink &sink);
