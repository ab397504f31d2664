// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxCli.h"

#include "tools/CodeStyleOptions.h"
#include "tools/FieldTable.h"
#include "tools/HoverText.h"
#include "tools/Tool.h"
#include "tools/inputbox/InputBoxFields.h"
#include "tools/inputbox/InputBoxGenerator.h"

using namespace Qt::StringLiterals;

namespace {

const FieldTable<InputBoxFields> &fieldTable()
{
    static const FieldTable<InputBoxFields> table =
        FieldTable<InputBoxFields>()
            .text(u"message"_s, u"The prompt; it may have several lines."_s,
                  [](const InputBoxFields &f) { return f.message; },
                  [](InputBoxFields &f, const QString &message) { f.message = message; }, ToolOptions::Lines::Multi)
            .text(u"title"_s, u"The title of the input box."_s, [](const InputBoxFields &f) { return f.title; },
                  [](InputBoxFields &f, const QString &title) { f.title = title; })
            .text(u"default-answer"_s, u"The answer the input box starts with."_s,
                  [](const InputBoxFields &f) { return f.defaultAnswer; },
                  [](InputBoxFields &f, const QString &answer) { f.defaultAnswer = answer; })
            .text(u"variable"_s, u"The variable that receives the answer (default: Response)."_s,
                  [](const InputBoxFields &f) { return f.variableName; },
                  [](InputBoxFields &f, const QString &name) { f.variableName = name; })
            .flag(u"declare"_s, u"Declares the variable with a Dim line."_s,
                  [](const InputBoxFields &f) { return f.declareVariable; },
                  [](InputBoxFields &f) { f.declareVariable = true; })
            .part(helpFieldTable(), &InputBoxFields::help);
    return table;
}

void declare(ToolOptions &options)
{
    fieldTable().declare(options);
    declareCodeOptions(options, ConstantsUse::NotWritten);
}

InputBoxFields fieldsFromOptions(const ToolOptions &options)
{
    InputBoxFields fields;
    fieldTable().apply(options, fields);
    checkHelpOptions(options);
    // Code that does not compile is no help to anyone.
    if (const QString problem = inputBoxProblem(fields); !problem.isEmpty())
        throw CliError{u"--variable: "_s + problem};
    return fields;
}

QString generate(const ToolOptions &options)
{
    return generateInputBox(fieldsFromOptions(options), codeOptionsFromOptions(options));
}

void write(const ToolOptions &options, const std::function<void(QString &&)> &sink)
{
    const InputBoxFields fields = fieldsFromOptions(options);
    writeInputBox(fields, codeOptionsFromOptions(options), sink);
}

} // namespace

CliTool inputBoxCli()
{
    return {u"inputbox"_s, u"An InputBox call that stores the answer in a variable (Askwright)."_s, declare, generate,
            write};
}

QList<JsonMember> inputBoxJsonMembers()
{
    return fieldTable().jsonMembers() + codeJsonMembers();
}

QJsonObject inputBoxJson(const ReadResult &result)
{
    return fieldTable().toJson(result.fieldsAs<InputBoxFields>());
}

QStringList inputBoxHover(const ReadResult &result)
{
    const QJsonObject fields = result.tool->toJson(result);
    QStringList lines = hover::heading(u"Input box"_s, fields);
    lines << u"- Buttons: OK and Cancel"_s;
    lines << u"- Answer: stored in `%1`, starting as \"%2\""_s.arg(
        fields.value(u"variable"_s).toString(),
        hover::escaped(hover::shortened(fields.value(u"default-answer"_s).toString(), 80)));
    return lines;
}
