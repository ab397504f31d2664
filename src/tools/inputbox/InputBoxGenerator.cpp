// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxGenerator.h"

#include "codegen/BasicLimits.h"
#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"
#include "tools/inputbox/InputBoxGambas.h"
#include "tools/inputbox/InputBoxTexts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString generateInputBox(const InputBoxFields &fields, const codegen::CodeOptions &options)
{
    QStringList lines;
    writeInputBox(fields, options, [&lines](QString &&line) { lines << std::move(line); });
    return codegen::joinLines(lines);
}

void writeInputBox(const InputBoxFields &fields, const codegen::CodeOptions &options, const codegen::LineSink &sink)
{
    if (options.gambas()) {
        writeInputBoxGambas(fields, sink);
        return;
    }
    using codegen::codePiece;
    sink(QString(inputbox::BeginMarker));
    if (fields.declareVariable)
        sink(u"Dim "_s + fields.variableName + (options.libreOffice() ? u" As String"_s : u" as String"_s));

    QList<codegen::StatementPart> statement{
        {codePiece(fields.variableName + u" = InputBox ("_s), {}},
        codegen::messagePart(fields.message, options.dialect, u"PromptText"_s),
        {codePiece(u", "_s), {}},
        {codegen::literalPieces(fields.title, options.dialect), u"TitleText"_s},
        {codePiece(u", "_s), {}},
        {codegen::literalPieces(fields.defaultAnswer, options.dialect), u"DefaultText"_s},
    };
    // The two position arguments stay empty before the help file.
    if (fields.help.help && options.libreOffice()) {
        sink(QString(inputbox::LibreOfficeNoHelp));
    } else if (fields.help.help) {
        statement += {codePiece(u", , "_s), {}};
        statement += helpArguments(fields.help);
    }
    statement += {codePiece(u")"_s), {}};
    codegen::layoutStatement(statement, {u"Response"_s, fields.variableName}, {}, sink);

    sink(QString(inputbox::EndMarker));
}

QString inputBoxProblem(const InputBoxFields &fields)
{
    return codegen::identifierProblem(fields.variableName);
}

QStringList inputBoxCodeNotes(const InputBoxFields &fields)
{
    QStringList notes;
    for (const QString &note : {inputBoxProblem(fields), codegen::promptLengthNote(fields.message)}) {
        if (!note.isEmpty())
            notes << note;
    }
    return notes;
}
