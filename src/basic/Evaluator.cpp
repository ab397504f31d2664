// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Evaluator.h"

#include "basic/Flags.h"
#include "basic/Names.h"
#include "basic/Source.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

constexpr int MaxNesting = 64;
// What all the names' texts together may hold, in UTF-16 units: as much as
// the module's own text, and 16 Mi for a small module. `s = s & s` on every
// line is refused long before memory runs out.
constexpr qsizetype HeldTexts = 16 * 1024 * 1024;

// Windows-1252 between 0x80 and 0x9F, where Chr differs from Latin-1.
constexpr std::array<char16_t, 32> cp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// A name's key: a plain name without its type suffix (s and s$ are one
// variable), a control's property as written.
QString keyOf(const QString &chain)
{
    return chain.contains(u'.') ? chain.toLower() : nameKey(chain);
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// A Gambas literal's body (at source offset pos) decoded: \\ \" \r \n \t
// and \xHH. Gambas's texts are bytes, read as UTF-8: \xC3\xA9 is "é", and
// a literal that leaves a character half written is refused. Any other
// escape, and a doubled quotation mark, is refused rather than guessed at.
void decodeEscapes(QStringView body, qsizetype pos, QString &out)
{
    QByteArray bytes;
    bool raw = false; // a \x byte from 0x80 up
    for (qsizetype k = 0; k < body.size(); ++k) {
        const QChar c = body[k];
        if (c == u'"')
            Tokens::refuse(pos + k, u"a doubled quotation mark is no escape in Gambas (it writes \\\")"_s);
        if (c != u'\\') {
            // A pair of surrogates is one character.
            const qsizetype n = c.isHighSurrogate() && k + 1 < body.size() ? 2 : 1;
            bytes += body.sliced(k, n).toUtf8();
            k += n - 1;
            continue;
        }
        const QChar e = k + 1 < body.size() ? body[k + 1] : QChar();
        switch (e.unicode()) {
        case u'\\':
        case u'"':
            bytes += char(e.unicode());
            break;
        case u'r':
            bytes += '\r';
            break;
        case u'n':
            bytes += '\n';
            break;
        case u't':
            bytes += '\t';
            break;
        case u'x': {
            const int high = k + 2 < body.size() ? hexValue(body[k + 2]) : -1;
            const int low = k + 3 < body.size() ? hexValue(body[k + 3]) : -1;
            if (high < 0 || low < 0)
                Tokens::refuse(pos + k, u"\\x needs two hexadecimal digits"_s);
            bytes += char(high * 16 + low);
            raw = raw || high >= 8;
            k += 2;
            break;
        }
        default:
            Tokens::refuse(pos + k, u"\\%1 is an escape this program does not read"_s.arg(e));
        }
        ++k;
    }
    if (!raw) {
        out += QString::fromUtf8(bytes);
        return;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        Tokens::refuse(pos, u"the literal's \\x bytes are no whole UTF-8 characters"_s);
    out += text;
}

} // namespace

Evaluator::Evaluator(const Module &module, qsizetype maxText, TextSemantics semantics)
    : m(module), t(module.tokens()), m_semantics(std::move(semantics)), m_maxText(std::min(maxText, std::max(module.tokens().source().size(), HeldTexts))),
      m_budget(m_maxText)
{
}

void Evaluator::runTo(qint32 statement)
{
    while (m_next < statement) {
        run(m_next);
        ++m_next;
    }
}

void Evaluator::enterProcedure(qint32 procedure)
{
    m_procedure = procedure;
    m_env = m_moduleConstants;
    m_controls.clear();
    m_held = 0;
}

const Declaration *Evaluator::declarationOf(const QString &key, qint32 procedure, bool *local) const
{
    const Procedure &p = m.procedures()[std::size_t(procedure)];
    if (const auto found = p.locals.constFind(key); found != p.locals.cend()) {
        if (local)
            *local = true;
        return &*found;
    }
    if (local)
        *local = false;
    const auto found = m.moduleDeclarations().constFind(key);
    return found == m.moduleDeclarations().cend() ? nullptr : &*found;
}

void Evaluator::requireBuiltin(qint32 k, qint32 end) const
{
    if (end < 0)
        end = qint32(t.size());
    for (; k < end && t.isIdent(k); k += 2) {
        if (const DeclaredName *declared = m.declaration(t.text(k)))
            Tokens::refuse(t.pos(k), u"%1 is declared in this module (line %2)"_s.arg(t.text(k))
                                         .arg(m.lineColumnOf(t.pos(declared->token)).line));
        if (k + 1 >= end || !t.isPunct(k + 1, u'.'))
            break;
    }
}

bool Evaluator::passedElsewhere(qint32 statement, const QString &key, qint32 token) const
{
    // The boxes a reader reads change nothing they are given.
    static const QSet<QString> boxes = [] {
        QSet<QString> set{u"message"_s, u"message.info"_s, u"message.warning"_s, u"message.error"_s, u"message.question"_s};
        for (const QString &box : {u"msgbox"_s, u"inputbox"_s, u"inputbox$"_s}) {
            for (const QString &qualifier : {QString(), u"vba."_s, u"interaction."_s, u"vba.interaction."_s})
                set.insert(qualifier + box);
        }
        return set;
    }();
    const qint32 end = m.statements()[std::size_t(statement)].end;
    for (qint32 head : m.callHeads(statement)) {
        while (head >= 2 && t.isPunct(head - 1, u'.') && t.isIdent(head - 2))
            head -= 2;
        qint32 k = head;
        if (boxes.contains(t.nameChain(k, end).toLower()))
            continue;
        // The call's arguments: in its parentheses, or to the statement's end.
        const qint32 first = k < end && t.isPunct(k, u'(') ? k + 1 : k;
        const qint32 last = k < end && t.isPunct(k, u'(') ? t.closing(k, end) : end;
        if (token >= first && token < last)
            continue; // what the call itself is given, read as it is given
        for (qint32 i = first; i < last; ++i) {
            if (t.isIdent(i) && !(i > first && t.isPunct(i - 1, u'.')) && nameKey(t.text(i)) == key)
                return true;
        }
    }
    return false;
}

bool Evaluator::followed(const QString &key, qint32 procedure) const
{
    bool local = false;
    const Declaration *declaration = declarationOf(key, procedure, &local);
    return declaration && local && !declaration->parameter && declaration->keyword == u"dim"_s && declaration->text
           && !m.procedures()[std::size_t(procedure)].isStatic;
}

bool Evaluator::assigns(qint32 statement, const QString &key) const
{
    const Statement &s = m.statements()[std::size_t(statement)];
    qint32 k = s.begin;
    if (k < s.end && (t.isWord(k, u"let") || t.isWord(k, u"set")))
        ++k;
    if (k >= s.end || !t.isIdent(k))
        return false;
    const QString target = keyOf(t.nameChain(k, s.end));
    return target == key && k < s.end && (t.isPunct(k, u'=') || t.isPunct(k, u"&="));
}

void Evaluator::requireFollowed(const QString &key, qint32 token, qint32 at, const Declaration *declaration,
                                bool local) const
{
    const QString spelling = t.text(token).toString();
    const qsizetype pos = t.pos(token);
    const Procedure &procedure = m.procedures()[std::size_t(m.statements()[std::size_t(at)].procedure)];
    const auto lineOf = [&](const Declaration *d) { return m.lineOf(d->statement); };
    if (!declaration)
        return; // refused by the caller, with what it knows of the name
    if (!local)
        Tokens::refuse(pos, u"%1 is declared for the whole module (line %2), so other procedures may set it"_s.arg(spelling)
                                .arg(lineOf(declaration)));
    if (declaration->parameter)
        Tokens::refuse(pos, u"%1 is a parameter: its text comes from the caller"_s.arg(spelling));
    if (declaration->keyword == u"static"_s)
        Tokens::refuse(pos, u"%1 is Static (line %2): it keeps its text from one call to the next"_s.arg(spelling)
                                .arg(lineOf(declaration)));
    if (procedure.isStatic)
        Tokens::refuse(pos, u"%1 keeps its text from one call to the next: %2 is a Static procedure"_s.arg(spelling, procedure.name));
    if (declaration->keyword != u"dim"_s && !declaration->constant)
        Tokens::refuse(pos, u"%1 is declared with %2 (line %3); only a procedure's own Dim is followed"_s.arg(spelling, declaration->keyword)
                                .arg(lineOf(declaration)));
    if (!declaration->text)
        Tokens::refuse(pos, u"%1 is declared As %2; only a String or Variant is read as text"_s.arg(spelling, declaration->type));
    if (declaration->statement >= at)
        Tokens::refuse(pos, u"%1 is declared only after it is read, on line %2"_s.arg(spelling).arg(lineOf(declaration)));
    Q_UNUSED(key);
}

QChar Evaluator::chr(qint64 code, bool wide, qint32 start, const QString &name) const
{
    const qsizetype pos = t.pos(start);
    const auto noCharacter = [&] { Tokens::refuse(pos, u"%1(%2) is no character"_s.arg(name).arg(code)); };
    // ChrW, and LibreOffice's Chr, take UTF-16 codes.
    if (wide || m_semantics.dialect == Dialect::LibreOffice) {
        if (code < -32768 || code > 65535)
            noCharacter();
        const char16_t c = char16_t(code & 0xFFFF);
        if (QChar::isSurrogate(c))
            Tokens::refuse(pos, u"%1(%2) is half of a UTF-16 surrogate pair, which is no character"_s.arg(name).arg(code));
        return QChar(c);
    }
    if (code < 0 || code > 255)
        noCharacter();
    if (code < 0x80)
        return QChar(char16_t(code));
    if (m_semantics.dialect == Dialect::Gambas)
        Tokens::refuse(pos, u"%1(%2) is a byte of a UTF-8 character in Gambas, no character of its own"_s.arg(name).arg(code));
    // Visual Basic takes the code from the code page the module is written in.
    if (m_semantics.codePage.isEmpty())
        return code <= 0x9F ? QChar(cp1252High.at(std::size_t(code - 0x80))) : QChar(char16_t(code));
    try {
        const QString decoded = decodeText(QByteArray(1, char(code)), Encoding::named(m_semantics.codePage));
        if (decoded.size() != 1 || decoded == u"\uFFFD"_s)
            noCharacter();
        return decoded.front();
    } catch (const SourceError &) {
        Tokens::refuse(pos, u"%1(%2) is no character in %3"_s.arg(name).arg(code).arg(m_semantics.codePage));
    }
}

bool Evaluator::mayBeText(qint32 begin, qint32 end) const
{
    for (qint32 i = begin; i < end; ++i) {
        switch (t.kind(i)) {
        case TokenKind::String:
        case TokenKind::BadString:
            continue;
        case TokenKind::Punct:
            if (t.isPunct(i, u'&') || t.isPunct(i, u'+') || t.isPunct(i, u'(') || t.isPunct(i, u')')
                || t.isPunct(i, u'.'))
                continue;
            return false;
        case TokenKind::Ident:
            continue;
        case TokenKind::Number:
            // Chr(13): a number only as a character code.
            if ((i > begin && t.isPunct(i - 1, u'(')) || (i > begin + 1 && t.isPunct(i - 1, u'-')))
                continue;
            return false;
        default:
            return false;
        }
    }
    return true;
}

void Evaluator::run(qint32 index)
{
    const Statement &s = m.statements()[std::size_t(index)];
    if (s.procedure != m_procedure)
        enterProcedure(s.procedure);
    qint32 i = s.begin;
    const qint32 end = s.end;
    const bool moduleLevel = m.procedures()[std::size_t(s.procedure)].name.isEmpty();
    while (i < end && (t.isWord(i, u"public") || t.isWord(i, u"private") || t.isWord(i, u"global")))
        ++i;
    // appendTo: for Gambas's `s &= …`, the token that names s.
    const auto assign = [&](const QString &key, qint32 valueBegin, bool constant, qint32 appendTo = -1) {
        Binding binding;
        binding.statement = index;
        binding.constant = constant;
        const auto old = m_env.constFind(key);
        if (old != m_env.cend() && old->value)
            m_held -= old->value->size();
        const qint32 valueEnd = t.topLevel(valueBegin, end, [&](qint32 k) { return constant && t.isPunct(k, u','); });
        // A name no read will follow is not worked out: reads refuse it by
        // its declaration first.
        if (!constant && !key.contains(u'.') && !followed(key, s.procedure)) {
            binding.reason = u"%1 is not followed"_s.arg(key);
            m_env.insert(key, binding);
            return valueEnd;
        }
        qint32 v = valueBegin;
        if (appendTo < 0 && valueEnd - v >= 4 && t.isWord(v, u"app") && t.isPunct(v + 1, u'.') && t.isWord(v + 2, u"path")
            && t.isPunct(v + 3, u'&') && !m.declaration(u"app")) {
            binding.appPath = true;
            v += 4;
        }
        if (v >= valueEnd || !mayBeText(v, valueEnd)) {
            binding.notText = true; // the reason is written if it is ever needed
        } else {
            try {
                QString out;
                qint32 k = v;
                // `s = s & "…"`: the old text is taken, not copied, so that a
                // text built over many lines costs its length once.
                auto own = m_env.find(key);
                const auto namesKey = [&](qint32 from) {
                    return std::any_of(t.begin() + from, t.begin() + valueEnd, [&](const Token &token) {
                        return token.kind == TokenKind::Ident && nameKey(t.source().sliced(token.pos, token.len)) == key;
                    });
                };
                if (appendTo >= 0 && namesKey(k))
                    Tokens::refuse(t.pos(appendTo), u"%1 is appended to with itself"_s.arg(t.text(appendTo)));
                const bool appends = appendTo >= 0
                                     || (t.isIdent(k) && nameKey(t.text(k)) == key
                                         && (k + 1 == valueEnd || t.isPunct(k + 1, u'&')) && !namesKey(k + 1));
                if (appends) {
                    bool appPath = false;
                    // `Dim s As String` then `s = s & "…"`: a text of this
                    // procedure's own starts out empty.
                    bool local = false;
                    const Declaration *declared = declarationOf(key, s.procedure, &local);
                    const std::vector<qint32> &changes = m.changesOf(key);
                    const auto before = std::lower_bound(changes.begin(), changes.end(), index);
                    const bool startsEmpty =
                        local && declared && !declared->parameter && declared->text && declared->statement < index
                        && t.isWord(m.statements()[std::size_t(declared->statement)].begin, u"dim")
                        && (before == changes.begin() || *(before - 1) < declared->statement)
                        && !unsure(key, t.text(appendTo >= 0 ? appendTo : k).toString(), declared->statement, index);
                    if (startsEmpty) {
                        own = m_env.insert(key, Binding{declared->statement, QString(), QString(), false, false});
                    } else {
                        lookup(key, appendTo >= 0 ? appendTo : k, index, QString(), &appPath);
                        own = m_env.find(key);
                    }
                    binding.appPath = binding.appPath || appPath;
                    out = std::move(*own->value);
                    own->value.reset();
                    if (appendTo >= 0)
                        concat(k, valueEnd, index, out, u"the text"_s, 0);
                    else
                        ++k;
                    while (k < valueEnd && t.isPunct(k, u'&')) {
                        ++k;
                        term(k, valueEnd, index, out, u"the text"_s, 0);
                    }
                    if (k < valueEnd)
                        Tokens::refuse(t.pos(k), u"%1 cannot follow a text here"_s.arg(t.text(k)));
                } else {
                    concat(k, valueEnd, index, out, u"the text"_s, 0);
                    if (k < valueEnd)
                        Tokens::refuse(t.pos(k), u"%1 cannot follow a text here"_s.arg(t.text(k)));
                }
                if (out.size() > m_maxText || m_held + out.size() > m_budget)
                    Tokens::refuse(t.pos(v), u"the text grows longer than this program reads"_s);
                m_held += out.size();
                binding.value = std::move(out);
            } catch (const Refusal &refusal) {
                binding.reason = refusal.traced ? refusal.message
                                                : u"%1 (set on line %2): %3"_s.arg(t.text(s.begin, std::max(s.begin, valueBegin - 1)).toString().trimmed())
                                                      .arg(m.lineOf(index))
                                                      .arg(refusal.message);
            }
        }
        m_env.insert(key, binding);
        if (constant && moduleLevel)
            m_moduleConstants.insert(key, binding);
        return valueEnd;
    };

    if (i < end && t.isWord(i, u"const")) {
        ++i;
        while (i + 1 < end && t.isIdent(i)) {
            const QString key = nameKey(t.text(i));
            qint32 k = i + 1;
            if (k + 1 < end && t.isWord(k, u"as"))
                k += 2;
            if (k >= end || !t.isPunct(k, u'='))
                return;
            k = assign(key, k + 1, true);
            if (k < end && t.isPunct(k, u','))
                ++k;
            i = k;
        }
        return;
    }
    if (i < end && t.isWord(i, u"let"))
        ++i;
    // name = …, control.property = …, .property = … (in a With).
    qint32 k = i;
    QString key;
    if (k + 1 < end && t.isPunct(k, u'.') && t.isIdent(k + 1)) {
        ++k;
        const std::optional<QString> object = m.withObject(index);
        const QString chain = t.nameChain(k, end).toLower();
        key = object ? *object + u'.' + chain : QString();
    } else if (k < end && t.isIdent(k)) {
        key = keyOf(t.nameChain(k, end));
    }
    const bool appendsTo = k < end && t.isPunct(k, u"&=");
    if (key.isEmpty() || k >= end || !(t.isPunct(k, u'=') || appendsTo))
        return;
    const qsizetype dot = key.lastIndexOf(u'.');
    if (dot > 0) {
        const QString control = key.first(dot);
        const QString property = key.sliced(dot + 1);
        m_controls[control].insert(property, Setting{property, index, i, k + 1, end});
    }
    assign(key, k + 1, false, appendsTo ? i : -1);
}

std::optional<QString> Evaluator::unsure(const QString &key, const QString &spelling, qint32 changed, qint32 at) const
{
    const Statement &reader = m.statements()[std::size_t(at)];
    const Procedure &procedure = m.procedures()[std::size_t(reader.procedure)];
    const auto &blocks = m.blocks();
    const auto effective = [&](qint32 b) {
        while (blocks[std::size_t(b)].kind == BlockKind::Container || blocks[std::size_t(b)].kind == BlockKind::With)
            b = blocks[std::size_t(b)].parent;
        return b;
    };
    const qint32 target = effective(m.statements()[std::size_t(changed)].block);
    bool encloses = false;
    for (qint32 b = reader.block; b >= 0; b = blocks[std::size_t(b)].parent) {
        if (b == target) {
            encloses = true;
            break;
        }
    }
    if (!encloses) {
        const Block &block = blocks[std::size_t(target)];
        const int line = m.lineOf(block.opening);
        return block.kind == BlockKind::Loop
                   ? u"%1 is set in the loop that starts on line %2, which may run any number of times"_s.arg(spelling).arg(line)
                   : u"%1 is set on line %2 under a condition that starts on line %3, which may not hold"_s
                         .arg(spelling)
                         .arg(m.lineOf(changed))
                         .arg(line);
    }
    const std::vector<qint32> &changes = m.changesOf(key);
    for (qint32 b = reader.block; b >= 0; b = blocks[std::size_t(b)].parent) {
        const Block &block = blocks[std::size_t(b)];
        if (block.kind != BlockKind::Loop)
            continue;
        const auto later = std::lower_bound(changes.begin(), changes.end(), at);
        if (later != changes.end() && *later < block.last)
            return u"%1 changes again on line %2, in the loop that starts on line %3"_s.arg(spelling)
                .arg(m.lineOf(*later))
                .arg(m.lineOf(block.opening));
    }
    const auto label = std::upper_bound(procedure.labels.begin(), procedure.labels.end(), changed);
    if (label != procedure.labels.end() && *label <= at)
        return u"a jump to the label on line %1 may pass over where %2 is set"_s.arg(m.lineOf(*label)).arg(spelling);
    // A jump to a label above where the name is set runs that code again,
    // and a Dim does not empty the name on the way.
    for (const qint32 label : procedure.labels) {
        if (label > changed)
            break;
        const auto jump = std::lower_bound(procedure.gotos.begin(), procedure.gotos.end(), label);
        if (jump != procedure.gotos.end())
            return u"the GoTo on line %1 may jump back above where %2 is set, and set it again"_s.arg(m.lineOf(*jump)).arg(spelling);
    }
    if (procedure.jumpBack >= 0)
        return u"the code jumps back on line %1 (Resume, GoSub or Return), so %2 may hold another text"_s
            .arg(m.lineOf(procedure.jumpBack))
            .arg(spelling);
    bool local = false;
    declarationOf(key.section(u'.', 0, 0), reader.procedure, &local);
    if (!local) {
        if (m.callsBetween(changed + 1, at)) {
            const qint32 call = m.firstCallBetween(changed + 1, at);
            return u"%1 may be changed by the call on line %2"_s.arg(spelling).arg(m.lineOf(call));
        }
        for (const qint32 change : changes) {
            if (m.statements()[std::size_t(change)].procedure != reader.procedure)
                return u"%1 is also set in another procedure, on line %2"_s.arg(spelling).arg(m.lineOf(change));
        }
    }
    return std::nullopt;
}

QString Evaluator::reasonOf(const Binding &binding) const
{
    if (!binding.notText)
        return binding.reason;
    const Statement &s = m.statements()[std::size_t(binding.statement)];
    qint32 equals = s.begin;
    while (equals < s.end && !t.isPunct(equals, u'='))
        ++equals;
    return u"%1 is given something other than a fixed text on line %2"_s.arg(t.text(s.begin, equals).toString().trimmed())
        .arg(m.lineOf(binding.statement));
}

const QString &Evaluator::lookup(const QString &key, qint32 token, qint32 at, const QString &what, bool *appPath)
{
    const QString spelling = t.text(token).toString();
    const qsizetype pos = t.pos(token);
    const qint32 procedureIndex = m.statements()[std::size_t(at)].procedure;
    const Procedure &procedure = m.procedures()[std::size_t(procedureIndex)];
    const auto binding = m_env.constFind(key);
    bool local = false;
    const Declaration *declaration = declarationOf(key, procedureIndex, &local);
    // A Const: the procedure's own, or the module's where the procedure
    // declares nothing of the name.
    if (binding != m_env.cend() && binding->constant && (!local || declaration->constant)) {
        if (!binding->value)
            Tokens::refuse(pos, binding->reason);
        if (appPath)
            *appPath = binding->appPath;
        else if (binding->appPath)
            Tokens::refuse(pos, u"%1 starts with App.Path; %2 can only hold fixed text"_s.arg(spelling, what));
        return *binding->value;
    }
    const std::vector<qint32> &changes = m.changesOf(key);
    const auto after = std::lower_bound(changes.begin(), changes.end(), at);
    const qint32 changed = after == changes.begin() ? -1 : *(after - 1);
    if (changed < procedure.first) {
        if (!local) {
            for (const qint32 change : changes) {
                if (m.statements()[std::size_t(change)].procedure != procedureIndex)
                    Tokens::refuse(pos, u"%1 is set in another procedure, on line %2"_s.arg(spelling).arg(m.lineOf(change)));
            }
        }
        requireFollowed(key, token, at, declaration, local);
        if (declaration)
            Tokens::refuse(pos, u"%1 is set outside this code"_s.arg(spelling));
        Tokens::refuse(pos, u"%1 is a variable; %2 can only hold fixed text"_s.arg(spelling, what));
    }
    if (!declaration)
        Tokens::refuse(pos, u"%1 is not declared in this procedure (Dim), so code elsewhere may set it"_s.arg(spelling));
    requireFollowed(key, token, at, declaration, local);
    // `MsgBox F(s) & s`: a call earlier in the statement may change s.
    if (after != changes.end() && *after == at && !assigns(at, key) && passedElsewhere(at, key, token))
        Tokens::refuse(pos, u"%1 is given to a call in the same statement, which may change it"_s.arg(spelling));
    if (binding == m_env.cend() || binding->statement != changed) {
        const Statement &s = m.statements()[std::size_t(changed)];
        Tokens::refuse(pos, u"%1 is changed by `%2` on line %3, which this program cannot follow"_s
                                .arg(spelling, t.text(s.begin, std::min(s.end, s.begin + 3)).toString())
                                .arg(m.lineOf(changed)));
    }
    if (const std::optional<QString> why = unsure(key, spelling, changed, at))
        Tokens::refuse(pos, *why);
    if (!binding->value)
        throw Refusal{pos, reasonOf(*binding), true};
    if (appPath)
        *appPath = binding->appPath;
    else if (binding->appPath)
        Tokens::refuse(pos, u"%1 starts with App.Path; %2 can only hold fixed text"_s.arg(spelling, what));
    return *binding->value;
}

QString Evaluator::text(qint32 begin, qint32 end, qint32 at, const QString &what)
{
    if (begin >= end)
        Tokens::refuse(t.posOf(begin, end), u"%1 is missing"_s.arg(what));
    QString out;
    qint32 i = begin;
    concat(i, end, at, out, what, 0);
    if (i < end)
        Tokens::refuse(t.pos(i), u"%1 cannot follow a text here"_s.arg(t.text(i)));
    return out;
}

QString Evaluator::singleLine(qint32 begin, qint32 end, qint32 at, const QString &what)
{
    const QString value = text(begin, end, at, what);
    if (value.contains(u'\r') || value.contains(u'\n'))
        Tokens::refuse(t.posOf(begin, end), u"%1 holds a line break; it can only hold one line"_s.arg(what));
    return value;
}

std::optional<QString> Evaluator::appPathText(qint32 token, qint32 at, const QString &what)
{
    if (!t.isIdent(token))
        return std::nullopt;
    bool appPath = false;
    const QString key = nameKey(t.text(token));
    const QString &value = lookup(key, token, at, what, &appPath);
    if (!appPath)
        return std::nullopt;
    return value;
}

void Evaluator::concat(qint32 &i, qint32 end, qint32 at, QString &out, const QString &what, int depth)
{
    term(i, end, at, out, what, depth);
    while (i < end && (t.isPunct(i, u'&') || t.isPunct(i, u'+'))) {
        // Gambas's + adds numbers: "1" + "2" is 3.
        if (t.isPunct(i, u'+') && m_semantics.dialect == Dialect::Gambas)
            Tokens::refuse(t.pos(i), u"+ adds numbers in Gambas; texts are joined with &"_s);
        ++i;
        term(i, end, at, out, what, depth);
    }
}

void Evaluator::term(qint32 &i, qint32 end, qint32 at, QString &out, const QString &what, int depth)
{
    if (i >= end)
        Tokens::refuse(t.posOf(i, end), u"a text is missing at the end"_s);
    const auto grow = [&](qsizetype more) {
        if (out.size() + more > m_maxText)
            Tokens::refuse(t.pos(i), u"%1 grows longer than this program reads"_s.arg(what));
    };
    switch (t.kind(i)) {
    case TokenKind::String: {
        const QStringView body = t.text(i).sliced(1).chopped(1);
        grow(body.size());
        if (t.backslashEscapes()) {
            decodeEscapes(body, t.pos(i) + 1, out);
            ++i;
            return;
        }
        for (qsizetype k = 0; k < body.size(); ++k) {
            out += body[k];
            if (body[k] == u'"')
                ++k; // doubled
        }
        ++i;
        return;
    }
    case TokenKind::BadString:
        Tokens::refuse(t.pos(i), u"the text has no closing quotation mark"_s);
    case TokenKind::Number:
        Tokens::refuse(t.pos(i), u"%1 is a number; %2 can only hold text"_s.arg(t.text(i), what));
    case TokenKind::Punct:
        if (t.isPunct(i, u'(')) {
            if (depth >= MaxNesting)
                Tokens::refuse(t.pos(i), u"the parentheses are nested too deeply"_s);
            ++i;
            concat(i, end, at, out, what, depth + 1);
            if (i >= end || !t.isPunct(i, u')'))
                Tokens::refuse(t.posOf(i, end), u"a closing parenthesis is missing"_s);
            ++i;
            return;
        }
        Tokens::refuse(t.pos(i), u"%1 cannot start a text"_s.arg(t.text(i)));
    case TokenKind::Ident:
        break;
    default:
        Tokens::refuse(t.pos(i), u"a text is missing"_s);
    }

    const qint32 start = i;
    const QString name = t.nameChain(i, end);
    QString key = name.toLower();
    for (const QStringView prefix : {QStringView(u"vba.strings."), QStringView(u"vba.constants."), QStringView(u"vba.")}) {
        if (key.startsWith(prefix)) {
            key.remove(0, prefix.size());
            break;
        }
    }
    if (i < end && t.isPunct(i, u'(')) {
        if (key == u"chr"_s || key == u"chr$"_s || key == u"chrw"_s || key == u"chrw$"_s) {
            ++i;
            const bool negative = i < end && t.isPunct(i, u'-');
            if (negative)
                ++i;
            if (i >= end || t.kind(i) != TokenKind::Number || i + 1 >= end || !t.isPunct(i + 1, u')'))
                Tokens::refuse(t.posOf(i, end), u"%1 takes a plain number here"_s.arg(name));
            const qint64 code = numberLiteral(t, i) * (negative ? -1 : 1);
            requireBuiltin(start, i);
            const QChar c = chr(code, key.startsWith(u"chrw"_s), start, name);
            grow(1);
            out += QChar(c);
            i += 2;
            return;
        }
        Tokens::refuse(t.pos(start), u"%1(…) is a function call; %2 can only hold fixed text"_s.arg(name, what));
    }
    if (const std::optional<QString> constant = textConstant(key)) {
        requireBuiltin(start, i);
        if (m_semantics.dialect == Dialect::Gambas
            || (m_semantics.dialect == Dialect::LibreOffice && !m_semantics.vbaSupport))
            Tokens::refuse(t.pos(start), u"%1 is Visual Basic's; %2 has no such constant"_s.arg(name,
                                             m_semantics.dialect == Dialect::Gambas
                                                 ? u"Gambas"_s
                                                 : u"LibreOffice Basic without Option VBASupport 1"_s));
        out += *constant;
        return;
    }
    key = keyOf(key);
    if (key.contains(u'.'))
        Tokens::refuse(t.pos(start), u"%1 is a property; %2 can only hold fixed text"_s.arg(name, what));
    const QString &value = lookup(key, start, at, what);
    grow(value.size());
    out += value;
}

std::vector<Evaluator::Setting> Evaluator::settingsOf(const QString &control, qint32 at, const QString &written)
{
    std::vector<Setting> settings;
    const Statement &reader = m.statements()[std::size_t(at)];
    const Procedure &procedure = m.procedures()[std::size_t(reader.procedure)];
    const qsizetype pos = t.pos(reader.begin);
    QString spelling = written.isEmpty() ? control : written;
    if (written.isEmpty()) {
        qint32 k = reader.begin;
        if (t.isIdent(k))
            spelling = t.nameChain(k, reader.end).section(u'.', 0, -2);
    }
    for (const qint32 change : m.changesOf(control)) {
        if (change >= procedure.first && change < at)
            Tokens::refuse(pos, u"%1 is given to other code on line %2, which may change its settings"_s.arg(spelling)
                                    .arg(m.lineOf(change)));
    }
    if (m.callsBetween(procedure.first, at))
        Tokens::refuse(pos, u"the call on line %1 may change %2's settings"_s.arg(m.lineOf(m.firstCallBetween(procedure.first, at)))
                                .arg(spelling));
    for (const char *property : {"dialogtitle", "filter", "flags", "defaultext", "cancelerror", "filename", "initdir"}) {
        for (const qint32 change : m.changesOf(control + u'.' + QLatin1StringView(property))) {
            if (m.statements()[std::size_t(change)].procedure != reader.procedure)
                Tokens::refuse(pos, u"%1.%2 is set in another procedure, on line %3"_s.arg(spelling, QLatin1StringView(property))
                                        .arg(m.lineOf(change)));
        }
    }
    for (const Setting &setting : m_controls.value(control)) {
        if (setting.statement >= at)
            continue;
        const QString key = control + u'.' + setting.property;
        const std::vector<qint32> &changes = m.changesOf(key);
        const auto after = std::lower_bound(changes.begin(), changes.end(), at);
        const QString name = t.text(setting.name, setting.begin - 1).toString();
        if (after == changes.begin() || *(after - 1) != setting.statement)
            Tokens::refuse(t.pos(setting.name), u"%1 is changed again on line %2"_s.arg(name).arg(m.lineOf(*(after - 1))));
        if (const std::optional<QString> why = unsure(key, name, setting.statement, at))
            Tokens::refuse(t.pos(setting.name), *why);
        settings.push_back(setting);
    }
    std::sort(settings.begin(), settings.end(), [](const Setting &a, const Setting &b) { return a.statement < b.statement; });
    // What the form's designer part sets is where the control starts: the
    // code must set it again before it is shown.
    if (const QHash<QString, DesignerProperty> *designed = m.designerProperties(control)) {
        static const QSet<QString> layout{u"_extentx"_s, u"_extenty"_s, u"_version"_s, u"left"_s, u"top"_s};
        for (auto it = designed->cbegin(); it != designed->cend(); ++it) {
            const bool setAgain = std::any_of(settings.begin(), settings.end(),
                                              [&](const Setting &setting) { return setting.property == it.key(); });
            if (!layout.contains(it.key()) && !setAgain)
                Tokens::refuse(pos, u"%1's %2 is set in the form's designer part (line %3), which this code does not set again"_s
                                        .arg(spelling, t.text(it->name).toString())
                                        .arg(m.lineColumnOf(t.pos(it->name)).line));
        }
    }
    return settings;
}

void Evaluator::requireControl(const QString &control, qint32 at) const
{
    const qsizetype pos = t.pos(m.statements()[std::size_t(at)].begin);
    if (const DeclaredName *declared = m.declaration(control))
        Tokens::refuse(pos, u"%1 is declared in this module (line %2), so it is no control of the form"_s.arg(t.text(declared->token))
                                .arg(m.lineColumnOf(t.pos(declared->token)).line));
    const QString key = nameKey(control);
    for (const Statement &s : m.statements()) {
        for (qint32 k = s.begin; k < s.end; ++k) {
            if (!t.isIdent(k) || t.text(k).size() != control.size() || nameKey(t.text(k)) != key)
                continue;
            const int line = m.lineColumnOf(t.pos(k)).line;
            if (k > s.begin && t.isPunct(k - 1, u'.'))
                Tokens::refuse(pos, u"%1 is reached through %2 on line %3; only %1.Property is followed"_s.arg(t.text(k))
                                        .arg(t.text(k - 2 >= s.begin ? k - 2 : k - 1, k).toString())
                                        .arg(line));
            if (k + 2 >= s.end || !t.isPunct(k + 1, u'.') || !t.isIdent(k + 2))
                Tokens::refuse(pos, u"%1 is used as a whole on line %2 (With, Set or a call given it), which may change its settings"_s
                                        .arg(t.text(k))
                                        .arg(line));
        }
    }
}

QString Evaluator::settingText(const Setting &setting, const QString &what)
{
    const QString key = [&]() -> QString {
        qint32 k = setting.name;
        if (t.isPunct(k, u'.')) {
            ++k;
            return m.withObject(setting.statement).value_or(QString()) + u'.' + t.nameChain(k, setting.end).toLower();
        }
        return t.nameChain(k, setting.end).toLower();
    }();
    const auto binding = m_env.constFind(key);
    if (binding == m_env.cend() || binding->statement != setting.statement)
        Tokens::refuse(t.pos(setting.name), u"%1 is changed again before it is used"_s.arg(t.text(setting.name, setting.begin - 1)));
    if (!binding->value)
        Tokens::refuse(t.pos(setting.begin), reasonOf(*binding));
    if (binding->appPath)
        Tokens::refuse(t.pos(setting.begin), u"App.Path: %1 can only hold fixed text"_s.arg(what));
    if (binding->value->contains(u'\r') || binding->value->contains(u'\n'))
        Tokens::refuse(t.pos(setting.begin), u"%1 holds a line break; it can only hold one line"_s.arg(what));
    return *binding->value;
}

} // namespace basic
