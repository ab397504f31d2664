// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QList>
#include <QString>

// The buttons value of the box: the four style values, plus the Help flag
// when help is on.
qint32 msgBoxButtonsValue(const MsgBoxFields &fields);

// The buttons argument as the code writes it: the value, or the sum of the
// constants' names.
QString msgBoxButtonsArgument(const MsgBoxFields &fields, const codegen::CodeOptions &options = {});

// The source text that shows the box: a "Msgbox" statement for an OK-only
// box, otherwise a Response variable with a "Select Case Response" block.
// Lines joined by CR LF, none after the last.
QString generateMsgBoxCode(const MsgBoxFields &fields, const codegen::CodeOptions &options = {});
