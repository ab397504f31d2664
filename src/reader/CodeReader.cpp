// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/CodeReader.h"

#include "basic/Evaluator.h"
#include "basic/Module.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The longest text a name may hold while the code is read: what the
// command line takes as input, and no more.
constexpr qsizetype MaxText = 64 * 1024 * 1024;

// Why nothing was found: what was looked for. Statements' constructs are
// named before blocks of comment lines.
QString notFound(const QList<Tool> &tools, const Tool *only)
{
    if (only)
        return u"no %1 in the text"_s.arg(only->reader.soughtAlone);
    QStringList sought;
    for (const bool statements : {true, false}) {
        for (const Tool &tool : tools) {
            if ((tool.reader.find != nullptr) == statements)
                sought << tool.reader.sought;
        }
    }
    const QString last = sought.isEmpty() ? QString() : sought.takeLast();
    return u"no %1 in the text"_s.arg(sought.isEmpty() ? last : sought.join(u", "_s) + u" or "_s + last);
}

// Whether the text is Gambas's, by a statement that only Gambas's code of
// one of the tools has, or by `&=`, with which the tools build up a long
// text in Gambas. Its literals escape with a backslash, so the text is lexed
// that way.
bool looksLikeGambas(const QString &text, const QList<Tool> &tools)
{
    QStringList forms{uR"(\w+ &= )"_s};
    for (const Tool &tool : tools) {
        if (!tool.reader.gambasForms.isEmpty())
            forms << tool.reader.gambasForms;
    }
    const QString pattern = uR"(^[ \t]*(?:)"_s + forms.join(u'|') + u')';
    static QHash<QString, QRegularExpression> compiled;
    auto found = compiled.constFind(pattern);
    if (found == compiled.cend())
        found = compiled.insert(pattern, QRegularExpression(pattern, QRegularExpression::MultilineOption));
    return found->match(text).hasMatch();
}

bool mayBeGambas(const QString &text, const QList<Tool> &tools)
{
    return std::any_of(tools.cbegin(), tools.cend(),
                       [&](const Tool &tool) { return tool.reader.mayBeGambas && tool.reader.mayBeGambas(text); });
}

// What in the module says it is LibreOffice Basic: its option, its services
// and documents (the code), or only its MB_ and ID names (where the module
// does not declare them), which Visual Basic code may also have, declared
// by another module.
enum class LibreOfficeSigns { None, Names, Code };

// Option VBASupport; services and documents (com.sun.star…).
constexpr QStringView VbaSupportWord = u"vbasupport";
constexpr QStringView CodeWords[] = {u"createunoservice", u"thiscomponent"};
constexpr QStringView StarWords[] = {u"com", u"sun"};

LibreOfficeSigns libreOfficeSigns(const basic::Module &module, bool *vbaSupport)
{
    const basic::Tokens &t = module.tokens();
    LibreOfficeSigns found = LibreOfficeSigns::None;
    for (qint32 i = 0; i < qint32(t.size()); ++i) {
        if (!t.isIdent(i))
            continue;
        if (t.isWord(i, u"option") && i + 1 < t.size() && t.isWord(i + 1, VbaSupportWord)) {
            found = LibreOfficeSigns::Code;
            *vbaSupport = i + 2 < t.size() && t.text(i + 2) == u"1";
        } else if (t.isWord(i, CodeWords[0]) || t.isWord(i, CodeWords[1])
                   || (t.isWord(i, StarWords[0]) && i + 2 < t.size() && t.isPunct(i + 1, u'.')
                       && t.isWord(i + 2, StarWords[1]))) {
            if (!module.declaration(t.text(i)))
                found = LibreOfficeSigns::Code;
        } else if (const QStringView word = t.text(i);
                   found == LibreOfficeSigns::None
                   && (word.startsWith(u"MB_", Qt::CaseInsensitive) || word.startsWith(u"ID", Qt::CaseInsensitive))
                   && !module.declaration(word)) {
            const basic::BasicName *name = basic::findName(word);
            if (name && name->dialect == basic::Dialect::LibreOffice)
                found = LibreOfficeSigns::Names;
        }
    }
    return found;
}

ReadResult readModule(const basic::Module &module, const QList<Tool> &tools, const Tool *only,
                      const basic::TextSemantics &semantics, qsizetype from)
{
    basic::Evaluator evaluator(module, MaxText, semantics);
    ReadContext context(module, evaluator);
    QList<const Tool *> wanted;
    for (const Tool &tool : tools) {
        if (!only || only == &tool)
            wanted << &tool;
    }
    ReadResult result;
    const auto &statements = module.statements();
    const auto &comments = module.lineComments();
    const qint32 tokenCount = qint32(module.tokens().size());
    std::size_t c = 0;
    // The first construct is read; the ones after it are only counted, so
    // that the window can say how many there are.
    for (std::size_t s = 0; s <= statements.size(); ++s) {
        const qint32 before = s < statements.size() ? statements[s].begin : tokenCount;
        for (; c < comments.size() && comments[c] < before; ++c) {
            if (module.tokens().pos(comments[c]) < from)
                continue;
            for (const Tool *tool : std::as_const(wanted)) {
                ReadResult counted;
                if (tool->reader.readComment && tool->reader.readComment(context, comments[c], result.found ? counted : result)) {
                    if (result.found++ == 0)
                        result.tool = tool;
                    break;
                }
            }
        }
        if (s == statements.size())
            break;
        if (statements[s].begin >= tokenCount || module.tokens().pos(statements[s].begin) < from)
            continue;
        // The construct that starts first; on the same token, the first tool.
        const Tool *found = nullptr;
        qint32 at = -1;
        for (const Tool *tool : std::as_const(wanted)) {
            if (!tool->reader.find)
                continue;
            const qint32 k = tool->reader.find(context, qint32(s));
            if (k >= 0 && (!found || k < at)) {
                found = tool;
                at = k;
            }
        }
        if (found && result.found++ == 0) {
            evaluator.runTo(qint32(s));
            found->reader.read(context, qint32(s), at, result);
            result.tool = found;
        }
    }
    if (result.found == 0)
        refuse(0, notFound(tools, only));
    return result;
}

} // namespace

