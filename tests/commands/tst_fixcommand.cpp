// SPDX-License-Identifier: GPL-3.0-or-later
// `quillkit98 fix` on real files: what it rewrites, what it leaves byte for
// byte, its modes and exit statuses, and a diff that patch takes.

#include "app/Tools.h"
#include "commands/FixCommand.h"
#include "support/Files.h"
#include "support/GenerateRun.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

Run fix(const QStringList &arguments)
{
    return run(QStringList{u"fix"_s} + arguments);
}

// A run with standard input and a standard output of one's own.
Run fixWith(const QStringList &arguments, const QByteArray &input, QIODevice &out)
{
    QBuffer err, in;
    in.setData(input);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    Run result;
    result.status = runFix(QStringList{u"quillkit98"_s, u"fix"_s} + arguments, tools(), out, err, in);
    if (auto *buffer = qobject_cast<QBuffer *>(&out))
        result.out = buffer->data();
    result.err = err.data();
    return result;
}

// Runs a program in a folder with the input; its exit status, or -1.
int runIn(const QString &folder, const QString &program, const QStringList &arguments, const QByteArray &input = {},
          QByteArray *output = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return -1;
    const QByteArray said = process.readAll();
    if (output)
        *output = said;
    const int status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (status != 0 && !output)
        qWarning().noquote() << program << said;
    return status;
}

// Files whose names patch and git quote or split: spaces, quotation
// marks, letters past ASCII.
// Windows takes no quotation mark in a name.
#if defined(Q_OS_WIN)
const QStringList awkwardNames{u"p/My Form.frm"_s, u"p/say 'hi'.bas"_s, u"p/M\u00f3dulo \u00e9t\u00e9.bas"_s,
                               u"p/sub dir/x.cls"_s};
#else
const QStringList awkwardNames{u"p/My Form.frm"_s, u"p/say \"hi\".bas"_s, u"p/M\u00f3dulo \u00e9t\u00e9.bas"_s,
                               u"p/sub dir/x.cls"_s};
#endif

QByteArray awkwardModule(int k)
{
    return "Sub A()\r\n  If MsgBox(\"" + QByteArray::number(k) + " \xf0\x9f\x98\x80\", 36) = 6 Then Beep\r\n"
           "  MsgBox \"done\", 64\r\nEnd Sub\r\n";
}

#if defined(Q_OS_UNIX)
void copyTree(const QString &from, const QString &to)
{
    QVERIFY(QProcess::execute(u"cp"_s, {u"-a"_s, from, to}) == 0);
}
#endif

// A module of the classic editor: Windows-1252, CR LF, a form's designer
// part, trailing blanks, odd case.
const QByteArray form = "VERSION 5.00\r\n"
                        "Begin VB.Form frmMain \r\n"
                        "   Caption         =   \"L\xf6schen? 36\"\r\n"
                        "End\r\n"
                        "Attribute VB_Name = \"frmMain\"\r\n"
                        "Private Sub cmdDelete_Click()  \r\n"
                        "    If msgbox(\"Datensatz l\xf6schen?\", 36) = 6 Then Exit Sub   \r\n"
                        "    MSGBOX \"Fertig \x80\", 64 ' done, 36\r\n"
                        "End Sub\r\n";
const QByteArray formFixed = "VERSION 5.00\r\n"
                             "Begin VB.Form frmMain \r\n"
                             "   Caption         =   \"L\xf6schen? 36\"\r\n"
                             "End\r\n"
                             "Attribute VB_Name = \"frmMain\"\r\n"
                             "Private Sub cmdDelete_Click()  \r\n"
                             "    If msgbox(\"Datensatz l\xf6schen?\", vbYesNo + vbQuestion) = vbYes Then Exit Sub   \r\n"
                             "    MSGBOX \"Fertig \x80\", vbInformation ' done, 36\r\n"
                             "End Sub\r\n";

} // namespace

class TestFixCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rewritesInPlaceKeepingEveryOtherByte_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("Windows-1252, CR LF, a form") << form << formFixed;
        QTest::newRow("UTF-8 with BOM, LF") << QByteArray("\xef\xbb\xbfMsgBox \"\xc3\xa9t\xc3\xa9\", 48\n")
                                            << QByteArray("\xef\xbb\xbfMsgBox \"\xc3\xa9t\xc3\xa9\", vbExclamation\n");
        QTest::newRow("mixed endings, no last one") << QByteArray("MsgBox \"a\", 1\r\nMsgBox \"b\", 2\nMsgBox \"c\", 4")
                                                    << QByteArray("MsgBox \"a\", vbOKCancel\r\nMsgBox \"b\", vbAbortRetryIgnore\n"
                                                                  "MsgBox \"c\", vbYesNo");
    }
    void rewritesInPlaceKeepingEveryOtherByte()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"My Project (old)/Módulo 1.frm"_s);
        write(path, before);
#if defined(Q_OS_UNIX)
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
#endif
        const Run done = fix({dir.path()});
        QCOMPARE(done.status, 0);
        QCOMPARE(contents(path), after);
#if defined(Q_OS_UNIX)
        // rw-r-----, as it was (Windows has attributes: keepsAttributes).
        QCOMPARE(QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                                                  | QFileDevice::WriteOwner | QFileDevice::ReadOwner),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
