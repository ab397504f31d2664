// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogTool.h"

#include "tools/commondialog/CommonDialogCli.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/commondialog/CommonDialogPanel.h"
#include "tools/commondialog/CommonDialogReader.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

Tool commonDialogTool()
{
    return {
        .cli = commonDialogCli(),
        .caption = QCoreApplication::translate("Tools", "Pickwright"),
        .subject = QCoreApplication::translate("Tools", "common dialogs"),
        .picture = u":/images/pickwright.svg"_s,
        .generate = generateFrom<CommonDialogFields, generateCommonDialogCode>,
        .sameFields = sameFields<CommonDialogFields>,
        .reader = commonDialogReader(),
        .jsonMembers = commonDialogJsonMembers(),
        .toJson = commonDialogJson,
        // The control's methods that show its dialogs.
        .callWords = {u"ShowOpen"_s, u"ShowSave"_s, u"ShowFont"_s, u"ShowColor"_s, u"ShowPrinter"_s},
        .createPanel = createPanel<CommonDialogPanel>,
        .setPanelFields = setPanelFields<CommonDialogPanel, CommonDialogFields>,
        .panelFields = panelFields<CommonDialogPanel>,
    };
}
