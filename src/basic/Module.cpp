// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Module.h"

#include <algorithm>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

const std::vector<qint32> noChanges;

QString lower(QStringView s)
{
    return s.toString().toLower();
}

// Names an expression may use that are no user code: BASIC's own objects
// and values.
bool isBuiltinValue(QStringView name)
{
    static const QSet<QString> values{
        u"true"_s,  u"false"_s, u"nothing"_s, u"empty"_s, u"null"_s, u"me"_s,  u"app"_s,   u"err"_s,
        u"screen"_s, u"printer"_s, u"forms"_s, u"debug"_s, u"now"_s, u"date"_s, u"time"_s, u"timer"_s,
        u"and"_s,   u"or"_s,    u"not"_s,     u"xor"_s,   u"mod"_s, u"is"_s,  u"like"_s,  u"eqv"_s,
        u"imp"_s,   u"to"_s,    u"step"_s,    u"new"_s,   u"thiscomponent"_s, u"as"_s, u"byval"_s, u"byref"_s,
        u"then"_s,  u"else"_s,  u"elseif"_s,  u"case"_s,  u"each"_s, u"in"_s,  u"while"_s, u"until"_s,
        u"goto"_s,  u"gosub"_s, u"error"_s,   u"resume"_s, u"next"_s, u"typeof"_s, u"addressof"_s, u"call"_s,
        u"if"_s,    u"select"_s, u"loop"_s,   u"do"_s,    u"for"_s,  u"wend"_s, u"with"_s,  u"end"_s,
    };
    return values.contains(lower(name)) || name.startsWith(u"vb", Qt::CaseInsensitive)
           || name.startsWith(u"cdl", Qt::CaseInsensitive) || name.startsWith(u"MB_", Qt::CaseInsensitive);
}

// The type a Def… statement gives ("DefInt" is Integer), or "" when the word
// is none.
QString defType(QStringView word)
{
    static const QHash<QString, QString> types{
        {u"defbool"_s, u"Boolean"_s}, {u"defbyte"_s, u"Byte"_s},       {u"defint"_s, u"Integer"_s},
        {u"deflng"_s, u"Long"_s},     {u"deflnglng"_s, u"LongLong"_s}, {u"deflngptr"_s, u"LongPtr"_s},
        {u"defcur"_s, u"Currency"_s}, {u"defsng"_s, u"Single"_s},      {u"defdbl"_s, u"Double"_s},
        {u"defdec"_s, u"Decimal"_s},  {u"defdate"_s, u"Date"_s},       {u"defstr"_s, u"String"_s},
        {u"defobj"_s, u"Object"_s},   {u"defvar"_s, u"Variant"_s},
    };
    if (word.size() < 6 || word.size() > 9 || !word.startsWith(u"def", Qt::CaseInsensitive))
        return {};
    return types.value(lower(word));
}

} // namespace

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
    return name.size() <= 16 && functions.contains(lower(name));
}

// A condition of #If or a value of #Const, as Visual Basic works it out:
// whole numbers, True (-1) and False, the #Const names set above, and the
// operators, Not, And, Or, Xor, Eqv and Imp bitwise. Anything else (a name
// the project may set, a text, a division) leaves it undecided.
class DirectiveExpression
{
public:
    DirectiveExpression(const Tokens &line, const QHash<QString, qint64> &constants) : t(line), m_constants(constants)
    {
    }
    std::optional<qint64> evaluate(qint32 begin, qint32 end)
    {
        m_end = end;
        qint32 i = begin;
        const std::optional<qint64> value = imp(i);
        if (i != end)
            return std::nullopt;
        return value;
    }

private:
    using Value = std::optional<qint64>;
    template<typename Next, typename Apply>
    Value binary(qint32 &i, Next next, std::initializer_list<QStringView> words, Apply apply)
    {
        Value left = (this->*next)(i);
        for (;;) {
            QStringView op;
            for (const QStringView w : words) {
                if (i < m_end && (t.isWord(i, w) || (t.kind(i) == TokenKind::Punct && t.text(i) == w)))
                    op = w;
            }
            if (op.isEmpty() || !left)
                return left;
            ++i;
            const Value right = (this->*next)(i);
            if (!right)
                return std::nullopt;
            left = apply(op, *left, *right);
            if (*left <= -(qint64(1) << 40) || *left >= (qint64(1) << 40))
                return std::nullopt;
        }
    }
    Value imp(qint32 &i)
    {
        return binary(i, &DirectiveExpression::eqv, {u"imp"}, [](QStringView, qint64 a, qint64 b) { return ~a | b; });
    }
    Value eqv(qint32 &i)
    {
        return binary(i, &DirectiveExpression::xorOr, {u"eqv"}, [](QStringView, qint64 a, qint64 b) { return ~(a ^ b); });
    }
    Value xorOr(qint32 &i)
    {
        return binary(i, &DirectiveExpression::andOp, {u"xor", u"or"}, [](QStringView op, qint64 a, qint64 b) {
            return op.compare(u"or", Qt::CaseInsensitive) == 0 ? (a | b) : (a ^ b);
        });
    }
    Value andOp(qint32 &i)
    {
        return binary(i, &DirectiveExpression::notOp, {u"and"}, [](QStringView, qint64 a, qint64 b) { return a & b; });
    }
    Value notOp(qint32 &i)
    {
        if (i < m_end && t.isWord(i, u"not")) {
            ++i;
            const Value v = notOp(i);
            return v ? Value(~*v) : std::nullopt;
        }
        return compare(i);
    }
    Value compare(qint32 &i)
    {
        return binary(i, &DirectiveExpression::additive, {u"=", u"<>", u"<=", u">=", u"<", u">"},
                      [](QStringView op, qint64 a, qint64 b) -> qint64 {
                          bool r = false;
                          if (op == u"=")
                              r = a == b;
                          else if (op == u"<>")
                              r = a != b;
                          else if (op == u"<=")
                              r = a <= b;
                          else if (op == u">=")
                              r = a >= b;
                          else if (op == u"<")
                              r = a < b;
                          else
                              r = a > b;
                          return r ? -1 : 0;
                      });
    }
    Value additive(qint32 &i)
    {
        return binary(i, &DirectiveExpression::multiplicative, {u"+", u"-"},
                      [](QStringView op, qint64 a, qint64 b) { return op == u"+" ? a + b : a - b; });
    }
    Value multiplicative(qint32 &i)
    {
        return binary(i, &DirectiveExpression::unary, {u"*"}, [](QStringView, qint64 a, qint64 b) { return a * b; });
    }
    Value unary(qint32 &i)
    {
        if (i < m_end && t.isPunct(i, u'-')) {
            ++i;
            const Value v = unary(i);
            return v ? Value(-*v) : std::nullopt;
        }
        return primary(i);
    }
    Value primary(qint32 &i)
    {
        if (i >= m_end)
            return std::nullopt;
        if (t.isPunct(i, u'(')) {
            ++i;
            const Value v = imp(i);
            if (i >= m_end || !t.isPunct(i, u')'))
                return std::nullopt;
            ++i;
            return v;
        }
        const qint32 k = i++;
        if (t.isWord(k, u"true"))
            return -1;
        if (t.isWord(k, u"false"))
            return 0;
        if (t.kind(k) == TokenKind::Number) {
            bool ok = false;
            const qint64 v = t.text(k).toLongLong(&ok);
            // Magnitudes stay far from overflow in every operator.
            return ok && v > -(qint64(1) << 31) && v < (qint64(1) << 31) ? Value(v) : std::nullopt;
        }
        if (t.isIdent(k)) {
            const auto found = m_constants.constFind(t.text(k).toString().toLower());
            if (found != m_constants.cend())
                return *found;
        }
        return std::nullopt;
    }