#endif
        QVERIFY2(done.err.contains("1 file read, 1 changed"), done.err.constData());
        // Twice is once.
        const Run again = fix({dir.path()});
        QCOMPARE(again.status, 0);
        QCOMPARE(contents(path), after);
        QVERIFY(again.err.contains("0 changed"));
    }

    void leavesUnchangedFilesUntouched()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"clean.bas"_s);
        write(path, "MsgBox \"a\", vbYesNo\r\n");
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QCOMPARE(fix({path}).status, 0);
        QCOMPARE(QFileInfo(path).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    }

    void checkReportsAndWritesNothing()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        write(u"src/a.bas"_s, "Sub A()\r\n  MsgBox \"x\", 36\r\n  MsgBox \"y\", n + 16\r\nEnd Sub\r\n");
        const QByteArray before = contents(u"src/a.bas"_s);
        const Run checked = fix({u"--check"_s, u"src"_s});
        QCOMPARE(checked.status, 1);
        QCOMPARE(checked.out, QByteArray("src/a.bas:2:15: 36 -> vbYesNo + vbQuestion\n"
                                         "src/a.bas:3:15: note: the buttons stay as they are: n is a variable; "
                                         "the buttons can only hold fixed flags\n"));
        QCOMPARE(contents(u"src/a.bas"_s), before);
        QCOMPARE(fix({u"src"_s}).status, 0);
        QCOMPARE(fix({u"--check"_s, u"src"_s}).status, 0);
    }

    void findsModulesNotOthers()
    {
        QTemporaryDir dir;
        const QByteArray code = "MsgBox \"x\", 16\n";
        for (const QString &name : {u"a/M1.BAS"_s, u"a/b/Form1.Frm"_s, u"a/c.cls"_s, u"a/d.ctl"_s, u"a/e.dsr"_s,
                                    u"a/f.dob"_s, u"a/g.pag"_s, u"a/notes.txt"_s, u"a/x.bas.orig"_s, u"other/z.bas"_s})
            write(dir.filePath(name), code);
        QVERIFY(QFile::link(dir.filePath(u"other"_s), dir.filePath(u"a/linked"_s)));
        const Run done = fix({dir.filePath(u"a"_s)});
        QCOMPARE(done.status, 0);
        QVERIFY2(done.err.contains("7 files read, 7 changed"), done.err.constData());
        QCOMPARE(contents(dir.filePath(u"a/notes.txt"_s)), code);
        QCOMPARE(contents(dir.filePath(u"other/z.bas"_s)), code);
        // Named on the command line, any file is read.
        QCOMPARE(fix({dir.filePath(u"a/notes.txt"_s)}).status, 0);
        QCOMPARE(contents(dir.filePath(u"a/notes.txt"_s)), QByteArray("MsgBox \"x\", vbCritical\n"));
    }

    void badFilesAreNamedAndTheRestGoesOn()
    {
        QTemporaryDir dir;
        write(dir.filePath(u"good.bas"_s), "MsgBox \"x\", 32\n");
        const Run done = fix({dir.filePath(u"missing.bas"_s), dir.filePath(u"good.bas"_s)});
        QCOMPARE(done.status, 2);
        QVERIFY(done.err.contains("missing.bas: No such file or directory"));
        QCOMPARE(contents(dir.filePath(u"good.bas"_s)), QByteArray("MsgBox \"x\", vbQuestion\n"));

        write(dir.filePath(u"utf16.bas"_s), "\xff\xfeM\0");
        const Run bad = fix({u"--encoding"_s, u"no-such-encoding"_s, dir.filePath(u"utf16.bas"_s)});
        QCOMPARE(bad.status, 2);
        QCOMPARE(fix({u"--check"_s, u"--diff"_s, dir.path()}).status, 2);
        QCOMPARE(fix({u"--dialect"_s, u"gw"_s, dir.path()}).status, 2);
    }

    void namedEncoding()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ru.bas"_s);
        const QByteArray before = "MsgBox \"\xcf\xf0\xe8\xe2\xe5\xf2\", 64\r\n";
        write(path, before);
        QCOMPARE(fix({u"--encoding"_s, u"windows-1251"_s, path}).status, 0);
        QCOMPARE(contents(path), QByteArray("MsgBox \"\xcf\xf0\xe8\xe2\xe5\xf2\", vbInformation\r\n"));
    }

    // The diff gives what the in-place run gives, through patch -p1 and
    // git apply.
    void diffAppliesAsInPlace()
    {
        const QString patch = QStandardPaths::findExecutable(u"patch"_s);
        if (patch.isEmpty())
            QSKIP("patch is not installed");
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        write(u"p/m.frm"_s, form);
        write(u"p/n.bas"_s, "MsgBox \"a\", 1\rMsgBox \"b\", 2\r");
        write(u"p/o.bas"_s, "x = 1\nMsgBox \"a\", 4\nx = 2\nx = 3\nx = 4\nx = 5\nx = 6\nx = 7\nx = 8\nMsgBox \"b\", 5");
        const Run diff = fix({u"--diff"_s, u"p"_s});
        QCOMPARE(diff.status, 0);
        QVERIFY(diff.out.startsWith("diff --git a/p/m.frm b/p/m.frm\n--- a/p/m.frm\n+++ b/p/m.frm\n"));
        QDir(u"copy"_s).mkpath(u"p"_s);
        for (const QString &name : {u"p/m.frm"_s, u"p/n.bas"_s, u"p/o.bas"_s})
            write(u"copy/"_s + name, contents(name));
        QProcess process;
        process.setWorkingDirectory(dir.filePath(u"copy"_s));
        process.start(patch, {u"-p1"_s, u"--quiet"_s});
        process.write(diff.out);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(fix({u"p"_s}).status, 0);
        for (const QString &name : {u"p/m.frm"_s, u"p/n.bas"_s, u"p/o.bas"_s})
            QCOMPARE(contents(u"copy/"_s + name), contents(name));
    }

    // GNU's messages for a command line that cannot be taken.
    void optionErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown") << QStringList{u"--bogus"_s, u"src"_s} << u"unrecognized option '--bogus'"_s;
        QTest::newRow("unknown short") << QStringList{u"-x"_s, u"src"_s} << u"invalid option -- 'x'"_s;
        QTest::newRow("no value") << QStringList{u"--check"_s, u"--format"_s} << u"option '--format' requires an argument"_s;
        QTest::newRow("a flag with a value") << QStringList{u"--check=yes"_s, u"src"_s}
                                             << u"option '--check' doesn't allow an argument"_s;
        QTest::newRow("a bad format") << QStringList{u"--check"_s, u"--format=xml"_s, u"src"_s}
                                      << u"invalid argument 'xml' for '--format'"_s;
        QTest::newRow("a bad dialect") << QStringList{u"--dialect"_s, u"gw"_s, u"src"_s}
                                       << u"invalid argument 'gw' for '--dialect'"_s;
        QTest::newRow("format without check") << QStringList{u"--format"_s, u"github"_s, u"src"_s}
                                              << u"option '--format' goes with '--check'"_s;
        QTest::newRow("twice") << QStringList{u"--dialect=vb"_s, u"--dialect=vb"_s, u"src"_s}
                               << u"option '--dialect' is given twice"_s;
        QTest::newRow("no path") << QStringList{u"--check"_s} << u"missing file operand"_s;
    }
    void optionErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run done = fix(arguments);
        QCOMPARE(done.status, 2);
        QVERIFY(done.out.isEmpty());
        const QStringList lines = QString::fromUtf8(done.err).split(u'\n');
        QCOMPARE(lines.first(), u"quillkit98: "_s + message);
        QCOMPARE(lines.value(lines.size() - 2), u"Try 'quillkit98 fix --help' for more information."_s);
    }

