// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/CodeReader.h"

#include "basic/Evaluator.h"
#include "basic/Module.h"

#include <QRegularExpression>
#include <QStringList>

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

// Whether the text is Gambas's: its Message and Dialog classes, its &=, or
// the input box tool's block with the call as Gambas's code has it (no
// blank before the parenthesis). Its literals escape with a backslash, so
// the text is lexed that way.
bool looksLikeGambas(const QString &text)
{
    static const QRegularExpression forms(
        uR"(^[ \t]*(?:Message\.Title[ \t]*=|(?:Response[ \t]*=[ \t]*)?Message(?:\.(?:Info|Warning|Error|Question))?\(|Dialog\.(?:Title|Filter)[ \t]*=|\w+ &= |If (?:Dialog\.(?:OpenFile|SaveFile|SelectFont|SelectColor)|PrinterSetup\.Configure)\(\) Then\b))"_s,
        QRegularExpression::MultilineOption);
    static const QRegularExpression inputBox(uR"(^[ \t]*\w+ = InputBox\()"_s, QRegularExpression::MultilineOption);
    return forms.match(text).hasMatch()
           || (text.contains(u"'*** Begin Askwright Code ***"_s) && inputBox.match(text).hasMatch());
}

ReadResult readModule(const basic::Module &module, const QList<Tool> &tools, const Tool *only)
{
    basic::Evaluator evaluator(module, MaxText);
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

ReadResult readCode(const QString &text, const QList<Tool> &tools, const Tool *only)
{
    if (text.size() > basic::MaxTextLength) {
        ReadResult result;
        result.error = ReadError{1, 1, u"the text is too long to be code"_s};
        return result;
    }
    try {
        const bool gambas = looksLikeGambas(text);
        const basic::Module module(text, gambas);
        ReadResult result = readModule(module, tools, only);
        if (gambas)
            result.dialect = basic::Dialect::Gambas;
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
