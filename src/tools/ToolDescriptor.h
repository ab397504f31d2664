// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"

#include <QString>

class QWidget;
class ToolPanel;
struct ToolContext;

// Everything the program knows of one tool: the window's selector, header
// strip and panel, and `generate`'s command. The main window and the command
// line both go through the one list of them.
struct ToolDescriptor
{
    // `generate`'s command name ("msgbox"), summary, options and generator.
    CliTool cli;
    // The selector's caption and the header strip's ("Notewright").
    QString caption;
    // The picture's SVG resource (":/images/notewright.svg").
    QString picture;
    // The picture's top within the selector, in twips.
    int selectorTop = 0;
    // The tool's tab-page set.
    ToolPanel *(*createPanel)(const ToolContext &context, QWidget *parent) = nullptr;
};

// The panel factory of a descriptor: `.createPanel = createPanel<MsgBoxPanel>`.
template<typename Panel>
ToolPanel *createPanel(const ToolContext &context, QWidget *parent)
{
    return new Panel(context, parent);
}
