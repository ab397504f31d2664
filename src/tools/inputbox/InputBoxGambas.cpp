// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxGambas.h"

#include "codegen/CodeText.h"
#include "codegen/GambasCode.h"

#include <QStringList>

using namespace Qt::StringLiterals;

void writeInputBoxGambas(const InputBoxFields &fields, const codegen::LineSink &sink)
{
    namespace gb = codegen::gambas;
    sink(u"'*** Begin Askwright Code ***"_s);
    if (fields.declareVariable)
        sink(u"Dim "_s + fields.variableName + u" As String"_s);
    if (fields.help.help)
        sink(u"'Gambas's input box has no help file: the help file and topic are left out."_s);
    gb::statement(
        {
            gb::code(fields.variableName + u" = InputBox("_s),
            gb::text(fields.message, u"PromptText"_s),
            gb::code(u", "_s),
            gb::text(fields.title, u"TitleText"_s),
            gb::code(u", "_s),
            gb::text(fields.defaultAnswer, u"DefaultText"_s),
            gb::code(u")"_s),
        },
        {}, {u"Response"_s, fields.variableName}, {}, sink);
    sink(u"'*** End Askwright Code ***"_s);
}
