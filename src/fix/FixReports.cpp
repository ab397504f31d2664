// SPDX-License-Identifier: GPL-3.0-or-later
#include "fix/FixReports.h"

#include "basic/Lexer.h"
#include "basic/Source.h"
#include "cli/ToolOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

#ifndef QUILLKIT_FIX_VERSION
#define QUILLKIT_FIX_VERSION "98.0"
#endif
#ifndef QUILLKIT_FIX_HOMEPAGE
#define QUILLKIT_FIX_HOMEPAGE ""
#endif

namespace {

struct Rule
{
    const char *id;
    const char *name;
    const char *description;
    const char *level;
};
constexpr Rule rules[] = {
    {"QK0001", "ButtonsAsNumber", "A message box's buttons are written as a bare number; BASIC's names say what it is.",
     "warning"},
    {"QK0002", "ResultAsNumber",
     "A message box's result is compared with a bare number; BASIC's names say which button it is.", "warning"},
    {"QK0003", "NumberLeftAsIs", "A number that fix leaves as it is, and why.", "note"},
};

QString changeText(const fix::Change &change)
{
    return escapedControls(QString(change.original).simplified()) + u" -> "_s + change.replacement.trimmed();
}

// Where each line starts, for columns in UTF-16 code units (SARIF's) and in
// characters (an editor's); lines end at CR LF, LF or CR.
class Lines
{
public:
    explicit Lines(QStringView text) : m_text(text)
    {
        m_starts.push_back(0);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
                m_starts.push_back(i + 1);
        }
    }
    int line(qsizetype pos) const
    {
        return int(std::upper_bound(m_starts.begin(), m_starts.end(), pos) - m_starts.begin());
    }
    int utf16Column(qsizetype pos) const { return int(pos - m_starts[std::size_t(line(pos) - 1)] + 1); }
    int column(qsizetype pos) const
    {
        const qsizetype start = m_starts[std::size_t(line(pos) - 1)];
        return basic::lineColumnAt(m_text.sliced(start), pos - start).column;
    }

private:
    QStringView m_text;
    std::vector<qsizetype> m_starts;
};

QByteArray gitHubEscaped(const QString &text, bool property)
{
    QString escaped = text;
    escaped.replace(u'%', u"%25"_s).replace(u'\r', u"%0D"_s).replace(u'\n', u"%0A"_s);
    if (property)
        escaped.replace(u':', u"%3A"_s).replace(u',', u"%2C"_s);
    return escaped.toUtf8();
}

QJsonObject textRegion(const Lines &lines, qsizetype from, qsizetype to)
{
    QJsonObject region{{u"startLine"_s, lines.line(from)}, {u"startColumn"_s, lines.utf16Column(from)}};
    if (to > from) {
        region.insert(u"endLine"_s, lines.line(to));
        region.insert(u"endColumn"_s, lines.utf16Column(to));
    }
    return region;
}

} // namespace

QString relativeUri(const QString &path)
{
    QStringList segments;
    for (const QString &segment : path.split(u'/'))
        segments << QString::fromLatin1(QUrl::toPercentEncoding(segment));
    return segments.join(u'/');
}