    const Tokens &t;
    const QHash<QString, qint64> &m_constants;
    qint32 m_end = 0;
};

// Cuts the module into statements and blocks, in one pass over its tokens.
class ModuleBuilder
{
public:
    explicit ModuleBuilder(Module &module) : m(module), t(module.m_tokens) {}
    void run();

private:
    void collectNames();
    void line(qint32 begin, qint32 end);
    void range(qint32 begin, qint32 end);
    void statement(qint32 begin, qint32 end);
    void directive(qint32 index);

    qint32 addStatement(qint32 begin, qint32 end);
    qint32 openBlock(BlockKind kind, qint32 opening);
    void closeBlock();
    qint32 current() const { return m_stack.back(); }
    BlockKind currentKind() const { return m.m_blocks[std::size_t(current())].kind; }
    // A closing statement whose opening is not in the text: the code
    // before it in the procedure ran under a condition or in a loop.
    void unmatched(BlockKind kind);
    void startProcedure(const QString &name);
    void endProcedure();

    void change(const QString &name, qint32 statement);
    // Records a declaration of the name at that token, the first one kept.
    void declared(qint32 token, const QString &kind);
    // A line of a form's designer part (VERSION, Begin … End): properties,
    // never code. Whether the line was one.
    bool designerLine(qint32 begin, qint32 end);
    // Records the calls in tokens [begin, end) and the names passed to
    // them, which they may change.
    void expression(qint32 begin, qint32 end, qint32 statement);
    void declare(qint32 begin, qint32 end, qint32 statement, bool moduleLevel, bool isConst);
    void changeNamesIn(qint32 begin, qint32 end, qint32 statement);
    bool active() const { return m_conditions.empty() || m_conditions.back().active; }

    Module &m;
    const Tokens &t;
    std::vector<qint32> m_stack;
    qint32 m_procedure = -1;
    bool m_inProcedure = false; // opened by a Sub or Function line
    qint32 m_barrierStart = 0;
    std::vector<qint32> m_pendingBlocks;
    std::vector<qint32> m_oneLine;
    // How many blocks were open before the line's first one-line If.
    std::size_t m_oneLineBase = 0;
    bool m_inType = false;
    bool m_inEnum = false;
    QSet<QString> m_variables;
    QSet<QString> m_procedureNames;
    std::vector<QString> m_withs; // parallel to the With containers that are open
    std::vector<qint32> m_withBlocks;
    // The controls of the designer part whose Begin is open, innermost
    // last, and how deep its BeginProperty sections go.
    std::vector<QString> m_designerControls;
    int m_designerPropertyDepth = 0;
    bool m_designerSeen = false;

    struct Condition
    {
        bool active;     // this part runs
        bool taken;      // a part of this #If has run
        bool decided;    // the conditions could be worked out
        bool outerActive;
        qint32 branch;   // the Branch block of an undecided #If, or -1
    };
    std::vector<Condition> m_conditions;
    QHash<QString, qint64> m_directiveConstants;
};

void ModuleBuilder::run()
{
    collectNames();
    startProcedure(QString());
    const qint32 n = qint32(t.size());
    qint32 i = 0;
    while (i < n) {
        qint32 end = i;
        while (end < n && t.kind(end) != TokenKind::Newline)
            ++end;
        line(i, end);
        i = end + 1;
    }
    endProcedure();
    m.m_callsBefore.assign(m.m_statements.size() + 1, 0);
    for (std::size_t k = 0; k < m.m_statements.size(); ++k)
        m.m_callsBefore[k + 1] = m.m_callsBefore[k] + (m.m_statements[k].changesCalls ? 1 : 0);
}

