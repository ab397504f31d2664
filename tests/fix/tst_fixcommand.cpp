// SPDX-License-Identifier: GPL-3.0-or-later
// `quillkit98 fix` on real files: what it rewrites, what it leaves byte for
// byte, its modes and exit statuses, and a diff that patch takes.

#include "fix/FixCommand.h"
#include "support/GenerateRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Run fix(const QStringList &arguments)
{
    return run(QStringList{u"fix"_s} + arguments);
}

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
                             "    MSGBOX \"Fertig \x80\", vbOKOnly + vbInformation ' done, 36\r\n"
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
                                            << QByteArray("\xef\xbb\xbfMsgBox \"\xc3\xa9t\xc3\xa9\", vbOKOnly + vbExclamation\n");
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
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
        const Run done = fix({dir.path()});
        QCOMPARE(done.status, 0);
        QCOMPARE(contents(path), after);
        // rw-r-----, as it was.
        QCOMPARE(QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                                                  | QFileDevice::WriteOwner | QFileDevice::ReadOwner),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
        QVERIFY2(done.err.contains("1 files read, 1 changed"), done.err.constData());
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
        write(u"src/a.bas"_s, "Sub A()\r\n  MsgBox \"x\", 36\r\n  MsgBox \"y\", n\r\nEnd Sub\r\n");
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
        QCOMPARE(contents(dir.filePath(u"a/notes.txt"_s)), QByteArray("MsgBox \"x\", vbOKOnly + vbCritical\n"));
    }

    void badFilesAreNamedAndTheRestGoesOn()
    {
        QTemporaryDir dir;
        write(dir.filePath(u"good.bas"_s), "MsgBox \"x\", 32\n");
        const Run done = fix({dir.filePath(u"missing.bas"_s), dir.filePath(u"good.bas"_s)});
        QCOMPARE(done.status, 2);
        QVERIFY(done.err.contains("missing.bas: no such file or folder"));
        QCOMPARE(contents(dir.filePath(u"good.bas"_s)), QByteArray("MsgBox \"x\", vbOKOnly + vbQuestion\n"));

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
        QCOMPARE(contents(path), QByteArray("MsgBox \"\xcf\xf0\xe8\xe2\xe5\xf2\", vbOKOnly + vbInformation\r\n"));
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
        QVERIFY(diff.out.startsWith("--- a/p/m.frm\n+++ b/p/m.frm\n"));
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
};

QTEST_GUILESS_MAIN(TestFixCommand)
#include "tst_fixcommand.moc"
