// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxGenerator.h"

#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString generateInputBox(const InputBoxFields &fields, const codegen::CodeOptions &)
{
    using codegen::codePiece;
    QStringList lines{u"'*** Begin Askwright Code ***"_s};
    if (fields.declareVariable)
        lines << u"Dim "_s + fields.variableName + u" as String"_s;

    QList<codegen::StatementPart> statement{
        {codePiece(fields.variableName + u" = InputBox ("_s), {}},
        {codegen::messagePieces(fields.message), u"PromptText"_s},
        {codePiece(u", "_s), {}},
        {codegen::literalPieces(fields.title), u"TitleText"_s},
        {codePiece(u", "_s), {}},
        {codegen::literalPieces(fields.defaultAnswer), u"DefaultText"_s},
    };
    // The two position arguments stay empty before the help file.
    if (fields.help.help) {
        statement += {codePiece(u", , "_s), {}};
        statement += helpArguments(fields.help);
    }
    statement += {codePiece(u")"_s), {}};
    lines += codegen::layoutStatement(statement, {u"Response"_s, fields.variableName});

    lines << u"'*** End Askwright Code ***"_s;
    return codegen::joinLines(lines);
}
