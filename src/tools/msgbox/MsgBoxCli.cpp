// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxCli.h"

#include "tools/CodeStyleOptions.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QCoreApplication>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MsgBoxCli", text);
}

// Choice name and style value, in the order of the panel's options.
const std::array<std::pair<QString, qint32>, 5> iconChoices{{
    {u"none"_s, vbNoIcon},
    {u"error"_s, vbCritical},
    {u"question"_s, vbQuestion},
    {u"warning"_s, vbExclamation},
    {u"information"_s, vbInformation},
}};

const std::array<std::pair<QString, qint32>, 6> buttonChoices{{
    {u"ok"_s, vbOKOnly},
    {u"okcancel"_s, vbOKCancel},
    {u"abortretryignore"_s, vbAbortRetryIgnore},
    {u"yesnocancel"_s, vbYesNoCancel},
    {u"yesno"_s, vbYesNo},
    {u"retrycancel"_s, vbRetryCancel},
}};

template<std::size_t N>
QStringList names(const std::array<std::pair<QString, qint32>, N> &choices)
{
    QStringList list;
    for (const auto &[name, value] : choices)
        list << name;
    return list;
}

template<std::size_t N>
qint32 valueOf(const std::array<std::pair<QString, qint32>, N> &choices, const QString &name)
{
    for (const auto &[choice, value] : choices) {
        if (choice == name)
            return value;
    }
    return 0; // the parser has already checked the name
}

template<std::size_t N>
QString nameOf(const std::array<std::pair<QString, qint32>, N> &choices, qint32 value)
{
    for (const auto &[name, known] : choices) {
        if (known == value)
            return name;
    }
    return choices.front().first;
}

void declare(ToolOptions &options)
{
    options.addText(u"message"_s, tr("The message; line breaks are kept."), ToolOptions::Lines::Multi);
    options.addText(u"title"_s, tr("The title."));
    options.addChoice(u"icon"_s, tr("The icon (default none)."), names(iconChoices));
    options.addChoice(u"buttons"_s, tr("The buttons (default ok)."), names(buttonChoices));
    options.addChoice(u"default"_s, tr("Which of the buttons is the default, counted from the left (default 1)."),
                      {u"1"_s, u"2"_s, u"3"_s});
    options.addFlag(u"system-modal"_s, tr("Makes the box system-modal."));
    declareHelpOptions(options);
    declareCodeOptions(options, ConstantsUse::Written);
}

MsgBoxFields fieldsFromOptions(const ToolOptions &options)
{
    MsgBoxFields fields;
    fields.message = options.text(u"message"_s).value_or(fields.message);
    fields.title = options.text(u"title"_s).value_or(fields.title);
    if (const auto icon = options.choice(u"icon"_s))
        fields.style.icon = valueOf(iconChoices, *icon);
    if (const auto buttons = options.choice(u"buttons"_s))
        fields.style.buttonSet = valueOf(buttonChoices, *buttons);
    if (const auto position = options.choice(u"default"_s)) {
        const int index = position->toInt() - 1;
        const qsizetype count = msgBoxButtonCodes(fields.style.buttonSet).size();
        if (index >= count) {
            throw CliError{tr("--default: the %1 buttons have no button %2")
                               .arg(options.choice(u"buttons"_s).value_or(u"ok"_s), *position)};
        }
        constexpr std::array<qint32, 3> defaults{vbDefaultButton1, vbDefaultButton2, vbDefaultButton3};
        fields.style.defaultButton = defaults.at(std::size_t(index));
    }
    if (options.flag(u"system-modal"_s))
        fields.style.modality = vbSystemModal;

    fields.help = helpFieldsFromOptions(options);
    return fields;
}

QString generate(const ToolOptions &options)
{
    return generateMsgBoxCode(fieldsFromOptions(options), codeOptionsFromOptions(options));
}

void write(const ToolOptions &options, const std::function<void(QString &&)> &sink)
{
    const MsgBoxFields fields = fieldsFromOptions(options);
    writeMsgBoxCode(fields, codeOptionsFromOptions(options), sink);
}

} // namespace

CliTool msgBoxCli()
{
    return {u"msgbox"_s, tr("A MsgBox call, with a Select Case block for its answer (Notewright)."), declare, generate,
            write};
}

QString msgBoxIconChoice(qint32 icon)
{
    return nameOf(iconChoices, icon);
}

QString msgBoxButtonsChoice(qint32 buttonSet)
{
    return nameOf(buttonChoices, buttonSet);
}

QList<JsonMember> msgBoxJsonMembers()
{
    using Kind = JsonMember::Kind;
    return QList<JsonMember>{{u"message"_s, Kind::Text},   {u"title"_s, Kind::Text},
                             {u"icon"_s, Kind::Choice},    {u"buttons"_s, Kind::Choice},
                             {u"default"_s, Kind::Choice}, {u"system-modal"_s, Kind::Flag}}
           + helpJsonMembers() + QList<JsonMember>{{u"constants"_s, Kind::Choice}} + codeJsonMembers();
}

QJsonObject msgBoxJson(const ReadResult &result)
{
    const auto &fields = result.fieldsAs<MsgBoxFields>();
    QJsonObject object;
    object.insert(u"message"_s, fields.message);
    object.insert(u"title"_s, fields.title);
    object.insert(u"icon"_s, msgBoxIconChoice(fields.style.icon));
    object.insert(u"buttons"_s, msgBoxButtonsChoice(fields.style.buttonSet));
    object.insert(u"default"_s, QString::number((fields.style.defaultButton >> 8) + 1));
    object.insert(u"system-modal"_s, fields.style.modality == vbSystemModal);
    insertHelpJson(object, fields.help);
    object.insert(u"constants"_s, codegen::constantsName(result.code.constants));
    return object;
}
