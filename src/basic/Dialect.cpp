// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Dialect.h"

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

constexpr std::array<std::pair<Dialect, QStringView>, 3> names{{
    {Dialect::VisualBasic, u"vb"},
    {Dialect::LibreOffice, u"libreoffice"},
    {Dialect::Gambas, u"gambas"},
}};

} // namespace

QString dialectName(Dialect dialect)
{
    for (const auto &[known, name] : names) {
        if (known == dialect)
            return name.toString();
    }
    return {};
}

std::optional<Dialect> dialectFromName(QStringView name)
{
    for (const auto &[dialect, known] : names) {
        if (known == name)
            return dialect;
    }
    return std::nullopt;
}

QStringList dialectNames()
{
    QStringList list;
    for (const auto &[dialect, name] : names)
        list << name.toString();
    return list;
}

} // namespace basic
