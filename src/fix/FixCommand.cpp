// SPDX-License-Identifier: GPL-3.0-or-later
#include "fix/FixCommand.h"

#include "basic/Source.h"
#include "basic/Tokens.h"
#include "cli/ToolOptions.h"
#include "fix/ModuleFixer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QStringList moduleSuffixes{u"bas"_s, u"cls"_s, u"frm"_s, u"ctl"_s, u"dsr"_s, u"dob"_s, u"pag"_s};

QString fixHelpText()
{
    return QCoreApplication::translate(
        "FixCommand",
        "Usage: quillkit98 fix [--check | --diff] [--dialect vb|libreoffice] [--encoding auto|NAME] PATH...\n"
        "Names the bare numbers of the message boxes in BASIC modules: MsgBox \"Sure?\", 36 becomes\n"
        "MsgBox \"Sure?\", vbYesNo + vbQuestion, and If MsgBox(...) = 6 becomes If MsgBox(...) = vbYes\n"
        "(also Select Case MsgBox(...) and a variable that only a message box sets). Every other byte of\n"
        "a file stays as it is: its encoding, line endings, strings, comments and form designer part.\n"
        "A PATH that is a folder is searched for *.bas *.cls *.frm *.ctl *.dsr *.dob *.pag; symbolic\n"
        "links to folders are not followed. A file named on the command line is read whatever its name.\n\n"
        "Options:\n"
        "  --check          Changes nothing; prints path:line:column: 36 -> vbYesNo + vbQuestion for\n"
        "                   each change and each note, and exits with status 1 when something would\n"
        "                   change (for a pre-commit hook or CI).\n"
        "  --diff           Changes nothing; prints a unified diff that patch -p1 and git apply take.\n"
        "  --dialect D      vb (vbYesNo, vbYes) or libreoffice (MB_YESNO, IDYES). Default vb.\n"
        "  --encoding NAME  The files' encoding, any name iconv knows. Default auto: UTF-8 when the\n"
        "                   bytes are UTF-8 (with or without BOM), otherwise Windows-1252.\n"
        "  -h, --help       Displays this help.\n\n"
        "Without --check or --diff each file that changes is rewritten in place, through a temporary\n"
        "file in its folder; a file with nothing to change is not touched. A summary goes to standard\n"
        "error. Exit status: 0 done, 1 --check found changes, 2 a file could not be read or written.\n");
}

struct Counts
{
    int read = 0;
    int changed = 0;
    int calls = 0;
    int numbers = 0;
    int notes = 0;
    bool failed = false;
};

// The files under the paths, in a stable order.
QStringList modulesIn(const QStringList &paths, QIODevice &err, Counts &counts)
{
    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList found;
            QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Dirs,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QFileInfo file(it.next());
                if (file.isFile() && !file.isSymLink()
                    && moduleSuffixes.contains(file.suffix().toLower()))
                    found << file.filePath();
            }
            std::sort(found.begin(), found.end());
            files += found;
        } else if (info.exists()) {
            files << path;
        } else {
            err.write(u"quillkit98: fix: %1: no such file or folder\n"_s.arg(path).toUtf8());
            counts.failed = true;
        }
    }
    return files;
}

QString lineOf(const QString &path, int line, int column, const QString &text)
{
    return u"%1:%2:%3: %4\n"_s.arg(path).arg(line).arg(column).arg(text);
}

// Lines as patch and git see them: up to and with each LF (a lone CR is
// part of its line).
QList<QByteArrayView> splitLines(const QByteArray &bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            lines << QByteArrayView(bytes).sliced(start, i + 1 - start);
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines << QByteArrayView(bytes).sliced(start);
    return lines;
}

} // namespace

