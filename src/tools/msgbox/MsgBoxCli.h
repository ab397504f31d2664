// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"
#include "tools/ToolReading.h"

#include <QJsonObject>

#include <QtGlobal>

// `quillkit98 generate msgbox`
CliTool msgBoxCli();

// The --icon and --buttons values that stand for an icon and a button set
// ("question", "yesno"); "none" and "ok" for a value that is no choice.
QString msgBoxIconChoice(qint32 icon);
QString msgBoxButtonsChoice(qint32 buttonSet);

// `read`'s members for the tool, and their values for fields read back.
QList<JsonMember> msgBoxJsonMembers();
QJsonObject msgBoxJson(const ReadResult &result);
// What an editor's hover shows of a call read back.
QStringList msgBoxHover(const ReadResult &result);
