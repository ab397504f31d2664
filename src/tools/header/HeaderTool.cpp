// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/header/HeaderTool.h"

#include "tools/header/HeaderCli.h"
#include "tools/header/HeaderPanel.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

ToolDescriptor headerTool()
{
    return {
        .cli = headerCli(),
        .caption = QCoreApplication::translate("Tools", "Topwright"),
        .picture = u":/images/topwright.svg"_s,
        .selectorTop = 2040,
        .createPanel = createPanel<HeaderPanel>,
    };
}