QByteArray unifiedDiff(const QString &path, const QByteArray &before, const QByteArray &after)
{
    if (before == after)
        return {};
    const QList<QByteArrayView> a = splitLines(before);
    const QList<QByteArrayView> b = splitLines(after);
    // The changes replace spans inside lines: the lines before the first
    // difference and after the last are common.
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    // Within that range, pair the lines up where the counts agree (a span
    // that ends a line never adds or removes one), so that each changed line
    // is a hunk of its own.
    struct Edit
    {
        qsizetype aBegin, aEnd, bBegin, bEnd;
    };
    std::vector<Edit> edits;
    const qsizetype aCount = a.size() - head - tail;
    const qsizetype bCount = b.size() - head - tail;
    if (aCount == bCount) {
        for (qsizetype k = 0; k < aCount; ++k) {
            if (a[head + k] == b[head + k])
                continue;
            if (!edits.empty() && edits.back().aEnd == head + k)
                edits.back().aEnd = edits.back().bEnd = head + k + 1;
            else
                edits.push_back({head + k, head + k + 1, head + k, head + k + 1});
        }
    } else {
        edits.push_back({head, head + aCount, head, head + bCount});
    }
    constexpr qsizetype context = 3;
    QByteArray out;
    out += "--- a/" + path.toUtf8() + "\n+++ b/" + path.toUtf8() + "\n";
    const auto line = [&](char mark, QByteArrayView text) {
        out += mark;
        out += text;
        if (!text.endsWith('\n'))
            out += "\n\\ No newline at end of file\n";
    };
    std::size_t e = 0;
    while (e < edits.size()) {
        std::size_t f = e;
        while (f + 1 < edits.size() && edits[f + 1].aBegin - edits[f].aEnd <= 2 * context)
            ++f;
        const qsizetype aStart = std::max<qsizetype>(0, edits[e].aBegin - context);
        const qsizetype aStop = std::min(a.size(), edits[f].aEnd + context);
        const qsizetype shift = edits[e].bBegin - edits[e].aBegin;
        const qsizetype bStart = aStart + shift;
        const qsizetype bStop = aStop + (edits[f].bEnd - edits[f].aEnd);
        out += "@@ -" + QByteArray::number(aStop > aStart ? aStart + 1 : aStart) + ',' + QByteArray::number(aStop - aStart)
               + " +" + QByteArray::number(bStop > bStart ? bStart + 1 : bStart) + ',' + QByteArray::number(bStop - bStart)
               + " @@\n";
        qsizetype ai = aStart;
        for (std::size_t k = e; k <= f; ++k) {
            for (; ai < edits[k].aBegin; ++ai)
                line(' ', a[ai]);
            for (qsizetype x = edits[k].aBegin; x < edits[k].aEnd; ++x)
                line('-', a[x]);
            for (qsizetype x = edits[k].bBegin; x < edits[k].bEnd; ++x)
                line('+', b[x]);
            ai = edits[k].aEnd;
        }
        for (; ai < aStop; ++ai)
            line(' ', a[ai]);
        e = f + 1;
    }
    return out;
}

