// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

    // Which BASIC the code is written for: Visual Basic, LibreOffice
    // Basic without its Visual Basic support (own constants, line breaks as
    // Chr$ codes, UNO services instead of the common dialog control), or
    // Gambas (backslash escapes, its Message and Dialog classes, no
    // constants).
    enum class Dialect { VisualBasic, LibreOffice, Gambas };

    Dialect dialect = Dialect::VisualBasic;

    bool libreOffice() const { return dialect == Dialect::LibreOffice; }
    bool gambas() const { return dialect == Dialect::Gambas; }

    friend bool operator==(const CodeOptions &, const CodeOptions &) = default;
};

} // namespace codegen
