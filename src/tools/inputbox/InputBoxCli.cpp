#include "tools/inputbox/InputBoxCli.h"

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
    options.addFlag(u"help-button"_s, u"Gives the input box a Help button, with a help file and topic."_s);
    options.addText(u"help-file"_s, u"The help file (with --help-button)."_s);
    options.addFlag(u"app-path"_s, u"Puts App.Path in front of the help file (with --help-button)."_s);
    options.addText(u"topic"_s, u"The help topic ID, read as a number (default: 0; with --help-button)."_s);
}

QString generate(const ToolOptions &options)
{
    InputBoxFields fields;
    fields.message = options.text(u"message"_s).value_or(fields.message);
    fields.title = options.text(u"title"_s).value_or(fields.title);
    fields.defaultAnswer = options.text(u"default-answer"_s).value_or(fields.defaultAnswer);
    fields.variableName = options.text(u"variable"_s).value_or(fields.variableName);
    fields.declareVariable = options.flag(u"declare"_s);

    fields.help.help = options.flag(u"help-button"_s);
    if (!fields.help.help) {
        // The panel keeps such values but leaves them out; here they are
        // more likely a forgotten --help-button than something to ignore.
        const QStringList unused = options.givenAmong({u"help-file"_s, u"app-path"_s, u"topic"_s});
        if (!unused.isEmpty())
            throw CliError{u"%1 %2 no effect without --help-button"_s.arg(unused.join(u", "_s),
                                                                          unused.size() == 1 ? u"has"_s : u"have"_s)};
    }
    fields.help.helpFile = options.text(u"help-file"_s).value_or(fields.help.helpFile);
    fields.help.appPath = options.flag(u"app-path"_s);
    fields.help.topicId = options.text(u"topic"_s).value_or(fields.help.topicId);

    return generateInputBox(fields);
}

} // namespace

CliTool inputBoxCli()
{
    return {u"inputbox"_s, u"An InputBox call that stores the answer in a variable (Askwright)."_s, declare, generate};
}
