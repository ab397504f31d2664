#pragma once

#include "tools/msgbox/MsgBoxFields.h"

#include <QList>
#include <QString>

// The buttons value of the box: the four style values, plus the Help flag
// when help is on.
qint32 msgBoxButtonsValue(const MsgBoxFields &fields);

// The result codes of a button set's buttons, in the order the box shows
// them (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
QList<int> msgBoxButtonCodes(qint32 buttonSet);

// The source text that shows the box: a "Msgbox" statement for an OK-only
// box, otherwise a Response variable with a "Select Case Response" block.
// Lines joined by CR LF, none after the last.
QString generateMsgBoxCode(const MsgBoxFields &fields);
