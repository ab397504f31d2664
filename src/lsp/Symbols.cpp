// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/Symbols.h"

#include "basic/Module.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lsp {

namespace {

using basic::TokenKind;
using basic::Tokens;

bool isModifier(const Tokens &t, qint32 i)
{
    return t.isWord(i, u"public") || t.isWord(i, u"private") || t.isWord(i, u"friend") || t.isWord(i, u"global")
           || t.isWord(i, u"static");
}

Symbol named(const Tokens &t, qint32 name, SymbolKind kind, qsizetype begin, qsizetype end)
{
    Symbol symbol;
    symbol.name = t.text(name).toString();
    symbol.kind = kind;
    symbol.begin = begin;
    symbol.end = std::max(end, t.endPos(name));
    symbol.nameBegin = t.pos(name);
    symbol.nameEnd = t.endPos(name);
    return symbol;
}

// The members of a Type or an Enum, which the model keeps no statements
// for: a name at the start of each line, up to End Type or End Enum.
void addMembers(const Tokens &t, qint32 from, Symbol &block)
{
    const SymbolKind kind = block.kind == SymbolKind::Enum ? SymbolKind::EnumMember : SymbolKind::Field;
    const qint32 n = qint32(t.size());
    for (qint32 k = from; k < n;) {
        qint32 lineEnd = k;
        while (lineEnd < n && t.kind(lineEnd) != TokenKind::Newline)
            ++lineEnd;
        if (k < lineEnd && t.isWord(k, u"end") && k + 1 < lineEnd
            && (t.isWord(k + 1, u"type") || t.isWord(k + 1, u"enum"))) {
            block.end = t.endPos(k + 1);
            return;
        }
        qint32 last = lineEnd;
        while (last > k && t.kind(last - 1) == TokenKind::Comment)
            --last;
        if (k < last && t.isIdent(k)) {
            Symbol member = named(t, qint32(k), kind, t.pos(k), t.endPos(last - 1));
            member.detail = t.text(k + 1, last).toString().simplified();
            block.end = member.end;
            block.children.push_back(std::move(member));
        }
        k = lineEnd + 1;
    }
}

} // namespace

std::vector<Symbol> moduleSymbols(QStringView text, bool gambas)
{
    const basic::Module module(text, gambas);
    const Tokens &t = module.tokens();
    const auto &statements = module.statements();
    std::vector<Symbol> symbols;

    for (const basic::Procedure &procedure : module.procedures()) {
        if (procedure.name.isEmpty() || procedure.first >= procedure.last)
            continue;
        const basic::Statement &opening = statements[std::size_t(procedure.first)];
        qint32 i = opening.begin;
        while (i < opening.end && isModifier(t, i))
            ++i;
        const bool property = i < opening.end && t.isWord(i, u"property");
        const qint32 name = i + (property ? 2 : 1);
        if (name >= opening.end || !t.isIdent(name))
            continue;
        const basic::Statement &closing = statements[std::size_t(procedure.last - 1)];
        Symbol symbol = named(t, name, property ? SymbolKind::Property : SymbolKind::Function, t.pos(opening.begin),
                              t.endPos(closing.end - 1));
        symbol.detail = t.text(opening.begin, name).toString().simplified();
        symbols.push_back(std::move(symbol));
    }

    for (const basic::Statement &statement : statements) {
        if (!module.procedures()[std::size_t(statement.procedure)].name.isEmpty() || statement.begin >= statement.end)
            continue;
        qint32 i = statement.begin;
        while (i < statement.end && isModifier(t, i))
            ++i;
        if (i + 2 == statement.end && (t.isWord(i, u"type") || t.isWord(i, u"enum")) && t.isIdent(i + 1)) {
            const bool isEnum = t.isWord(i, u"enum");
            Symbol block = named(t, i + 1, isEnum ? SymbolKind::Enum : SymbolKind::Struct, t.pos(statement.begin),
                                 t.endPos(i + 1));
            block.detail = t.text(statement.begin, i + 1).toString().simplified();
            addMembers(t, statement.end, block);
            symbols.push_back(std::move(block));
        } else if (i < statement.end && t.isWord(i, u"const")) {
            // Const A = 1, B As Long = 2: each up to the comma after it.
            for (qint32 k = i + 1; k < statement.end;) {
                const qint32 stop = t.topLevel(k, statement.end, [&](qint32 q) { return t.isPunct(q, u','); });
                qint32 last = stop;
                while (last > k && t.kind(last - 1) == TokenKind::Comment)
                    --last;
                if (t.isIdent(k)) {
                    Symbol constant = named(t, k, SymbolKind::Constant, t.pos(k), t.endPos(last - 1));
                    constant.detail = t.text(k + 1, last).toString().simplified();
                    symbols.push_back(std::move(constant));
                }
                k = stop + 1;
            }
        }
    }
    std::stable_sort(symbols.begin(), symbols.end(),
                     [](const Symbol &a, const Symbol &b) { return a.begin < b.begin; });
    return symbols;
}

} // namespace lsp
