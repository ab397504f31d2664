// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FixCommand.h"

#include "basic/Source.h"
#include "basic/Tokens.h"
#include "cli/Messages.h"
#include "cli/ToolOptions.h"
#include "commands/CommandIo.h"
#include "fix/FileAccess.h"
#include "fix/FixReports.h"
#include "fix/ModuleFixer.h"
#include "fix/UnifiedDiff.h"
#include "reader/CodeReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QStringList moduleSuffixes{u"bas"_s, u"cls"_s, u"frm"_s, u"ctl"_s, u"dsr"_s, u"dob"_s, u"pag"_s};

QString fixHelpText()
{
    const QString text = QCoreApplication::translate(
        "FixCommand",
        "Usage: quillkit98 fix [--check [--format F] | --diff] [--dialect vb|libreoffice] [--encoding auto|NAME] "
        "PATH...\n"
        "Names the bare numbers of the message boxes in BASIC modules: MsgBox \"Sure?\", 36 becomes\n"
        "MsgBox \"Sure?\", vbYesNo + vbQuestion, and If MsgBox(...) = 6 becomes If MsgBox(...) = vbYes\n"
        "(also Select Case MsgBox(...) and a local variable that only a message box sets). Every other\n"
        "byte of a file stays as it is: its encoding, line endings, strings, comments and form designer\n"
        "part. A PATH that is a folder is searched for *.bas *.cls *.frm *.ctl *.dsr *.dob *.pag in any\n"
        "case; symbolic links in it are not followed. A file named on the command line is read whatever\n"
        "its name; a link is read as the file it points to. A PATH of - is standard input: the fixed\n"
        "text goes to standard output.\n\n"
        "Options:\n"
        "  --check          Changes nothing; reports each change and each note, and exits with\n"
        "                   status 1 when something would change (for a pre-commit hook or CI).\n"
        "  --format F       --check's report: text (path:line:column: 36 -> vbYesNo + vbQuestion),\n"
        "                   github (workflow commands: ::warning and ::notice lines) or sarif\n"
        "                   (SARIF 2.1.0, with each change as a fix). Default text.\n"
        "  --diff           Changes nothing; prints a diff with git's headers that patch -p1 and\n"
        "                   git apply take.\n"
        "  --dialect D      vb (vbYesNo, vbYes) or libreoffice (MB_YESNO, IDYES). Without it, each\n"
        "                   module's own code tells, as read decides; else vb. Gambas code is left.\n"
        "  --encoding NAME  The files' encoding, any name iconv knows. Default auto: UTF-8 when the\n"
        "                   bytes are UTF-8 (with or without BOM), otherwise Windows-1252.\n"
        "  -h, --help       Displays this help.\n\n"
        "Without --check or --diff each file that changes is rewritten in place, through a temporary\n"
        "file in its folder, keeping its mode (and, run as root, its owner and group); a file with\n"
        "nothing to change is not touched. A summary goes to standard error. Exit status: 0 done,\n"
        "1 --check found changes, 2 a bad option, or a file or the output could not be read or written.\n\n"
        "As a pre-commit (pre-commit.com) hook, in .pre-commit-config.yaml:\n"
        "  repos:\n"
        "    - repo: <this program's repository>\n"
        "      rev: <a tag or commit>\n"
        "      hooks:\n"
        "        - id: quillkit98-fix     # or quillkit98-check, which only reports\n");
#if defined(Q_OS_WIN)
    // The encodings are Windows' code pages there.
    return QString(text).replace(u"any name iconv knows."_s, u"a Windows code page."_s);
#else
    return text;
#endif
}

// GNU's forms for a command line that cannot be taken.
struct UsageError
{
    QString message;
};

struct Options
{
    bool check = false;
    bool diff = false;
    bool help = false;
    ReportFormat format = ReportFormat::Text;
    std::optional<basic::Dialect> dialect; // else each module's own
    basic::Encoding encoding;
    QStringList paths;
};

