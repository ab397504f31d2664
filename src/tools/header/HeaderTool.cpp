// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/header/HeaderTool.h"

#include "tools/header/HeaderCli.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/header/HeaderPanel.h"
#include "tools/header/HeaderReader.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

Tool headerTool()
{
    return {
        .cli = headerCli(),
        .caption = QCoreApplication::translate("Tools", "Topwright"),
        .subject = QCoreApplication::translate("Tools", "file headers"),
        .picture = u":/images/topwright.svg"_s,
        .generate = generateFrom<HeaderFields, header::generateHeaderBlock>,
        .sameFields = sameFields<HeaderFields>,
        .reader = headerReader(),
        .jsonMembers = headerJsonMembers(),
        .toJson = headerJson,
        .createPanel = createPanel<HeaderPanel>,
        .setPanelFields = setPanelFields<HeaderPanel, HeaderFields>,
        .panelFields = panelFields<HeaderPanel>,
    };
}
