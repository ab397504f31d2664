// SPDX-License-Identifier: GPL-3.0-or-later
// A second real editor: Emacs in batch mode loads README.md's eglot setup
// as written there, opens a module and saves it; fixOnSave must make the
// server's willSaveWaitUntil answer leave exactly the bytes `fix` writes.

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

// The Emacs setup of README.md, verbatim.
QByteArray readmeSetup()
{
    QFile readme(QStringLiteral(QUILLKIT_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = readme.readAll();
    const qsizetype section = text.indexOf("\nEmacs (");
    const qsizetype start = text.indexOf("```elisp\n", section);
    const qsizetype end = text.indexOf("\n```", start);
    if (section < 0 || start < 0 || end < 0)
        return {};
    return text.mid(start + 9, end + 1 - (start + 9));
}

// Before the setup, what Emacs does when it starts for a user: it makes the
// installed packages (Debian's elpa-eglot) loadable.
const char *const Prelude = "(package-activate-all)\n";

// After it: open, connect, save, quit. eglot-ensure connects after the next
// command, which batch mode never runs: the hook is run by hand.
const char *const Driver = R"el(
(unless (fboundp 'eglot-ensure) (message "no eglot") (kill-emacs 77))
(find-file (getenv "QUILLKIT98_TEST_FILE"))
(unless (eq major-mode 'basic-module-mode) (message "mode %s" major-mode) (kill-emacs 3))
(run-hooks 'post-command-hook)
(unless (bound-and-true-p eglot--managed-mode) (message "not managed") (kill-emacs 4))
(set-buffer-modified-p t)
(save-buffer)
(kill-emacs 0)
)el";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestLspEmacs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readmeSetupInEmacs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("module");
        QTest::newRow("CR LF, upper-case suffix")
            << u"MODULE1.BAS"_s
            << QByteArray(
                   "Attribute VB_Name = \"Module1\"\r\nSub A()\r\n  If MsgBox(\"Save?\", 3 + 48) = 6 Then Beep\r\n"
                   "  MsgBox \"x\", 16\r\nEnd Sub\r\n");
        QTest::newRow("LF, a note beside")
            << u"Report.cls"_s << QByteArray("Sub A(n)\n  MsgBox \"x\", n\n  MsgBox \"y\", 292\nEnd Sub\n");
        QTest::newRow("nothing to name") << u"Form1.frm"_s
                                         << QByteArray("Sub A()\n  MsgBox \"x\", vbOKOnly\nEnd Sub\n");
    }
    void readmeSetupInEmacs()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, module);
        const QString emacs = QStandardPaths::findExecutable(u"emacs"_s);
        if (emacs.isEmpty())
            QSKIP("Emacs is not installed; scripts/deps installs it (emacs-nox, elpa-eglot)");
        const QString program = qEnvironmentVariable("QUILLKIT98");
        if (program.isEmpty() || !QFileInfo(program).isExecutable())
            QSKIP("QUILLKIT98 names no program to start; run the test through ctest");
        const QByteArray setup = readmeSetup();
        QVERIFY2(!setup.isEmpty(), "README.md has no Emacs setup");

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString bin = folder.filePath(u"bin"_s);
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QFile::link(program, QDir(bin).filePath(u"quillkit98"_s)));
        const QString edited = folder.filePath(u"project/"_s + name);
        const QString fixedPath = folder.filePath(u"fixed/"_s + name);
        QVERIFY(writeFile(edited, module) && writeFile(fixedPath, module));
        QCOMPARE(run({u"fix"_s, fixedPath}).status, 0);
        const QString prelude = folder.filePath(u"prelude.el"_s);
        const QString init = folder.filePath(u"init.el"_s);
        const QString driver = folder.filePath(u"driver.el"_s);
        QVERIFY(writeFile(prelude, Prelude) && writeFile(init, setup) && writeFile(driver, Driver));

        QProcess editor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // quillkit98 from the PATH, as installed; Emacs's own programs beside it.
        environment.insert(u"PATH"_s, bin + u":/usr/bin:/bin"_s);
        environment.insert(u"QUILLKIT98_TEST_FILE"_s, edited);
        environment.insert(u"HOME"_s, folder.path()); // nothing of the user's
        editor.setProcessEnvironment(environment);
        editor.setWorkingDirectory(QFileInfo(edited).path());
        editor.setProcessChannelMode(QProcess::MergedChannels);
        editor.start(emacs, {u"--batch"_s, u"-l"_s, prelude, u"-l"_s, init, u"-l"_s, driver});
        QVERIFY(editor.waitForFinished(120000));
        const QByteArray said = editor.readAll();
        if (editor.exitCode() == 77)
            QSKIP("Emacs has no eglot; scripts/deps installs it (elpa-eglot)");
        QVERIFY2(editor.exitStatus() == QProcess::NormalExit && editor.exitCode() == 0, said.constData());
        QCOMPARE(contents(edited), contents(fixedPath));
    }
};

QTEST_GUILESS_MAIN(TestLspEmacs)
#include "tst_lspemacs.moc"
