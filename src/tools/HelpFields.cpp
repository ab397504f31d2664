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

const FieldTable<HelpFields> &helpFieldTable()
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("HelpFields", text); };
    static const FieldTable<HelpFields> table =
        FieldTable<HelpFields>()
            .flag(u"help-button"_s, tr("Adds a Help button, with a help file and topic."),
                  [](const HelpFields &f) { return f.help; }, [](HelpFields &f) { f.help = true; })
            .text(u"help-file"_s, tr("The help file that the Help button opens (with --help-button)."),
                  [](const HelpFields &f) { return f.help ? QJsonValue(f.helpFile) : QJsonValue(); },
                  [](HelpFields &f, const QString &file) { f.helpFile = file; })
            .flag(u"app-path"_s, tr("Puts App.Path in front of the help file (with --help-button)."),
                  [](const HelpFields &f) { return f.help && f.appPath; }, [](HelpFields &f) { f.appPath = true; })
            .text(u"topic"_s, tr("The help topic ID, read as a number (default 0; with --help-button)."),
                  [](const HelpFields &f) { return f.help ? QJsonValue(f.topicId) : QJsonValue(); },
                  [](HelpFields &f, const QString &topic) { f.topicId = topic; });
    return table;
}

void checkHelpOptions(const ToolOptions &options)
{
    if (options.flag(u"help-button"_s))
        return;
    const QStringList unused = options.givenAmong({u"help-file"_s, u"app-path"_s, u"topic"_s});
    if (!unused.isEmpty())
        throw CliError{QCoreApplication::translate("HelpFields", unused.size() == 1 ? "%1 needs --help-button"
                                                                                    : "%1 need --help-button")
                           .arg(unused.join(u", "_s))};
}
