// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"
#include "codegen/CodeOptions.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QList>
#include <QString>

#include <functional>

// The buttons value of the box: the four style values, plus the Help flag
// when help is on.
qint32 msgBoxButtonsValue(const MsgBoxFields &fields);

// The buttons argument as the code writes it: the value, or the sum of the
// constants' names.
QString msgBoxButtonsArgument(const MsgBoxFields &fields, const codegen::CodeOptions &options = {});

// What the code view says of the code: a message longer than the classic
// box shows.
QStringList msgBoxCodeNotes(const MsgBoxFields &fields);

// The "Select Case Response" block with one case per answer, in order, each
// case's value as the code writes it (a number or a name), lines joined by
// CR LF. `caseValue` writes the value of the answer at a place (from 0).
QString responseSelect(const QList<int> &answers, const std::function<QString(int place, int answer)> &caseValue);
// With the answers' codes as the options write constants.
QString responseSelect(const QList<int> &answers, const codegen::CodeOptions &options = {});

// The source text that shows the box: a "Msgbox" statement for an OK-only
// box, otherwise a Response variable with a "Select Case Response" block.
// Lines joined by CR LF, none after the last.
QString generateMsgBoxCode(const MsgBoxFields &fields, const codegen::CodeOptions &options = {});
// The same code, handed to `sink` a line (or block of lines) at a time, to be
// joined by CR LF: a message of any length is written without the whole code
// ever being in memory.
void writeMsgBoxCode(const MsgBoxFields &fields, const codegen::CodeOptions &options, const codegen::LineSink &sink);
