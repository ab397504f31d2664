// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/ResultJson.h"

#include "basic/Dialect.h"

using namespace Qt::StringLiterals;

QJsonObject readResultJson(const ReadResult &result)
{
    QJsonObject object = result.tool->toJson(result);
    object.insert(u"tool"_s, result.tool->cli.name);
    object.insert(u"dialect"_s, basic::dialectName(result.code.dialect));
    return object;
}
