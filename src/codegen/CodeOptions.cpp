// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/CodeOptions.h"

using namespace Qt::StringLiterals;

namespace codegen {

QString constantsName(CodeOptions::Constants constants)
{
    return constants == CodeOptions::Constants::Names ? u"names"_s : u"numbers"_s;
}

std::optional<CodeOptions::Constants> constantsFromName(QStringView name)
{
    if (name == u"numbers")
        return CodeOptions::Constants::Numbers;
    if (name == u"names")
        return CodeOptions::Constants::Names;
    return std::nullopt;
}

QStringList constantsNames()
{
    return {constantsName(CodeOptions::Constants::Numbers), constantsName(CodeOptions::Constants::Names)};
}

} // namespace codegen
