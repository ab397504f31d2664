// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/GambasCode.h"

#include <algorithm>
#include <limits>
#include <utility>

using namespace Qt::StringLiterals;

namespace codegen::gambas {

QString escapedChar(QChar c)
{
    switch (c.unicode()) {
    case u'\\':
        return u"\\\\"_s;
    case u'"':
        return u"\\\""_s;
    case u'\r':
        return u"\\r"_s;
    case u'\n':
        return u"\\n"_s;
    case u'\t':
        return u"\\t"_s;
    default:
        break;
    }
    if (c.unicode() < 0x20 || c.unicode() == 0x7f)
        return u"\\x"_s + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
    return QString(c);
}

namespace {

qsizetype escapedWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u'\\' || u == u'"' || u == u'\r' || u == u'\n' || u == u'\t')
        return 2;
    if (u < 0x20 || u == 0x7f)
        return 4;
    return 1;
}

void appendEscaped(QString &out, QStringView text)
{
    for (const QChar c : text) {
        if (escapedWidth(c) == 1)
            out += c;
        else
            out += escapedChar(c);
    }
}

// Characters from `from` whose escapes fill at most `room` code units; a
// surrogate pair is never cut, and at least one character is always taken.
qsizetype fitting(QStringView text, qsizetype from, qsizetype room)
{
    qsizetype end = from;
    qsizetype width = 0;
    while (end < text.size()) {
        qsizetype step = 1;
        if (text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate())
            step = 2;
        const qsizetype w = step == 2 ? 2 : escapedWidth(text[end]);
        if (width + w > room && end > from)
            break;
        width += w;
        end += step;
    }
    return end;
}

qsizetype totalWidth(QStringView text, qsizetype from)
{
    qsizetype width = 0;
    for (qsizetype i = from; i < text.size(); ++i)
        width += escapedWidth(text[i]);
    return width;
}

class Layout
{
public:
    // Without a sink the layout only counts: its lines are made and dropped.
    Layout(const QString &indent, const Limits &limits, const LineSink *sink)
        : m_indent(indent), m_limits(limits), m_line(indent), m_sink(sink)
    {
    }

    void code(const QString &code, bool startsStatement)
    {
        // A comma may end a line: the rest goes on the next one.
        if (!startsStatement && m_line.size() + code.size() > m_limits.length && code.startsWith(u", "))
            newLine(u","_s, code.sliced(2));
        else
            m_line += code;
    }

    // Writes text from `from` as literals, at most `maxLiterals` of them,
    // keeping `reserve` code units free after the last one; returns where
    // it stopped and counts the literals.
    qsizetype text(QStringView text, qsizetype from, qsizetype reserve, int maxLiterals, int *literals)
    {
        *literals = 0;
        // A text that fits on a line of its own after a comma starts one,
        // rather than being cut.
        const qsizetype whole = totalWidth(text, from) + 2 + reserve;
        const qsizetype fresh = m_indent.size() + 2;
        if (m_line.endsWith(u", ") && m_line.size() > fresh && m_line.size() + whole > m_limits.length
            && fresh + whole <= m_limits.length) {
            emit(m_line.chopped(1));
            m_line = m_indent + u"  "_s;
        }
        // What is left to write, counted once and then taken from as the
        // text is cut: a long text costs its length, not its square.
        qsizetype rest = whole - 2 - reserve;
        for (;;) {
            ++*literals;
            if (m_line.size() + rest + 2 + reserve <= m_limits.length) {
                m_line += u'"';
                appendEscaped(m_line, text.sliced(from));
                m_line += u'"';
                return text.size();
            }
            const bool last = *literals >= maxLiterals;
            const qsizetype room = m_limits.length - m_line.size() - 2 - (last ? reserve : 2);
            const qsizetype end = fitting(text, from, room);
            m_line += u'"';
            appendEscaped(m_line, text.sliced(from, end - from));
            m_line += u'"';
            rest -= totalWidth(text.first(end), from);
            from = end;
            if (last || from == text.size())
                return from;
            newLine(u" &"_s, {});
        }
    }