void ModuleBuilder::collectNames()
{
    const qint32 n = qint32(t.size());
    bool atStart = true;
    for (qint32 i = 0; i < n; ++i) {
        const TokenKind kind = t.kind(i);
        if (kind == TokenKind::Newline || kind == TokenKind::Comment || kind == TokenKind::Directive
            || t.isPunct(i, u':')) {
            atStart = true;
            continue;
        }
        if (kind == TokenKind::Ident && atStart) {
            if (const QString type = defType(t.text(i)); !type.isEmpty()) {
                m.m_hasDefType = true;
                // DefInt A-C, X: letters and ranges of letters.
                qint32 k = i + 1;
                while (k < n && t.kind(k) != TokenKind::Newline && !t.isPunct(k, u':')) {
                    const auto letter = [&](qint32 at) {
                        const QStringView w = t.text(at);
                        return t.isIdent(at) && w.size() == 1 ? int((w[0].unicode() | 0x20) - u'a') : -1;
                    };
                    const int from = letter(k);
                    int to = from;
                    if (from >= 0 && k + 2 < n && t.isPunct(k + 1, u'-') && letter(k + 2) >= 0) {
                        to = letter(k + 2);
                        k += 2;
                    }
                    for (int c = std::min(from, to); from >= 0 && c <= std::max(from, to) && c < 26; ++c)
                        m.m_defTypes[c] = type;
                    ++k;
                }
            }
        }
        if (kind == TokenKind::Ident) {
            if ((t.isWord(i, u"sub") || t.isWord(i, u"function") || t.isWord(i, u"get") || t.isWord(i, u"let")
                 || t.isWord(i, u"set"))
                && i + 1 < n && t.isIdent(i + 1) && (i + 2 >= n || t.isPunct(i + 2, u'(') || t.kind(i + 2) == TokenKind::Newline)) {
                if (!(t.isWord(i, u"let") || t.isWord(i, u"set")) || (i > 0 && t.isWord(i - 1, u"property")))
                    m_procedureNames.insert(nameKey(t.text(i + 1)));
            }
            if (atStart && i + 1 < n && t.isPunct(i + 1, u'='))
                m_variables.insert(nameKey(t.text(i)));
            if ((t.isWord(i, u"dim") || t.isWord(i, u"const") || t.isWord(i, u"static") || t.isWord(i, u"redim")
                 || t.isWord(i, u"global") || t.isWord(i, u"private") || t.isWord(i, u"public")
                 || t.isWord(i, u"let") || t.isWord(i, u"set") || t.isWord(i, u"for") || t.isWord(i, u"each"))
                && i + 1 < n && t.isIdent(i + 1))
                m_variables.insert(nameKey(t.text(i + 1)));
            if (i > 0 && t.isPunct(i - 1, u',') && i + 1 < n && t.isWord(i + 1, u"as"))
                m_variables.insert(nameKey(t.text(i)));
        }
        atStart = false;
    }
}

qint32 ModuleBuilder::addStatement(qint32 begin, qint32 end)
{
    m.m_statements.push_back({begin, end, current(), m_procedure, false});
    return qint32(m.m_statements.size() - 1);
}

qint32 ModuleBuilder::openBlock(BlockKind kind, qint32 opening)
{
    m.m_blocks.push_back({current(), kind, opening, -1});
    const qint32 index = qint32(m.m_blocks.size() - 1);
    if (m_stack.size() == 1)
        m_pendingBlocks.push_back(index);
    m_stack.push_back(index);
    return index;
}

void ModuleBuilder::closeBlock()
{
    // The procedure's own block ends with the procedure.
    if (m_stack.size() <= 1)
        return;
    m.m_blocks[std::size_t(current())].last = qint32(m.m_statements.size());
    if (!m_withBlocks.empty() && m_withBlocks.back() == current()) {
        m_withBlocks.pop_back();
        m_withs.pop_back();
    }
    m_stack.pop_back();
}

void ModuleBuilder::unmatched(BlockKind kind)
{
    // Everything since the procedure began (or since the last such
    // statement) goes into a block that ends here.
    const qint32 procedureBlock = m_stack.front();
    while (m_stack.size() > 1)
        closeBlock();
    m.m_blocks.push_back({procedureBlock, kind, m_barrierStart, qint32(m.m_statements.size())});
    const qint32 synthetic = qint32(m.m_blocks.size() - 1);
    for (const qint32 block : m_pendingBlocks)
        m.m_blocks[std::size_t(block)].parent = synthetic;
    for (std::size_t k = std::size_t(m_barrierStart); k < m.m_statements.size(); ++k) {
        if (m.m_statements[k].block == procedureBlock)
            m.m_statements[k].block = synthetic;
    }
    m_pendingBlocks = {synthetic};
    m_barrierStart = qint32(m.m_statements.size());
}

void ModuleBuilder::startProcedure(const QString &name)
{
    Procedure procedure;
    procedure.name = name;
    procedure.first = qint32(m.m_statements.size());
    m.m_blocks.push_back({-1, BlockKind::Procedure, procedure.first, -1});
    procedure.block = qint32(m.m_blocks.size() - 1);
    m.m_procedures.push_back(procedure);
    m_procedure = qint32(m.m_procedures.size() - 1);
    m_stack = {procedure.block};
    m_barrierStart = procedure.first;
    m_pendingBlocks.clear();
    m_withs.clear();
    m_withBlocks.clear();
}

