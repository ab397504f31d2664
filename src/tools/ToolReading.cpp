// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolReading.h"

#include "basic/Flags.h"
#include "basic/Names.h"
#include "codegen/CodeText.h"
#include "tools/Tool.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace Qt::StringLiterals;
using basic::Refusal;
using basic::TokenKind;

void refuse(qsizetype pos, const QString &message)
{
    throw Refusal{pos, message};
}

QString ReadResult::toolName() const
{
    return tool ? tool->cli.name : QString();
}

QString ReadError::text() const
{
    return u"line %1, column %2: %3"_s.arg(line).arg(column).arg(message);
}

qint32 ReadContext::callHead(qint32 k, qint32 begin) const
{
    const qint32 head = t.builtinCallHead(k, begin);
    for (qint32 i = head; i >= 0 && i <= k; i += 2) {
        if (m.declaration(t.text(i)))
            return -1;
    }
    return head;
}

basic::FlagValue ReadContext::flags(qint32 begin, qint32 end, basic::FlagKind kind, const QString &what) const
{
    basic::FlagValue value = basic::evalFlags(t, begin, end, kind, what);
    const basic::TextSemantics &semantics = eval.semantics();
    for (const basic::FlagTerm &term : value.terms) {
        if (!term.named)
            continue;
        eval.requireBuiltin(qint32(term.begin), qint32(term.end));
        // A name of the other dialect's is an empty variable there, unless
        // LibreOffice's VBA support brings Visual Basic's in.
        const QStringView written = t.text(qint32(term.end) - 1);
        const basic::BasicName *name = basic::findName(written);
        const bool known = !name || name->dialect == semantics.dialect
                           || (semantics.dialect == basic::Dialect::LibreOffice && semantics.vbaSupport);
        if (!known)
            refuse(
                t.pos(qint32(term.begin)),
                semantics.dialect == basic::Dialect::LibreOffice
                    ? u"%1 is Visual Basic's; LibreOffice Basic without Option VBASupport 1 has no such constant"_s.arg(
                        written)
                    : u"%1 is LibreOffice Basic's; in Visual Basic code it is whatever another module declares"_s.arg(
                        written));
    }
    return value;
}

QString ReadContext::lineBreaksChecked(const QString &text, qint32 at) const
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
            continue;
        }
        if (text[i] == u'\r' || text[i] == u'\n')
            refuse(t.pos(at), u"the text holds a line break of %1 alone (%2), which the tools do not write; they write CR LF"_s
                                  .arg(text[i] == u'\r' ? u"CR"_s : u"LF"_s, text[i] == u'\r' ? u"vbCr"_s : u"vbLf"_s));
    }
    return text;
}

QString ReadContext::topicOf(const Parameter &context) const
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

HelpFields ReadContext::readHelp(const Parameter &file, const Parameter &context, qint32 at)
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
        eval.requireBuiltin(begin, begin + 3);
        help.appPath = true;
        begin += 4;
    } else if (file.end - begin == 1 && t.isIdent(begin)) {
        if (const std::optional<QString> text = eval.appPathText(begin, at, u"the help file"_s)) {
            help.appPath = true;
            help.helpFile = *text;
            if (codegen::hasLineBreak(help.helpFile))
                refuse(t.pos(begin), u"the help file holds a line break; it can only hold one line"_s);
            help.topicId = topicOf(context);
            return help;
        }
    }
    help.helpFile = eval.singleLine(begin, file.end, at, u"the help file"_s);
    help.topicId = topicOf(context);
    return help;
}

bool ReadContext::commentBefore(qint32 statement, QStringView comment) const
{
    // The comment heads the call's block: above it stand only the Dims and
    // assignments that build its long texts up.
    const qint32 first = m.procedures()[std::size_t(this->statement(statement).procedure)].first;
    for (qint32 k = statement;; --k) {
        const qint32 begin = this->statement(k).begin;
        if (begin >= 2 && t.kind(begin - 1) == TokenKind::Newline && t.kind(begin - 2) == TokenKind::Comment
            && t.text(begin - 2) == comment)
            return true;
        if (k == first)
            return false;
        const basic::Statement &previous = this->statement(k - 1);
        const bool leading = t.isWord(previous.begin, u"dim")
                             || (previous.begin + 1 < previous.end && t.isIdent(previous.begin)
                                 && t.isPunct(previous.begin + 1, u'='));
        if (!leading || previous.end != begin - 1)
            return false;
    }
}

std::vector<Parameter> Call::arguments() const
{
    if (m_refusal)
        throw *m_refusal;
    return m_arguments;
}

Call ReadContext::call(qint32 statement, qint32 name, const std::vector<QStringView> &names,
                       QStringView function) const
{
    const basic::Statement &s = this->statement(statement);
    qint32 head = callHead(name, s.begin);
    if (head < 0) {
        // Some object's method (Gambas's Message.Info): from the object on.
        head = name;
        while (head - 2 >= s.begin && t.isPunct(head - 1, u'.') && t.isIdent(head - 2))
            head -= 2;
    }
    // Gambas's calls always take their arguments in parentheses.
    Call call;
    static_cast<basic::CallForm &>(call) = basic::callForm(t, s, head, name, t.backslashEscapes());
    try {
        call.m_arguments =
            basic::bindArguments(t, basic::splitArguments(t, call.argumentsBegin, call.argumentsEnd), names, function);
    } catch (const basic::Refusal &refusal) {
        call.m_refusal = refusal;
    }
    return call;
}

bool ReadContext::writtenForLibreOffice(const std::function<QString(const codegen::CodeOptions &)> &generate,
                                        codegen::CodeOptions::Constants constants) const
{
    using Dialect = codegen::CodeOptions::Dialect;
    return t.source().contains(generate({constants, Dialect::LibreOffice}))
           && !t.source().contains(generate({constants, Dialect::VisualBasic}));
}

QStringList ReadContext::commentsAbove(qint32 statement, QStringView blockStart) const
{
    // Within a Sub or Function; code outside any has its comments above its
    // first statement too.
    const basic::Procedure &procedure = m.procedures()[std::size_t(this->statement(statement).procedure)];
    const qint32 first = procedure.first;
    const qint32 bound = !procedure.name.isEmpty() ? this->statement(first).begin
                         : first > 0               ? this->statement(first - 1).end
                                                   : 0;
    QStringList comments;
    for (qint32 i = this->statement(statement).begin - 1; i >= bound; --i) {
        if (t.kind(i) != TokenKind::Comment)
            continue;
        const QStringView text = t.text(i);
        if (text.startsWith(blockStart))
            break;
        comments << text.toString();
    }
    return comments;
}
