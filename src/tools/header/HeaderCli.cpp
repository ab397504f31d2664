#include "tools/header/HeaderCli.h"

using namespace Qt::StringLiterals;

CliTool headerCli()
{
    return {u"header"_s, u"A framed comment block that heads a source file (Topwright)."_s, [](ToolOptions &) {}, [](const ToolOptions &) { return QString(); }};
}
