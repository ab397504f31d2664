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

    friend bool operator==(const CodeOptions &, const CodeOptions &) = default;
};

} // namespace codegen