void ModuleBuilder::endProcedure()
{
    while (m_stack.size() > 1)
        closeBlock();
    m.m_blocks[std::size_t(m_stack.front())].last = qint32(m.m_statements.size());
    m.m_procedures[std::size_t(m_procedure)].last = qint32(m.m_statements.size());
}

void ModuleBuilder::change(const QString &name, qint32 statement)
{
    std::vector<qint32> &changes = m.m_changes[name.contains(u'.') ? name : nameKey(name)];
    if (changes.empty() || changes.back() != statement)
        changes.push_back(statement);
}

void ModuleBuilder::declared(qint32 token, const QString &kind)
{
    if (token < 0 || token >= t.size() || !t.isIdent(token))
        return;
    const QString key = nameKey(t.text(token));
    if (!m.m_declared.contains(key))
        m.m_declared.insert(key, DeclaredName{token, kind});
}

bool ModuleBuilder::designerLine(qint32 begin, qint32 end)
{
    const auto word = [&]<std::size_t N>(qint32 k, const char16_t(&w)[N]) { return k < end && t.isWord(k, w); };
    if (m_designerControls.empty()) {
        // VERSION 5.00 heads a form's file; a designer part starts with
        // Begin Library.Class Name, which no code does.
        if (m_inProcedure || begin >= end)
            return false;
        if (!m_designerSeen && m.m_statements.empty() && word(begin, u"version") && begin + 1 < end
            && t.kind(begin + 1) == TokenKind::Number)
            return true;
        if (!word(begin, u"begin") || begin + 1 >= end || !t.isIdent(begin + 1))
            return false;
        qint32 k = begin + 1;
        const QString type = t.nameChain(k, end);
        if (!type.contains(u'.') || k + 1 != end || !t.isIdent(k))
            return false;
        m_designerSeen = true;
        m.m_hasDesignerPart = true;
        m_designerControls.push_back(nameKey(t.text(k)));
        m_designerPropertyDepth = 0;
        return true;
    }
    if (word(begin, u"beginproperty")) {
        ++m_designerPropertyDepth;
    } else if (word(begin, u"endproperty")) {
        m_designerPropertyDepth = std::max(0, m_designerPropertyDepth - 1);
    } else if (word(begin, u"begin")) {
        qint32 k = begin + 1;
        if (k < end && t.isIdent(k))
            t.nameChain(k, end);
        m_designerControls.push_back(k < end && t.isIdent(k) ? nameKey(t.text(k)) : QString());
        m_designerPropertyDepth = 0;
    } else if (word(begin, u"end") && begin + 1 == end) {
        m_designerControls.pop_back();
        m_designerPropertyDepth = 0;
    } else if (m_designerPropertyDepth == 0 && begin + 1 < end && t.isIdent(begin) && t.isPunct(begin + 1, u'=')
               && !m_designerControls.back().isEmpty()) {
        auto &properties = m.m_designer[m_designerControls.back()];
        const QString property = t.text(begin).toString().toLower();
        if (!properties.contains(property))
            properties.insert(property, DesignerProperty{begin, begin + 2, end});
    }
    return true;
}

void ModuleBuilder::line(qint32 begin, qint32 end)
{
    if (designerLine(begin, end > begin && t.kind(end - 1) == TokenKind::Comment ? end - 1 : end))
        return;
    if (begin < end && t.kind(begin) == TokenKind::Directive) {
        directive(begin);
        return;
    }
    if (!active())
        return;
    if (begin < end && t.kind(begin) == TokenKind::Comment)
        m.m_lineComments.push_back(begin);
    if (end > begin && t.kind(end - 1) == TokenKind::Comment)
        --end;
    qint32 i = begin;
    // A label or line number: control may come here from anywhere.
    const bool number = i < end && t.kind(i) == TokenKind::Number;
    const bool label = i + 1 < end && t.isIdent(i) && t.isPunct(i + 1, u':') && !t.isWord(i, u"else");
    if (number || label) {
        m.m_procedures[std::size_t(m_procedure)].labels.push_back(qint32(m.m_statements.size()));
        if (label)
            declared(i, u"a label"_s);
        i += number ? 1 : 2;
    }
    range(i, end);
    // A one-line If ends with its line, and so does whatever its parts
    // opened; what they closed, or a procedure they began or ended, leaves
    // less to close.
    if (!m_oneLine.empty()) {
        while (m_stack.size() > m_oneLineBase && m_stack.size() > 1)
            closeBlock();
        m_oneLine.clear();
    }
}

void ModuleBuilder::range(qint32 begin, qint32 end)
{
    qint32 s = begin;
    while (s < end) {
        if (t.isPunct(s, u':')) {
            ++s;
            continue;
        }
        if (!m_oneLine.empty() && t.isWord(s, u"else")) {
            // The Else of the innermost one-line If: its Then part, and what
            // that opened, end here.
            const qint32 branch = m_oneLine.back();
            const qint32 opening = m.m_blocks[std::size_t(branch)].opening;
            if (std::find(m_stack.begin(), m_stack.end(), branch) != m_stack.end()) {
                while (m_stack.size() > 1 && current() != branch)
                    closeBlock();
                closeBlock();
            }
            m_oneLine.back() = openBlock(BlockKind::Branch, opening);
            ++s;
            continue;
        }
        const qint32 stop = t.topLevel(s, end, [&](qint32 k) {
            return t.isPunct(k, u':') || (k > s && !m_oneLine.empty() && t.isWord(k, u"else"));
        });
        if (t.isWord(s, u"if")) {
            qint32 then = s + 1;
            while (then < stop && !t.isWord(then, u"then"))
                ++then;
            if (then < stop && then + 1 < end) {
                const qint32 condition = addStatement(s, then + 1);
                expression(s + 1, then, condition);
                if (m_oneLine.empty())
                    m_oneLineBase = m_stack.size();
                m_oneLine.push_back(openBlock(BlockKind::Branch, condition));
                s = then + 1;
                continue;
            }
        }
        statement(s, stop);
        s = stop;
    }
}

