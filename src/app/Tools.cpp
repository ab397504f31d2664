// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Tools.h"

#include "tools/commondialog/CommonDialogTool.h"
#include "tools/header/HeaderTool.h"
#include "tools/inputbox/InputBoxTool.h"
#include "tools/msgbox/MsgBoxTool.h"

const QList<Tool> &tools()
{
    static const QList<Tool> list{msgBoxTool(), inputBoxTool(), headerTool(), commonDialogTool()};
    return list;
}