Options parseOptions(const QStringList &arguments)
{
    Options options;
    QSet<QString> given;
    const auto invalid = [](const QString &value, const QString &option, const QStringList &valid) {
        QString message = u"invalid argument '%1' for '%2'\nValid arguments are:\n"_s.arg(escapedControls(value), option);
        for (const QString &v : valid)
            message += u"  - '%1'\n"_s.arg(v);
        message.chop(1);
        return UsageError{message};
    };
    bool optionsEnd = false;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnd || argument == u"-"_s || !argument.startsWith(u'-')) {
            options.paths << argument;
            continue;
        }
        if (argument == u"--"_s) {
            optionsEnd = true;
            continue;
        }
        if (!argument.startsWith(u"--"_s)) {
            if (argument == u"-h"_s) {
                options.help = true;
                continue;
            }
            throw UsageError{u"invalid option -- '%1'"_s.arg(escapedControls(argument.mid(1, 1)))};
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.left(equals);
        std::optional<QString> value;
        if (equals >= 0)
            value = argument.mid(equals + 1);
        const bool takesValue = name == u"--format"_s || name == u"--dialect"_s || name == u"--encoding"_s;
        const bool flag = name == u"--check"_s || name == u"--diff"_s || name == u"--help"_s;
        if (!takesValue && !flag)
            throw UsageError{u"unrecognized option '%1'"_s.arg(escapedControls(argument))};
        if (flag && value)
            throw UsageError{u"option '%1' doesn't allow an argument"_s.arg(name)};
        if (takesValue && !value) {
            if (i + 1 >= arguments.size())
                throw UsageError{u"option '%1' requires an argument"_s.arg(name)};
            value = arguments.at(++i);
        }
        if (given.contains(name) && name != u"--help"_s)
            throw UsageError{u"option '%1' is given twice"_s.arg(name)};
        given.insert(name);
        if (name == u"--check"_s) {
            options.check = true;
        } else if (name == u"--diff"_s) {
            options.diff = true;
        } else if (name == u"--help"_s) {
            options.help = true;
        } else if (name == u"--format"_s) {
            const QStringList valid{u"text"_s, u"github"_s, u"sarif"_s};
            if (!valid.contains(*value))
                throw invalid(*value, name, valid);
            options.format = *value == u"github"_s  ? ReportFormat::GitHub
                             : *value == u"sarif"_s ? ReportFormat::Sarif
                                                     : ReportFormat::Text;
        } else if (name == u"--dialect"_s) {
            // Gambas has no constants to name.
            const auto dialect = basic::dialectFromName(*value);
            if (!dialect || *dialect == basic::Dialect::Gambas) {
                throw invalid(*value, name,
                              {basic::dialectName(basic::Dialect::VisualBasic),
                               basic::dialectName(basic::Dialect::LibreOffice)});
            }
            options.dialect = *dialect;
        } else {
            try {
                options.encoding = basic::Encoding::named(*value);
            } catch (const basic::SourceError &error) {
                throw UsageError{u"invalid argument '%1' for '--encoding': %2"_s.arg(escapedControls(*value), error.message)};
            }
        }
    }
    if (options.help)
        return options;
    if (options.check && options.diff)
        throw UsageError{u"options '--check' and '--diff' cannot go together"_s};
    if (given.contains(u"--format"_s) && !options.check)
        throw UsageError{u"option '--format' goes with '--check'"_s};
    if (options.paths.isEmpty())
        throw UsageError{u"missing file operand"_s};
    if (options.paths.count(u"-"_s) > 1)
        throw UsageError{u"standard input ('-') can be named once"_s};
    return options;
}

// One file to fix: the path to read and write, and the name that reports
// and diffs give it.
struct Target
{
    QString path; // empty for standard input
    QString shown;
};

QString shownName(const QString &path)
{
    const QString relative = QDir::current().relativeFilePath(path);
    return QDir::cleanPath(relative);
}

// The files under the paths, each once, in a stable order; a link named on
// the command line stands for the file it points to.
std::vector<Target> targetsIn(const QStringList &paths, const std::function<void(const QString &, const QString &)> &error)
{
    std::vector<Target> targets;
    QSet<QString> seen;
    const auto add = [&](const QString &path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (canonical.isEmpty() || seen.contains(canonical))
            return;
        seen.insert(canonical);
        targets.push_back({canonical, shownName(canonical)});
    };
    for (const QString &path : paths) {
        if (path == u"-"_s) {
            targets.push_back({QString(), u"-"_s});
            continue;
        }
        QString failure;
        const std::optional<fix::PathKind> kind = fix::pathKind(path, failure);
        if (!kind) {
            error(path, failure);
            continue;
        }
        if (*kind == fix::PathKind::Directory) {
            QStringList found;
            QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QFileInfo file(it.next());
                if (file.isFile() && !file.isSymLink() && moduleSuffixes.contains(file.suffix().toLower()))
                    found << file.filePath();
            }
            std::sort(found.begin(), found.end());
            for (const QString &file : found)
                add(file);
        } else if (*kind != fix::PathKind::RegularFile) {
            // A FIFO or a device would be waited on, or read without end.
            error(path, u"Not a regular file"_s);
        } else {
            add(path);
        }
    }
    return targets;
}

QString plural(qsizetype count, const QString &one, const QString &many)
{
    return u"%1 %2"_s.arg(count).arg(count == 1 ? one : many);
}

// One run over the targets: what it counted, and what failed.
class FixRun
{
public:
    FixRun(const Options &options, const QList<Tool> &tools, QIODevice &out, QIODevice &err, QIODevice &in)
        : m_options(options),
          m_tools(tools),
          m_out(out),
          m_err(err),
          m_in(in),
          m_report(options.format)
    {
    }

    void fileError(const QString &path, const QString &message)
    {
        commands::writeFileError(m_err, path, message);
        m_failed = true;
    }

    void fix(const Target &target);
    // The report's end, the summary on standard error, and the exit status.
    int finish();

private:
    struct Counts
    {
        int read = 0;
        int changed = 0;
        int calls = 0;
        int numbers = 0;
        int notes = 0;
    };

