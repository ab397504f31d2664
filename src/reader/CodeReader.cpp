// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/CodeReader.h"

#include "basic/Evaluator.h"
#include "basic/Flags.h"
#include "basic/Module.h"
#include "codegen/CodeText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

using namespace Qt::StringLiterals;
using basic::Refusal;
using basic::TokenKind;
using basic::Tokens;

QString ReadError::text() const
{
    return u"line %1, column %2: %3"_s.arg(line).arg(column).arg(message);
}

namespace {

// The longest text a name may hold while the code is read: what the
// command line takes as input, and no more.
constexpr qsizetype MaxText = 64 * 1024 * 1024;

struct Argument
{
    QString name; // lower case; empty when positional
    qsizetype namePos = 0;
    qint32 begin = 0;
    qint32 end = 0;
};

// One argument of a call, by parameter: token range, empty when omitted.
struct Parameter
{
    qint32 begin = 0;
    qint32 end = 0;
    bool given() const { return end > begin; }
};

[[noreturn]] void refuse(qsizetype pos, const QString &message)
{
    throw Refusal{pos, message};
}

class Reader
{
public:
    Reader(const basic::Module &module, std::optional<ReadTool> only)
        : m(module), t(module.tokens()), m_only(only), m_eval(module, MaxText)
    {
    }

    ReadResult read();

private:
    bool wants(ReadTool tool) const { return !m_only || *m_only == tool; }
    bool tryHeader(qint32 comment, ReadResult &result);
    bool tryStatement(qint32 statement, ReadResult &result);
    // The first token of a call of BASIC's own MsgBox or InputBox at k
    // (`VBA.Interaction.MsgBox`), or -1 when k is a method of some object.
    qint32 callHead(qint32 k, qint32 begin) const;

    std::vector<Argument> splitArguments(qint32 begin, qint32 end) const;
    std::vector<Parameter> bindArguments(const std::vector<Argument> &args, const std::vector<QStringView> &names,
                                         QStringView function) const;
    QString topicOf(const Parameter &context) const;
    HelpFields readHelp(const Parameter &file, const Parameter &context, qint32 at);
    // The dialect the code around the call is written in.
    basic::Dialect dialectAround(qint32 at, bool libreOfficeNames) const;
    bool commentBefore(qint32 statement, QStringView comment) const;

    void readMsgBox(qint32 statement, qint32 k, ReadResult &result);
    void readInputBox(qint32 statement, qint32 k, ReadResult &result);
    void readCommonDialog(qint32 statement, const QString &control, DialogKind page, ReadResult &result);

