// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxGenerator.h"

#include "basic/Names.h"
#include "codegen/BasicLimits.h"
#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"
#include "tools/msgbox/MsgBoxGambas.h"
#include "tools/msgbox/MsgBoxTexts.h"

using namespace Qt::StringLiterals;

qint32 msgBoxButtonsValue(const MsgBoxFields &fields)
{
    const MsgBoxStyleValues &style = fields.style;
    qint32 value = style.defaultButton + style.icon + style.buttonSet + style.modality;
    if (fields.help.help)
        value += vbMsgBoxHelpButton;
    return value;
}

QString msgBoxButtonsArgument(const MsgBoxFields &fields, const codegen::CodeOptions &options)
{
    qint32 value = msgBoxButtonsValue(fields);
    // LibreOffice's box has no Help button: the flag would mean nothing.
    if (options.libreOffice())
        value &= ~vbMsgBoxHelpButton;
    return options.constants == codegen::CodeOptions::Constants::Names ? basic::buttonsNames(value, options.dialect)
                                                                        : QString::number(value);
}

QStringList msgBoxCodeNotes(const MsgBoxFields &fields)
{
    const QString note = codegen::promptLengthNote(fields.message);
    return note.isEmpty() ? QStringList() : QStringList{note};
}

QString responseSelect(const QList<int> &answers, const std::function<QString(int place, int answer)> &caseValue)
{
    QStringList lines{msgbox::SelectResponse};
    for (qsizetype place = 0; place < answers.size(); ++place) {
        const int answer = answers.at(place);
        lines << msgbox::CaseIndent + caseValue(int(place), answer) + msgbox::ClickedComment
                     + basic::msgBoxResult(answer)->replyLabel;
        lines << msgbox::YourCodeHere;
    }
    lines << msgbox::EndSelect;
    return codegen::joinLines(lines);
}

QString responseSelect(const QList<int> &answers, const codegen::CodeOptions &options)
{
    return responseSelect(answers, [&](int, int answer) {
        return options.constants == codegen::CodeOptions::Constants::Names ? basic::resultName(answer, options.dialect)
                                                                           : QString::number(answer);
    });
}

QString generateMsgBoxCode(const MsgBoxFields &fields, const codegen::CodeOptions &options)
{
    QStringList lines;
    writeMsgBoxCode(fields, options, [&lines](QString &&line) { lines << std::move(line); });
    return codegen::joinLines(lines);
}

void writeMsgBoxCode(const MsgBoxFields &fields, const codegen::CodeOptions &options, const codegen::LineSink &sink)
{
    if (options.gambas()) {
        writeMsgBoxGambas(fields, sink);
        return;
    }
    using codegen::codePiece;
    // Nothing to ask of an OK-only box: a plain statement.
    const bool answered = fields.style.buttonSet != vbOKOnly;
    QList<codegen::StatementPart> call{
        {codePiece(answered ? u"Response = Msgbox ("_s : u"Msgbox "_s), {}},
        codegen::messagePart(fields.message, options.dialect, u"MessageText"_s),
        {codePiece(u", "_s + msgBoxButtonsArgument(fields, options) + u", "_s), {}},
        {codegen::literalPieces(fields.title, options.dialect), u"TitleText"_s},
    };
    if (answered) {
        sink(QString(msgbox::StartMarker));
        sink(options.libreOffice() ? u"Dim Response As Integer"_s : u"Dim Response As Long"_s);
    } else {
        sink(QString(msgbox::StartPlainMarker));
    }
    if (fields.help.help && options.libreOffice())
        sink(QString(msgbox::LibreOfficeNoHelp));
    else if (fields.help.help)
        call += helpArguments(fields.help);
    if (answered)
        call += {codePiece(u")"_s), {}};
    codegen::layoutStatement(call, {u"Response"_s}, {}, sink);
    if (answered)
        sink(responseSelect(basic::msgBoxButtonCodes(fields.style.buttonSet), options));
    sink(QString(msgbox::EndMarker));
}
