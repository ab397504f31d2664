// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxCli.h"

#include "tools/CodeStyleOptions.h"
#include "tools/FieldTable.h"
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

// --default, after --buttons: a position among the buttons set.
void setDefaultButton(MsgBoxFields &fields, const QString &position)
{
    const int index = position.toInt() - 1;
    const qsizetype count = msgBoxButtonCodes(fields.style.buttonSet).size();
    if (index >= count) {
        throw CliError{tr("--default: the %1 buttons have no button %2")
                           .arg(msgBoxButtonsChoice(fields.style.buttonSet), position)};
    }
    constexpr std::array<qint32, 3> defaults{vbDefaultButton1, vbDefaultButton2, vbDefaultButton3};
    fields.style.defaultButton = defaults.at(std::size_t(index));
}

const FieldTable<MsgBoxFields> &fieldTable()
{
    static const FieldTable<MsgBoxFields> table =
        FieldTable<MsgBoxFields>()
            .text(u"message"_s, tr("The message; line breaks are kept."),
                  [](const MsgBoxFields &f) { return f.message; },
                  [](MsgBoxFields &f, const QString &message) { f.message = message; }, ToolOptions::Lines::Multi)
            .text(u"title"_s, tr("The title."), [](const MsgBoxFields &f) { return f.title; },
                  [](MsgBoxFields &f, const QString &title) { f.title = title; })
            .choice(u"icon"_s, tr("The icon (default none)."), names(iconChoices),
                    [](const MsgBoxFields &f) { return msgBoxIconChoice(f.style.icon); },
                    [](MsgBoxFields &f, const QString &icon) { f.style.icon = valueOf(iconChoices, icon); })
            .choice(u"buttons"_s, tr("The buttons (default ok)."), names(buttonChoices),
                    [](const MsgBoxFields &f) { return msgBoxButtonsChoice(f.style.buttonSet); },
                    [](MsgBoxFields &f, const QString &set) { f.style.buttonSet = valueOf(buttonChoices, set); })
            .choice(u"default"_s, tr("Which of the buttons is the default, counted from the left (default 1)."),
                    {u"1"_s, u"2"_s, u"3"_s},
                    [](const MsgBoxFields &f) { return QString::number((f.style.defaultButton >> 8) + 1); },
                    setDefaultButton)
            .flag(u"system-modal"_s, tr("Makes the box system-modal."),
                  [](const MsgBoxFields &f) { return f.style.modality == vbSystemModal; },
                  [](MsgBoxFields &f) { f.style.modality = vbSystemModal; })
            .part(helpFieldTable(), &MsgBoxFields::help);
    return table;
}

void declare(ToolOptions &options)
{
    fieldTable().declare(options);
    declareCodeOptions(options, ConstantsUse::Written);
}

MsgBoxFields fieldsFromOptions(const ToolOptions &options)
{
    MsgBoxFields fields;
    fieldTable().apply(options, fields);
    checkHelpOptions(options);
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
    return fieldTable().jsonMembers() + QList<JsonMember>{{u"constants"_s, JsonMember::Kind::Choice}}
           + codeJsonMembers();
}

QJsonObject msgBoxJson(const ReadResult &result)
{
    QJsonObject object = fieldTable().toJson(result.fieldsAs<MsgBoxFields>());
    object.insert(u"constants"_s, codegen::constantsName(result.code.constants));
    return object;
}