    const basic::Module &m;
    const Tokens &t;
    std::optional<ReadTool> m_only;
    basic::Evaluator m_eval;
};

ReadResult Reader::read()
{
    ReadResult result;
    const auto &statements = m.statements();
    const auto &comments = m.lineComments();
    std::size_t c = 0;
    for (std::size_t s = 0; s <= statements.size(); ++s) {
        const qint32 before = s < statements.size() ? statements[s].begin : qint32(t.size());
        for (; c < comments.size() && comments[c] < before; ++c) {
            if (wants(ReadTool::Header) && tryHeader(comments[c], result))
                return result;
        }
        if (s < statements.size() && tryStatement(qint32(s), result))
            return result;
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

qint32 Reader::callHead(qint32 k, qint32 begin) const
{
    // MsgBox, VBA.MsgBox, Interaction.MsgBox, VBA.Interaction.MsgBox.
    qint32 head = k;
    const auto qualifier = [&](qint32 dot, QStringView word) {
        return dot - 1 >= begin && t.isPunct(dot, u'.') && t.isWord(dot - 1, word);
    };
    if (qualifier(head - 1, u"interaction"))
        head -= 2;
    if (qualifier(head - 1, u"vba"))
        head -= 2;
    if (head - 1 >= begin && t.isPunct(head - 1, u'.'))
        return -1;
    return head;
}

bool Reader::tryStatement(qint32 statement, ReadResult &result)
{
    const basic::Statement &s = m.statements()[std::size_t(statement)];
    if (wants(ReadTool::MsgBox) || wants(ReadTool::InputBox)) {
        for (qint32 k = s.begin; k < s.end; ++k) {
            if (!t.isIdent(k))
                continue;
            const bool msgBox = t.isWord(k, u"msgbox");
            const bool inputBox = t.isWord(k, u"inputbox") || t.isWord(k, u"inputbox$");
            if ((!msgBox && !inputBox) || callHead(k, s.begin) < 0)
                continue;
            if (msgBox && wants(ReadTool::MsgBox)) {
                m_eval.runTo(statement);
                readMsgBox(statement, k, result);
                return true;
            }
            if (inputBox && wants(ReadTool::InputBox)) {
                m_eval.runTo(statement);
                readInputBox(statement, k, result);
                return true;
            }
        }
    }
    // `control.ShowOpen`: only a statement that ends in a Show… method.
    if (!wants(ReadTool::CommonDialog) || s.end - s.begin < 2 || !t.isIdent(s.end - 1) || !t.isPunct(s.end - 2, u'.')
        || !t.text(s.end - 1).startsWith(u"show", Qt::CaseInsensitive))
        return false;
    qint32 i = s.begin;
    if (t.isWord(i, u"call"))
        ++i;
    QString chain;
    if (i + 1 < s.end && t.isPunct(i, u'.') && t.isIdent(i + 1)) {
        const std::optional<QString> object = m.withObject(statement);
        ++i;
        chain = t.nameChain(i, s.end);
        if (!object)
            return false;
        chain = *object + u'.' + chain;
    } else if (i < s.end && t.isIdent(i)) {
        chain = t.nameChain(i, s.end);
    }
    const qsizetype dot = chain.lastIndexOf(u'.');
    if (dot <= 0 || i != s.end)
        return false;
    static const QList<std::pair<QStringView, DialogKind>> shows{
        {u"showopen", DialogKind::Open},   {u"showsave", DialogKind::Save},       {u"showfont", DialogKind::Font},
        {u"showcolor", DialogKind::Color}, {u"showprinter", DialogKind::Printer},
    };
    const QStringView method = QStringView(chain).sliced(dot + 1);
    for (const auto &[show, page] : shows) {
        if (method.compare(show, Qt::CaseInsensitive) == 0) {
            m_eval.runTo(statement);
            readCommonDialog(statement, chain.first(dot).toLower(), page, result);
            return true;
        }
    }
    return false;
}

bool Reader::tryHeader(qint32 index, ReadResult &result)
{
    static const QList<std::pair<QString, int>> captions{
        {u"Project:"_s, 6}, {u"Program:"_s, 6},   {u"Version:"_s, 6},
        {u"Date:"_s, 9},    {u"Copyright:"_s, 4}, {u"Description:"_s, 2},
    };
    static constexpr std::array<QString HeaderFields::*, 6> fields{
        &HeaderFields::project, &HeaderFields::program,   &HeaderFields::version,
        &HeaderFields::date,    &HeaderFields::copyright, &HeaderFields::description,
    };
    // The block is whole comment lines, read as lines: a line that ends in
    // " _" carries a comment on, but each line still reads as itself.
    const QStringView source = t.source();
    qsizetype next = t.pos(index);
    const auto nextLine = [&]() -> std::optional<QStringView> {
        if (next >= source.size())
            return std::nullopt;
        qsizetype end = next;
        while (end < source.size() && source[end] != u'\r' && source[end] != u'\n')
            ++end;
        const QStringView line = source.sliced(next, end - next);
        next = end + ((end + 1 < source.size() && source[end] == u'\r' && source[end + 1] == u'\n') ? 2 : 1);
        return line;
    };
    const auto isRule = [](QStringView comment) {
        if (!comment.startsWith(u'\''))
            return false;
        const QStringView stars = comment.sliced(1).trimmed();
        return stars.size() >= 10 && std::all_of(stars.begin(), stars.end(), [](QChar c) { return c == u'*'; });
    };
    // A value too long for its line goes on over comment lines indented
    // under its start: an apostrophe and 15 blanks, then the rest.
    constexpr qsizetype indent = 16;
    const auto isContinuation = [](QStringView comment) {
        return comment.size() > indent && comment.startsWith(u'\'')
               && std::all_of(comment.begin() + 1, comment.begin() + indent, [](QChar c) { return c == u' '; });
    };
    std::optional<QStringView> line = nextLine();
    if (!line || !isRule(*line))
        return false;
    line = nextLine();
    HeaderFields header;
    std::vector<QStringView> pieces;
    for (std::size_t k = 0; k < 6; ++k) {
        if (!line || !line->startsWith(u'\''))
            return false;
        QStringView text = line->sliced(1);
        if (text.startsWith(u' '))
            text = text.sliced(1);
        const auto &[caption, blanks] = captions.at(qsizetype(k));
        if (!text.startsWith(caption, Qt::CaseInsensitive))
            return false;
        QStringView value = text.sliced(caption.size());
        qsizetype spaces = 0;
        while (spaces < value.size() && value[spaces] == u' ')
            ++spaces;
        // The blanks the block lines its values up with; any more belong to
        // the value. Gathered first, so that a long value is copied once.
        pieces.clear();
        pieces.push_back(value.sliced(spaces >= blanks ? blanks : spaces));
        qsizetype size = pieces.back().size();
        std::optional<QStringView> previous = line;
        line = nextLine();
        while (line && isContinuation(*line)) {
            // The program breaks a value before the blanks between words,
            // and inside a word only when a line is full; a person's own
            // wrap stands for one space.
            const QStringView rest = line->sliced(indent);
            if (!rest.startsWith(u' ') && previous->size() < 1021) {
                pieces.push_back(u" ");
                size += 1;
            }
            pieces.push_back(rest);
            size += rest.size();
            previous = line;
            line = nextLine();
        }
        QString &field = header.*fields.at(k);
        field.reserve(size);
        for (const QStringView piece : pieces)
            field += piece;
    }
    if (!line || !isRule(*line))
        return false;
    result.tool = ReadTool::Header;
    result.header = header;
    return true;
}

std::vector<Argument> Reader::splitArguments(qint32 begin, qint32 end) const
{
    std::vector<Argument> args;
    if (begin == end)
        return args;
    qsizetype depth = 0;
    qint32 start = begin;
    const auto push = [&](qint32 stop) {
        Argument arg;
        arg.begin = start;
        arg.end = stop;
        if (stop - start >= 2 && t.isIdent(start) && t.isPunct(start + 1, u":=")) {
            arg.name = t.text(start).toString().toLower();
            arg.namePos = t.pos(start);
            arg.begin = start + 2;
        }
        args.push_back(arg);
    };
    for (qint32 i = begin; i < end; ++i) {
        if (t.isPunct(i, u'('))
            ++depth;
        else if (t.isPunct(i, u')'))
            --depth;
        else if (depth == 0 && t.isPunct(i, u',')) {
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
            const QStringView written = t.source().sliced(arg.namePos, arg.name.size());
            if (slot == names.size())
                refuse(arg.namePos, u"%1 is not an argument of %2"_s.arg(written, function));
            if (seen[slot])
                refuse(arg.namePos, u"%1 is given twice"_s.arg(written));
        } else {
            if (named && arg.end > arg.begin)
                refuse(t.posOf(arg.begin, arg.end), u"an argument without a name follows a named one"_s);
            if (named)
                continue;
            if (slot >= names.size())
                refuse(t.posOf(arg.begin, arg.end), u"%1 takes at most %2 arguments"_s.arg(function).arg(names.size()));
        }
        seen[slot] = true;
        bound[slot] = {arg.begin, arg.end};
    }
    return bound;
}

QString Reader::topicOf(const Parameter &context) const
{
    qint32 i = context.begin;
    const qint32 end = context.end;
    const bool negative = i < end && t.isPunct(i, u'-');
    if (negative)
        ++i;
    if (i + 1 != end || t.kind(i) != TokenKind::Number) {
        if (i < end && t.isIdent(i)) {
            qint32 k = i;
            refuse(t.pos(i), u"%1 is a variable; the topic can only be a fixed number"_s.arg(t.nameChain(k, end)));
        }
        refuse(t.posOf(i, end), u"the topic can only be a plain number"_s);
    }
    QStringView literal = t.text(i);
    double value = 0;
    if (literal.startsWith(u'&')) {
        value = double(basic::numberLiteral(t, i));
    } else {
        if (QStringView(u"%&!#@").contains(literal.back()))
            literal.chop(1);
        value = codegen::topicNumber(literal);
        // 1E400 is no number at all.
        QString plain = literal.toString();
        plain.replace(u'd', u'e').replace(u'D', u'e');
        if (!std::isfinite(std::strtod(plain.toLatin1().constData(), nullptr)))
            refuse(t.pos(i), u"%1 is too large for a topic"_s.arg(t.text(i)));
    }
    return codegen::formatTopicNumber(negative ? -value : value);
}

HelpFields Reader::readHelp(const Parameter &file, const Parameter &context, qint32 at)
{
    HelpFields help;
    if (file.given() && !context.given())
        refuse(t.posOf(file.begin, file.end), u"a help file needs a topic (Context)"_s);
    if (context.given() && !file.given())
        refuse(t.posOf(context.begin, context.end), u"a topic needs a help file"_s);
    if (!file.given())
        return help;
    help.help = true;
    qint32 begin = file.begin;
    // App.Path & "\my.hlp": the help file beside the program; or a variable
    // that was given it.
    if (file.end - begin >= 4 && t.isWord(begin, u"app") && t.isPunct(begin + 1, u'.') && t.isWord(begin + 2, u"path")
        && t.isPunct(begin + 3, u'&')) {
        help.appPath = true;
        begin += 4;
    } else if (file.end - begin == 1 && t.isIdent(begin)) {
        if (const std::optional<QString> text = m_eval.appPathText(begin, at, u"the help file"_s)) {
            help.appPath = true;
            help.helpFile = *text;
            if (codegen::hasLineBreak(help.helpFile))
                refuse(t.pos(begin), u"the help file holds a line break; it can only hold one line"_s);
            help.topicId = topicOf(context);
            return help;
        }
    }
    help.helpFile = m_eval.singleLine(begin, file.end, at, u"the help file"_s);
    help.topicId = topicOf(context);
    return help;
}

basic::Dialect Reader::dialectAround(qint32 at, bool libreOfficeNames) const
{
    if (libreOfficeNames)
        return basic::Dialect::LibreOffice;
    // LibreOffice Basic writes line breaks as Chr$(13) & Chr$(10) where
    // Visual Basic has vbCrLf; a Response is an Integer there.
    const basic::Statement &s = m.statements()[std::size_t(at)];
    const qint32 first = m.statements()[std::size_t(m.procedures()[std::size_t(s.procedure)].first)].begin;
    bool libreOffice = false;
    for (qint32 i = std::max(first, s.end - 200000); i < s.end; ++i) {
        if (!t.isIdent(i))
            continue;
        if (t.isWord(i, u"vbcrlf") || t.text(i).startsWith(u"vb", Qt::CaseInsensitive))
            return basic::Dialect::VisualBasic;
        if (t.isWord(i, u"chr$") && i + 2 < s.end && t.text(i + 2) == u"13")
            libreOffice = true;
        if (t.isWord(i, u"dim") && i + 3 < s.end && t.isWord(i + 1, u"response") && t.isWord(i + 3, u"integer"))
            libreOffice = true;
    }
    return libreOffice ? basic::Dialect::LibreOffice : basic::Dialect::VisualBasic;
}

bool Reader::commentBefore(qint32 statement, QStringView comment) const
{
    const qint32 begin = m.statements()[std::size_t(statement)].begin;
    return begin >= 2 && t.kind(begin - 1) == TokenKind::Newline && t.kind(begin - 2) == TokenKind::Comment
           && t.text(begin - 2) == comment;
}

// The call's arguments are in its parentheses, or, for a statement, run to
// its end: `MsgBox ("Hi"), 4` has a parenthesized prompt.
void Reader::readMsgBox(qint32 statement, qint32 k, ReadResult &result)
{
    const basic::Statement &s = m.statements()[std::size_t(statement)];
    const qint32 head = callHead(k, s.begin);
    const bool called = head > s.begin && t.isWord(head - 1, u"call");
    const bool isStatement = head == s.begin || (head - 1 == s.begin && called);
    const qint32 stop = s.end;
    qint32 argsBegin = k + 1;
    qint32 argsEnd = stop;
    if (k + 1 < stop && t.isPunct(k + 1, u'(')) {
        const qint32 close = t.closing(k + 1, stop);
        if (close >= stop)
            refuse(t.pos(k + 1), u"the call's parenthesis is not closed"_s);
        if (!(isStatement && !called && close + 1 < stop)) {
            argsBegin = k + 2;
            argsEnd = close;
        }
    } else if (!isStatement) {
        refuse(t.pos(k), u"MsgBox used in an expression needs its arguments in parentheses"_s);
    }

    static const std::vector<QStringView> names{u"prompt", u"buttons", u"title", u"helpfile", u"context"};
    const std::vector<Parameter> params = bindArguments(splitArguments(argsBegin, argsEnd), names, u"MsgBox");
    MsgBoxFields fields;
    if (!params[0].given())
        refuse(t.pos(k), u"the MsgBox call has no message (Prompt)"_s);
    fields.message = codegen::toCrLf(m_eval.text(params[0].begin, params[0].end, statement, u"the message"_s));
    basic::FlagValue buttons;
    if (params[1].given())
        buttons = basic::evalFlags(t, params[1].begin, params[1].end, basic::FlagKind::MsgBox, u"the buttons"_s);
    if (params[2].given())
        fields.title = m_eval.singleLine(params[2].begin, params[2].end, statement, u"the title"_s);

    const qsizetype buttonsPos = params[1].given() ? t.pos(params[1].begin) : t.pos(k);
    const qint64 value = buttons.value;
    const qint64 set = value & MsgBoxButtonSetMask;
    const qint64 icon = value & MsgBoxIconMask;
    const qint64 defaultButton = value & MsgBoxDefaultButtonMask;
    const qint64 modal = value & MsgBoxModalityMask;
    const qint64 rest = value & ~qint64(0x7FFF);
    const auto noOption = [&](qint64 bits) {
        refuse(buttonsPos, u"%1 is a flag the message box tool has no option for"_s.arg(basic::writtenTerm(t, buttons, bits)));
    };
    for (const qint64 flag : {qint64(vbMsgBoxSetForeground), qint64(vbMsgBoxRight), qint64(vbMsgBoxRtlReading)}) {
        if (rest & flag)
            noOption(flag);
    }
    if (rest || (value & 0x8000))
        refuse(buttonsPos, u"%1 holds flags that MsgBox does not know"_s.arg(value));
    if (defaultButton == vbDefaultButton4)
        noOption(vbDefaultButton4);
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
        refuse(buttonsPos, u"%1 names a button that the box does not have (it has %2)"_s
                               .arg(basic::writtenTerm(t, buttons, defaultButton))
                               .arg(buttonCount));
    fields.style.buttonSet = qint32(set);
    fields.style.icon = qint32(icon);
    fields.style.defaultButton = qint32(defaultButton);
    fields.style.modality = qint32(modal);

    const bool helpButton = value & vbMsgBoxHelpButton;
    if (!helpButton && (params[3].given() || params[4].given()))
        refuse(t.posOf(params[3].given() ? params[3].begin : params[4].begin, argsEnd),
               u"a help file needs the Help button (vbMsgBoxHelpButton) in the buttons"_s);
    fields.help = readHelp(params[3], params[4], statement);
    fields.help.help = helpButton;

    result.dialect = dialectAround(statement, buttons.dialects & 2);
    if (result.dialect == basic::Dialect::LibreOffice && !helpButton
        && commentBefore(statement, u"'LibreOffice's message box has no Help button or help file: they are left out.")) {
        fields.help.help = true;
    }
    result.tool = ReadTool::MsgBox;
    result.msgBox = fields;
    result.constants = buttons.usedName ? ConstantsStyle::Names : ConstantsStyle::Numbers;
}

void Reader::readInputBox(qint32 statement, qint32 k, ReadResult &result)
{
    // Only `name = [VBA.]InputBox(...)`: the tool stores the answer in a
    // variable.
    const basic::Statement &s = m.statements()[std::size_t(statement)];
    qint32 i = s.begin;
    if (t.isWord(i, u"let"))
        ++i;
    const qint32 head = callHead(k, s.begin);
    QString target;
    if (t.isIdent(i)) {
        qint32 j = i;
        target = t.nameChain(j, s.end);
        if (j + 1 != head || !t.isPunct(j, u'='))
            target.clear();
    }
    if (target.isEmpty())
        refuse(t.pos(k), u"the input box's answer must be stored in a variable (Answer = InputBox(…))"_s);
    if (k + 1 >= s.end || !t.isPunct(k + 1, u'('))
        refuse(t.pos(k), u"InputBox needs its arguments in parentheses"_s);
    const qint32 close = t.closing(k + 1, s.end);
    if (close >= s.end)
        refuse(t.pos(k + 1), u"the call's parenthesis is not closed"_s);
    if (close + 1 < s.end)
        refuse(t.pos(close + 1), u"the input box's answer must go straight into the variable"_s);

    static const std::vector<QStringView> names{u"prompt", u"title", u"default", u"xpos",
                                                 u"ypos",   u"helpfile", u"context"};
    const std::vector<Parameter> params = bindArguments(splitArguments(k + 2, close), names, u"InputBox");
    InputBoxFields fields;
    if (!params[0].given())
        refuse(t.pos(k), u"the InputBox call has no message (Prompt)"_s);
    fields.message = codegen::toCrLf(m_eval.text(params[0].begin, params[0].end, statement, u"the message"_s));
    if (params[1].given())
        fields.title = m_eval.singleLine(params[1].begin, params[1].end, statement, u"the title"_s);
    if (params[2].given())
        fields.defaultAnswer = m_eval.singleLine(params[2].begin, params[2].end, statement, u"the default answer"_s);
    for (const std::size_t position : {std::size_t(3), std::size_t(4)}) {
        if (params[position].given())
            refuse(t.pos(params[position].begin),
                   u"the input box tool has no field for the box's position (XPos, YPos); it is always centred"_s);
    }
    fields.help = readHelp(params[5], params[6], statement);
    fields.variableName = target;
    // Declared when its Dim comes just before, with only Dims and texts
    // between.
    const basic::Procedure &procedure = m.procedures()[std::size_t(s.procedure)];
    const auto local = procedure.locals.constFind(target.toLower());
    bool declared = local != procedure.locals.cend() && !local->parameter && local->statement < statement;
    if (declared) {
        for (qint32 between = local->statement + 1; between < statement && declared; ++between) {
            const basic::Statement &b = m.statements()[std::size_t(between)];
            declared = t.isWord(b.begin, u"dim")
                       || (b.begin + 1 < b.end && t.isIdent(b.begin) && t.isPunct(b.begin + 1, u'='));
        }
    }
    fields.declareVariable = declared;
    result.dialect = dialectAround(statement, false);
    if (declared && t.isWord(m.statements()[std::size_t(local->statement)].begin, u"dim")) {
        // Visual Basic's code writes "as String", LibreOffice's "As String".
        const basic::Statement &dim = m.statements()[std::size_t(local->statement)];
        for (qint32 a = dim.begin; a < dim.end; ++a) {
            if (t.isWord(a, u"as")) {
                result.dialect = t.text(a) == u"As" ? basic::Dialect::LibreOffice : basic::Dialect::VisualBasic;
                break;
            }
        }
    }
    if (!fields.help.help
        && commentBefore(statement, u"'LibreOffice's input box has no help file: the help file and topic are left out.")) {
        result.dialect = basic::Dialect::LibreOffice;
        fields.help.help = true;
    }
    result.tool = ReadTool::InputBox;
    result.inputBox = fields;
}

void Reader::readCommonDialog(qint32 statement, const QString &control, DialogKind page, ReadResult &result)
{
    static const QStringList pageNames{u"Open"_s, u"Save"_s, u"Font"_s, u"Color"_s, u"Printer"_s};
    const QString pageName = pageNames.at(int(page));
    CommonDialogFields fields;
    fields.page = page;
    const bool files = page == DialogKind::Open || page == DialogKind::Save;
    for (const basic::Evaluator::Setting &setting : m_eval.settingsOf(control, statement)) {
        const qsizetype pos = t.pos(setting.name);
        const QString spelling = t.text(setting.name, setting.begin - 1).toString();
        const auto notHere = [&] { refuse(pos, u"%1 has no field on the %2 page"_s.arg(spelling, pageName)); };
        if (setting.property == u"cancelerror"_s) {
            // The code the tool writes sets it True: any other value would
            // be written back wrong.
            if (setting.end - setting.begin != 1 || !t.isWord(setting.begin, u"true"))
                refuse(t.posOf(setting.begin, setting.end),
                       u"%1 can only be True here: the tool's code catches Cancel as an error"_s.arg(spelling));
            continue;
        }
        if (setting.property == u"dialogtitle"_s) {
            if (!files)
                notHere();
            (page == DialogKind::Open ? fields.openTitle : fields.saveTitle) = m_eval.settingText(setting, u"the title"_s);
        } else if (setting.property == u"defaultext"_s) {
            if (page != DialogKind::Save)
                notHere();
            fields.saveDefaultExtension = m_eval.settingText(setting, u"the default extension"_s);
        } else if (setting.property == u"filter"_s) {
            if (!files)
                notHere();
            const QString filter = m_eval.settingText(setting, u"the filter"_s);
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
                    refuse(t.pos(setting.begin),
                           u"the filter's \"%1\" is not a file type that the Allowed File Types list can express"
                           " (it writes \"txt Files|*.txt\")"_s
                               .arg(parts.mid(p, 2).join(u'|')));
                types << type;
            }
            (page == DialogKind::Open ? fields.openFileTypes : fields.saveFileTypes) = types;
        } else if (setting.property == u"flags"_s) {
            const basic::FlagValue value =
                basic::evalFlags(t, setting.begin, setting.end, basic::FlagKind::CommonDialog, u"the flags"_s);
            const qint64 flags = value.value;
            const auto noOption = [&] {
                refuse(t.pos(setting.begin), u"Flags %1 has no option on the %2 page"_s
                                                 .arg(t.text(setting.begin, setting.end))
                                                 .arg(pageName));
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
            refuse(pos, u"%1 is not a setting the common dialog tool can hold"_s.arg(spelling));
        }
    }
    result.tool = ReadTool::CommonDialog;
    result.commonDialog = fields;
}

} // namespace

ReadResult readCode(const QString &text, std::optional<ReadTool> only)
{
    if (text.size() > basic::MaxTextLength) {
        ReadResult result;
        result.error = ReadError{1, 1, u"the text is too long to be code"_s};
        return result;
    }
    try {
        const basic::Module module(text);
        Reader reader(module, only);
        return reader.read();
    } catch (const Refusal &refusal) {
        ReadResult result;
        const basic::LineColumn at = basic::lineColumnAt(text, refusal.pos);
        result.error.emplace(ReadError{at.line, at.column, refusal.message});
        return result;
    }
}
