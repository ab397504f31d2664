#include "tools/HelpFields.h"

#include "codegen/CodeText.h"

using namespace Qt::StringLiterals;

QString helpArguments(const HelpFields &fields)
{
    QString args;
    if (fields.appPath)
        args += u"App.Path & "_s;
    args += codegen::quoteLiteral(fields.helpFile) + u", "_s + codegen::topicArgument(fields.topicId);
    return args;
}
