// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxCli.h"

#include "tools/CodeStyleOptions.h"
#include "tools/inputbox/InputBoxFields.h"
#include "tools/inputbox/InputBoxGenerator.h"

using namespace Qt::StringLiterals;

namespace {

void declare(ToolOptions &options)
{
    options.addText(u"message"_s, u"The prompt; it may have several lines."_s, ToolOptions::Lines::Multi);
    options.addText(u"title"_s, u"The title of the input box."_s);
    options.addText(u"default-answer"_s, u"The answer the input box starts with."_s);
    options.addText(u"variable"_s, u"The variable that receives the answer (default: Response)."_s);
    options.addFlag(u"declare"_s, u"Declares the variable with a Dim line."_s);
    declareHelpOptions(options);
    declareCodeOptions(options, ConstantsUse::NotWritten);
}

InputBoxFields fieldsFromOptions(const ToolOptions &options)
{
    InputBoxFields fields;
    fields.message = options.text(u"message"_s).value_or(fields.message);
    fields.title = options.text(u"title"_s).value_or(fields.title);
    fields.defaultAnswer = options.text(u"default-answer"_s).value_or(fields.defaultAnswer);
    fields.variableName = options.text(u"variable"_s).value_or(fields.variableName);
    fields.declareVariable = options.flag(u"declare"_s);

    fields.help = helpFieldsFromOptions(options);
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
    using Kind = JsonMember::Kind;
    return QList<JsonMember>{{u"message"_s, Kind::Text},
                             {u"title"_s, Kind::Text},
                             {u"default-answer"_s, Kind::Text},
                             {u"variable"_s, Kind::Text},
                             {u"declare"_s, Kind::Flag}}
           + helpJsonMembers() + codeJsonMembers();
}

QJsonObject inputBoxJson(const ReadResult &result)
{
    const auto &fields = result.fieldsAs<InputBoxFields>();
    QJsonObject object;
    object.insert(u"message"_s, fields.message);
    object.insert(u"title"_s, fields.title);
    object.insert(u"default-answer"_s, fields.defaultAnswer);
    object.insert(u"variable"_s, fields.variableName);
    object.insert(u"declare"_s, fields.declareVariable);
    insertHelpJson(object, fields.help);
    return object;
}
