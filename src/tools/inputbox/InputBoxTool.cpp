// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxTool.h"

#include "tools/inputbox/InputBoxCli.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/inputbox/InputBoxPanel.h"
#include "tools/inputbox/InputBoxReader.h"
#include "tools/inputbox/InputBoxTyping.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

Tool inputBoxTool()
{
    return {
        .cli = inputBoxCli(),
        .caption = QCoreApplication::translate("Tools", "Askwright"),
        .subject = QCoreApplication::translate("Tools", "input boxes"),
        .picture = u":/images/askwright.svg"_s,
        .generate = generateFrom<InputBoxFields, generateInputBox>,
        .sameFields = sameFields<InputBoxFields>,
        .reader = inputBoxReader(),
        .jsonMembers = inputBoxJsonMembers(),
        .toJson = inputBoxJson,
        .callWords = {u"InputBox"_s, u"InputBox$"_s},
        .describe = inputBoxHover,
        .signature = inputBoxSignature,
        .inputProblem = ofFields<InputBoxFields, inputBoxProblem>,
        .codeNotes = ofFields<InputBoxFields, inputBoxCodeNotes>,
        .createPanel = createPanel<InputBoxPanel>,
        .setPanelFields = setPanelFields<InputBoxPanel, InputBoxFields>,
        .panelFields = panelFields<InputBoxPanel>,
    };
}