#if defined(Q_OS_WIN)
    // A rewritten file keeps its attributes as Windows' own replacing keeps
    // them, marked for the archive as after any change; a read-only file is
    // refused and stays as it was.
    void keepsAttributes_data()
    {
        QTest::addColumn<int>("attributes");
        QTest::addColumn<int>("expected"); // -1: refused
        QTest::newRow("plain") << int(FILE_ATTRIBUTE_NORMAL) << int(FILE_ATTRIBUTE_ARCHIVE);
        QTest::newRow("hidden") << int(FILE_ATTRIBUTE_HIDDEN) << int(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
        QTest::newRow("hidden system") << int(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)
                                       << int(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
        QTest::newRow("read-only") << int(FILE_ATTRIBUTE_READONLY) << -1;
    }
    void keepsAttributes()
    {
        QFETCH(int, attributes);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"m.bas"_s);
        const QByteArray before = "MsgBox \"x\", 36\r\n";
        write(path, before);
        const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
        QVERIFY(SetFileAttributesW(native.c_str(), DWORD(attributes)));
        const DWORD given = GetFileAttributesW(native.c_str());
        const Run done = fix({path});
        constexpr DWORD shown = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                                | FILE_ATTRIBUTE_ARCHIVE;
        if (expected < 0) {
            const DWORD left = GetFileAttributesW(native.c_str());
            // Writable again, so that the folder can go.
            QVERIFY(SetFileAttributesW(native.c_str(), FILE_ATTRIBUTE_NORMAL));
            QCOMPARE(done.status, 2);
            QVERIFY2(done.err.contains(": Permission denied\n"), done.err.constData());
            QCOMPARE(contents(path), before);
            QCOMPARE(left, given);
        } else {
            QCOMPARE(done.status, 0);
            QCOMPARE(contents(path), QByteArray("MsgBox \"x\", vbYesNo + vbQuestion\r\n"));
            QCOMPARE(GetFileAttributesW(native.c_str()) & shown, DWORD(expected));
            // Nothing left beside it.
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{u"m.bas"_s});
        }
    }

    // A device is one error, never a wait.
    void refusesWhatIsNoRegularFile()
    {
        const Run done = fix({u"--check"_s, u"NUL"_s});
        QCOMPARE(done.status, 2);
        QVERIFY2(done.err.startsWith("quillkit98: NUL: Not a regular file\n"), done.err.constData());
    }
#else
    // A rewritten file keeps its mode, read-only included, and run as root
    // its owner and group.
    void keepsModeAndOwner_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("read-only") << 0444;
        QTest::newRow("owner only") << 0600;
        QTest::newRow("executable, group-writable") << 0775;
    }
    void keepsModeAndOwner()
    {
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"m.bas"_s);
        write(path, "MsgBox \"x\", 36\n");
        const QByteArray native = QFile::encodeName(path);
        const bool root = ::geteuid() == 0;
        // Someone else's file, as root sees many.
        if (root)
            QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
        QCOMPARE(::chmod(native.constData(), mode_t(mode)), 0);
        struct stat before;
        QCOMPARE(::stat(native.constData(), &before), 0);
        QCOMPARE(fix({path}).status, 0);
        QCOMPARE(contents(path), QByteArray("MsgBox \"x\", vbYesNo + vbQuestion\n"));
        struct stat after;
        QCOMPARE(::stat(native.constData(), &after), 0);
        QVERIFY(after.st_ino != before.st_ino); // replaced whole, not written over
        QCOMPARE(after.st_mode & 07777, mode_t(mode));
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"m.bas"_s});
    }

    // A FIFO or a device is one error, never a wait; in a folder it is no
    // module.
    void refusesWhatIsNoRegularFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(u"pipe.bas"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        write(dir.filePath(u"good.bas"_s), "MsgBox \"x\", 48\n");
        for (const QString &path : {fifo, u"/dev/null"_s}) {
            const Run done = fix({u"--check"_s, path});
            QCOMPARE(done.status, 2);
            QCOMPARE(done.err.count("\n"), 2); // the error and the summary
            QVERIFY2(done.err.startsWith(QByteArray("quillkit98: " + QFile::encodeName(path) + ": Not a regular file\n")),
                     done.err.constData());
        }
        const Run folder = fix({dir.path()});
        QCOMPARE(folder.status, 0);
        QVERIFY2(folder.err.contains("1 file read, 1 changed"), folder.err.constData());
    }

