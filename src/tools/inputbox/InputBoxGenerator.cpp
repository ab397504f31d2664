#include "tools/inputbox/InputBoxGenerator.h"

#include "codegen/CodeText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString generateInputBox(const InputBoxFields &fields)
{
    QStringList lines{u"'*** Begin Askwright Code ***"_s};
    if (fields.declareVariable)
        lines << u"Dim "_s + fields.variableName + u" as String"_s;

    QString statement = fields.variableName + u" = InputBox ("_s + codegen::EncodeStringExpression(fields.message)
                        + u", "_s + codegen::quoteLiteral(fields.title) + u", "_s
                        + codegen::quoteLiteral(fields.defaultAnswer);
    // The two position arguments stay empty before the help file.
    if (fields.help.help)
        statement += u", , , "_s + helpArguments(fields.help);
    statement += u')';
    lines << statement;

    lines << u"'*** End Askwright Code ***"_s;
    return codegen::joinLines(lines);
}
