// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/Meanings.h"

#include "basic/Lexer.h"
#include "basic/Names.h"
#include "basic/Constants.h"
#include "reader/ResultJson.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace lsp {

namespace {

QString buttonSetMeaning(qint32 set)
{
    switch (set) {
    case vbOKOnly: return u"OK"_s;
    case vbOKCancel: return u"OK and Cancel"_s;
    case vbAbortRetryIgnore: return u"Abort, Retry and Ignore"_s;
    case vbYesNoCancel: return u"Yes, No and Cancel"_s;
    case vbYesNo: return u"Yes and No"_s;
    case vbRetryCancel: return u"Retry and Cancel"_s;
    default: return u"the buttons %1, which BASIC has no set for"_s.arg(set);
    }
}

QString iconMeaning(qint32 icon)
{
    switch (icon) {
    case vbNoIcon: return u"no icon"_s;
    case vbCritical: return u"the critical icon"_s;
    case vbQuestion: return u"the question icon"_s;
    case vbExclamation: return u"the exclamation icon"_s;
    case vbInformation: return u"the information icon"_s;
    default: return u"the icon %1, which BASIC has none for"_s.arg(icon);
    }
}

QString resultMeaning(qint32 result)
{
    static const QStringList buttons{u"OK"_s, u"Cancel"_s, u"Abort"_s, u"Retry"_s, u"Ignore"_s, u"Yes"_s, u"No"_s};
    if (result >= vbOK && result <= vbNo)
        return u"the answer when %1 is clicked"_s.arg(buttons.at(result - 1));
    return {};
}

QString buttonsMeaning(qint32 value)
{
    QStringList parts{buttonSetMeaning(value & MsgBoxButtonSetMask), iconMeaning(value & MsgBoxIconMask)};
    static const QStringList ordinals{u"first"_s, u"second"_s, u"third"_s, u"fourth"_s};
    const qint32 defaultButton = (value & MsgBoxDefaultButtonMask) >> 8;
    parts << (defaultButton < 4 ? u"the %1 button the default"_s.arg(ordinals.at(defaultButton))
                                : u"the default button %1, which BASIC has none for"_s.arg(defaultButton + 1));
    if (value & vbSystemModal)
        parts << u"system modal"_s;
    if (value & vbMsgBoxHelpButton)
        parts << u"a Help button"_s;
    if (value & vbMsgBoxSetForeground)
        parts << u"in the foreground"_s;
    if (value & vbMsgBoxRight)
        parts << u"the text right-aligned"_s;
    if (value & vbMsgBoxRtlReading)
        parts << u"read right to left"_s;
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
        static const QList<std::pair<QString, qint32>> sets{
            {u"ok"_s, vbOKOnly},           {u"okcancel"_s, vbOKCancel}, {u"abortretryignore"_s, vbAbortRetryIgnore},
            {u"yesnocancel"_s, vbYesNoCancel}, {u"yesno"_s, vbYesNo},   {u"retrycancel"_s, vbRetryCancel}};
        QString shown = set;
        for (const auto &[name, value] : sets) {
            if (name == set)
                shown = buttonSetMeaning(value);
        }
        lines << u"- Buttons: %1; icon %2; default button %3%4"_s.arg(shown, text(u"icon"_s), text(u"default"_s),
                                                                      fields.value(u"system-modal"_s).toBool()
                                                                          ? u"; system modal"_s
                                                                          : QString());
        lines << u"- Answer: %1"_s.arg(set == u"ok"_s ? u"none, OK only"_s : u"the button clicked, one of "_s + shown);
    }
    return lines.join(u'\n');
}

} // namespace lsp