int runFix(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption check(u"check"_s, QString());
    const QCommandLineOption diff(u"diff"_s, QString());
    const QCommandLineOption dialectOption(u"dialect"_s, QString(), u"D"_s, u"vb"_s);
    const QCommandLineOption encodingOption(u"encoding"_s, QString(), u"NAME"_s, u"auto"_s);
    const QCommandLineOption help({u"h"_s, u"help"_s}, QString());
    parser.addOptions({check, diff, dialectOption, encodingOption, help});
    QStringList toParse = arguments;
    toParse.removeAt(1);
    const auto fail = [&](const QString &message) {
        err.write((u"quillkit98: fix: "_s + escapedControls(message) + u'\n').toUtf8());
        return 2;
    };
    if (!parser.parse(toParse))
        return fail(parser.errorText());
    if (parser.isSet(help))
        return writeChecked(out, fixHelpText()) ? 0 : 1;
    for (const QCommandLineOption &once : {dialectOption, encodingOption}) {
        if (parser.values(once).size() > 1)
            return fail(u"--%1 is given twice"_s.arg(once.names().first()));
    }
    if (parser.isSet(check) && parser.isSet(diff))
        return fail(u"--check and --diff cannot go together"_s);
    const QString dialectName = parser.value(dialectOption);
    if (dialectName != u"vb"_s && dialectName != u"libreoffice"_s)
        return fail(u"--dialect: '%1' is not one of vb, libreoffice"_s.arg(dialectName));
    const basic::Dialect dialect = dialectName == u"libreoffice"_s ? basic::Dialect::LibreOffice : basic::Dialect::VisualBasic;
    basic::Encoding encoding;
    try {
        encoding = basic::Encoding::named(parser.value(encodingOption));
    } catch (const basic::SourceError &error) {
        return fail(u"--encoding: "_s + error.message);
    }
    if (parser.positionalArguments().isEmpty())
        return fail(u"name the files or folders to fix (quillkit98 fix --help)"_s);

    Counts counts;
    const QStringList files = modulesIn(parser.positionalArguments(), err, counts);
    bool wouldChange = false;
    bool outputFailed = false;
    const QDir here = QDir::current();
    for (const QString &path : files) {
        const auto fileError = [&](const QString &message) {
            err.write(u"quillkit98: fix: %1: %2\n"_s.arg(path, escapedControls(message)).toUtf8());
            counts.failed = true;
        };
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            fileError(file.errorString());
            continue;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            fileError(file.errorString());
            continue;
        }
        file.close();
        ++counts.read;
        try {
            const basic::Source source(bytes, encoding);
            const fix::ModuleFixes fixes = fix::fixModule(source.text(), dialect);
            counts.notes += int(fixes.notes.size());
            const QString shown = QDir::cleanPath(QFileInfo(path).isAbsolute() ? here.relativeFilePath(path) : path);
            if (parser.isSet(check)) {
                // Changes and notes in the order they stand in the file.
                QString report;
                std::size_t n = 0;
                for (const fix::Change &change : fixes.changes) {
                    for (; n < fixes.notes.size()
                           && std::pair(fixes.notes[n].line, fixes.notes[n].column) < std::pair(change.line, change.column);
                         ++n)
                        report += lineOf(shown, fixes.notes[n].line, fixes.notes[n].column,
                                         u"note: "_s + escapedControls(fixes.notes[n].message));
                    report += lineOf(shown, change.line, change.column,
                                     escapedControls(QString(change.original).simplified()) + u" -> "_s + change.replacement);
                }
                for (; n < fixes.notes.size(); ++n)
                    report += lineOf(shown, fixes.notes[n].line, fixes.notes[n].column,
                                     u"note: "_s + escapedControls(fixes.notes[n].message));
                outputFailed = outputFailed || !writeChecked(out, report);
            }
            if (fixes.changes.empty())
                continue;
            wouldChange = true;
            counts.numbers += int(fixes.changes.size());
            counts.calls += fixes.calls;
            std::vector<basic::Source::Change> spans;
            spans.reserve(fixes.changes.size());
            for (const fix::Change &change : fixes.changes)
                spans.push_back({change.from, change.to, change.replacement});
            const QByteArray changed = source.withChanges(spans);
            ++counts.changed;
            if (parser.isSet(diff)) {
                const QByteArray patch = unifiedDiff(shown, bytes, changed);
                outputFailed = outputFailed || out.write(patch) != patch.size();
            } else if (!parser.isSet(check)) {
                // Atomically: a temporary file beside it, then renamed over
                // it; a link is followed to the file it names.
                const QString target = QFileInfo(path).canonicalFilePath();
                QSaveFile save(target);
                if (!save.open(QIODevice::WriteOnly) || save.write(changed) != changed.size() || !save.commit()) {
                    fileError(save.errorString());
                    --counts.changed;
                    continue;
                }
            }
        } catch (const basic::SourceError &error) {
            fileError(error.message);
        } catch (const basic::Refusal &refusal) {
            fileError(refusal.message);
        }
    }
    if (auto *device = qobject_cast<QFileDevice *>(&out))
        outputFailed = outputFailed || !device->flush();
    const QString mode = parser.isSet(check) || parser.isSet(diff) ? u"would change"_s : u"changed"_s;
    err.write(u"quillkit98: fix: %1 files read, %2 %3, %4 calls rewritten (%5 numbers named), %6 notes\n"_s
                  .arg(counts.read)
                  .arg(counts.changed)
                  .arg(mode)
                  .arg(counts.calls)
                  .arg(counts.numbers)
                  .arg(counts.notes)
                  .toUtf8());
    if (counts.failed)
        return 2;
    if (outputFailed) {
        err.write(u"quillkit98: fix: cannot write the output: %1\n"_s.arg(out.errorString()).toUtf8());
        return 1;
    }
    return parser.isSet(check) && wouldChange ? 1 : 0;
}
