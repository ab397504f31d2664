// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QString>
#include <QStringList>

// The buttons' captions of a button set, in the box's order ("Yes", "No",
// "Cancel"): what Gambas's Message functions take as their arguments.
QStringList gambasButtonTexts(qint32 buttonSet);

// The Gambas code that shows the box: `Message.Title = ...`, then the
// function of the icon (Message.Error, .Warning, .Question, .Info, or
// Message itself without one) with the buttons' captions, its answer (the
// button's number, 1 to 3) in `Response` with a `Select Case Response` block
// for several buttons. Settings that Gambas's box cannot show are named in a
// comment line. Each line goes to `sink` as it is made.
void writeMsgBoxGambas(const MsgBoxFields &fields, const codegen::LineSink &sink);
