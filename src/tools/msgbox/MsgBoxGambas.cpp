// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxGambas.h"

#include "codegen/CodeText.h"
#include "codegen/GambasCode.h"
#include "tools/msgbox/MsgBoxGenerator.h"
#include "tools/msgbox/MsgBoxTexts.h"

using namespace Qt::StringLiterals;

namespace {

// The Message function of the icon; Gambas's box without an icon and its
// information box take one button only, so a box with more is a question box.
QString messageFunction(qint32 icon, bool severalButtons)
{
    const basic::IconRow *row = basic::msgBoxIcon(icon);
    const bool oneButton = !row || row->gambasOneButton;
    const QStringView function = severalButtons && oneButton ? u"Question" : row ? row->gambasFunction : u"";
    return function.isEmpty() ? u"Message"_s : u"Message."_s + function;
}

QStringList missingSettings(const MsgBoxFields &fields, int buttons)
{
    QStringList lines;
    const MsgBoxStyleValues &style = fields.style;
    if (const basic::IconRow *icon = basic::msgBoxIcon(style.icon); buttons > 1 && icon && icon->gambasOneButton) {
        lines << (style.icon == vbInformation ? msgbox::GambasInformationOneButton : msgbox::GambasPlainOneButton);
    }
    const int defaultIndex = basic::defaultButtonIndex(style.defaultButton);
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
    for (const int code : basic::msgBoxButtonCodes(buttonSet))
        texts << QLatin1StringView(basic::msgBoxResult(code)->caption);
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
        // Gambas's Message functions answer with the button's place.
        sink(responseSelect(basic::msgBoxButtonCodes(fields.style.buttonSet),
                            [](int place, int) { return QString::number(place + 1); }));
    }
    sink(QString(msgbox::EndMarker));
}
