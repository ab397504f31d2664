// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/Meanings.h"

#include "basic/Lexer.h"
#include "basic/Names.h"
#include "basic/Constants.h"
#include "basic/MsgBoxStyles.h"
#include "reader/ResultJson.h"

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

// Markdown's special characters shown as themselves.
QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (QStringView(u"\\`*_{}[]()<>#+-.!|~").contains(c))
            out += u'\\';
        out += c;
    }
    return out;
}

QString shortened(QString text, qsizetype most)
{
    text.replace(u"\r\n"_s, u" ⏎ "_s);
    if (text.size() > most) {
        // Not between the halves of a surrogate pair.
        qsizetype cut = most;
        if (text[cut - 1].isHighSurrogate())
            --cut;
        text = text.left(cut) + u'…';
    }
    return text;
}

bool isCallWord(QStringView word, bool inputBox)
{
    if (inputBox)
        return word.compare(u"InputBox", Qt::CaseInsensitive) == 0 || word.compare(u"InputBox$", Qt::CaseInsensitive) == 0;
    return word.compare(u"MsgBox", Qt::CaseInsensitive) == 0;
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
    if (text.size() > basic::MaxTextLength)
        return std::nullopt;
    const std::vector<basic::Token> tokens = basic::tokenize(text);
    const auto isEnd = [&](const basic::Token &t) {
        return t.kind == basic::TokenKind::Newline || (t.kind == basic::TokenKind::Punct && t.len == 1 && text[t.pos] == u':');
    };
    // The statement around the offset, and the call word in it nearest
    // before the offset (or its first).
    std::size_t first = 0;
    std::optional<std::size_t> call;
    bool inputBox = false;
    qsizetype begin = 0;
    qsizetype end = 0;
    for (std::size_t i = 0; i <= tokens.size(); ++i) {
        if (i < tokens.size() && !isEnd(tokens[i]))
            continue;
        if (i > first) {
            begin = tokens[first].pos;
            end = tokens[i - 1].pos + qsizetype(tokens[i - 1].len);
            if (begin <= offset && offset <= end) {
                for (std::size_t k = first; k < i; ++k) {
                    const basic::Token &t = tokens[k];
                    if (t.kind != basic::TokenKind::Ident)
                        continue;
                    const QStringView word = QStringView(text).sliced(t.pos, t.len);
                    if (!isCallWord(word, false) && !isCallWord(word, true))
                        continue;
                    if (call && t.pos > offset)
                        break;
                    call = k;
                    inputBox = isCallWord(word, true);
                }
                break;
            }
        }
        first = i + 1;
    }
    if (!call)
        return std::nullopt;
    const Tool *tool = toolNamed(tools, inputBox ? u"inputbox" : u"msgbox");
    if (!tool)
        return std::nullopt;
    // The calls before it are made names of no call, each as long as it was,
    // so that `read`, which reads the first call, reads this one with every
    // place where it was.
    QString masked = text;
    for (std::size_t k = 0; k < *call; ++k) {
        const basic::Token &t = tokens[k];
        if (t.kind == basic::TokenKind::Ident && isCallWord(QStringView(text).sliced(t.pos, t.len), inputBox))
            masked[t.pos] = u'Q';
    }
    CallReading reading;
    reading.begin = begin;
    reading.end = end;
    reading.result = readCode(masked, tools, tool, settings);
    if (forWindow && reading.result.ok()) {
        // The window reads the first construct of any tool, without a
        // dialect: what it is given must read into exactly this call.
        const QJsonObject wanted = readResultJson(reading.result);
        for (const QString &candidate : {masked, text.mid(begin, end - begin)}) {
            const ReadResult seen = readCode(candidate, tools);
            if (seen.ok() && readResultJson(seen) == wanted) {
                reading.windowText = candidate;
                break;
            }
        }
    }
    return reading;
}

QString callMarkdown(const CallReading &reading)
{
    const ReadResult &result = reading.result;
    if (!result.ok())
        return u"This call cannot be read into Quillkit 98: "_s + escaped(result.error->text());
    const QJsonObject fields = readResultJson(result);
    const auto text = [&](const QString &member) { return fields.value(member).toString(); };
    QStringList lines;
    const bool inputBox = result.toolName() == u"inputbox"_s;
    lines << (inputBox ? u"**Input box**"_s : u"**Message box**"_s) << QString();
    lines << u"- Title: "_s + (fields.value(u"title"_s).isNull() ? u"(the program's name)"_s : escaped(text(u"title"_s)));
    lines << u"- Message: "_s + escaped(shortened(text(u"message"_s), 200));
    if (inputBox) {
        lines << u"- Buttons: OK and Cancel"_s;
        lines << u"- Answer: stored in `%1`, starting as \"%2\""_s.arg(text(u"variable"_s),
                                                                      escaped(shortened(text(u"default-answer"_s), 80)));
    } else {
        const QString set = text(u"buttons"_s);
        const basic::ButtonSetRow *row = basic::buttonSetOption(set);
        const QString shown = row ? basic::buttonSetMeaning(*row) : set;
        lines << u"- Buttons: %1; icon %2; default button %3%4"_s.arg(shown, text(u"icon"_s), text(u"default"_s),
                                                                      fields.value(u"system-modal"_s).toBool()
                                                                          ? u"; system modal"_s
                                                                          : QString());
        lines << u"- Answer: %1"_s.arg(set == u"ok"_s ? u"none, OK only"_s : u"the button clicked, one of "_s + shown);
    }
    return lines.join(u'\n');
}

} // namespace lsp
