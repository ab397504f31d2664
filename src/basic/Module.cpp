// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Module.h"

#include "basic/ModuleBuilder.h"
#include "basic/Names.h"

#include <algorithm>
#include <array>

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

bool spells(QStringView name, const QString &key)
{
    if (!name.isEmpty() && QStringView(u"$%&!#@").contains(name.back()))
        name.chop(1);
    return name.compare(key, Qt::CaseInsensitive) == 0;
}

qint32 Module::unfollowedUse(const QString &key, qint32 begin, qint32 end, qint32 declaredAt) const
{
    for (qint32 k = std::max(begin, 0); k < end && k < qint32(m_tokens.size()); ++k) {
        const Role role = m_roles[std::size_t(k)];
        if (role == Role::None || role == Role::Keyword || role == Role::Member || !spells(m_tokens.text(k), key))
            continue;
        const bool followed = role == Role::Read || role == Role::Called || role == Role::Passed
                              || role == Role::Assigned || (role == Role::Declared && k == declaredAt);
        if (!followed)
            return k;
    }
    return -1;
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

// Names an expression may use that are no user code: BASIC's own objects
// and values.
namespace {

// BASIC's own objects and values, and the words of its operators.
bool isBuiltinWord(QStringView name)
{
    static const QSet<QString> values{
        u"true"_s,  u"false"_s,  u"nothing"_s, u"empty"_s,   u"null"_s,          u"me"_s,
        u"app"_s,   u"err"_s,    u"screen"_s,  u"printer"_s, u"forms"_s,         u"debug"_s,
        u"now"_s,   u"date"_s,   u"time"_s,    u"timer"_s,   u"and"_s,           u"or"_s,
        u"not"_s,   u"xor"_s,    u"mod"_s,     u"is"_s,      u"like"_s,          u"eqv"_s,
        u"imp"_s,   u"to"_s,     u"step"_s,    u"new"_s,     u"thiscomponent"_s, u"as"_s,
        u"byval"_s, u"byref"_s,  u"then"_s,    u"else"_s,    u"elseif"_s,        u"case"_s,
        u"each"_s,  u"in"_s,     u"while"_s,   u"until"_s,   u"goto"_s,          u"gosub"_s,
        u"error"_s, u"resume"_s, u"next"_s,    u"typeof"_s,  u"addressof"_s,     u"call"_s,
        u"if"_s,    u"select"_s, u"loop"_s,    u"do"_s,      u"for"_s,           u"wend"_s,
        u"with"_s,  u"end"_s,
    };
    return values.contains(lowerCase(name));
}

} // namespace

bool isBuiltinValue(QStringView name)
{
    return isBuiltinWord(name) || name.startsWith(u"vb", Qt::CaseInsensitive)
           || name.startsWith(u"cdl", Qt::CaseInsensitive) || name.startsWith(u"MB_", Qt::CaseInsensitive);
}

bool isReservedWord(QStringView word)
{
    // Visual Basic's and LibreOffice Basic's statements, types and literals:
    // a variable of one of these names does not compile in one or the other.
    static constexpr auto words = std::to_array<QStringView>({
        u"Alias",    u"And",     u"Any",        u"As",       u"Boolean",    u"ByRef",    u"Byte",       u"ByVal",
        u"Call",     u"Case",    u"CBool",      u"CByte",    u"CCur",       u"CDate",    u"CDbl",       u"CInt",
        u"CLng",     u"Close",   u"Const",      u"CSng",     u"CStr",       u"Currency", u"CVar",       u"Date",
        u"Decimal",  u"Declare", u"DefInt",     u"DefStr",   u"Dim",        u"Do",       u"Double",     u"Each",
        u"Else",     u"ElseIf",  u"Empty",      u"End",      u"EndIf",      u"Enum",     u"Eqv",        u"Erase",
        u"Error",    u"Event",   u"Exit",       u"Explicit", u"False",      u"For",      u"Friend",     u"Function",
        u"Get",      u"Global",  u"GoSub",      u"GoTo",     u"If",         u"Imp",      u"Implements", u"In",
        u"Integer",  u"Is",      u"Let",        u"Like",     u"Long",       u"Loop",     u"LSet",       u"Me",
        u"Mod",      u"New",     u"Next",       u"Not",      u"Nothing",    u"Null",     u"Object",     u"On",
        u"Open",     u"Option",  u"Optional",   u"Or",       u"ParamArray", u"Preserve", u"Print",      u"Private",
        u"Property", u"Public",  u"RaiseEvent", u"ReDim",    u"Rem",        u"Resume",   u"Return",     u"RSet",
        u"Select",   u"Set",     u"Single",     u"Static",   u"Step",       u"Stop",     u"String",     u"Sub",
        u"Then",     u"To",      u"True",       u"Type",     u"TypeOf",     u"Until",    u"Variant",    u"Wend",
        u"While",    u"With",    u"WithEvents", u"Xor",
    });
    // Asked of every name the parser leaves: a search, not a scan.
    constexpr auto caseLess = [](QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
    static const auto sorted = [caseLess] {
        auto list = words;
        std::sort(list.begin(), list.end(), caseLess);
        return list;
    }();
    return word.size() <= 10 && std::binary_search(sorted.begin(), sorted.end(), word, caseLess);
}

bool isBuiltinName(QStringView name)
{
    return Module::isPureFunction(name) || isBuiltinWord(name) || findName(name);
}

namespace {

// As many tokens as reading can keep, with their statements, blocks and
// changes and roles (some 19 bytes a token), in twice the text's own size and 44 MiB:
// so that reading stays within four times its input and 64 MiB whatever the
// code is. Ordinary code has a token for every three to five characters.
std::size_t tokenLimit(QStringView text)
{
    return std::size_t((2 * 2 * text.size() + 44 * 1024 * 1024) / 19);
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

Module::Module(const Tokens &tokens) : m_tokens(tokens)
{
    m_lineStarts.push_back(0);
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
