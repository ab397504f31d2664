// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"
#include "tools/commondialog/CommonDialogFields.h"

#include <QString>

// The Gambas code for the current page's dialog: the Dialog class's
// OpenFile, SaveFile, SelectFont and SelectColor (each True when the user
// cancelled) with Dialog.Title, Dialog.Filter and Dialog.Path, Dialog.Font
// and Dialog.Color, and a Printer's Configure for the print dialog. A
// setting that Gambas's dialogs lack is named in a comment line. Every line
// ends with CR LF, as the other dialects' do: each goes to `sink`, the last
// one empty.
void writeCommonDialogGambas(const CommonDialogFields &fields, const codegen::LineSink &sink);