#endif

#if defined(Q_OS_UNIX)
    // Copies with cp -a and makes a symbolic link.
    // Each file once, however it was named; a link as the file it points
    // to; names that need quoting or have spaces: patch -p1 and git apply
    // give what the in-place run gives.
    void diffsEveryFileOnceForPatchAndGit()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        for (int k = 0; k < awkwardNames.size(); ++k)
            write(awkwardNames[k], awkwardModule(k));
        QVERIFY(QFile::link(u"My Form.frm"_s, u"p/link.frm"_s));
        const Run diff = fix({u"--diff"_s, u"p"_s, u"p/My Form.frm"_s, u"p/link.frm"_s, u"p/./sub dir/x.cls"_s, u"p"_s});
        QCOMPARE(diff.status, 0);
        QCOMPARE(diff.out.count("\ndiff --git ") + (diff.out.startsWith("diff --git ") ? 1 : 0), awkwardNames.size());
        QVERIFY2(!diff.out.contains("link.frm"), diff.out.constData());
        for (const QString &copy : {u"patch"_s, u"git"_s}) {
            QDir().mkpath(copy);
            copyTree(u"p"_s, copy + u"/p"_s);
        }
        const QString patch = QStandardPaths::findExecutable(u"patch"_s);
        const QString git = QStandardPaths::findExecutable(u"git"_s);
        if (!patch.isEmpty())
            QCOMPARE(runIn(dir.filePath(u"patch"_s), patch, {u"-p1"_s, u"--quiet"_s}, diff.out), 0);
        if (!git.isEmpty())
            QCOMPARE(runIn(dir.filePath(u"git"_s), git, {u"apply"_s, u"-p1"_s, u"-"_s}, diff.out), 0);
        QCOMPARE(fix({u"p"_s, u"p/link.frm"_s}).status, 0);
        QVERIFY(QFileInfo(u"p/link.frm"_s).isSymLink());
        for (const QString &name : awkwardNames) {
            QVERIFY(contents(name) != awkwardModule(int(awkwardNames.indexOf(name))));
            if (!patch.isEmpty())
                QCOMPARE(contents(u"patch/"_s + name), contents(name));
            if (!git.isEmpty())
                QCOMPARE(contents(u"git/"_s + name), contents(name));
        }
        if (patch.isEmpty() || git.isEmpty())
            QSKIP("patch or git is not installed");
    }
