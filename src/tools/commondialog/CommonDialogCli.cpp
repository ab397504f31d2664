#include "tools/commondialog/CommonDialogCli.h"

using namespace Qt::StringLiterals;

CliTool commonDialogCli()
{
    return {u"commondialog"_s, u"Code that shows an Open, Save, Font, Color or Printer dialog (Pickwright)."_s, [](ToolOptions &) {}, [](const ToolOptions &) { return QString(); }};
}
