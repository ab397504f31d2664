#include "tools/inputbox/InputBoxCli.h"

using namespace Qt::StringLiterals;

CliTool inputBoxCli()
{
    return {u"inputbox"_s, u"An InputBox call that stores the answer in a variable (Askwright)."_s, [](ToolOptions &) {}, [](const ToolOptions &) { return QString(); }};
}
