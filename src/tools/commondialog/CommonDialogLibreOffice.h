// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"
#include "tools/commondialog/CommonDialogFields.h"

// The LibreOffice Basic code for the current page's dialog: the dialogs are
// UNO services (the file picker and the color picker), or the current
// document's own font and print dialogs through its dispatcher. A setting
// that they lack is named in a comment line. Every line ends with CR LF, as
// the other dialects' do: each goes to `sink`, the last one empty.
void writeCommonDialogLibreOffice(const CommonDialogFields &fields, const codegen::LineSink &sink);
