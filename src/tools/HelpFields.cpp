// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HelpFields.h"

#include "cli/ToolOptions.h"
#include "codegen/CodeText.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

QList<codegen::StatementPart> helpArguments(const HelpFields &fields)
{
    const codegen::Pieces file =
        fields.appPath ? codegen::appPathPieces(fields.helpFile) : codegen::literalPieces(fields.helpFile);
    return {
        {codegen::codePiece(u", "_s), {}},
        {file, u"HelpFileText"_s},
        {codegen::codePiece(u", "_s + codegen::topicArgument(fields.topicId)), {}},
    };
}

void declareHelpOptions(ToolOptions &options)
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("HelpFields", text); };
    options.addFlag(u"help-button"_s, tr("Adds a Help button, with a help file and topic."));
    options.addText(u"help-file"_s, tr("The help file that the Help button opens (with --help-button)."));
    options.addFlag(u"app-path"_s, tr("Puts App.Path in front of the help file (with --help-button)."));
    options.addText(u"topic"_s, tr("The help topic ID, read as a number (default 0; with --help-button)."));
}

HelpFields helpFieldsFromOptions(const ToolOptions &options)
{
    HelpFields fields;
    fields.help = options.flag(u"help-button"_s);
    if (!fields.help) {
        const QStringList unused = options.givenAmong({u"help-file"_s, u"app-path"_s, u"topic"_s});
        if (!unused.isEmpty())
            throw CliError{QCoreApplication::translate("HelpFields", unused.size() == 1 ? "%1 needs --help-button"
                                                                                        : "%1 need --help-button")
                               .arg(unused.join(u", "_s))};
    }
    fields.helpFile = options.text(u"help-file"_s).value_or(fields.helpFile);
    fields.appPath = options.flag(u"app-path"_s);
    fields.topicId = options.text(u"topic"_s).value_or(fields.topicId);
    return fields;
}

QList<JsonMember> helpJsonMembers()
{
    return {
        {u"help-button"_s, JsonMember::Kind::Flag},
        {u"help-file"_s, JsonMember::Kind::Text},
        {u"app-path"_s, JsonMember::Kind::Flag},
        {u"topic"_s, JsonMember::Kind::Text},
    };
}

void insertHelpJson(QJsonObject &object, const HelpFields &help)
{
    object.insert(u"help-button"_s, help.help);
    object.insert(u"help-file"_s, help.help ? QJsonValue(help.helpFile) : QJsonValue());
    object.insert(u"app-path"_s, help.help && help.appPath);
    object.insert(u"topic"_s, help.help ? QJsonValue(help.topicId) : QJsonValue());
}
