// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// The outline of a module: its procedures, Enums, Types and module-level
// Consts, found by the BASIC model that `fix` and `read` use.
namespace lsp {

// The protocol's SymbolKind values that a module has.
enum class SymbolKind {
    Property = 7,
    Field = 8,
    Enum = 10,
    Function = 12,
    Constant = 14,
    EnumMember = 22,
    Struct = 23
};

struct Symbol
{
    QString name;
    QString detail; // "Private Function", "As Long = 5", …
    SymbolKind kind = SymbolKind::Function;
    qsizetype begin = 0; // the whole declaration, in UTF-16 offsets
    qsizetype end = 0;
    qsizetype nameBegin = 0;
    qsizetype nameEnd = 0;
    std::vector<Symbol> children;
};

// In the order of the text. Throws basic::Refusal where the text is too
// dense to cut into statements.
std::vector<Symbol> moduleSymbols(QStringView text, bool gambas);

} // namespace lsp