    void finish() { emit(std::move(m_line)); }

private:
    void emit(QString &&line)
    {
        if (m_sink)
            (*m_sink)(std::move(line));
    }

    void newLine(const QString &end, const QString &next)
    {
        emit(m_line + end);
        m_line = m_indent + u"  "_s + next;
    }

    QString m_indent;
    Limits m_limits;
    QString m_line;
    const LineSink *m_sink;
};

// What the fixed part after a text keeps on the text's last line: only its
// comma when a line may break after it.
qsizetype reserveAfter(const QList<Part> &parts, qsizetype i)
{
    if (i + 1 >= parts.size() || parts.at(i + 1).kind != Part::Kind::Code)
        return 0;
    const QString &next = parts.at(i + 1).text;
    return next.startsWith(u", ") ? 1 : next.size();
}

// The statement laid out as it is, its lines to `sink` when there is one;
// the number of literals of each text.
void layoutOnce(const QList<Part> &parts, const QString &indent, const Limits &limits, QList<int> *literals,
                const LineSink *sink)
{
    Layout layout(indent, limits, sink);
    literals->clear();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const Part &part = parts.at(i);
        if (part.kind == Part::Kind::Code) {
            layout.code(part.text, i == 0);
            literals->append(0);
            continue;
        }
        int count = 0;
        layout.text(part.text, 0, reserveAfter(parts, i), std::numeric_limits<int>::max(), &count);
        literals->append(count);
    }
    layout.finish();
}

QString freeName(const QString &wanted, const QStringList &takenNames)
{
    QString name = wanted;
    for (int n = 2; takenNames.contains(name, Qt::CaseInsensitive); ++n)
        name = wanted + QString::number(n);
    return name;
}

// `Dim V As String` and the statements that build the text up in V.
void buildUp(const QString &variable, QStringView value, const QString &indent, const Limits &limits,
             const LineSink &sink)
{
    sink(indent + u"Dim "_s + variable + u" As String"_s);
    qsizetype from = 0;
    bool first = true;
    do {
        Layout layout(indent, limits, &sink);
        layout.code(variable + (first ? u" = "_s : u" &= "_s), true);
        int count = 0;
        from = layout.text(value, from, 0, limits.operands, &count);
        layout.finish();
        first = false;
    } while (from < value.size());
}

} // namespace

QString literal(QStringView text)
{
    QString out = u"\""_s;
    appendEscaped(out, text);
    out += u'"';
    return out;
}

QStringList statement(const QList<Part> &parts, const QString &indent, const QStringList &takenNames, Limits limits)
{
    QStringList lines;
    statement(parts, indent, takenNames, limits, [&lines](QString &&line) { lines << std::move(line); });
    return lines;
}

void statement(const QList<Part> &parts, const QString &indent, const QStringList &takenNames, Limits limits,
               const LineSink &sink)
{
    limits.operands = std::max(limits.operands, 2);
    // Which texts go into variables is settled by layouts that only count,
    // so that no text's lines are ever all held at once.
    QList<Part> laid = parts;
    QStringList taken = takenNames;
    QList<std::pair<QString, qsizetype>> builtUp;
    QList<int> literals;
    for (;;) {
        layoutOnce(laid, indent, limits, &literals, nullptr);
        // The text with the most literals over the limit goes first.
        qsizetype worst = -1;
        for (qsizetype i = 0; i < laid.size(); ++i) {
            if (laid.at(i).kind == Part::Kind::Text && literals.at(i) > limits.operands
                && (worst < 0 || literals.at(i) > literals.at(worst)))
                worst = i;
        }
        if (worst < 0)
            break;
        const QString variable = freeName(laid.at(worst).variable, taken);
        taken << variable;
        builtUp.append({variable, worst});
        laid[worst] = code(variable);
    }
    for (const auto &[variable, index] : builtUp)
        buildUp(variable, parts.at(index).text, indent, limits, sink);
    layoutOnce(laid, indent, limits, &literals, &sink);
}

} // namespace codegen::gambas