QByteArray Report::add(const QString &shown, const basic::Source &source, const fix::ModuleFixes &fixes)
{
    QByteArray out;
    if (m_format == ReportFormat::Text) {
        // Changes and notes in the order they stand in the file, one line
        // each whatever the file's name.
        const QString file = escapedControls(shown);
        std::size_t n = 0;
        const auto note = [&](const fix::Note &note) {
            out += u"%1:%2:%3: note: %4\n"_s
                       .arg(file, QString::number(note.line), QString::number(note.column), escapedControls(note.message))
                       .toUtf8();
        };
        for (const fix::Change &change : fixes.changes) {
            for (; n < fixes.notes.size() && fixes.notes[n].pos < change.from; ++n)
                note(fixes.notes[n]);
            out += u"%1:%2:%3: %4\n"_s
                       .arg(file, QString::number(change.line), QString::number(change.column), changeText(change))
                       .toUtf8();
        }
        for (; n < fixes.notes.size(); ++n)
            note(fixes.notes[n]);
        return out;
    }
    const Lines lines(source.text());
    if (m_format == ReportFormat::GitHub) {
        const QByteArray file = gitHubEscaped(shown, true);
        const auto where = [&](qsizetype from, qsizetype to) {
            QByteArray properties = "file=" + file + ",line=" + QByteArray::number(lines.line(from))
                                    + ",col=" + QByteArray::number(lines.column(from));
            if (to > from) {
                if (lines.line(to) != lines.line(from))
                    properties += ",endLine=" + QByteArray::number(lines.line(to));
                properties += ",endColumn=" + QByteArray::number(lines.column(to));
            }
            return properties;
        };
        std::size_t n = 0;
        const auto note = [&](const fix::Note &note) {
            out += "::notice " + where(note.pos, note.end) + "::" + gitHubEscaped(escapedControls(note.message), false)
                   + '\n';
        };
        for (const fix::Change &change : fixes.changes) {
            for (; n < fixes.notes.size() && fixes.notes[n].pos < change.from; ++n)
                note(fixes.notes[n]);
            out += "::warning " + where(change.from, change.to) + "::" + gitHubEscaped(changeText(change), false) + '\n';
        }
        for (; n < fixes.notes.size(); ++n)
            note(fixes.notes[n]);
        return out;
    }

    const QJsonObject artifact{{u"uri"_s, relativeUri(shown)}, {u"uriBaseId"_s, u"SRCROOT"_s}};
    std::vector<qsizetype> positions;
    positions.reserve(fixes.changes.size() * 2);
    for (const fix::Change &change : fixes.changes)
        positions.insert(positions.end(), {change.from, change.to});
    const std::vector<qsizetype> bytes = source.byteOffsets(positions);
    for (std::size_t c = 0; c < fixes.changes.size(); ++c) {
        const fix::Change &change = fixes.changes[c];
        const int rule = change.kind == fix::ChangeKind::Buttons ? 0 : 1;
        QJsonObject deleted = textRegion(lines, change.from, change.to);
        deleted.insert(u"byteOffset"_s, qint64(bytes[2 * c]));
        deleted.insert(u"byteLength"_s, qint64(bytes[2 * c + 1] - bytes[2 * c]));
        const QJsonObject replacement{{u"deletedRegion"_s, deleted},
                                      {u"insertedContent"_s, QJsonObject{{u"text"_s, change.replacement}}}};
        const QJsonObject fix{
            {u"description"_s, QJsonObject{{u"text"_s, u"Write %1"_s.arg(change.replacement.trimmed())}}},
            {u"artifactChanges"_s,
             QJsonArray{QJsonObject{{u"artifactLocation"_s, artifact}, {u"replacements"_s, QJsonArray{replacement}}}}},
        };
        out += next() + QJsonDocument(QJsonObject{
            {u"ruleId"_s, QString::fromLatin1(rules[rule].id)},
            {u"ruleIndex"_s, rule},
            {u"level"_s, u"warning"_s},
            {u"message"_s, QJsonObject{{u"text"_s, changeText(change)}}},
            {u"locations"_s,
             QJsonArray{QJsonObject{{u"physicalLocation"_s,
                                     QJsonObject{{u"artifactLocation"_s, artifact},
                                                 {u"region"_s, textRegion(lines, change.from, change.to)}}}}}},
            {u"fixes"_s, QJsonArray{fix}},
        }).toJson(QJsonDocument::Compact);
    }
    for (const fix::Note &note : fixes.notes) {
        out += next() + QJsonDocument(QJsonObject{
            {u"ruleId"_s, QString::fromLatin1(rules[2].id)},
            {u"ruleIndex"_s, 2},
            {u"level"_s, u"note"_s},
            {u"message"_s, QJsonObject{{u"text"_s, note.message}}},
            {u"locations"_s,
             QJsonArray{QJsonObject{{u"physicalLocation"_s,
                                     QJsonObject{{u"artifactLocation"_s, artifact},
                                                 {u"region"_s, textRegion(lines, note.pos, note.end)}}}}}},
        }).toJson(QJsonDocument::Compact);
    }
    return out;
}

QByteArray Report::finish()
{
    if (m_format != ReportFormat::Sarif)
        return {};
    QByteArray out = m_started ? QByteArray() : next();
    out.chop(1); // no first result: the head's line break goes
    return out + "\n]}]}\n";
}

QByteArray Report::next()
{
    if (m_started)
        return ",\n";
    m_started = true;
    QJsonArray ruleObjects;
    for (const Rule &rule : rules) {
        const QString text = QString::fromUtf8(rule.description);
        ruleObjects.append(QJsonObject{
            {u"id"_s, QString::fromLatin1(rule.id)},
            {u"name"_s, QString::fromLatin1(rule.name)},
            {u"shortDescription"_s, QJsonObject{{u"text"_s, text}}},
            {u"fullDescription"_s, QJsonObject{{u"text"_s, text}}},
            {u"help"_s, QJsonObject{{u"text"_s, u"quillkit98 fix names the number; quillkit98 fix --help tells how."_s}}},
            {u"defaultConfiguration"_s, QJsonObject{{u"level"_s, QString::fromLatin1(rule.level)}}},
        });
    }
    // The program's web page when it has one, else its guide beside it.
    QString information = QString::fromUtf8(QUILLKIT_FIX_HOMEPAGE).trimmed();
    if (information.isEmpty())
        information = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + u"/qkt98.html"_s).toString(QUrl::FullyEncoded);
    const QJsonObject driver{
        {u"name"_s, u"quillkit98"_s},
        {u"fullName"_s, u"quillkit98 fix"_s},
        {u"version"_s, QString::fromLatin1(QUILLKIT_FIX_VERSION)},
        {u"semanticVersion"_s, QString(QString::fromLatin1(QUILLKIT_FIX_VERSION) + u".0"_s)},
        {u"informationUri"_s, information},
        {u"rules"_s, ruleObjects},
    };
    QString root = QDir::currentPath();
    if (!root.endsWith(u'/'))
        root += u'/';
    const QJsonObject run{
        {u"tool"_s, QJsonObject{{u"driver"_s, driver}}},
        {u"originalUriBaseIds"_s,
         QJsonObject{{u"SRCROOT"_s, QJsonObject{{u"uri"_s, QUrl::fromLocalFile(root).toString(QUrl::FullyEncoded)}}}}},
        {u"columnKind"_s, u"utf16CodeUnits"_s},
    };
    const QJsonObject log{
        {u"$schema"_s, u"https://json.schemastore.org/sarif-2.1.0.json"_s},
        {u"version"_s, u"2.1.0"_s},
    };
    // The results go last, in the run's object: the log's and the run's
    // other members first, then the array left open.
    QByteArray head = QJsonDocument(log).toJson(QJsonDocument::Compact);
    head.chop(1);
    QByteArray runHead = QJsonDocument(run).toJson(QJsonDocument::Compact);
    runHead.chop(1);
    return head + ",\"runs\":[" + runHead + ",\"results\":[\n";
}
