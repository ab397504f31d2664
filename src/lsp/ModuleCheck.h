// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Names.h"
#include "fix/ModuleFixer.h"
#include "lsp/Symbols.h"

#include <QHash>
#include <QSet>
#include <QStringView>

#include <optional>

#include <vector>

// `fix`'s findings for a module that changes a keystroke at a time. A change
// inside one procedure's body is checked with that procedure and the module's
// declarations section alone, where nothing else in the module can see or
// change what the check depends on: the names the procedure reads that
// other procedures declare, set or define, and the declarations it makes
// that they read. Anything else (a declaration section, a procedure's first
// or last line, #If outside the declarations, a name that crosses) checks the
// whole module. Either way the findings are fixModule's for the text; only
// the calls' numbers differ (each call keeps a number of its own).
namespace lsp {

class ModuleCheck
{
public:
    // Checks the whole text; a text BASIC's model refuses is one note.
    // `boxes`: the words of the calls whose numbers `fix` names.
    // dialectSure: as moduleDialect says, which fixModule takes.
    void checkAll(QStringView text, basic::Dialect dialect, const QStringList &boxes, bool dialectSure = true);
    // Findings from elsewhere (an .xba's, or none): never updated in part.
    void set(fix::ModuleFixes fixes);
    // The text is now `text`: [from, from + length) of it replaced [from, to)
    // of the text last checked. True when only a procedure was checked.
    bool update(QStringView text, qsizetype from, qsizetype to, qsizetype length);

    const fix::ModuleFixes &fixes() const { return m_fixes; }

    // The declarations section and one procedure, on their own lines in the
    // module (the procedure's offsets less `shift`): where a call in the
    // procedure's body reads there as in the whole module, `read` of a call
    // costs the procedure, not the module. Nothing where another part of the
    // module may declare, set, define or pass on a name the procedure uses,
    // or uses any of `moduleWide` (names whose meaning is the whole
    // module's), or the text is not the one last checked.
    struct Part
    {
        QString text;
        qsizetype shift = 0;
    };
    std::optional<Part> readablePart(QStringView text, qsizetype offset, const QStringList &moduleWide) const;

    // The outline of the text last checked (all of it, given again): made
    // once, then kept up a procedure at a time as the check is. Throws
    // basic::Refusal as moduleSymbols does.
    const std::vector<Symbol> &outline(QStringView text);
    // The length of the text last checked.
    qsizetype textSize() const { return m_size; }

    // What a unit of the module (its declarations, or one procedure with the
    // comments after it) tells the rest, as hashes of name keys.
    struct Facts
    {
        std::vector<quint64> uses;       // every name it reads or writes
        std::vector<quint64> variables;  // what BASIC's model takes as variables
        std::vector<quint64> procedures; // the procedures it defines
        std::vector<quint64> declared;   // at least every name it declares
        std::vector<quint64> buttons;    // the names in its message boxes' later arguments
        std::vector<quint64> locals;     // what its procedure declares for itself, but BASIC's own names
        std::vector<quint64> changed;    // what it may declare, set or pass by reference
        int specialDeclarations = 0;     // declares a box's word, VBA, Interaction or a constant's name
        qsizetype tokens = 0;
    };

private:
    struct Unit
    {
        qsizetype begin = 0;
        qsizetype end = 0;
        qsizetype bodyBegin = 0; // after its first line, at its last line's start
        qsizetype bodyEnd = 0;
        int line = 0;  // of its first line, from 0
        int lines = 0; // line breaks in it
        int calls = 0; // calls with a change
        Facts facts;
    };

    // Findings of one procedure, at their places in the module.
    struct Found
    {
        std::vector<fix::Change> changes;
        std::vector<fix::Note> notes;
        int calls = 0;
    };
    void full(QStringView text);
    void checkWhole(QStringView text);
    // The procedure's findings, checked with the declarations section;
    // false where that check cannot stand for the module's.
    bool checkUnit(QStringView text, const Unit &unit, QStringView unitText, Found &found);
    bool headerCrosses() const;
    void count(const Facts &facts, int sign);
    void share(fix::Change &change);
    bool crosses(const Facts &before, const Facts &after) const;

    basic::Dialect m_dialect = basic::Dialect::VisualBasic;
    bool m_dialectSure = true;
    QStringList m_boxes;
    fix::ModuleFixes m_fixes;
    fix::ModuleFixes m_headerFixes; // of the declarations section alone
    qsizetype m_size = 0;
    bool m_incremental = false;
    Unit m_header;
    std::vector<Unit> m_units;
    QHash<quint64, int> m_uses, m_variables, m_procedures, m_declared, m_buttons, m_changed;
    int m_specialDeclarations = 0;
    qsizetype m_tokens = 0;
    int m_nextCall = 0;
    QSet<QString> m_texts;
    std::optional<std::vector<Symbol>> m_outline;
};

} // namespace lsp
