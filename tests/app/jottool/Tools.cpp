// SPDX-License-Identifier: GPL-3.0-or-later
// The program's list of tools with one more entry, the tests' own tool. It
// stands in for src/app/Tools.cpp: an archive's member is linked only for a
// symbol still undefined, and this file defines tools() first.
#include "app/Tools.h"

#include "app/jottool/JotTool.h"
#include "tools/commondialog/CommonDialogTool.h"
#include "tools/header/HeaderTool.h"
#include "tools/inputbox/InputBoxTool.h"
#include "tools/msgbox/MsgBoxTool.h"

const QList<Tool> &tools()
{
    static const QList<Tool> list{msgBoxTool(), inputBoxTool(), headerTool(), commonDialogTool(), jotTool()};
    return list;
}
