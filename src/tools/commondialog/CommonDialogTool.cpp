// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogTool.h"

#include "tools/commondialog/CommonDialogCli.h"
#include "tools/commondialog/CommonDialogPanel.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

ToolDescriptor commonDialogTool()
{
    return {
        .cli = commonDialogCli(),
        .caption = QCoreApplication::translate("Tools", "Pickwright"),
        .picture = u":/images/pickwright.svg"_s,
        .selectorTop = 3120,
        .createPanel = createPanel<CommonDialogPanel>,
    };
}
