#include "tools/msgbox/MsgBoxCli.h"

using namespace Qt::StringLiterals;

CliTool msgBoxCli()
{
    return {u"msgbox"_s, u"A MsgBox call, with a Select Case block for its answer (Notewright)."_s, [](ToolOptions &) {}, [](const ToolOptions &) { return QString(); }};
}
