// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"
#include "codegen/CodeOptions.h"
#include "tools/ToolReading.h"
#include "tools/TypingHelp.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <any>
#include <optional>
#include <vector>

class QWidget;
class ToolPanel;
struct ToolContext;

// One tool with all its faces: `generate`'s command, reading code back into
// its fields, its JSON object, and the window's selector entry and panel.
// The main window, `generate` and `read` all go through the one list of
// them; the tool's own folder defines everything here.
struct Tool
{
    // `generate`'s command name ("msgbox"), summary, options and generator.
    CliTool cli;
    // The selector's caption and the header strip's ("Notewright").
    QString caption;
    // What it writes code for, in the plural, as the program's description
    // lists the tools ("message boxes").
    QString subject;
    // The picture's SVG resource (":/images/notewright.svg").
    QString picture;
    // Whether its code has constants, which `--constants names` writes as
    // BASIC's names (vbYesNo) and a read reports.
    bool hasConstants = false;
    // The code for a Fields struct of the tool's, as Copy gives it.
    QString (*generate)(const std::any &fields, const codegen::CodeOptions &options) = nullptr;
    // Whether two values of the Fields type are equal.
    bool (*sameFields)(const std::any &a, const std::any &b) = nullptr;
    // Finds and reads the tool's code.
    ToolReader reader;
    // `read`'s members for the tool, without "tool", in order; every one is
    // an option of `generate` (without the "-file" forms).
    QList<JsonMember> jsonMembers;
    // The object's members for fields that the reader gave.
    QJsonObject (*toJson)(const ReadResult &result) = nullptr;
    // BASIC's words that call the tool's construct (`MsgBox`), which the code
    // view colours and the language server finds a call by; none for a tool
    // whose code is no call of BASIC's.
    QStringList callWords = {};
    // What an editor's hover shows of a call read into the tool's fields:
    // markdown lines after the title and message. Null for a tool with no
    // call words.
    QStringList (*describe)(const ReadResult &result) = nullptr;
    // What an editor shows while the tool's call is typed: its signature in
    // the dialect; the names that may come at a place of the text (null
    // where the place is none of the tool's); a lens over each call. Null
    // for a tool without such help.
    std::optional<CallSignature> (*signature)(basic::Dialect dialect) = nullptr;
    std::optional<std::vector<Completion>> (*completions)(QStringView text, qsizetype offset,
                                                          basic::Dialect dialect) = nullptr;
    std::vector<CallLens> (*lenses)(QStringView text, basic::Dialect dialect) = nullptr;
    // Why the code for the fields would not compile, which Copy and Test say
    // instead of going on; empty when it would. Null for a tool whose code
    // always compiles.
    QString (*inputProblem)(const std::any &fields) = nullptr;
    // Sentences on the code for the fields, which the code view shows: what
    // does not compile, what BASIC will not show. Null for none.
    QStringList (*codeNotes)(const std::any &fields) = nullptr;
    // The tool's tab-page set, the model's fields shown in it, and the
    // fields it shows.
    ToolPanel *(*createPanel)(const ToolContext &context, QWidget *parent) = nullptr;
    void (*setPanelFields)(ToolPanel *panel, const std::any &fields) = nullptr;
    std::any (*panelFields)(const ToolPanel *panel) = nullptr;
};

// The tool of that command name ("msgbox"), or null.
inline const Tool *toolNamed(const QList<Tool> &tools, QStringView name)
{
    for (const Tool &tool : tools) {
        if (tool.cli.name == name)
            return &tool;
    }
    return nullptr;
}

// The command names, in the list's order.
inline QStringList toolNames(const QList<Tool> &tools)
{
    QStringList names;
    for (const Tool &tool : tools)
        names << tool.cli.name;
    return names;
}

// Every tool's call words, in the list's order.
inline QStringList callWords(const QList<Tool> &tools)
{
    QStringList words;
    for (const Tool &tool : tools)
        words += tool.callWords;
    return words;
}

// The tool that a call word (in any case) calls, or null.
inline const Tool *toolCalledBy(const QList<Tool> &tools, QStringView word)
{
    for (const Tool &tool : tools) {
        for (const QString &callWord : tool.callWords) {
            if (word.compare(callWord, Qt::CaseInsensitive) == 0)
                return &tool;
        }
    }
    return nullptr;
}

// A function of a tool's fields as the tool's face for any fields:
// `.codeNotes = ofFields<MsgBoxFields, msgBoxCodeNotes>`.
template<typename Fields, auto function>
auto ofFields(const std::any &fields)
{
    return function(std::any_cast<const Fields &>(fields));
}

// A generator as the tool's generate face:
// `.generate = generateFrom<MsgBoxFields, generateMsgBoxCode>`.
template<typename Fields, QString (*generator)(const Fields &, const codegen::CodeOptions &)>
QString generateFrom(const std::any &fields, const codegen::CodeOptions &options)
{
    return generator(std::any_cast<const Fields &>(fields), options);
}

// `.sameFields = sameFields<MsgBoxFields>`.
template<typename Fields>
bool sameFields(const std::any &a, const std::any &b)
{
    return std::any_cast<const Fields &>(a) == std::any_cast<const Fields &>(b);
}

// The panel factories of a tool: `.createPanel = createPanel<MsgBoxPanel>`,
// `.setPanelFields = setPanelFields<MsgBoxPanel, MsgBoxFields>`,
// `.panelFields = panelFields<MsgBoxPanel>`.
template<typename Panel>
ToolPanel *createPanel(const ToolContext &context, QWidget *parent)
{
    return new Panel(context, parent);
}

template<typename Panel, typename Fields>
void setPanelFields(ToolPanel *panel, const std::any &fields)
{
    static_cast<Panel *>(panel)->setFields(std::any_cast<const Fields &>(fields));
}

template<typename Panel>
std::any panelFields(const ToolPanel *panel)
{
    return static_cast<const Panel *>(panel)->fields();
}
