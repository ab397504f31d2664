// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxGambas.h"

#include "codegen/CodeText.h"
#include "codegen/GambasCode.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString generateInputBoxGambas(const InputBoxFields &fields)
{
    namespace gb = codegen::gambas;
    QStringList lines{u"'*** Begin Askwright Code ***"_s};
    if (fields.declareVariable)
        lines << u"Dim "_s + fields.variableName + u" As String"_s;
    if (fields.help.help)
        lines << u"'Gambas's input box has no help file: the help file and topic are left out."_s;
    lines += gb::statement(
        {
            gb::code(fields.variableName + u" = InputBox("_s),
            gb::text(fields.message, u"PromptText"_s),
            gb::code(u", "_s),
            gb::text(fields.title, u"TitleText"_s),
            gb::code(u", "_s),
            gb::text(fields.defaultAnswer, u"DefaultText"_s),
            gb::code(u")"_s),
        },
        {}, {u"Response"_s, fields.variableName});
    lines << u"'*** End Askwright Code ***"_s;
    return codegen::joinLines(lines);
}
