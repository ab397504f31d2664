// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxTool.h"

#include "tools/msgbox/MsgBoxCli.h"
#include "tools/msgbox/MsgBoxPanel.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

ToolDescriptor msgBoxTool()
{
    return {
        .cli = msgBoxCli(),
        .caption = QCoreApplication::translate("Tools", "Notewright"),
        .picture = u":/images/notewright.svg"_s,
        .selectorTop = 120,
        .createPanel = createPanel<MsgBoxPanel>,
    };
}
