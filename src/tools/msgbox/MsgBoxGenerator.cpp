#include "tools/msgbox/MsgBoxGenerator.h"

#include "codegen/CodeText.h"

using namespace Qt::StringLiterals;

qint32 msgBoxButtonsValue(const MsgBoxFields &fields)
{
    const MsgBoxStyleValues &style = fields.style;
    qint32 value = style.DefaultButtonValue + style.IconValue + style.ButtonSetValue + style.ModalValue;
    if (fields.help.help)
        value += vbMsgBoxHelpButton;
    return value;
}

QList<int> msgBoxButtonCodes(qint32 buttonSet)
{
    switch (buttonSet) {
    case vbOKOnly:
        return {1};
    case vbOKCancel:
        return {1, 2};
    case vbAbortRetryIgnore:
        return {3, 4, 5};
    case vbYesNoCancel:
        return {6, 7, 2};
    case vbYesNo:
        return {6, 7};
    case vbRetryCancel:
        return {4, 2};
    }
    return {};
}

QString generateMsgBoxCode(const MsgBoxFields &fields)
{
    QString arguments = codegen::EncodeStringExpression(fields.message) + u", "_s
                        + QString::number(msgBoxButtonsValue(fields)) + u", "_s + codegen::quoteLiteral(fields.title);
    if (fields.help.help)
        arguments += u", "_s + helpArguments(fields.help);

    if (fields.style.ButtonSetValue == vbOKOnly) {
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
        codegen::BuildResponseSelect(msgBoxButtonCodes(fields.style.ButtonSetValue)),
        u"'*** End Notewright Code ***"_s,
    });
}
