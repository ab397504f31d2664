#include "tools/msgbox/MsgBoxGenerator.h"

#include "codegen/CodeText.h"

using namespace Qt::StringLiterals;

qint32 msgBoxButtonsValue(const MsgBoxFields &fields)
{
    const MsgBoxStyleValues &style = fields.style;
    qint32 value = style.defaultButton + style.icon + style.buttonSet + style.modality;
    if (fields.help.help)
        value += vbMsgBoxHelpButton;
    return value;
}

QString generateMsgBoxCode(const MsgBoxFields &fields)
{
    QString arguments = codegen::EncodeStringExpression(fields.message) + u", "_s
                        + QString::number(msgBoxButtonsValue(fields)) + u", "_s + codegen::quoteLiteral(fields.title);
    if (fields.help.help)
        arguments += u", "_s + helpArguments(fields.help);

    if (fields.style.buttonSet == vbOKOnly) {
        // Nothing to ask: a plain statement.
        return codegen::joinLines({
            u"'*** Start MsgBox Code ***"_s,
            u"Msgbox "_s + arguments,
            u"'*** End Notewright Code ***"_s,
        });
    }
    return codegen::joinLines({
        u"'*** Start Notewright Code ***"_s,
        u"Dim Response As Long"_s,
        u"Response = Msgbox ("_s + arguments + u')',
        codegen::BuildResponseSelect(msgBoxButtonCodes(fields.style.buttonSet)),
        u"'*** End Notewright Code ***"_s,
    });
}
