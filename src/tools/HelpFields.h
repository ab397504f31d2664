// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeLayout.h"

#include "cli/ToolOptions.h"
#include "tools/FieldTable.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// The "Help Button" page that the message-box and input-box tools share:
// include a Help button, the help file, App.Path in front of it, the topic.
struct HelpFields
{
    bool help = false;
    bool appPath = false;
    QString helpFile;
    QString topicId = QStringLiteral("0");

    friend bool operator==(const HelpFields &, const HelpFields &) = default;
};

// The help file and topic arguments of a generated call, as in
// `App.Path & "\my.hlp", 120` or `"my.hlp", 7`, with ", " before them. The
// caller writes them only when help is on.
QList<codegen::StatementPart> helpArguments(const HelpFields &fields);

// The command line's --help-button, --help-file, --app-path and --topic, a
// part of the tools' field tables. `read` gives the help file and topic as
// null without the Help button.
const FieldTable<HelpFields> &helpFieldTable();
// Refuses a help file, App.Path or topic without --help-button: the code would
// leave it out without a word, which is more likely a forgotten flag.
void checkHelpOptions(const ToolOptions &options);
