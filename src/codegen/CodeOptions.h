// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Dialect.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// How the generated code is written, as opposed to what it does: the same
// fields give the same program in every style.
namespace codegen {

struct CodeOptions
{
    // How the message box's buttons argument and its result cases are
    // written: as numbers (292, Case 6) or as BASIC's constant names
    // (vbYesNo + vbQuestion + vbDefaultButton2, Case vbYes).
    enum class Constants { Numbers, Names };

    Constants constants = Constants::Numbers;

    // Which BASIC the code is written for.
    using Dialect = basic::Dialect;

    Dialect dialect = Dialect::VisualBasic;

    bool libreOffice() const { return dialect == Dialect::LibreOffice; }
    bool gambas() const { return dialect == Dialect::Gambas; }

    friend bool operator==(const CodeOptions &, const CodeOptions &) = default;
};

// The constants style's name on the command line and in JSON: "numbers",
// "names".
QString constantsName(CodeOptions::Constants constants);
std::optional<CodeOptions::Constants> constantsFromName(QStringView name);
QStringList constantsNames();

} // namespace codegen
