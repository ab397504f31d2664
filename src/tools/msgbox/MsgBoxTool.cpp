// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxTool.h"

#include "tools/msgbox/MsgBoxCli.h"
#include "tools/msgbox/MsgBoxGenerator.h"
#include "tools/msgbox/MsgBoxPanel.h"
#include "tools/msgbox/MsgBoxReader.h"
#include "tools/msgbox/MsgBoxTyping.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

Tool msgBoxTool()
{
    return {
        .cli = msgBoxCli(),
        .caption = QCoreApplication::translate("Tools", "Notewright"),
        .subject = QCoreApplication::translate("Tools", "message boxes"),
        .picture = u":/images/notewright.svg"_s,
        .hasConstants = true,
        .generate = generateFrom<MsgBoxFields, generateMsgBoxCode>,
        .sameFields = sameFields<MsgBoxFields>,
        .reader = msgBoxReader(),
        .jsonMembers = msgBoxJsonMembers(),
        .toJson = msgBoxJson,
        .callWords = {u"MsgBox"_s},
        .describe = msgBoxHover,
        .signature = msgBoxSignature,
        .completions = msgBoxCompletions,
        .lenses = msgBoxLenses,
        .codeNotes = ofFields<MsgBoxFields, msgBoxCodeNotes>,
        .createPanel = createPanel<MsgBoxPanel>,
        .setPanelFields = setPanelFields<MsgBoxPanel, MsgBoxFields>,
        .panelFields = panelFields<MsgBoxPanel>,
    };
}
