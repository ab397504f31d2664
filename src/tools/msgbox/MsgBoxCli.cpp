// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/msgbox/MsgBoxCli.h"

#include "tools/CodeStyleOptions.h"
#include "tools/FieldTable.h"
#include "tools/HoverText.h"
#include "tools/Tool.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QCoreApplication>

#include <span>

using namespace Qt::StringLiterals;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MsgBoxCli", text);
}

// The choices' names, in the order of the panel's options.
template<typename Row>
QStringList optionNames(std::span<const Row> rows)
{
    QStringList list;
    for (const Row &row : rows)
        list << row.option.toString();
    return list;
}

// --default, after --buttons: a position among the buttons set.
void setDefaultButton(MsgBoxFields &fields, const QString &position)
{
    const int index = position.toInt() - 1;
    const qsizetype count = basic::msgBoxButtonCodes(fields.style.buttonSet).size();
    if (index >= count) {
        throw CliError{tr("--default: the %1 buttons have no button %2")
                           .arg(msgBoxButtonsChoice(fields.style.buttonSet), position)};
    }
    fields.style.defaultButton = basic::defaultButtonValue(index);
}

// The places a default button can take: "1" to "3".
QStringList defaultPositions()
{
    QStringList positions;
    for (const basic::DefaultButtonRow &row : basic::defaultButtons()) {
        if (row.offered)
            positions << QString::number(positions.size() + 1);
    }
    return positions;
}

const FieldTable<MsgBoxFields> &fieldTable()
{
    // A field a call, as the table reads.
    // clang-format off
    static const FieldTable<MsgBoxFields> table =
        FieldTable<MsgBoxFields>()
            .text(u"message"_s, tr("The message; line breaks are kept."),
                  [](const MsgBoxFields &f) { return f.message; },
                  [](MsgBoxFields &f, const QString &message) { f.message = message; }, ToolOptions::Lines::Multi)
            .text(u"title"_s, tr("The title."), [](const MsgBoxFields &f) { return f.title; },
                  [](MsgBoxFields &f, const QString &title) { f.title = title; })
            // The parser has already checked a choice's name.
            .choice(u"icon"_s, tr("The icon (default none)."), optionNames(basic::msgBoxIcons()),
                    [](const MsgBoxFields &f) { return msgBoxIconChoice(f.style.icon); },
                    [](MsgBoxFields &f, const QString &icon) { f.style.icon = basic::msgBoxIconOption(icon)->value; })
            .choice(u"buttons"_s, tr("The buttons (default ok)."), optionNames(basic::buttonSets()),
                    [](const MsgBoxFields &f) { return msgBoxButtonsChoice(f.style.buttonSet); },
                    [](MsgBoxFields &f, const QString &set) { f.style.buttonSet = basic::buttonSetOption(set)->value; })
            .choice(u"default"_s, tr("Which of the buttons is the default, counted from the left (default 1)."),
                    defaultPositions(),
                    [](const MsgBoxFields &f) {
                        return QString::number(basic::defaultButtonIndex(f.style.defaultButton) + 1);
                    },
                    setDefaultButton)
            .flag(u"system-modal"_s, tr("Makes the box system-modal."),
                  [](const MsgBoxFields &f) { return f.style.modality == vbSystemModal; },
                  [](MsgBoxFields &f) { f.style.modality = vbSystemModal; })
            .part(helpFieldTable(), &MsgBoxFields::help);
    // clang-format on
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
    const basic::IconRow *row = basic::msgBoxIcon(icon);
    return (row ? row->option : basic::msgBoxIcons().front().option).toString();
}

QString msgBoxButtonsChoice(qint32 buttonSet)
{
    const basic::ButtonSetRow *row = basic::buttonSet(buttonSet);
    return (row ? row->option : basic::buttonSets().front().option).toString();
}

QList<JsonMember> msgBoxJsonMembers()
{
    return fieldTable().jsonMembers() + QList<JsonMember>{{u"constants"_s, JsonMember::Kind::Choice}}
           + codeJsonMembers();
}

QStringList msgBoxHover(const ReadResult &result)
{
    const QJsonObject fields = result.tool->toJson(result);
    const auto text = [&](const QString &member) { return fields.value(member).toString(); };
    QStringList lines = hover::heading(u"Message box"_s, fields);
    const QString set = text(u"buttons"_s);
    const basic::ButtonSetRow *row = basic::buttonSetOption(set);
    const QString shown = row ? basic::buttonSetMeaning(*row) : set;
    lines << u"- Buttons: %1; icon %2; default button %3%4"_s.arg(
        shown, text(u"icon"_s), text(u"default"_s),
        fields.value(u"system-modal"_s).toBool() ? u"; system modal"_s : QString());
    lines << u"- Answer: %1"_s.arg(row && row->buttonCount == 1 ? u"none, OK only"_s
                                                                : u"the button clicked, one of "_s + shown);
    return lines;
}

QJsonObject msgBoxJson(const ReadResult &result)
{
    QJsonObject object = fieldTable().toJson(result.fieldsAs<MsgBoxFields>());
    object.insert(u"constants"_s, codegen::constantsName(result.code.constants));
    return object;
}
