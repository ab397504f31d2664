// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/Meanings.h"

#include "basic/Constants.h"
#include "basic/Lexer.h"
#include "basic/Module.h"
#include "basic/MsgBoxStyles.h"
#include "basic/Names.h"
#include "lsp/Memory.h"
#include "reader/ResultJson.h"
#include "tools/HoverText.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace lsp {

namespace {

QString buttonSetMeaning(qint32 set)
{
    if (const basic::ButtonSetRow *row = basic::buttonSet(set))
        return basic::buttonSetMeaning(*row);
    return u"the buttons %1, which BASIC has no set for"_s.arg(set);
}

QString iconMeaning(qint32 icon)
{
    if (const basic::IconRow *row = basic::msgBoxIcon(icon))
        return row->meaning.toString();
    return u"the icon %1, which BASIC has none for"_s.arg(icon);
}

QString resultMeaning(qint32 result)
{
    if (const basic::MsgBoxResultRow *row = basic::msgBoxResult(result))
        return u"the answer when %1 is clicked"_s.arg(QLatin1StringView(row->caption));
    return {};
}

QString buttonsMeaning(qint32 value)
{
    QStringList parts{buttonSetMeaning(value & MsgBoxButtonSetMask), iconMeaning(value & MsgBoxIconMask)};
    if (const basic::DefaultButtonRow *row = basic::defaultButton(value & MsgBoxDefaultButtonMask))
        parts << u"the %1 button the default"_s.arg(row->ordinal);
    else
        parts << u"the default button %1, which BASIC has none for"_s.arg(((value & MsgBoxDefaultButtonMask) >> 8) + 1);
    for (const basic::MsgBoxFlagRow &flag : basic::msgBoxFlags()) {
        if (flag.value && (value & flag.value))
            parts << flag.meaning.toString();
    }
    return parts.join(u", "_s);
}

// Whether the logical line around the offset (with the lines " _" joins to
// it) holds a call word of a tool that describes its calls: where none does,
// no call is read there, and a large module is not cut into statements for
// nothing at each move of the cursor.
bool callWordOnLine(QStringView text, qsizetype offset, const QList<Tool> &tools)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    const auto isBreak = [](QChar c) { return c == u'\n' || c == u'\r'; };
    const auto continues = [&](qsizetype lineEnd) { // the line ending there ends in " _"
        qsizetype i = lineEnd;
        while (i > 0 && (text[i - 1] == u' ' || text[i - 1] == u'\t'))
            --i;
        return i > 0 && text[i - 1] == u'_';
    };
    qsizetype begin = offset;
    for (;;) {
        while (begin > 0 && !isBreak(text[begin - 1]))
            --begin;
        qsizetype before = begin;
        while (before > 0 && isBreak(text[before - 1]) && begin - before < 2)
            --before;
        if (before == begin || !continues(before))
            break;
        begin = before;
    }
    qsizetype end = offset;
    for (;;) {
        while (end < text.size() && !isBreak(text[end]))
            ++end;
        if (end >= text.size() || !continues(end))
            break;
        ++end;
        if (end < text.size() && text[end - 1] == u'\r' && text[end] == u'\n')
            ++end;
    }
    const QStringView line = text.sliced(begin, end - begin);
    for (const Tool &tool : tools) {
        if (!tool.describe)
            continue;
        for (const QString &word : tool.callWords) {
            if (line.contains(word, Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}

} // namespace

QString meaningOfNames(QStringView names)
{
    qint32 value = 0;
    bool result = false;
    for (const QStringView part : names.split(u'+')) {
        const basic::BasicName *name = basic::findName(part.trimmed());
        if (!name)
            return {};
        if (name->group == basic::NameGroup::Result) {
            result = true;
            value = name->value;
        } else {
            value += name->value;
        }
    }
    return result ? resultMeaning(value) : buttonsMeaning(value);
}

std::optional<CallReading> readCallAt(const QString &text, qsizetype offset, const QList<Tool> &tools,
                                      const ReadSettings &settings, bool forWindow)
{
    if (text.size() > basic::MaxTextLength || !callWordOnLine(text, offset, tools))
        return std::nullopt;
    // The statement around the offset, as the reader splits the module, and
    // the call word in it nearest before the offset (or its first).
    const basic::Module module(text);
    const basic::Tokens &t = module.tokens();
    std::optional<qint32> call;
    const Tool *tool = nullptr;
    qsizetype begin = 0;
    qsizetype end = 0;
    for (const basic::Statement &s : module.statements()) {
        if (s.end <= s.begin || t.pos(s.begin) > offset)
            continue;
        if (t.endPos(s.end - 1) < offset)
            continue;
        begin = t.pos(s.begin);
        end = t.endPos(s.end - 1);
        for (qint32 k = s.begin; k < s.end; ++k) {
            if (!t.isIdent(k))
                continue;
            const Tool *called = toolCalledBy(tools, t.text(k));
            if (!called)
                continue;
            if (call && t.pos(k) > offset)
                break;
            call = k;
            tool = called;
        }
        break;
    }
    if (!call || !tool->describe)
        return std::nullopt;
    // Read from the call's statement on, with every place where it was; the
    // calls before it in its statement are made names of no call, each as
    // long as it was.
    const auto masked = [&](qsizetype from) {
        QString copy = text;
        for (qint32 k = 0; k < *call; ++k) {
            if (t.pos(k) >= from && t.isIdent(k) && toolCalledBy(tools, t.text(k)) == tool)
                copy[t.pos(k)] = u'Q';
        }
        return copy;
    };
    CallReading reading;
    reading.begin = begin;
    reading.end = end;
    ReadSettings fromStatement = settings;
    fromStatement.from = begin;
    reading.result = readCode(masked(begin), tools, tool, fromStatement);
    if (forWindow && reading.result.ok()) {
        // The window reads the first construct of any tool, without a
        // dialect (it is told the module's apart): what it is given must
        // read into exactly this call.
        const auto fields = [](const ReadResult &read) {
            QJsonObject json = readResultJson(read);
            json.remove(u"dialect"_s);
            return json;
        };
        const QJsonObject wanted = fields(reading.result);
        for (const QString &candidate : {masked(0), text.mid(begin, end - begin)}) {
            const ReadResult seen = readCode(candidate, tools);
            if (seen.ok() && fields(seen) == wanted) {
                reading.windowText = candidate;
                break;
            }
        }
    }
    return reading;
}

std::optional<CallReading> readCallIn(const ModuleCheck &check, const QString &text, qsizetype offset,
                                      const QList<Tool> &tools, const ReadSettings &settings, bool forWindow)
{
    // `read` takes LibreOffice's names anywhere, and unless told the
    // dialect a Gambas form anywhere, for the module's dialect.
    if (settings.dialect || !mayReadAsGambas(text, tools)) {
        if (const std::optional<ModuleCheck::Part> part = check.readablePart(text, offset, libreOfficeSignWords())) {
            std::optional<CallReading> call = readCallAt(part->text, offset - part->shift, tools, settings, forWindow);
            if (call) {
                call->begin += part->shift;
                call->end += part->shift;
            }
            return call;
        }
    }
    std::optional<CallReading> call = readCallAt(text, offset, tools, settings, forWindow);
    giveBackFreed(text.size());
    return call;
}

QString callMarkdown(const CallReading &reading)
{
    const ReadResult &result = reading.result;
    if (!result.ok())
        return u"This call cannot be read into Quillkit 98: "_s + hover::escaped(result.error->text());
    return result.tool->describe(result).join(u'\n');
}

} // namespace lsp