#endif

    // --check: 1 only when something would change; output that cannot be
    // written is 2; the summary counts in words.
    void checkStatuses_data()
    {
        QTest::addColumn<QByteArrayList>("modules");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<int>("status");
        QTest::newRow("clean") << QByteArrayList{"MsgBox \"x\", vbYesNo\n"} << true << 0;
        QTest::newRow("notes only") << QByteArrayList{"MsgBox \"x\", n + 4\n", "MsgBox \"x\", 7\n"} << true << 0;
        QTest::newRow("a change") << QByteArrayList{"MsgBox \"x\", 4\n"} << true << 1;
        QTest::newRow("the output fails") << QByteArrayList{"MsgBox \"x\", 4\n"} << false << 2;
    }
    void checkStatuses()
    {
        QFETCH(QByteArrayList, modules);
        QFETCH(bool, writable);
        QFETCH(int, status);
        QTemporaryDir dir;
        for (int k = 0; k < modules.size(); ++k)
            write(dir.filePath(u"m%1.bas"_s.arg(k)), modules[k]);
        QBuffer out;
        out.open(writable ? QIODevice::WriteOnly : QIODevice::ReadOnly);
        const Run done = fixWith({u"--check"_s, dir.path()}, {}, out);
        QCOMPARE(done.status, status);
        const QByteArray files = modules.size() == 1 ? QByteArray("1 file read")
                                                     : QByteArray(QByteArray::number(modules.size()) + " files read");
        QVERIFY2(done.err.contains(files), done.err.constData());
    }

    // One line per change in every format, whatever the file's name: a
    // line break or a %2 in it stays in its place.
    void reportsOneLinePerChangeWhateverTheName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        for (const QString &format : {u"text"_s, u"github"_s}) {
            QTest::addRow("percent, %s", qPrintable(format)) << u"50%2 off.bas"_s << format;
            QTest::addRow("comma, %s", qPrintable(format)) << u"a,b.bas"_s << format;
#if defined(Q_OS_UNIX)
            // Names that Windows does not take.
            QTest::addRow("line break, %s", qPrintable(format)) << u"line\nbreak.bas"_s << format;
            QTest::addRow("comma and colon, %s", qPrintable(format)) << u"a,b:c.bas"_s << format;
#endif
        }
    }
    void reportsOneLinePerChangeWhateverTheName()
    {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        write(name, "MsgBox \"x\", 36\n");
        const Run done = fix({u"--check"_s, u"--format"_s, format, name});
        QCOMPARE(done.status, 1);
        QCOMPARE(done.out.count('\n'), 1);
        QVERIFY2(done.out.contains("1:13") || done.out.contains("line=1,col=13"), done.out.constData());
        if (format == u"text"_s && !name.contains(u'\n'))
            QVERIFY(done.out.startsWith(QByteArray(name.toUtf8() + ':')));
    }

    // Standard input: the fixed text to standard output, reports as "-".
    void standardInput()
    {
        const QByteArray module = "Sub A()\r\n  MsgBox \"x\", 36\r\nEnd Sub\r\n";
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        const Run fixed = fixWith({u"-"_s}, module, out);
        QCOMPARE(fixed.status, 0);
        QTemporaryDir dir;
        write(dir.filePath(u"m.bas"_s), module);
        QCOMPARE(fix({dir.filePath(u"m.bas"_s)}).status, 0);
        QCOMPARE(fixed.out, contents(dir.filePath(u"m.bas"_s)));
        QBuffer report;
        report.open(QIODevice::WriteOnly);
        const Run checked = fixWith({u"--check"_s, u"-"_s}, module, report);
        QCOMPARE(checked.status, 1);
        QVERIFY2(checked.out.startsWith("-:2:15: 36 -> "), checked.out.constData());
    }

    // GitHub's workflow commands point where the text report does, and
    // span exactly the number that changes.
    void githubReport()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        for (int k = 0; k < awkwardNames.size(); ++k)
            write(awkwardNames[k], awkwardModule(k) + "MsgBox \"n\", n + 16\r\n");
        const Run text = fix({u"--check"_s, u"p"_s});
        const Run github = fix({u"--check"_s, u"--format"_s, u"github"_s, u"p"_s});
        QCOMPARE(github.status, 1);
        const QList<QByteArray> textLines = text.out.trimmed().split('\n');
        const QList<QByteArray> lines = github.out.trimmed().split('\n');
        QCOMPARE(lines.size(), textLines.size());
        const QRegularExpression command(u"^::(warning|notice) file=([^,]*),line=(\\d+),col=(\\d+)(?:,endColumn=(\\d+))?::(.*)$"_s);
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const QRegularExpressionMatch match = command.match(QString::fromUtf8(lines[k]));
            QVERIFY2(match.hasMatch(), lines[k].constData());
            const QString file = QUrl::fromPercentEncoding(match.captured(2).toUtf8());
            const int line = match.captured(3).toInt();
            const int column = match.captured(4).toInt();
            QVERIFY(textLines[k].startsWith(u"%1:%2:%3: "_s.arg(file).arg(line).arg(column).toUtf8()));
            if (match.captured(1) == u"notice"_s) {
                QVERIFY(textLines[k].contains(": note: "));
                continue;
            }
            // Columns count characters, as an editor does.
            const QList<uint> characters = QString::fromUtf8(contents(file).split('\n').at(line - 1)).toUcs4();
            QString changed;
            for (const uint c : characters.mid(column - 1, match.captured(5).toInt() - column))
                changed += QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
            QVERIFY(match.captured(6).startsWith(changed + u" -> "_s));
        }
    }

    // SARIF: its fixes, applied byte for byte, give the in-place result;
    // regions count UTF-16 code units; URIs are relative and %-encoded; and
    // Microsoft's SARIF Multitool finds no error in it.
    void sarifReport()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        for (int k = 0; k < awkwardNames.size(); ++k)
            write(awkwardNames[k], awkwardModule(k) + "MsgBox \"n\", n + 16\r\n");
        write(u"p/old.bas"_s, form);
        const Run sarif = fix({u"--check"_s, u"--format"_s, u"sarif"_s, u"p"_s});
        QCOMPARE(sarif.status, 1);
        QJsonParseError error;
        const QJsonObject log = QJsonDocument::fromJson(sarif.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(log.value(u"version"_s).toString(), u"2.1.0"_s);
        const QJsonObject run = log.value(u"runs"_s).toArray().first().toObject();
        QCOMPARE(run.value(u"tool"_s).toObject().value(u"driver"_s).toObject().value(u"name"_s).toString(), u"quillkit98"_s);
        QHash<QString, QByteArray> patched;
        QHash<QString, qsizetype> shift;
        int notes = 0;
        for (const QJsonValue &value : run.value(u"results"_s).toArray()) {
            const QJsonObject result = value.toObject();
            const QJsonObject location = result.value(u"locations"_s).toArray().first().toObject()
                                             .value(u"physicalLocation"_s).toObject();
            const QString uri = location.value(u"artifactLocation"_s).toObject().value(u"uri"_s).toString();
            QVERIFY2(!uri.contains(u' ') && !uri.startsWith(u'/'), qPrintable(uri));
            const QString file = QUrl::fromPercentEncoding(uri.toUtf8());
            QVERIFY2(QFile::exists(file), qPrintable(file));
            if (result.value(u"level"_s).toString() == u"note"_s) {
                ++notes;
                continue;
            }
            const QJsonObject region = location.value(u"region"_s).toObject();
            if (file != u"p/old.bas"_s) {
                const QString line = QString::fromUtf8(contents(file).split('\n').at(region.value(u"startLine"_s).toInt() - 1));
                const int from = region.value(u"startColumn"_s).toInt() - 1;
                const QString original = line.mid(from, region.value(u"endColumn"_s).toInt() - 1 - from);
                QVERIFY(result.value(u"message"_s).toObject().value(u"text"_s).toString().startsWith(original + u" -> "_s));
            }
            if (!patched.contains(file))
                patched.insert(file, contents(file));
            for (const QJsonValue &change : result.value(u"fixes"_s).toArray().first().toObject()
                                                 .value(u"artifactChanges"_s).toArray()) {
                for (const QJsonValue &replacement : change.toObject().value(u"replacements"_s).toArray()) {
                    const QJsonObject deleted = replacement.toObject().value(u"deletedRegion"_s).toObject();
                    const qsizetype offset = deleted.value(u"byteOffset"_s).toInteger() + shift.value(file);
                    const qsizetype length = deleted.value(u"byteLength"_s).toInteger();
                    const QByteArray inserted = replacement.toObject().value(u"insertedContent"_s).toObject()
                                                    .value(u"text"_s).toString().toUtf8();
                    patched[file].replace(offset, length, inserted);
                    shift[file] += inserted.size() - length;
                }
            }
        }
        QCOMPARE(notes, int(awkwardNames.size()));
        QCOMPARE(fix({u"p"_s}).status, 0);
        for (auto it = patched.cbegin(); it != patched.cend(); ++it)
            QCOMPARE(it.value(), contents(it.key()));
        QCOMPARE(patched.size(), awkwardNames.size() + 1);

        QString multitool = QStandardPaths::findExecutable(u"sarif-multitool-linux"_s);
        if (multitool.isEmpty())
            QSKIP("SARIF Multitool is not installed (scripts/deps installs it)");
        write(u"report.sarif"_s, sarif.out);
        QByteArray output;
        const int status = runIn(dir.path(), multitool,
                                 {u"validate"_s, u"report.sarif"_s, u"--output"_s, u"validation.sarif"_s, u"--log"_s, u"ForceOverwrite"_s},
                                 {}, &output);
        const QJsonArray findings = QJsonDocument::fromJson(contents(u"validation.sarif"_s)).object()
                                        .value(u"runs"_s).toArray().first().toObject().value(u"results"_s).toArray();
        QStringList errors;
        for (const QJsonValue &finding : findings) {
            if (finding.toObject().value(u"level"_s).toString(u"warning"_s) == u"error"_s)
                errors << QString::fromUtf8(QJsonDocument(finding.toObject()).toJson(QJsonDocument::Compact));
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        QVERIFY2(status == 0, output.constData());
    }
};

QTEST_GUILESS_MAIN(TestFixCommand)
#include "tst_fixcommand.moc"
