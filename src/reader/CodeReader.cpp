// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/CodeReader.h"

#include "codegen/CodeText.h"

#include <QHash>
#include <QSet>

#include <array>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

QString ReadError::text() const
{
    return u"line %1, column %2: %3"_s.arg(line).arg(column).arg(message);
}

namespace {

enum class Tok : quint8 { Ident, Number, String, BadString, Punct, Comment, Newline };

// Twelve bytes: a program has about one token for every five characters.
struct Token
{
    Tok kind;
    qint32 pos;
    qint32 len;
};

// Beyond any program, and within what a token's position can hold.
constexpr qsizetype MaxTextLength = std::numeric_limits<qint32>::max() / 2;

// Thrown to give up on the text: where, and why.
struct Refusal
{
    qsizetype pos;
    QString message;
};

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\f' || c == 0xA0 || c == 0xFEFF;
}

bool isBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(char16_t c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isIdentStart(QChar c)
{
    return c.isLetter();
}

bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// The text's tokens, made as the reader gets to them: what follows the code
// it reads is never looked at. Never fails: what BASIC would not accept
// becomes a token that the reader refuses only if it has to read it.
class Lexer
{
public:
    explicit Lexer(QStringView text) : m_text(text) {}

    // Appends the next token; false at the end of the text.
    bool next(std::vector<Token> &tokens);

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    bool m_statementStart = true;
};

bool Lexer::next(std::vector<Token> &tokens)
{
    const QStringView text = m_text;
    const qsizetype n = text.size();
    const auto at = [&](qsizetype i) -> char16_t { return i < n ? text[i].unicode() : u'\0'; };
    qsizetype &i = m_pos;
    bool &statementStart = m_statementStart;
    const auto push = [&tokens](Tok kind, qsizetype pos, qsizetype len) {
        tokens.push_back({kind, qint32(pos), qint32(len)});
    };
    while (i < n) {
        const char16_t c = text[i].unicode();
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (isBreak(c)) {
            const qsizetype len = (c == u'\r' && at(i + 1) == u'\n') ? 2 : 1;
            push(Tok::Newline, i, len);
            i += len;
            statementStart = true;
            return true;
        }
        const qsizetype start = i;
        if (c == u'\'') {
            while (i < n && !isBreak(text[i].unicode()))
                ++i;
            push(Tok::Comment, start, i - start);
            return true;
        }
        if (c == u'_') {
            // " _" at the end of a line joins the next line to this one.
            qsizetype j = i + 1;
            while (j < n && isBlank(text[j].unicode()))
                ++j;
            if (j == n || isBreak(text[j].unicode())) {
                if (j < n)
                    j += (text[j] == u'\r' && at(j + 1) == u'\n') ? 2 : 1;
                i = j;
                continue;
            }
        }
        if (c == u'"') {
            ++i;
            bool closed = false;
            while (i < n && !isBreak(text[i].unicode())) {
                if (text[i] == u'"') {
                    if (at(i + 1) == u'"') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                ++i;
            }
            push(closed ? Tok::String : Tok::BadString, start, i - start);
            statementStart = false;
            return true;
        }
        if (isDigit(c) || (c == u'.' && isDigit(at(i + 1)))) {
            while (isDigit(at(i)))
                ++i;
            if (at(i) == u'.') {
                ++i;
                while (isDigit(at(i)))
                    ++i;
            }
            const char16_t e = at(i);
            if (e == u'E' || e == u'e' || e == u'D' || e == u'd') {
                qsizetype j = i + 1;
                if (at(j) == u'+' || at(j) == u'-')
                    ++j;
                if (isDigit(at(j))) {
                    while (isDigit(at(j)))
                        ++j;
                    i = j;
                }
            }
            if (QStringView(u"%&!#@").contains(QChar(at(i))) && at(i) != u'\0')
                ++i;
            push(Tok::Number, start, i - start);
            statementStart = false;
            return true;
        }
        if (c == u'&') {
            const char16_t base = at(i + 1);
            const bool hex = base == u'H' || base == u'h';
            const bool oct = base == u'O' || base == u'o';
            if ((hex && isHexDigit(at(i + 2))) || (oct && at(i + 2) >= u'0' && at(i + 2) <= u'7')) {
                i += 2;
                while (hex ? isHexDigit(at(i)) : (at(i) >= u'0' && at(i) <= u'7'))
                    ++i;
                if (at(i) == u'&')
                    ++i;
                push(Tok::Number, start, i - start);
                statementStart = false;
                return true;
            }
        }
        if (isIdentStart(text[i])) {
            while (i < n && isIdentPart(text[i]))
                ++i;
            if (at(i) == u'$')
                ++i;
            if (statementStart && text.sliced(start, i - start).compare(u"rem", Qt::CaseInsensitive) == 0
                && (i == n || isBlank(at(i)) || isBreak(at(i)))) {
                while (i < n && !isBreak(text[i].unicode()))
                    ++i;
                push(Tok::Comment, start, i - start);
                return true;
            }
            push(Tok::Ident, start, i - start);
            statementStart = false;
            return true;
        }
        const qsizetype len = (c == u':' && at(i + 1) == u'=') ? 2 : 1;
        push(Tok::Punct, start, len);
        i += len;
        statementStart = (len == 1 && c == u':');
        return true;
    }
    return false;
}

// Windows-1252 between 0x80 and 0x9F, where Chr differs from Latin-1.
constexpr std::array<char16_t, 32> cp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct FlagName
{
    QStringView name;
    qint64 value;
};

// The MsgBox style constants, the ones without an option in the tool too:
// those are refused by value, with a message that names them.
constexpr std::array<FlagName, 21> msgBoxFlagNames{{
    {u"vbokonly", vbOKOnly},
    {u"vbokcancel", vbOKCancel},
    {u"vbabortretryignore", vbAbortRetryIgnore},
    {u"vbyesnocancel", vbYesNoCancel},
    {u"vbyesno", vbYesNo},
    {u"vbretrycancel", vbRetryCancel},
    {u"vbcritical", vbCritical},
    {u"vbquestion", vbQuestion},
    {u"vbexclamation", vbExclamation},
    {u"vbinformation", vbInformation},
    {u"vbdefaultbutton1", vbDefaultButton1},
    {u"vbdefaultbutton2", vbDefaultButton2},
    {u"vbdefaultbutton3", vbDefaultButton3},
    {u"vbdefaultbutton4", vbDefaultButton4},
    {u"vbapplicationmodal", vbApplicationModal},
    {u"vbsystemmodal", vbSystemModal},
    {u"vbmsgboxhelpbutton", vbMsgBoxHelpButton},
    {u"vbmsgboxsetforeground", vbMsgBoxSetForeground},
    {u"vbmsgboxright", vbMsgBoxRight},
    {u"vbmsgboxrtlreading", vbMsgBoxRtlReading},
    {u"vbnoicon", vbNoIcon},
}};

constexpr std::array<FlagName, 6> commonDialogFlagNames{{
    {u"cdlofnoverwriteprompt", cdlOFNOverwritePrompt},
    {u"cdlcfscreenfonts", cdlCFScreenFonts},
    {u"cdlcfprinterfonts", cdlCFPrinterFonts},
    {u"cdlcfboth", cdlCFBoth},
    {u"cdlccpreventfullopen", cdlCCPreventFullOpen},
    {u"cdlpddisableprinttofile", cdlPDDisablePrintToFile},
}};

// What a flag-valued expression adds up to, and whether a constant name
// was part of it.
struct FlagValue
{
    qint64 value = 0;
    bool usedName = false;
};

// The flag groups of a MsgBox buttons value, each of which takes one choice.
struct FlagGroup
{
    qint64 mask;
    const char *what;
};
constexpr std::array<FlagGroup, 4> msgBoxGroups{{
    {MsgBoxButtonSetMask, "button sets"},
    {MsgBoxIconMask, "icons"},
    {MsgBoxDefaultButtonMask, "default buttons"},
    {MsgBoxModalityMask, "modalities"},
}};

struct Argument
{
    QString name; // lower case; empty when positional
    qsizetype namePos = 0;
    qsizetype begin = 0;
    qsizetype end = 0;
};

// One argument of a call, by parameter: token range, empty when omitted.
struct Parameter
{
    qsizetype begin = 0;
    qsizetype end = 0;
    bool given() const { return end > begin; }
};

// A control's property setting, `CommonDialog1.InitDir = ...`, by tokens.
struct Setting
{
    QString property; // lower case
    qsizetype name;   // the control's first token
    qsizetype begin;  // the value
    qsizetype end;
};

constexpr int MaxNesting = 64;

class Reader
{
public:
    Reader(QStringView text, std::optional<ReadTool> only) : m_text(text), m_only(only), m_lexer(text) {}

    ReadResult read();

private:
    // Whether token i exists, made if need be.
    bool has(qsizetype i)
    {
        while (i >= qsizetype(m_tokens.size())) {
            if (!m_lexer.next(m_tokens))
                return false;
        }
        return true;
    }
    bool wants(ReadTool tool) const { return !m_only || *m_only == tool; }
    // `App.Path &` from token i on.
    bool startsWithAppPath(qsizetype i, qsizetype end) const
    {
        return end - i >= 4 && isWord(i, u"app") && isPunct(i + 1, u'.') && isWord(i + 2, u"path")
               && isPunct(i + 3, u'&');
    }

    QStringView tokenText(qsizetype i) const { return m_text.sliced(m_tokens[i].pos, m_tokens[i].len); }
    bool isPunct(qsizetype i, char16_t c) const
    {
        return m_tokens[i].kind == Tok::Punct && m_tokens[i].len == 1 && m_text[m_tokens[i].pos] == c;
    }
    bool isWord(qsizetype i, QStringView word) const
    {
        return m_tokens[i].kind == Tok::Ident && tokenText(i).compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSeparator(qsizetype i) const
    {
        const Tok kind = m_tokens[i].kind;
        return kind == Tok::Newline || kind == Tok::Comment || (isPunct(i, u':'));
    }
    qsizetype posOf(qsizetype i, qsizetype end) const
    {
        if (i < end)
            return m_tokens[i].pos;
        if (end > 0)
            return m_tokens[end - 1].pos + m_tokens[end - 1].len;
        return 0;
    }

    [[noreturn]] void refuse(qsizetype pos, const QString &message) const { throw Refusal{pos, message}; }

    // A dotted name from token i: "Me.Caption". Moves i past it.
    QString nameChain(qsizetype &i, qsizetype end) const;
    // A quick look, without evaluating, that rules out most assignments
    // that are no fixed text: a function call, a number, an unknown name.
    bool mayBeFixedText(qsizetype begin, qsizetype end) const;
    bool usesName(qsizetype begin, qsizetype end, QStringView name) const
    {
        for (qsizetype i = begin; i < end; ++i) {
            if (m_tokens[i].kind == Tok::Ident && tokenText(i).compare(name, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

    bool processStatement(qsizetype begin, qsizetype end, ReadResult &result);
    bool tryHeader(qsizetype commentIndex, ReadResult &result);

    std::vector<Argument> splitArguments(qsizetype begin, qsizetype end) const;
    std::vector<Parameter> bindArguments(const std::vector<Argument> &args, const std::vector<QStringView> &names,
                                         QStringView function) const;

    void readMsgBox(qsizetype callIndex, qsizetype begin, qsizetype end, ReadResult &result);
    void readInputBox(qsizetype callIndex, qsizetype begin, qsizetype end, ReadResult &result);
    void readCommonDialog(const QString &control, DialogKind page, ReadResult &result);

    QString evalText(qsizetype begin, qsizetype end, const QString &what);
    void concat(qsizetype &i, qsizetype end, QString &out, const QString &what, int depth);
    void textTerm(qsizetype &i, qsizetype end, QString &out, const QString &what, int depth);
    QString singleLine(qsizetype begin, qsizetype end, const QString &what);

    qint64 numberLiteral(qsizetype i) const;
    FlagValue evalFlags(qsizetype begin, qsizetype end, bool msgBox, const QString &what);
    FlagValue flagOr(qsizetype &i, qsizetype end, bool msgBox, const QString &what, int depth);
    FlagValue flagSum(qsizetype &i, qsizetype end, bool msgBox, const QString &what, int depth);
    FlagValue flagTerm(qsizetype &i, qsizetype end, bool msgBox, const QString &what, int depth);
    void combineFlags(FlagValue &a, const FlagValue &b, bool sum, bool msgBox, qsizetype pos) const;
    QString topicOf(qsizetype begin, qsizetype end);
    HelpFields readHelp(const Parameter &file, const Parameter &context);

    QStringView m_text;
    std::optional<ReadTool> m_only;
    qsizetype m_textLimit = 16 * m_text.size() + 65536;
    Lexer m_lexer;
    std::vector<Token> m_tokens;

    // Text variables built before the call: lower-case name to value, or to
    // nothing when what it was last given is not a fixed text.
    QHash<QString, std::optional<QString>> m_variables;
    // Those of them whose value has App.Path in front, which is left out of
    // the value: only a help file can hold it.
    QSet<QString> m_appPathVariables;
    // Statement number of the last `Dim name As String` of each name, and
    // of the last statement that is neither a Dim nor a text assignment.
    QHash<QString, qsizetype> m_dims;
    qsizetype m_lastOther = -1;
    qsizetype m_statement = 0;
    // The objects of the With blocks around the statement, innermost last.
    QStringList m_withs;
    // The property settings of each control since its last Show call.
    QHash<QString, std::vector<Setting>> m_controls;
};

bool Reader::mayBeFixedText(qsizetype begin, qsizetype end) const
{
    for (qsizetype i = begin; i < end; ++i) {
        switch (m_tokens[i].kind) {
        case Tok::String:
            continue;
        case Tok::Punct:
            if (isPunct(i, u'&') || isPunct(i, u'+') || isPunct(i, u'(') || isPunct(i, u')'))
                continue;
            return false;
        case Tok::Ident: {
            QString key = tokenText(i).toString().toLower();
            if (key == u"vba"_s && i + 2 < end && isPunct(i + 1, u'.') && m_tokens[i + 2].kind == Tok::Ident) {
                i += 2;
                key = tokenText(i).toString().toLower();
            }
            if (key.startsWith(u"chr"_s) && i + 1 < end && isPunct(i + 1, u'(')) {
                i += 2;
                if (i < end && isPunct(i, u'-'))
                    ++i;
                if (i + 1 >= end || m_tokens[i].kind != Tok::Number || !isPunct(i + 1, u')'))
                    return false;
                ++i;
                continue;
            }
            if (i + 1 < end && (isPunct(i + 1, u'(') || isPunct(i + 1, u'.')))
                return false;
            if (key.startsWith(u"vb"_s))
                continue; // a text constant, or refused when evaluated
            const auto variable = m_variables.constFind(key);
            if (variable == m_variables.cend() || !variable->has_value())
                return false;
            continue;
        }
        default:
            return false;
        }
    }
    return true;
}

QString Reader::nameChain(qsizetype &i, qsizetype end) const
{
    QString name = tokenText(i).toString();
    ++i;
    while (i + 1 < end && isPunct(i, u'.') && m_tokens[i + 1].kind == Tok::Ident) {
        name += u'.' + tokenText(i + 1);
        i += 2;
    }
    return name;
}

ReadResult Reader::read()
{
    ReadResult result;
    qsizetype i = 0;
    while (has(i)) {
        const Token token = m_tokens[i];
        if (token.kind == Tok::Newline || isPunct(i, u':')) {
            ++i;
            continue;
        }
        if (token.kind == Tok::Comment) {
            if (wants(ReadTool::Header) && tryHeader(i, result))
                return result;
            ++i;
            continue;
        }
        qsizetype end = i;
        while (has(end) && !isSeparator(end))
            ++end;
        if (processStatement(i, end, result))
            return result;
        ++m_statement;
        i = end;
    }
    QString what;
    switch (m_only.value_or(ReadTool(-1))) {
    case ReadTool::MsgBox:
        what = u"no message box call"_s;
        break;
    case ReadTool::InputBox:
        what = u"no input box call"_s;
        break;
    case ReadTool::Header:
        what = u"no file header block"_s;
        break;
    case ReadTool::CommonDialog:
        what = u"no common dialog Show call"_s;
        break;
    default:
        what = u"no message box call, input box call, common dialog block or file header block"_s;
    }
    refuse(0, what + u" in the text"_s);
}

bool Reader::tryHeader(qsizetype index, ReadResult &result)
{
    static const QList<std::pair<QString, int>> captions{
        {u"Project:"_s, 6}, {u"Program:"_s, 6},   {u"Version:"_s, 6},
        {u"Date:"_s, 9},    {u"Copyright:"_s, 4}, {u"Description:"_s, 2},
    };
    static constexpr std::array<QString HeaderFields::*, 6> fields{
        &HeaderFields::project, &HeaderFields::program,   &HeaderFields::version,
        &HeaderFields::date,    &HeaderFields::copyright, &HeaderFields::description,
    };
    const auto isRule = [this](qsizetype i) {
        const QStringView comment = tokenText(i);
        if (!comment.startsWith(u'\''))
            return false;
        const QStringView stars = comment.sliced(1).trimmed();
        return stars.size() >= 10 && std::all_of(stars.begin(), stars.end(), [](QChar c) { return c == u'*'; });
    };
    // A value too long for its line goes on over comment lines indented
    // under its start: an apostrophe and 15 blanks, then the rest.
    constexpr qsizetype indent = 16;
    const auto isContinuation = [this](qsizetype i) {
        const QStringView comment = tokenText(i);
        return comment.size() > indent && comment.startsWith(u'\'')
               && std::all_of(comment.begin() + 1, comment.begin() + indent, [](QChar c) { return c == u' '; });
    };
    // The next line is a whole comment line.
    const auto nextLine = [this](qsizetype i) {
        return has(i + 2) && m_tokens[i + 1].kind == Tok::Newline && m_tokens[i + 2].kind == Tok::Comment;
    };
    // The block is whole lines: the rule, six captioned lines, the rule.
    if ((index > 0 && m_tokens[index - 1].kind != Tok::Newline) || !isRule(index))
        return false;
    HeaderFields header;
    std::vector<QStringView> pieces;
    qsizetype i = index;
    for (qsizetype k = 0; k < 6; ++k) {
        if (!nextLine(i))
            return false;
        i += 2;
        QStringView line = tokenText(i);
        if (!line.startsWith(u'\''))
            return false;
        line = line.sliced(1);
        if (line.startsWith(u' '))
            line = line.sliced(1);
        const auto &[caption, blanks] = captions.at(k);
        if (!line.startsWith(caption, Qt::CaseInsensitive))
            return false;
        QStringView value = line.sliced(caption.size());
        qsizetype spaces = 0;
        while (spaces < value.size() && value[spaces] == u' ')
            ++spaces;
        // The blanks the block lines its values up with; any more belong to
        // the value.
        // Gathered first, so that a long value is copied once.
        pieces.clear();
        pieces.push_back(value.sliced(spaces >= blanks ? blanks : spaces));
        qsizetype size = pieces.back().size();
        while (nextLine(i) && isContinuation(i + 2)) {
            i += 2;
            pieces.push_back(tokenText(i).sliced(indent));
            size += pieces.back().size();
        }
        QString &field = header.*fields.at(std::size_t(k));
        field.reserve(size);
        for (const QStringView piece : pieces)
            field += piece;
    }
    if (!nextLine(i) || !isRule(i + 2))
        return false;
    result.tool = ReadTool::Header;
    result.header = header;
    return true;
}

bool Reader::processStatement(qsizetype begin, qsizetype end, ReadResult &result)
{
    // The first MsgBox or InputBox of BASIC itself (bare or VBA.), not a
    // method of some object.
    if (wants(ReadTool::MsgBox) || wants(ReadTool::InputBox)) {
        for (qsizetype k = begin; k < end; ++k) {
            if (m_tokens[k].kind != Tok::Ident)
                continue;
            const bool msgBox = isWord(k, u"msgbox");
            const bool inputBox = isWord(k, u"inputbox") || isWord(k, u"inputbox$");
            if (!msgBox && !inputBox)
                continue;
            if (k > begin && isPunct(k - 1, u'.')
                && !(k - 2 >= begin && isWord(k - 2, u"vba") && !(k - 3 >= begin && isPunct(k - 3, u'.'))))
                continue;
            if (msgBox && wants(ReadTool::MsgBox)) {
                readMsgBox(k, begin, end, result);
                return true;
            }
            if (inputBox && wants(ReadTool::InputBox)) {
                readInputBox(k, begin, end, result);
                return true;
            }
        }
    }

    qsizetype i = begin;
    // Const MESSAGE As String = "...": a fixed text under a name.
    qsizetype constant = isWord(i, u"private") || isWord(i, u"public") ? i + 1 : i;
    if (constant + 1 < end && isWord(constant, u"const") && m_tokens[constant + 1].kind == Tok::Ident) {
        const QString name = tokenText(constant + 1).toString().toLower();
        qsizetype value = constant + 2;
        if (value + 1 < end && isWord(value, u"as") && isWord(value + 1, u"string"))
            value += 2;
        std::optional<QString> text;
        if (value < end && isPunct(value, u'=') && value + 1 < end && mayBeFixedText(value + 1, end)) {
            try {
                text = evalText(value + 1, end, QString());
            } catch (const Refusal &) {
            }
        }
        m_appPathVariables.remove(name);
        m_variables.insert(name, text);
        return false;
    }
    if (isWord(i, u"with") && i + 1 < end && m_tokens[i + 1].kind == Tok::Ident) {
        qsizetype j = i + 1;
        m_withs.push_back(nameChain(j, end).toLower());
        m_lastOther = m_statement;
        return false;
    }
    if (isWord(i, u"end") && i + 1 < end && isWord(i + 1, u"with")) {
        if (!m_withs.empty())
            m_withs.pop_back();
        m_lastOther = m_statement;
        return false;
    }
    if (isWord(i, u"dim") || isWord(i, u"static") || isWord(i, u"private") || isWord(i, u"public")) {
        // Dim a As String, b As String: each starts out as the empty text.
        ++i;
        while (i < end) {
            if (m_tokens[i].kind != Tok::Ident)
                break;
            const QString name = tokenText(i).toString().toLower();
            m_appPathVariables.remove(name);
            ++i;
            const bool asString = i + 1 < end && isWord(i, u"as") && isWord(i + 1, u"string");
            if (asString) {
                m_dims.insert(name, m_statement);
                m_variables.insert(name, QString());
                i += 2;
            } else {
                m_variables.remove(name);
                while (i < end && !isPunct(i, u','))
                    ++i;
            }
            if (i < end && isPunct(i, u','))
                ++i;
        }
        return false;
    }

    const bool call = isWord(i, u"call");
    if (call || isWord(i, u"let"))
        ++i;
    const qsizetype chainStart = i;
    QString chain;
    if (i + 1 < end && isPunct(i, u'.') && m_tokens[i + 1].kind == Tok::Ident && !m_withs.empty()) {
        // `.Filter = ...` inside With CommonDialog1
        ++i;
        chain = m_withs.back() + u'.' + nameChain(i, end);
    } else if (i < end && m_tokens[i].kind == Tok::Ident) {
        chain = nameChain(i, end);
    }
    if (!chain.isEmpty()) {
        const qsizetype dot = chain.lastIndexOf(u'.');
        if (i < end && isPunct(i, u'=') && !call) {
            if (dot < 0) {
                const QString name = chain.toLower();
                // Only what may be a text is evaluated; the rest of the
                // program's assignments cost one look.
                // `HelpFileText = App.Path & "..."`: a help file beside the
                // program, too long for the call's own statement.
                const bool appPath = startsWithAppPath(i + 1, end);
                const qsizetype value = appPath ? i + 5 : i + 1;
                const bool textLike = value < end && mayBeFixedText(value, end);
                const bool hadAppPath = m_appPathVariables.remove(name);
                bool keepsAppPath = false;
                std::optional<QString> text;
                if (textLike) {
                    // `s = s & "..."`: the old value is taken, not copied, so
                    // that a text built over many lines costs its length once.
                    try {
                        const auto own = m_variables.find(name);
                        const bool appends = own != m_variables.end() && own->has_value()
                                             && m_tokens[value].kind == Tok::Ident
                                             && tokenText(value).compare(name, Qt::CaseInsensitive) == 0
                                             && (value + 1 == end || isPunct(value + 1, u'&')
                                                 || isPunct(value + 1, u'+'))
                                             && !usesName(value + 1, end, name);
                        if (appends) {
                            keepsAppPath = hadAppPath;
                            QString out = std::move(**own);
                            own->reset();
                            qsizetype j = value + 1;
                            while (j < end && (isPunct(j, u'&') || isPunct(j, u'+'))) {
                                ++j;
                                textTerm(j, end, out, QString(), 0);
                            }
                            if (j < end)
                                refuse(m_tokens[j].pos, QString());
                            text = std::move(out);
                        } else {
                            text = evalText(value, end, QString());
                        }
                    } catch (const Refusal &) {
                    }
                }
                if (text && (appPath || keepsAppPath))
                    m_appPathVariables.insert(name);
                m_variables.insert(name, text);
                if (!text)
                    m_lastOther = m_statement;
                return false;
            }
            // The last setting of each property is the one the dialog gets.
            std::vector<Setting> &settings = m_controls[chain.first(dot).toLower()];
            const Setting setting{chain.sliced(dot + 1).toLower(), chainStart, i + 1, end};
            const auto same = std::find_if(settings.begin(), settings.end(),
                                           [&](const Setting &s) { return s.property == setting.property; });
            if (same == settings.end())
                settings.push_back(setting);
            else
                *same = setting;
        } else if (dot > 0 && i == end && wants(ReadTool::CommonDialog)) {
            static const QList<std::pair<QStringView, DialogKind>> shows{
                {u"showopen", DialogKind::Open},   {u"showsave", DialogKind::Save},
                {u"showfont", DialogKind::Font},   {u"showcolor", DialogKind::Color},
                {u"showprinter", DialogKind::Printer},
            };
            const QString method = chain.sliced(dot + 1);
            for (const auto &[show, page] : shows) {
                if (method.compare(show, Qt::CaseInsensitive) == 0) {
                    readCommonDialog(chain.first(dot).toLower(), page, result);
                    return true;
                }
            }
        }
    }
    m_lastOther = m_statement;
    return false;
}

std::vector<Argument> Reader::splitArguments(qsizetype begin, qsizetype end) const
{
    std::vector<Argument> args;
    if (begin == end)
        return args;
    qsizetype depth = 0;
    qsizetype start = begin;
    const auto push = [&](qsizetype stop) {
        Argument arg;
        arg.begin = start;
        arg.end = stop;
        if (stop - start >= 2 && m_tokens[start].kind == Tok::Ident && m_tokens[start + 1].kind == Tok::Punct
            && m_tokens[start + 1].len == 2) {
            arg.name = tokenText(start).toString().toLower();
            arg.namePos = m_tokens[start].pos;
            arg.begin = start + 2;
        }
        args.push_back(arg);
    };
    for (qsizetype i = begin; i < end; ++i) {
        if (isPunct(i, u'('))
            ++depth;
        else if (isPunct(i, u')'))
            --depth;
        else if (depth == 0 && isPunct(i, u',')) {
            push(i);
            start = i + 1;
        }
    }
    push(end);
    return args;
}

std::vector<Parameter> Reader::bindArguments(const std::vector<Argument> &args, const std::vector<QStringView> &names,
                                             QStringView function) const
{
    std::vector<Parameter> bound(names.size());
    std::vector<bool> seen(names.size(), false);
    bool named = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const Argument &arg = args[k];
        std::size_t slot = k;
        if (!arg.name.isEmpty()) {
            named = true;
            slot = std::size_t(std::find(names.begin(), names.end(), arg.name) - names.begin());
            if (slot == names.size())
                refuse(arg.namePos, u"%1 is not an argument of %2"_s.arg(m_text.sliced(arg.namePos).first(
                                                                             qsizetype(arg.name.size())), function));
            if (seen[slot])
                refuse(arg.namePos, u"%1 is given twice"_s.arg(m_text.sliced(arg.namePos).first(
                                                                  qsizetype(arg.name.size()))));
        } else {
            if (named && arg.end > arg.begin)
                refuse(posOf(arg.begin, arg.end), u"an argument without a name follows a named one"_s);
            if (named)
                continue;
            if (slot >= names.size())
                refuse(posOf(arg.begin, arg.end), u"%1 takes at most %2 arguments"_s.arg(function).arg(names.size()));
        }
        seen[slot] = true;
        bound[slot] = {arg.begin, arg.end};
    }
    return bound;
}

QString Reader::evalText(qsizetype begin, qsizetype end, const QString &what)
{
    QString out;
    qsizetype i = begin;
    if (begin == end)
        refuse(posOf(begin, end), u"%1 is missing"_s.arg(what));
    concat(i, end, out, what, 0);
    if (i < end)
        refuse(m_tokens[i].pos, u"%1 cannot follow a text here"_s.arg(tokenText(i)));
    return out;
}

void Reader::concat(qsizetype &i, qsizetype end, QString &out, const QString &what, int depth)
{
    textTerm(i, end, out, what, depth);
    while (i < end && (isPunct(i, u'&') || isPunct(i, u'+'))) {
        ++i;
        textTerm(i, end, out, what, depth);
    }
}

void Reader::textTerm(qsizetype &i, qsizetype end, QString &out, const QString &what, int depth)
{
    if (i >= end)
        refuse(posOf(i, end), u"a text is missing at the end"_s);
    const Token &token = m_tokens[i];
    switch (token.kind) {
    case Tok::String: {
        const QStringView body = m_text.sliced(token.pos + 1, token.len - 2);
        for (qsizetype k = 0; k < body.size(); ++k) {
            out += body[k];
            if (body[k] == u'"')
                ++k; // doubled
        }
        ++i;
        return;
    }
    case Tok::BadString:
        refuse(token.pos, u"the text has no closing quotation mark"_s);
    case Tok::Number:
        refuse(token.pos, u"%1 is a number; %2 can only hold text"_s.arg(tokenText(i), what));
    case Tok::Punct:
        if (isPunct(i, u'(')) {
            if (depth >= MaxNesting)
                refuse(token.pos, u"the parentheses are nested too deeply"_s);
            ++i;
            concat(i, end, out, what, depth + 1);
            if (i >= end || !isPunct(i, u')'))
                refuse(posOf(i, end), u"a closing parenthesis is missing"_s);
            ++i;
            return;
        }
        refuse(token.pos, u"%1 cannot start a text"_s.arg(tokenText(i)));
    case Tok::Ident:
        break;
    default:
        refuse(token.pos, u"a text is missing"_s);
    }

    const qsizetype start = i;
    QString name = nameChain(i, end);
    QString key = name.toLower();
    if (key.startsWith(u"vba."_s))
        key.remove(0, 4);
    if (i < end && isPunct(i, u'(')) {
        if (key == u"chr"_s || key == u"chr$"_s || key == u"chrw"_s || key == u"chrw$"_s) {
            ++i;
            const bool negative = i < end && isPunct(i, u'-');
            if (negative)
                ++i;
            if (i >= end || m_tokens[i].kind != Tok::Number || i + 1 >= end || !isPunct(i + 1, u')'))
                refuse(posOf(i, end), u"%1 takes a plain number here"_s.arg(name));
            const qint64 code = numberLiteral(i) * (negative ? -1 : 1);
            const bool wide = key.startsWith(u"chrw"_s);
            if (wide ? (code < -32768 || code > 65535) : (code < 0 || code > 255))
                refuse(m_tokens[i].pos, u"%1(%2) is no character"_s.arg(name).arg(code));
            char16_t c = char16_t(code & 0xFFFF);
            if (!wide && c >= 0x80 && c <= 0x9F)
                c = cp1252High.at(c - 0x80);
            out += QChar(c);
            i += 2;
            return;
        }
        refuse(m_tokens[start].pos, u"%1(…) is a function call; %2 can only hold fixed text"_s.arg(name, what));
    }
    static const QHash<QString, QString> textConstants{
        {u"vbcrlf"_s, u"\r\n"_s}, {u"vbnewline"_s, u"\r\n"_s},   {u"vbcr"_s, u"\r"_s},
        {u"vblf"_s, u"\n"_s},     {u"vbtab"_s, u"\t"_s},         {u"vbnullstring"_s, QString()},
        {u"vbback"_s, u"\b"_s},   {u"vbnullchar"_s, QString(QChar(0))},
    };
    if (const auto constant = textConstants.constFind(key); constant != textConstants.cend()) {
        out += *constant;
        return;
    }
    if (const auto variable = m_variables.constFind(key); variable != m_variables.cend() && variable->has_value()) {
        if (m_appPathVariables.contains(key))
            refuse(m_tokens[start].pos, u"%1 starts with App.Path; %2 can only hold fixed text"_s.arg(name, what));
        // `s = s & s` doubles a text with each line: past any length the
        // source could mean, it is not read.
        if (out.size() + (*variable)->size() > m_textLimit)
            refuse(m_tokens[start].pos, u"%1 makes %2 too long"_s.arg(name, what));
        out += **variable;
        return;
    }
    refuse(m_tokens[start].pos, u"%1 is a variable; %2 can only hold fixed text"_s.arg(name, what));
}

QString Reader::singleLine(qsizetype begin, qsizetype end, const QString &what)
{
    const QString text = evalText(begin, end, what);
    if (codegen::hasLineBreak(text))
        refuse(posOf(begin, end), u"%1 holds a line break; it can only hold one line"_s.arg(what));
    return text;
}

qint64 Reader::numberLiteral(qsizetype i) const
{
    QStringView literal = tokenText(i);
    if (literal.startsWith(u'&')) {
        const bool hex = literal[1] == u'H' || literal[1] == u'h';
        bool isLong = literal.endsWith(u'&');
        const QStringView digits = literal.sliced(2, literal.size() - 2 - (isLong ? 1 : 0));
        qint64 value = 0;
        for (const QChar c : digits) {
            const int digit = isDigit(c.unicode()) ? c.unicode() - u'0' : (c.toLower().unicode() - u'a' + 10);
            value = value * (hex ? 16 : 8) + digit;
            if (value > 0xFFFFFFFFLL)
                refuse(m_tokens[i].pos, u"%1 is too large"_s.arg(literal));
        }
        // BASIC reads &H8000 as an Integer and &H80000000 as a Long, both
        // negative.
        if (!isLong && digits.size() <= (hex ? 4 : 6) && value >= 0x8000 && value <= 0xFFFF)
            value -= 0x10000;
        else if (value >= 0x80000000LL)
            value -= 0x100000000LL;
        return value;
    }
    if (QStringView(u"%&!#@").contains(literal.back()))
        literal.chop(1);
    const double value = codegen::topicNumber(literal);
    if (value != std::trunc(value) || std::fabs(value) > 2147483647.0)
        refuse(m_tokens[i].pos, u"%1 is not a whole number"_s.arg(tokenText(i)));
    return qint64(value);
}

FlagValue Reader::evalFlags(qsizetype begin, qsizetype end, bool msgBox, const QString &what)
{
    qsizetype i = begin;
    const FlagValue value = flagOr(i, end, msgBox, what, 0);
    if (i < end)
        refuse(m_tokens[i].pos, u"%1 cannot follow a flag here"_s.arg(tokenText(i)));
    return value;
}

FlagValue Reader::flagOr(qsizetype &i, qsizetype end, bool msgBox, const QString &what, int depth)
{
    FlagValue value = flagSum(i, end, msgBox, what, depth);
    while (i < end && isWord(i, u"or")) {
        const qsizetype pos = m_tokens[i].pos;
        ++i;
        combineFlags(value, flagSum(i, end, msgBox, what, depth), false, msgBox, pos);
    }
    return value;
}

FlagValue Reader::flagSum(qsizetype &i, qsizetype end, bool msgBox, const QString &what, int depth)
{
    FlagValue value = flagTerm(i, end, msgBox, what, depth);
    while (i < end && isPunct(i, u'+')) {
        const qsizetype pos = m_tokens[i].pos;
        ++i;
        combineFlags(value, flagTerm(i, end, msgBox, what, depth), true, msgBox, pos);
    }
    return value;
}

FlagValue Reader::flagTerm(qsizetype &i, qsizetype end, bool msgBox, const QString &what, int depth)
{
    if (i >= end)
        refuse(posOf(i, end), u"a flag is missing at the end"_s);
    const Token &token = m_tokens[i];
    if (token.kind == Tok::Number) {
        const qint64 value = numberLiteral(i);
        if (value < 0)
            refuse(token.pos, u"%1 is not a valid value for %2"_s.arg(tokenText(i), what));
        ++i;
        return {value, false};
    }
    if (isPunct(i, u'(')) {
        if (depth >= MaxNesting)
            refuse(token.pos, u"the parentheses are nested too deeply"_s);
        ++i;
        const FlagValue value = flagOr(i, end, msgBox, what, depth + 1);
        if (i >= end || !isPunct(i, u')'))
            refuse(posOf(i, end), u"a closing parenthesis is missing"_s);
        ++i;
        return value;
    }
    if (token.kind != Tok::Ident)
        refuse(token.pos, u"%1 cannot start %2"_s.arg(m_text.sliced(token.pos, token.len), what));
    const qsizetype start = i;
    const QString name = nameChain(i, end);
    QString key = name.toLower();
    for (const QStringView prefix : {QStringView(u"vba."), QStringView(u"vbmsgboxstyle.")}) {
        if (key.startsWith(prefix))
            key.remove(0, prefix.size());
    }
    if (i < end && isPunct(i, u'('))
        refuse(m_tokens[start].pos, u"%1(…) is a function call; %2 can only hold fixed flags"_s.arg(name, what));
    const auto find = [&key](const auto &table) -> std::optional<qint64> {
        for (const FlagName &flag : table) {
            if (flag.name == key)
                return flag.value;
        }
        return std::nullopt;
    };
    const std::optional<qint64> value = msgBox ? find(msgBoxFlagNames) : find(commonDialogFlagNames);
    if (!value)
        refuse(m_tokens[start].pos, u"%1 is a variable; %2 can only hold fixed flags"_s.arg(name, what));
    return {*value, true};
}

void Reader::combineFlags(FlagValue &a, const FlagValue &b, bool sum, bool msgBox, qsizetype pos) const
{
    if (msgBox) {
        // vbCritical + vbQuestion adds up to vbExclamation: each group is
        // checked before the values are joined.
        for (const FlagGroup &group : msgBoxGroups) {
            const qint64 left = a.value & group.mask;
            const qint64 right = b.value & group.mask;
            if (left && right && (sum || left != right))
                refuse(pos, u"the buttons combine two %1"_s.arg(QLatin1StringView(group.what)));
        }
    }
    if (sum && (a.value & b.value))
        refuse(pos, u"the same flag is added twice"_s);
    a.value = sum ? a.value + b.value : (a.value | b.value);
    a.usedName = a.usedName || b.usedName;
}

QString Reader::topicOf(qsizetype begin, qsizetype end)
{
    qsizetype i = begin;
    const bool negative = i < end && isPunct(i, u'-');
    if (negative)
        ++i;
    if (i + 1 != end || m_tokens[i].kind != Tok::Number) {
        if (i < end && m_tokens[i].kind == Tok::Ident) {
            qsizetype k = i;
            refuse(m_tokens[i].pos, u"%1 is a variable; the topic can only be a fixed number"_s.arg(nameChain(k, end)));
        }
        refuse(posOf(i, end), u"the topic can only be a plain number"_s);
    }
    QStringView literal = tokenText(i);
    double value = 0;
    if (literal.startsWith(u'&')) {
        value = double(numberLiteral(i));
    } else {
        if (QStringView(u"%&!#@").contains(literal.back()))
            literal.chop(1);
        value = codegen::topicNumber(literal);
    }
    return codegen::formatTopicNumber(negative ? -value : value);
}

HelpFields Reader::readHelp(const Parameter &file, const Parameter &context)
{
    HelpFields help;
    if (file.given() && !context.given())
        refuse(posOf(file.begin, file.end), u"a help file needs a topic (Context)"_s);
    if (context.given() && !file.given())
        refuse(posOf(context.begin, context.end), u"a topic needs a help file"_s);
    if (!file.given())
        return help;
    help.help = true;
    qsizetype begin = file.begin;
    // App.Path & "\my.hlp": the help file beside the program; or a variable
    // that was given it.
    if (startsWithAppPath(begin, file.end)) {
        help.appPath = true;
        begin += 4;
    } else if (file.end - begin == 1 && m_tokens[begin].kind == Tok::Ident
               && m_appPathVariables.contains(tokenText(begin).toString().toLower())) {
        help.appPath = true;
        help.helpFile = **m_variables.constFind(tokenText(begin).toString().toLower());
        if (codegen::hasLineBreak(help.helpFile))
            refuse(m_tokens[begin].pos, u"the help file holds a line break; it can only hold one line"_s);
        help.topicId = topicOf(context.begin, context.end);
        return help;
    }
    help.helpFile = singleLine(begin, file.end, u"the help file"_s);
    help.topicId = topicOf(context.begin, context.end);
    return help;
}

// The call's arguments are in its parentheses, or, for a statement, run to
// its end: `MsgBox ("Hi"), 4` has a parenthesized prompt.
void Reader::readMsgBox(qsizetype k, qsizetype begin, qsizetype end, ReadResult &result)
{
    const qsizetype head = (k > begin && isPunct(k - 1, u'.')) ? k - 2 : k;
    const bool called = head > begin && isWord(head - 1, u"call");
    const bool statement =
        head == begin || (head - 1 == begin && called) || isWord(head - 1, u"then") || isWord(head - 1, u"else");
    // A one-line If ... Then MsgBox "a" Else ... ends the call at Else.
    qsizetype stop = k + 1;
    for (qsizetype depth = 0; stop < end; ++stop) {
        if (isPunct(stop, u'('))
            ++depth;
        else if (isPunct(stop, u')'))
            --depth;
        else if (depth == 0 && isWord(stop, u"else"))
            break;
    }
    qsizetype argsBegin = k + 1;
    qsizetype argsEnd = stop;
    if (k + 1 < stop && isPunct(k + 1, u'(')) {
        qsizetype close = k + 2;
        for (qsizetype depth = 1; close < stop; ++close) {
            if (isPunct(close, u'('))
                ++depth;
            else if (isPunct(close, u')') && --depth == 0)
                break;
        }
        if (close >= stop)
            refuse(m_tokens[k + 1].pos, u"the call's parenthesis is not closed"_s);
        if (!(statement && !called && close + 1 < stop)) {
            argsBegin = k + 2;
            argsEnd = close;
        }
    } else if (!statement) {
        refuse(m_tokens[k].pos, u"MsgBox used in an expression needs its arguments in parentheses"_s);
    }

    static const std::vector<QStringView> names{u"prompt", u"buttons", u"title", u"helpfile", u"context"};
    const std::vector<Parameter> params = bindArguments(splitArguments(argsBegin, argsEnd), names, u"MsgBox");
    MsgBoxFields fields;
    if (!params[0].given())
        refuse(m_tokens[k].pos, u"the MsgBox call has no message (Prompt)"_s);
    fields.message = codegen::toCrLf(evalText(params[0].begin, params[0].end, u"the message"_s));
    FlagValue buttons;
    if (params[1].given())
        buttons = evalFlags(params[1].begin, params[1].end, true, u"the buttons"_s);
    if (params[2].given())
        fields.title = singleLine(params[2].begin, params[2].end, u"the title"_s);

    const qsizetype buttonsPos = params[1].given() ? m_tokens[params[1].begin].pos : m_tokens[k].pos;
    const qint64 value = buttons.value;
    const qint64 set = value & MsgBoxButtonSetMask;
    const qint64 icon = value & MsgBoxIconMask;
    const qint64 defaultButton = value & MsgBoxDefaultButtonMask;
    const qint64 modal = value & MsgBoxModalityMask;
    const qint64 rest = value & ~qint64(0x7FFF);
    const auto noOption = [&](const QString &flag) {
        refuse(buttonsPos, u"%1 is a flag the message box tool has no option for"_s.arg(flag));
    };
    if (rest & vbMsgBoxSetForeground)
        noOption(u"vbMsgBoxSetForeground"_s);
    if (rest & vbMsgBoxRight)
        noOption(u"vbMsgBoxRight"_s);
    if (rest & vbMsgBoxRtlReading)
        noOption(u"vbMsgBoxRtlReading"_s);
    if (rest || (value & 0x8000))
        refuse(buttonsPos, u"%1 holds flags that MsgBox does not know"_s.arg(value));
    if (defaultButton == vbDefaultButton4)
        noOption(u"vbDefaultButton4"_s);
    if (set > vbRetryCancel)
        refuse(buttonsPos, u"%1 is no button set"_s.arg(set));
    if (icon > vbInformation)
        refuse(buttonsPos, u"%1 is no icon"_s.arg(icon));
    if (defaultButton > vbDefaultButton3)
        refuse(buttonsPos, u"%1 is no default button"_s.arg(defaultButton));
    if (modal != 0 && modal != vbSystemModal)
        refuse(buttonsPos, u"%1 is no modality"_s.arg(modal));
    const qsizetype buttonCount = msgBoxButtonCodes(qint32(set)).size();
    if ((defaultButton >> 8) >= buttonCount)
        refuse(buttonsPos, u"vbDefaultButton%1 names a button that the box does not have (it has %2)"_s
                               .arg((defaultButton >> 8) + 1)
                               .arg(buttonCount));
    fields.style.buttonSet = qint32(set);
    fields.style.icon = qint32(icon);
    fields.style.defaultButton = qint32(defaultButton);
    fields.style.modality = qint32(modal);

    const bool helpButton = value & vbMsgBoxHelpButton;
    if (!helpButton && (params[3].given() || params[4].given()))
        refuse(posOf(params[3].given() ? params[3].begin : params[4].begin, argsEnd),
               u"a help file needs the Help button (vbMsgBoxHelpButton) in the buttons"_s);
    fields.help = readHelp(params[3], params[4]);
    fields.help.help = helpButton;

    result.tool = ReadTool::MsgBox;
    result.msgBox = fields;
    result.constants = buttons.usedName ? ConstantsStyle::Names : ConstantsStyle::Numbers;
}

void Reader::readInputBox(qsizetype k, qsizetype begin, qsizetype end, ReadResult &result)
{
    // Only `name = [VBA.]InputBox(...)`: the tool stores the answer in a
    // variable.
    qsizetype i = begin;
    if (isWord(i, u"let"))
        ++i;
    const qsizetype head = (k > begin && isPunct(k - 1, u'.')) ? k - 2 : k;
    QString target;
    if (m_tokens[i].kind == Tok::Ident) {
        qsizetype j = i;
        target = nameChain(j, end);
        if (j + 1 != head || !isPunct(j, u'='))
            target.clear();
    }
    if (target.isEmpty())
        refuse(m_tokens[k].pos, u"the input box's answer must be stored in a variable (Answer = InputBox(…))"_s);
    if (k + 1 >= end || !isPunct(k + 1, u'('))
        refuse(m_tokens[k].pos, u"InputBox needs its arguments in parentheses"_s);
    qsizetype close = k + 2;
    for (qsizetype depth = 1; close < end; ++close) {
        if (isPunct(close, u'('))
            ++depth;
        else if (isPunct(close, u')') && --depth == 0)
            break;
    }
    if (close >= end)
        refuse(m_tokens[k + 1].pos, u"the call's parenthesis is not closed"_s);
    if (close + 1 < end)
        refuse(m_tokens[close + 1].pos, u"the input box's answer must go straight into the variable"_s);

    static const std::vector<QStringView> names{u"prompt", u"title", u"default", u"xpos",
                                                 u"ypos",   u"helpfile", u"context"};
    const std::vector<Parameter> params = bindArguments(splitArguments(k + 2, close), names, u"InputBox");
    InputBoxFields fields;
    if (!params[0].given())
        refuse(m_tokens[k].pos, u"the InputBox call has no message (Prompt)"_s);
    fields.message = codegen::toCrLf(evalText(params[0].begin, params[0].end, u"the message"_s));
    if (params[1].given())
        fields.title = singleLine(params[1].begin, params[1].end, u"the title"_s);
    if (params[2].given())
        fields.defaultAnswer = singleLine(params[2].begin, params[2].end, u"the default answer"_s);
    fields.help = readHelp(params[5], params[6]);
    fields.variableName = target;
    const auto dim = m_dims.constFind(target.toLower());
    fields.declareVariable = dim != m_dims.cend() && *dim > m_lastOther;

    result.tool = ReadTool::InputBox;
    result.inputBox = fields;
}

void Reader::readCommonDialog(const QString &control, DialogKind page, ReadResult &result)
{
    static const QStringList pageNames{u"Open"_s, u"Save"_s, u"Font"_s, u"Color"_s, u"Printer"_s};
    const QString pageName = pageNames.at(int(page));
    CommonDialogFields fields;
    fields.page = page;
    const bool files = page == DialogKind::Open || page == DialogKind::Save;
    for (const Setting &setting : m_controls.value(control)) {
        const qsizetype pos = m_tokens[setting.name].pos;
        const auto spelling = [&]() -> QString {
            qsizetype i = setting.name;
            if (isPunct(i, u'.')) {
                ++i;
                return u'.' + nameChain(i, setting.begin);
            }
            return nameChain(i, setting.begin);
        };
        const auto notHere = [&] {
            refuse(pos, u"%1 has no field on the %2 page"_s.arg(spelling(), pageName));
        };
        if (setting.property == u"cancelerror"_s)
            continue;
        if (setting.property == u"dialogtitle"_s) {
            if (!files)
                notHere();
            (page == DialogKind::Open ? fields.openTitle : fields.saveTitle) =
                singleLine(setting.begin, setting.end, u"the title"_s);
        } else if (setting.property == u"defaultext"_s) {
            if (page != DialogKind::Save)
                notHere();
            fields.saveDefaultExtension = singleLine(setting.begin, setting.end, u"the default extension"_s);
        } else if (setting.property == u"filter"_s) {
            if (!files)
                notHere();
            const QString filter = singleLine(setting.begin, setting.end, u"the filter"_s);
            QStringList parts = filter.split(u'|');
            if (parts.size() > 1 && parts.back().isEmpty())
                parts.removeLast();
            if (filter.isEmpty())
                parts.clear();
            QStringList types;
            for (qsizetype p = 0; p < parts.size(); p += 2) {
                const QString type = parts.at(p + 1 < parts.size() ? p + 1 : p).mid(2);
                // Only "X Files|*.X", the pair the list writes for type X.
                const bool expressible = p + 1 < parts.size() && parts.at(p + 1).startsWith(u"*."_s)
                                         && !type.isEmpty() && parts.at(p) == type + u" Files"_s;
                if (!expressible)
                    refuse(m_tokens[setting.begin].pos,
                           u"the filter's \"%1\" is not a file type that the Allowed File Types list can express"
                           " (it writes \"txt Files|*.txt\")"_s
                               .arg(parts.mid(p, 2).join(u'|')));
                types << type;
            }
            (page == DialogKind::Open ? fields.openFileTypes : fields.saveFileTypes) = types;
        } else if (setting.property == u"flags"_s) {
            const qint64 flags = evalFlags(setting.begin, setting.end, false, u"the flags"_s).value;
            const auto noOption = [&] {
                refuse(m_tokens[setting.begin].pos,
                       u"Flags %1 has no option on the %2 page"_s.arg(flags).arg(pageName));
            };
            switch (page) {
            case DialogKind::Open:
            case DialogKind::Save:
                if (flags != 0)
                    noOption();
                break;
            case DialogKind::Font:
                if (flags < cdlCFScreenFonts || flags > cdlCFBoth)
                    noOption();
                fields.fonts = flags == cdlCFScreenFonts    ? FontsToDisplay::ScreenOnly
                               : flags == cdlCFPrinterFonts ? FontsToDisplay::PrinterOnly
                                                            : FontsToDisplay::Both;
                break;
            case DialogKind::Color:
                if (flags != 0 && flags != cdlCCPreventFullOpen)
                    noOption();
                fields.customColors = flags == 0;
                break;
            case DialogKind::Printer:
                if (flags != 0 && flags != cdlPDDisablePrintToFile)
                    noOption();
                fields.printToFile = flags == 0;
                break;
            }
        } else {
            refuse(pos, u"%1 is not a setting the common dialog tool can hold"_s.arg(spelling()));
        }
    }
    result.tool = ReadTool::CommonDialog;
    result.commonDialog = fields;
}

ReadError errorAt(QStringView text, qsizetype pos, const QString &message)
{
    ReadError error;
    error.message = message;
    qsizetype lineStart = 0;
    int line = 1;
    for (qsizetype i = 0; i < pos && i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    error.line = line;
    error.column = int(std::min<qsizetype>(pos - lineStart, std::numeric_limits<int>::max() - 1)) + 1;
    return error;
}

} // namespace

ReadResult readCode(const QString &text, std::optional<ReadTool> only)
{
    if (text.size() > MaxTextLength) {
        ReadResult result;
        result.error = ReadError{1, 1, u"the text is too long to be code"_s};
        return result;
    }
    try {
        Reader reader(text, only);
        return reader.read();
    } catch (const Refusal &refusal) {
        ReadResult result;
        result.error.emplace(errorAt(text, refusal.pos, refusal.message));
        return result;
    }
}
