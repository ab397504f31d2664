// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxGambas.h"

#include "codegen/CodeText.h"
#include "codegen/GambasCode.h"
#include "tools/inputbox/InputBoxTexts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

void writeInputBoxGambas(const InputBoxFields &fields, const codegen::LineSink &sink)
{
    namespace gb = codegen::gambas;
    sink(QString(inputbox::BeginMarker));
    if (fields.declareVariable)
        sink(u"Dim "_s + fields.variableName + u" As String"_s);
    if (fields.help.help)
        sink(QString(inputbox::GambasNoHelp));
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
    sink(QString(inputbox::EndMarker));
}
