// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxGambas.h"

#include "codegen/CodeText.h"
#include "codegen/GambasCode.h"
#include "tools/msgbox/MsgBoxTexts.h"

using namespace Qt::StringLiterals;

namespace {

QString buttonText(int resultCode)
{
    switch (resultCode) {
    case vbOK:
        return u"OK"_s;
    case vbCancel:
        return u"Cancel"_s;
    case vbAbort:
        return u"Abort"_s;
    case vbRetry:
        return u"Retry"_s;
    case vbIgnore:
        return u"Ignore"_s;
    case vbYes:
        return u"Yes"_s;
    case vbNo:
        return u"No"_s;
    }
    return {};
}

// The Message function of the icon; Gambas's box without an icon and its
// information box take one button only.
QString messageFunction(qint32 icon, bool severalButtons)
{
    switch (icon) {
    case vbCritical:
        return u"Message.Error"_s;
    case vbExclamation:
        return u"Message.Warning"_s;
    case vbQuestion:
        return u"Message.Question"_s;
    case vbInformation:
        return severalButtons ? u"Message.Question"_s : u"Message.Info"_s;
    }
    return severalButtons ? u"Message.Question"_s : u"Message"_s;
}

QStringList missingSettings(const MsgBoxFields &fields, int buttons)
{
    QStringList lines;
    const MsgBoxStyleValues &style = fields.style;
    if (buttons > 1 && (style.icon == vbInformation || style.icon == vbNoIcon)) {
        lines << (style.icon == vbInformation ? msgbox::GambasInformationOneButton : msgbox::GambasPlainOneButton);
    }
    const int defaultIndex = style.defaultButton / vbDefaultButton2;
    if (defaultIndex > 0 && defaultIndex < buttons) {
        lines << msgbox::GambasFirstButtonDefault;
    }
    if (style.modality == vbSystemModal)
        lines << msgbox::GambasNotSystemModal;
    if (fields.help.help)
        lines << msgbox::GambasNoHelp;
    return lines;
}

} // namespace

QStringList gambasButtonTexts(qint32 buttonSet)
{
    QStringList texts;
    for (const int code : msgBoxButtonCodes(buttonSet))
        texts << buttonText(code);
    return texts;
}

void writeMsgBoxGambas(const MsgBoxFields &fields, const codegen::LineSink &sink)
{
    namespace gb = codegen::gambas;
    const QStringList buttons = gambasButtonTexts(fields.style.buttonSet);
    const bool answered = buttons.size() > 1;
    sink(QString(answered ? msgbox::StartMarker : msgbox::StartPlainMarker));
    if (answered)
        sink(u"Dim Response As Integer"_s);
    for (QString &line : missingSettings(fields, int(buttons.size())))
        sink(std::move(line));
    const QStringList taken{u"Response"_s};
    gb::statement({gb::code(u"Message.Title = "_s), gb::text(fields.title, u"TitleText"_s)}, {}, taken, {}, sink);

    QString after;
    for (const QString &button : buttons)
        after += u", "_s + gb::literal(button);
    after += u')';
    const QString call = messageFunction(fields.style.icon, answered) + u'(';
    gb::statement({gb::code(answered ? u"Response = "_s + call : call), gb::text(fields.message, u"MessageText"_s),
                   gb::code(after)},
                  {}, taken, {}, sink);
    if (answered) {
        sink(u"Select Case Response"_s);
        const QList<int> codes = msgBoxButtonCodes(fields.style.buttonSet);
        static const QStringList comments{
            u"  'User has clicked OK"_s,    u"  'User has clicked Cancel"_s, u"  'User has clicked Abort"_s,
            u"  'User has clicked retry"_s, u"  'User has clicked Ignore"_s, u"  'User has clicked Yes"_s,
            u"  'User has clicked No"_s,
        };
        for (qsizetype i = 0; i < codes.size(); ++i) {
            sink(u"  Case "_s + QString::number(i + 1) + comments.at(codes.at(i) - 1));
            sink(u"    '*** Your Code Here ***"_s);
        }
        sink(u"End Select"_s);
    }
    sink(QString(msgbox::EndMarker));
}