void ModuleBuilder::declare(qint32 begin, qint32 end, qint32 statement, bool moduleLevel, bool isConst)
{
    // name [(…)] [As [New] Type [* n]] [= value], …
    qint32 i = begin;
    while (i < end) {
        if (t.isWord(i, u"withevents"))
            ++i;
        if (i >= end || !t.isIdent(i))
            return;
        const QString name = nameKey(t.text(i));
        declared(i, isConst ? u"a Const"_s : u"a variable"_s);
        Declaration declaration;
        declaration.statement = statement;
        declaration.token = i;
        declaration.constant = isConst;
        QString written = t.text(i).toString();
        declaration.keyword = lower(t.text(m.m_statements[std::size_t(statement)].begin));
        ++i;
        // n% and its like: the lexer leaves the suffix a character of its own.
        if (i < end && t.kind(i) == TokenKind::Punct && t.pos(i) == t.endPos(i - 1) && t.text(i).size() == 1
            && QStringView(u"%&!#@").contains(t.text(i).front())) {
            written += t.text(i);
            ++i;
        }
        bool array = false;
        if (i < end && t.isPunct(i, u'(')) {
            array = true;
            i = std::min(t.closing(i, end) + 1, end);
        }
        const qint32 typeStart = i;
        const qint32 stop = t.topLevel(i, end, [&](qint32 k) { return t.isPunct(k, u',') || t.isPunct(k, u'='); });
        if (typeStart < stop && t.isWord(typeStart, u"as"))
            declaration.type = t.text(typeStart + 1 < stop ? typeStart + 1 : typeStart, stop).toString().simplified();
        else
            declaration.type = m.implicitType(written);
        const QString type = declaration.type.toLower();
        const QString suffixType = m.implicitType(written).toLower();
        declaration.text = !array && (type.isEmpty() || type == u"string"_s || type == u"variant"_s)
                           && (suffixType.isEmpty() || suffixType == u"string"_s || suffixType == type);
        if (array)
            declaration.type = u"an array"_s;
        Procedure &procedure = m.m_procedures[std::size_t(m_procedure)];
        // Code outside any Sub is read as a procedure of its own too.
        if (moduleLevel && !m_inProcedure)
            m.m_moduleDeclarations.insert(name, declaration);
        procedure.locals.insert(name, declaration);
        i = stop;
        if (i < end && t.isPunct(i, u'=')) {
            // A Const's value, or an initializer: the value's end.
            const qint32 valueEnd = t.topLevel(i + 1, end, [&](qint32 k) { return t.isPunct(k, u','); });
            expression(i + 1, valueEnd, statement);
            if (!isConst)
                change(name, statement);
            i = valueEnd;
        }
        if (i < end && t.isPunct(i, u','))
            ++i;
        else
            return;
    }
}

void ModuleBuilder::changeNamesIn(qint32 begin, qint32 end, qint32 statement)
{
    for (qint32 i = begin; i < end; ++i) {
        if (!t.isIdent(i) || (i > begin && t.isPunct(i - 1, u'.')))
            continue;
        qint32 j = i;
        const QString chain = t.nameChain(j, end).toLower();
        change(chain.section(u'.', 0, 0), statement);
        if (chain.contains(u'.'))
            change(chain, statement);
        i = j - 1;
    }
}

void ModuleBuilder::expression(qint32 begin, qint32 end, qint32 statement)
{
    Statement &s = m.m_statements[std::size_t(statement)];
    for (qint32 i = begin; i < end; ++i) {
        if (!t.isIdent(i))
            continue;
        const bool member = i > begin && t.isPunct(i - 1, u'.');
        const QString name = nameKey(t.text(i));
        const bool called = i + 1 < end && t.isPunct(i + 1, u'(');
        if (called) {
            const bool variable = !member && m_variables.contains(name) && !m_procedureNames.contains(name);
            if (variable || (!member && Module::isPureFunction(name) && !m_procedureNames.contains(name)))
                continue;
            // A function or method that may take its arguments ByRef, and
            // change what it likes.
            const qint32 close = t.closing(i + 1, end);
            changeNamesIn(i + 2, close, statement);
            s.changesCalls = true;
            m.m_callHeads[statement].push_back(i);
            continue;
        }
        if (member || (i + 1 < end && t.isPunct(i + 1, u'.')))
            continue;
        if (m_procedureNames.contains(name) || (!m_variables.contains(name) && !isBuiltinValue(name)))
            s.changesCalls = true; // perhaps a function without arguments
    }
}

