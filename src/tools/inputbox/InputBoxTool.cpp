// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxTool.h"

#include "tools/inputbox/InputBoxCli.h"
#include "tools/inputbox/InputBoxPanel.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

ToolDescriptor inputBoxTool()
{
    return {
        .cli = inputBoxCli(),
        .caption = QCoreApplication::translate("Tools", "Askwright"),
        .picture = u":/images/askwright.svg"_s,
        .selectorTop = 1080,
        .createPanel = createPanel<InputBoxPanel>,
    };
}