ReadResult readCode(const QString &text, const QList<Tool> &tools, const Tool *only, const ReadSettings &settings)
{
    if (text.size() > basic::MaxTextLength) {
        ReadResult result;
        result.error = ReadError{1, 1, u"the text is too long to be code"_s};
        return result;
    }
    try {
        const bool gambas = settings.dialect ? *settings.dialect == basic::Dialect::Gambas : looksLikeGambas(text, tools);
        const basic::Module module(text, gambas);
        basic::TextSemantics semantics;
        semantics.codePage = settings.codePage;
        if (gambas)
            semantics.dialect = basic::Dialect::Gambas;
        else if (settings.dialect)
            semantics.dialect = *settings.dialect;
        if (bool vbaSupport = false; !gambas && libreOfficeSigns(module, &vbaSupport) != LibreOfficeSigns::None) {
            if (settings.dialect && *settings.dialect != basic::Dialect::LibreOffice)
                refuse(0, u"the code is LibreOffice Basic's (its services, MB_ names or options), not Visual Basic's"_s);
            semantics.dialect = basic::Dialect::LibreOffice;
            semantics.vbaSupport = vbaSupport;
        }
        if (!settings.dialect && !gambas && mayBeGambas(text, tools)) {
            // Gambas where the text is just what the tool writes in Gambas
            // (--dialect says otherwise).
            std::optional<ReadResult> other;
            try {
                const basic::Module asGambas(text, true);
                basic::TextSemantics gambasSemantics;
                gambasSemantics.dialect = basic::Dialect::Gambas;
                other = readModule(asGambas, tools, only, gambasSemantics, settings.from);
                const codegen::CodeOptions options{{}, codegen::CodeOptions::Dialect::Gambas};
                if (!other->tool || !other->tool->generate || !text.contains(other->tool->generate(other->fields, options)))
                    other.reset();
            } catch (const basic::Refusal &) {
                other.reset(); // not Gambas's: the Visual Basic reading stands
            }
            if (other) {
                other->code.dialect = basic::Dialect::Gambas;
                return *other;
            }
        }
        ReadResult result = readModule(module, tools, only, semantics, settings.from);
        // What the code says of its dialect holds over how it is laid out.
        if (semantics.dialect != basic::Dialect::VisualBasic || settings.dialect)
            result.code.dialect = semantics.dialect;
        return result;
    } catch (const basic::Refusal &refusal) {
        ReadResult result;
        const basic::LineColumn at = basic::lineColumnAt(text, refusal.pos);
        // One line: code a message quotes may run over a continuation.
        QString message = refusal.message;
        for (QChar &c : message) {
            if (c == u'\r' || c == u'\n')
                c = u' ';
        }
        result.error.emplace(ReadError{at.line, at.column, message});
        return result;
    }
}

const QStringList &libreOfficeSignWords()
{
    static const QStringList words = [] {
        QStringList list{VbaSupportWord.toString()};
        for (const QStringView word : CodeWords)
            list << word.toString();
        for (const QStringView word : StarWords)
            list << word.toString();
        for (const basic::BasicName &name : basic::basicNames()) {
            if (name.dialect == basic::Dialect::LibreOffice)
                list << name.name.toString();
        }
        return list;
    }();
    return words;
}

bool mayReadAsGambas(const QString &text, const QList<Tool> &tools)
{
    return looksLikeGambas(text, tools) || mayBeGambas(text, tools);
}

basic::Dialect moduleDialect(const QString &text, const QList<Tool> &tools, std::optional<basic::Dialect> given,
                             bool *sure)
{
    // Past this, a module is too long to be anyone's: no time is spent on it.
    constexpr qsizetype MostLooked = 4 * 1024 * 1024;
    if (sure)
        *sure = true;
    if (given)
        return *given;
    if (text.size() > MostLooked)
        return basic::Dialect::VisualBasic;
    const ReadResult read = readCode(text, tools);
    const basic::Dialect dialect = read.ok() ? read.code.dialect : basic::Dialect::VisualBasic;
    if (sure && dialect == basic::Dialect::LibreOffice) {
        bool vbaSupport = false;
        *sure = libreOfficeSigns(basic::Module(text), &vbaSupport) == LibreOfficeSigns::Code;
    }
    return dialect;
}