void ModuleBuilder::directive(qint32 index)
{
    // #If, #ElseIf, #Else, #End If, #Const: decided where the condition is
    // plain (True, False, a number or a #Const of one), otherwise each part
    // is taken as code that may run.
    const QStringView text = t.text(index);
    const Tokens line(text.sliced(1));
    qint32 n = qint32(line.size());
    while (n > 0 && (line.kind(n - 1) == TokenKind::Newline || line.kind(n - 1) == TokenKind::Comment))
        --n;
    const auto decide = [&](qint32 begin, qint32 end) -> std::optional<bool> {
        const std::optional<qint64> value = DirectiveExpression(line, m_directiveConstants).evaluate(begin, end);
        if (!value)
            return std::nullopt;
        return *value != 0;
    };
    const auto thenAt = [&]() {
        qint32 k = 1;
        while (k < n && !line.isWord(k, u"then"))
            ++k;
        return k;
    };
    const bool outer = active();
    if (n >= 1 && line.isWord(0, u"if")) {
        const std::optional<bool> value = decide(1, thenAt());
        Condition condition{outer && value.value_or(true), value.value_or(false), value.has_value(), outer, -1};
        if (!value && outer)
            condition.branch = openBlock(BlockKind::Branch, qint32(m.m_statements.size()));
        m_conditions.push_back(condition);
        return;
    }
    // A #Const holds from its line on, for the whole module.
    if (n >= 4 && line.isWord(0, u"const") && line.isIdent(1) && line.isPunct(2, u'=')) {
        if (!outer)
            return;
        // Set in a part that may not be compiled, its value is unknown.
        const bool undecided = std::any_of(m_conditions.begin(), m_conditions.end(), [](const Condition &c) { return !c.decided; });
        const std::optional<qint64> value =
            undecided ? std::nullopt : DirectiveExpression(line, m_directiveConstants).evaluate(3, n);
        if (value)
            m_directiveConstants.insert(lower(line.text(1)), *value);
        else
            m_directiveConstants.remove(lower(line.text(1)));
        return;
    }
    if (m_conditions.empty())
        return; // an #Else or #End If whose #If is not in the text: its parts are all kept
    Condition &condition = m_conditions.back();
    const auto closeBranch = [&] {
        if (condition.branch >= 0 && !m_stack.empty() && current() == condition.branch) {
            closeBlock();
        }
        condition.branch = -1;
    };
    if (n >= 1 && (line.isWord(0, u"elseif") || line.isWord(0, u"else"))) {
        const bool isElse = line.isWord(0, u"else");
        std::optional<bool> value = isElse ? std::optional<bool>(true) : decide(1, thenAt());
        closeBranch();
        if (!condition.decided || !value) {
            condition.decided = false;
            condition.active = condition.outerActive && !condition.taken;
            if (condition.active)
                condition.branch = openBlock(BlockKind::Branch, qint32(m.m_statements.size()));
        } else {
            condition.active = condition.outerActive && !condition.taken && *value;
            condition.taken = condition.taken || *value;
        }
        return;
    }
    if (n >= 2 && line.isWord(0, u"end") && line.isWord(1, u"if")) {
        closeBranch();
        m_conditions.pop_back();
        return;
    }
}

