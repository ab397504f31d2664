// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Module.h"

#include "basic/ModuleBuilder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

const std::vector<qint32> noChanges;

} // namespace

QString lowerCase(QStringView s)
{
    return s.toString().toLower();
}

QString nameKey(QStringView name)
{
    if (!name.isEmpty() && QStringView(u"$%&!#@").contains(name.back()))
        name.chop(1);
    return name.toString().toLower();
}

QString Module::implicitType(QStringView name) const
{
    if (name.isEmpty())
        return {};
    switch (name.back().unicode()) {
    case u'$':
        return u"String"_s;
    case u'%':
        return u"Integer"_s;
    case u'&':
        return u"Long"_s;
    case u'!':
        return u"Single"_s;
    case u'#':
        return u"Double"_s;
    case u'@':
        return u"Currency"_s;
    default:
        break;
    }
    const char16_t first = name.front().unicode() | 0x20;
    return first >= u'a' && first <= u'z' ? m_defTypes[first - u'a'] : QString();
}

const DeclaredName *Module::declaration(QStringView name) const
{
    const auto found = m_declared.constFind(nameKey(name));
    return found == m_declared.cend() ? nullptr : &*found;
}

const QHash<QString, DesignerProperty> *Module::designerProperties(const QString &control) const
{
    const auto found = m_designer.constFind(nameKey(control));
    return found == m_designer.cend() ? nullptr : &*found;
}

bool Module::isPureFunction(QStringView name)
{
    static const QSet<QString> functions = [] {
        QSet<QString> set;
        for (const char *f : {"len", "lenb", "left", "right", "mid", "midb", "leftb", "rightb", "trim", "ltrim",
                              "rtrim", "ucase", "lcase", "instr", "instrrev", "val", "str", "cstr", "cint", "clng",
                              "cdbl", "csng", "cbool", "cdate", "cbyte", "ccur", "cvar", "format", "chr", "chrw",
                              "asc", "ascw", "isempty", "isnull", "isnumeric", "isdate", "isarray", "isobject",
                              "ismissing", "replace", "space", "string", "strcomp", "strconv", "strreverse", "abs",
                              "int", "fix", "sgn", "sqr", "hex", "oct", "year", "month", "day", "weekday", "hour",
                              "minute", "second", "dateadd", "datediff", "datepart", "dateserial", "timeserial",
                              "datevalue", "timevalue", "lbound", "ubound", "join", "split", "array", "iif",
                              "typename", "vartype", "environ", "dir", "filelen", "eof", "lof", "freefile", "rgb",
                              "qbcolor", "round", "rnd", "curdir", "command", "msgbox", "inputbox", "createobject",
                              "getobject", "createunoservice", "converttourl", "convertfromurl", "error", "loadpicture",
                              "monthname", "weekdayname", "formatnumber", "formatcurrency", "formatdatetime",
                              "formatpercent", "filter", "choose", "switch", "nz", "sin", "cos", "tan", "atn", "exp",
                              "log", "tab", "spc", "shell", "doevents", "cvdate", "str$", "chr$", "chrw$", "left$",
                              "right$", "mid$", "trim$", "ltrim$", "rtrim$", "ucase$", "lcase$", "space$", "string$",
                              "format$", "hex$", "oct$", "environ$", "dir$", "command$", "curdir$", "error$"})
            set.insert(QString::fromLatin1(f));
        return set;
    }();
    return name.size() <= 16 && functions.contains(lowerCase(name));
}

namespace {

// As many tokens as reading can keep, with their statements, blocks and
// changes (some 18 bytes a token), in twice the text's own size and 44 MiB:
// so that reading stays within four times its input and 64 MiB whatever the
// code is. Ordinary code has a token for every three to five characters.
std::size_t tokenLimit(QStringView text)
{
    return std::size_t((2 * 2 * text.size() + 44 * 1024 * 1024) / 18);
}

} // namespace

Module::Module(QStringView text, bool gambas) : m_tokens(text, gambas, tokenLimit(text))
{
    if (m_tokens.size() >= qsizetype(tokenLimit(text)))
        Tokens::refuse(m_tokens.pos(m_tokens.size() - 1),
                       u"the code is too dense to read: more than %1 million tokens in %2 million characters"_s
                           .arg(tokenLimit(text) / 1000000)
                           .arg(text.size() / 1000000));
    for (const Token &token : m_tokens) {
        if (token.len == MaxTokenLength)
            Tokens::refuse(token.pos, u"a line holds more than 16 million characters, far more than BASIC takes"_s);
    }
    m_lineStarts.push_back(0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
            m_lineStarts.push_back(i + 1);
    }
    ModuleBuilder(*this).run();
}

const std::vector<qint32> &Module::callHeads(qint32 statement) const
{
    const auto found = m_callHeads.constFind(statement);
    return found == m_callHeads.cend() ? noChanges : *found;
}

const std::vector<qint32> &Module::changesOf(const QString &name) const
{
    const auto found = m_changes.constFind(name);
    return found == m_changes.cend() ? noChanges : *found;
}

qint32 Module::firstCallBetween(qint32 from, qint32 to) const
{
    for (qint32 k = from; k < to; ++k) {
        if (m_statements[std::size_t(k)].changesCalls)
            return k;
    }
    return -1;
}

int Module::lineOf(qint32 statement) const
{
    if (statement < 0 || statement >= qint32(m_statements.size()))
        return 1;
    const qsizetype pos = m_tokens.pos(m_statements[std::size_t(statement)].begin);
    return int(std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos) - m_lineStarts.begin());
}

LineColumn Module::lineColumnOf(qsizetype pos) const
{
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos);
    const qsizetype lineStart = *(after - 1);
    const LineColumn within = lineColumnAt(m_tokens.source().sliced(lineStart), pos - lineStart);
    return {int(after - m_lineStarts.begin()), within.column};
}

std::optional<QString> Module::withObject(qint32 statement) const
{
    const auto found = m_withObjects.constFind(statement);
    if (found == m_withObjects.cend() || found->isEmpty())
        return std::nullopt;
    return *found;
}

} // namespace basic