    std::optional<QByteArray> bytesOf(const Target &target, fix::FileState &state);
    // Whether the change was made, or would be.
    bool apply(const Target &target, const QByteArray &bytes, const QByteArray &changed, const fix::FileState &state);
    void output(const QByteArray &bytes) { m_outputFailed = m_outputFailed || !writeChecked(m_out, bytes); }

    const Options &m_options;
    const QList<Tool> &m_tools;
    QIODevice &m_out;
    QIODevice &m_err;
    QIODevice &m_in;
    Report m_report;
    Counts m_counts;
    bool m_failed = false;
    bool m_outputFailed = false;
    bool m_wouldChange = false;
};

std::optional<QByteArray> FixRun::bytesOf(const Target &target, fix::FileState &state)
{
    if (target.path.isEmpty())
        return m_in.readAll();
    QString failure;
    std::optional<QByteArray> read = fix::readFile(target.path, state, failure);
    if (!read)
        fileError(target.shown, failure);
    return read;
}

bool FixRun::apply(const Target &target, const QByteArray &bytes, const QByteArray &changed, const fix::FileState &state)
{
    if (m_options.diff) {
        output(unifiedDiff(target.shown, bytes, changed));
    } else if (target.path.isEmpty() && !m_options.check) {
        output(changed);
    } else if (!m_options.check) {
        QString failure;
        if (!fix::writeFile(target.path, changed, state, failure)) {
            fileError(target.shown, failure);
            return false;
        }
    }
    return true;
}

void FixRun::fix(const Target &target)
{
    fix::FileState state;
    const std::optional<QByteArray> bytes = bytesOf(target, state);
    if (!bytes)
        return;
    ++m_counts.read;
    try {
        const basic::Source source(*bytes, m_options.encoding);
        // Gambas has no constants for its boxes: nothing to name.
        bool sure = true;
        const basic::Dialect dialect = moduleDialect(source.text(), m_tools, m_options.dialect, &sure);
        const fix::ModuleFixes fixes =
            dialect == basic::Dialect::Gambas ? fix::ModuleFixes() : fix::fixModule(source.text(), dialect, sure);
        m_counts.notes += int(fixes.notes.size());
        QByteArray changed;
        if (!fixes.changes.empty()) {
            std::vector<basic::Source::Change> spans;
            spans.reserve(fixes.changes.size());
            for (const fix::Change &change : fixes.changes)
                spans.push_back({change.from, change.to, change.replacement});
            changed = source.withChanges(spans);
        }
        if (m_options.check)
            output(m_report.add(target.shown, source, fixes));
        if (fixes.changes.empty()) {
            // Standard input goes through to standard output as it is.
            if (target.path.isEmpty() && !m_options.check && !m_options.diff)
                output(*bytes);
            return;
        }
        m_wouldChange = true;
        if (!apply(target, *bytes, changed, state))
            return;
        ++m_counts.changed;
        m_counts.numbers += int(fixes.changes.size());
        m_counts.calls += fixes.calls;
    } catch (const basic::SourceError &error) {
        fileError(target.shown, error.message);
    } catch (const basic::Refusal &refusal) {
        fileError(target.shown, refusal.message);
    }
}

int FixRun::finish()
{
    const QString program = cli::programName();
    if (m_options.check)
        output(m_report.finish());
    if (auto *device = qobject_cast<QFileDevice *>(&m_out))
        m_outputFailed = m_outputFailed || !device->flush();
    const QString mode = m_options.check || m_options.diff ? u"would change"_s : u"changed"_s;
    m_err.write(u"%1: fix: %2 read, %3 %4, %5 rewritten (%6 named), %7\n"_s
                    .arg(program, plural(m_counts.read, u"file"_s, u"files"_s))
                    .arg(m_counts.changed)
                    .arg(mode, plural(m_counts.calls, u"call"_s, u"calls"_s),
                         plural(m_counts.numbers, u"number"_s, u"numbers"_s), plural(m_counts.notes, u"note"_s, u"notes"_s))
                    .toUtf8());
    if (m_outputFailed) {
        m_err.write(u"%1: fix: cannot write the output: %2\n"_s.arg(program, m_out.errorString()).toUtf8());
        return 2;
    }
    if (m_failed)
        return 2;
    return m_options.check && m_wouldChange ? 1 : 0;
}

} // namespace

int runFix(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return 2;
    return runFix(arguments, tools, out, err, in);
}

int runFix(const QStringList &arguments, const QList<Tool> &tools, QIODevice &out, QIODevice &err, QIODevice &in)
{
    Options options;
    try {
        options = parseOptions(arguments);
    } catch (const UsageError &error) {
        // What the message quotes is escaped already; its lines stay lines.
        return commands::usageErrorLines(err, error.message, u"fix");
    }
    if (options.help)
        return writeChecked(out, fixHelpText()) ? 0 : 2;
    FixRun run(options, tools, out, err, in);
    const std::vector<Target> targets
        = targetsIn(options.paths, [&run](const QString &path, const QString &message) { run.fileError(path, message); });
    for (const Target &target : targets)
        run.fix(target);
    return run.finish();
}