void ModuleBuilder::statement(qint32 begin, qint32 end)
{
    if (begin >= end)
        return;
    qint32 i = begin;
    const auto word = [&]<std::size_t N>(qint32 k, const char16_t(&w)[N]) { return k < end && t.isWord(k, w); };

    if (m_inType) {
        if (word(i, u"end") && (word(i + 1, u"type") || word(i + 1, u"enum")))
            m_inType = false;
        else if (m_inEnum)
            declared(i, u"an Enum member"_s);
        return;
    }
    // Modifiers in front of a declaration or a procedure.
    bool modified = false;
    while (word(i, u"public") || word(i, u"private") || word(i, u"friend") || word(i, u"global")
           || (word(i, u"static") && (word(i + 1, u"sub") || word(i + 1, u"function") || word(i + 1, u"property")))) {
        ++i;
        modified = true;
    }
    if (word(i, u"declare") || word(i, u"event")) {
        qint32 k = i + 1;
        while (word(k, u"ptrsafe") || word(k, u"sub") || word(k, u"function"))
            ++k;
        declared(k, word(i, u"event") ? u"an Event"_s : u"a Declare"_s);
        addStatement(begin, end);
        return;
    }
    if (word(i, u"option") || word(i, u"attribute") || word(i, u"implements") || !defType(t.text(i)).isEmpty()) {
        addStatement(begin, end);
        return;
    }
    // A user-defined type or an Enum opens only so, at module level.
    if (!m_inProcedure && (word(i, u"type") || word(i, u"enum")) && i + 2 == end && t.isIdent(i + 1)) {
        m_inType = true;
        m_inEnum = word(i, u"enum");
        declared(i + 1, m_inEnum ? u"an Enum"_s : u"a Type"_s);
        addStatement(begin, end);
        return;
    }
    const bool sub = word(i, u"sub") || word(i, u"function");
    const bool property = word(i, u"property") && (word(i + 1, u"get") || word(i + 1, u"let") || word(i + 1, u"set"));
    if (sub || property) {
        endProcedure();
        const qint32 nameAt = i + (property ? 2 : 1);
        startProcedure(nameAt < end ? t.text(nameAt).toString() : QString());
        m_inProcedure = true;
        declared(nameAt, property ? u"a Property"_s : word(i, u"sub") ? u"a Sub"_s : u"a Function"_s);
        for (qint32 k = begin; k < i; ++k) {
            if (t.isWord(k, u"static"))
                m.m_procedures[std::size_t(m_procedure)].isStatic = true;
        }
        const qint32 s = addStatement(begin, end);
        // The parameters: names of this procedure, set by its caller.
        if (nameAt + 1 < end && t.isPunct(nameAt + 1, u'(')) {
            const qint32 close = t.closing(nameAt + 1, end);
            qint32 k = nameAt + 2;
            while (k < close) {
                while (k < close && (t.isWord(k, u"byval") || t.isWord(k, u"byref") || t.isWord(k, u"optional")
                                     || t.isWord(k, u"paramarray")))
                    ++k;
                if (k < close && t.isIdent(k)) {
                    Declaration parameter;
                    parameter.parameter = true;
                    parameter.statement = s;
                    parameter.token = k;
                    declared(k, u"a parameter"_s);
                    qint32 stop = k + 1;
                    while (stop < close && !t.isPunct(stop, u','))
                        ++stop;
                    if (k + 2 < stop && t.isWord(k + 1, u"as"))
                        parameter.type = t.text(k + 2, stop).toString().simplified();
                    const QString type = parameter.type.toLower();
                    parameter.text = type.isEmpty() || type == u"string"_s || type == u"variant"_s;
                    m.m_procedures[std::size_t(m_procedure)].locals.insert(nameKey(t.text(k)), parameter);
                    k = stop;
                }
                ++k;
            }
        }
        return;
    }
    if (word(i, u"end") && (word(i + 1, u"sub") || word(i + 1, u"function") || word(i + 1, u"property"))) {
        addStatement(begin, end);
        endProcedure();
        startProcedure(QString());
        m_inProcedure = false;
        return;
    }
    if (word(i, u"const")) {
        const qint32 s = addStatement(begin, end);
        declare(i + 1, end, s, true, true);
        return;
    }
    if (word(i, u"dim") || word(i, u"static") || word(i, u"redim") || (modified && t.isIdent(i))) {
        const bool redim = word(i, u"redim");
        if (word(i, u"dim") || word(i, u"static") || redim)
            ++i;
        if (redim && word(i, u"preserve"))
            ++i;
        const qint32 s = addStatement(begin, end);
        if (redim)
            changeNamesIn(i, std::min(i + 1, end), s);
        else
            declare(i, end, s, true, false);
        return;
    }

    // Blocks.
    if (word(i, u"if")) {
        const qint32 s = addStatement(begin, end);
        expression(i + 1, end, s);
        openBlock(BlockKind::Container, s);
        openBlock(BlockKind::Branch, s);
        return;
    }
    if (word(i, u"elseif") || word(i, u"else")) {
        if (currentKind() == BlockKind::Branch && m_stack.size() >= 2
            && m.m_blocks[std::size_t(m_stack[m_stack.size() - 2])].kind == BlockKind::Container) {
            closeBlock();
        } else {
            unmatched(BlockKind::Branch);
            openBlock(BlockKind::Container, qint32(m.m_statements.size()));
        }
        const qint32 s = addStatement(begin, end);
        expression(i + 1, end, s);
        openBlock(BlockKind::Branch, s);
        return;
    }
    if (word(i, u"select") && word(i + 1, u"case")) {
        const qint32 s = addStatement(begin, end);
        expression(i + 2, end, s);
        openBlock(BlockKind::Container, s);
        return;
    }
    if (word(i, u"case")) {
        if (currentKind() == BlockKind::Branch && m_stack.size() >= 2
            && m.m_blocks[std::size_t(m_stack[m_stack.size() - 2])].kind == BlockKind::Container)
            closeBlock();
        else if (currentKind() != BlockKind::Container) {
            unmatched(BlockKind::Branch);
            openBlock(BlockKind::Container, qint32(m.m_statements.size()));
        }
        const qint32 s = addStatement(begin, end);
        expression(i + 1, end, s);
        openBlock(BlockKind::Branch, s);
        return;
    }
    if (word(i, u"end") && (word(i + 1, u"if") || word(i + 1, u"select"))) {
        if (currentKind() == BlockKind::Branch && m_stack.size() >= 2
            && m.m_blocks[std::size_t(m_stack[m_stack.size() - 2])].kind == BlockKind::Container) {
            closeBlock();
            closeBlock();
        } else if (currentKind() == BlockKind::Container) {
            closeBlock();
        } else {
            unmatched(BlockKind::Branch);
        }
        addStatement(begin, end);
        return;
    }
    if (word(i, u"for") || word(i, u"do") || word(i, u"while")) {
        // The statement belongs to its loop: a For sets its counter on
        // every round.
        openBlock(BlockKind::Loop, qint32(m.m_statements.size()));
        const qint32 s = addStatement(begin, end);
        m.m_blocks[std::size_t(current())].opening = s;
        if (word(i, u"for")) {
            qint32 k = i + 1;
            if (word(k, u"each"))
                ++k;
            if (k < end && t.isIdent(k))
                change(nameKey(t.text(k)), s);
            expression(k + 1, end, s);
        } else {
            expression(i + 1, end, s);
        }
        return;
    }
    if (word(i, u"next") || word(i, u"loop") || word(i, u"wend")) {
        const qint32 s = addStatement(begin, end);
        expression(i + 1, end, s);
        qint32 loops = 1;
        if (word(i, u"next")) {
            for (qint32 k = i + 1; k < end; ++k)
                loops += t.isPunct(k, u',') ? 1 : 0;
        }
        for (; loops > 0; --loops) {
            if (currentKind() == BlockKind::Loop)
                closeBlock();
            else
                unmatched(BlockKind::Loop);
        }
        return;
    }
    if (word(i, u"with")) {
        const qint32 s = addStatement(begin, end);
        for (qint32 k = i + 1; k < end; ++k) {
            if (t.isPunct(k, u'(')) {
                expression(i + 1, end, s);
                break;
            }
        }
        qint32 k = i + 1;
        QString object;
        if (k < end && t.isIdent(k)) {
            object = t.nameChain(k, end).toLower();
            if (k != end)
                object.clear();
        } else if (k + 1 < end && t.isPunct(k, u'.') && !m_withs.empty() && !m_withs.back().isEmpty()) {
            ++k;
            object = m_withs.back() + u'.' + t.nameChain(k, end).toLower();
            if (k != end)
                object.clear();
        }
        openBlock(BlockKind::With, s);
        m_withBlocks.push_back(current());
        m_withs.push_back(object);
        return;
    }
    if (word(i, u"end") && word(i + 1, u"with")) {
        if (!m_withBlocks.empty() && current() == m_withBlocks.back())
            closeBlock();
        else
            unmatched(BlockKind::Branch);
        addStatement(begin, end);
        return;
    }

    const qint32 s = addStatement(begin, end);
    if (!m_withs.empty())
        m.m_withObjects.insert(s, m_withs.back());
    Procedure &procedure = m.m_procedures[std::size_t(m_procedure)];
    // Jumps.
    if (word(i, u"goto") || (i < end && t.kind(i) == TokenKind::Number)) {
        procedure.gotos.push_back(s);
        return;
    }
    if (word(i, u"exit") || word(i, u"stop") || (word(i, u"end") && i + 1 == end))
        return;
    if (word(i, u"gosub") || word(i, u"return") || word(i, u"resume") || word(i, u"on")) {
        bool jumpsBack = !word(i, u"on");
        for (qint32 k = i; k < end; ++k)
            jumpsBack = jumpsBack || t.isWord(k, u"gosub");
        if (jumpsBack && procedure.jumpBack < 0)
            procedure.jumpBack = s;
        if (word(i, u"on"))
            procedure.gotos.push_back(s);
        if (word(i, u"on") && !word(i + 1, u"error") && !word(i + 1, u"local")) {
            qint32 jump = i + 1;
            while (jump < end && !t.isWord(jump, u"goto") && !t.isWord(jump, u"gosub"))
                ++jump;
            expression(i + 1, jump, s);
        }
        return;
    }

    // Statements that change names they are given.
    if (word(i, u"lset") || word(i, u"rset")) {
        changeNamesIn(i + 1, std::min(i + 2, end), s);
        expression(i + 2, end, s);
        return;
    }
    if ((word(i, u"line") && word(i + 1, u"input")) || word(i, u"input") || word(i, u"get") || word(i, u"read")
        || word(i, u"erase")) {
        changeNamesIn(i + 1, end, s);
        return;
    }
    if (word(i, u"print") || word(i, u"write") || word(i, u"open") || word(i, u"close") || word(i, u"put")
        || word(i, u"seek") || word(i, u"kill") || word(i, u"name") || word(i, u"mkdir") || word(i, u"rmdir")
        || word(i, u"chdir") || word(i, u"beep") || word(i, u"randomize") || word(i, u"error")) {
        expression(i + 1, end, s);
        return;
    }

    // BASIC's own procedures that change nothing they are given.
    if ((word(i, u"msgbox") || (word(i, u"debug") && i + 1 < end && t.isPunct(i + 1, u'.')))
        && !m_procedureNames.contains(nameKey(t.text(i)))) {
        expression(i + 1, end, s);
        return;
    }
    const bool let = word(i, u"let") || word(i, u"set");
    const bool call = word(i, u"call");
    if (let || call)
        ++i;
    // An assignment: name = …, name(…) = …, a.b = …, .b = …, Mid(s, …) = ….
    qint32 k = i;
    QString target;
    if (k + 1 < end && t.isPunct(k, u'.') && t.isIdent(k + 1)) {
        ++k;
        const QString chain = t.nameChain(k, end).toLower();
        target = (m_withs.empty() || m_withs.back().isEmpty()) ? QString(u'.' + chain) : QString(m_withs.back() + u'.' + chain);
    } else if (k < end && t.isIdent(k)) {
        target = t.nameChain(k, end).toLower();
    }
    qint32 afterTarget = k;
    qint32 argsClose = -1;
    if (!target.isEmpty() && afterTarget < end && t.isPunct(afterTarget, u'(')) {
        argsClose = t.closing(afterTarget, end);
        afterTarget = argsClose + 1;
    }
    if (!call && !target.isEmpty() && afterTarget < end && (t.isPunct(afterTarget, u'=') || t.isPunct(afterTarget, u"&="))) {
        if (argsClose >= 0 && (target == u"mid"_s || target == u"mid$"_s || target == u"midb"_s || target == u"midb$"_s)) {
            changeNamesIn(k + 1, std::min(k + 2, end), s);
            expression(k + 2, argsClose, s);
        } else {
            change(target, s);
            if (argsClose >= 0)
                expression(k + 1, argsClose, s);
        }
        expression(afterTarget + 1, end, s);
        return;
    }
    // A call of a procedure or method: it may change what it is given,
    // and anything else.
    m.m_statements[std::size_t(s)].changesCalls = true;
    qint32 argsBegin = i;
    if (i < end && (t.isIdent(i) || t.isPunct(i, u'.'))) {
        qint32 j = t.isPunct(i, u'.') ? i + 1 : i;
        if (j < end && t.isIdent(j))
            t.nameChain(j, end);
        argsBegin = j;
    }
    if (i < end && t.isIdent(i))
        m.m_callHeads[s].push_back(i);
    changeNamesIn(argsBegin, end, s);
    expression(argsBegin, end, s);
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
