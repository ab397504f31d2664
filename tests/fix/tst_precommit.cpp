// SPDX-License-Identifier: GPL-3.0-or-later
// The hooks of .pre-commit-hooks.yaml as the pre-commit framework runs them
// on `git commit`: staged modules of any name and letter case are caught,
// and what is not staged is neither checked nor touched.

#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Outcome
{
    int status = -1;
    QByteArray output;
};

Outcome runIn(const QString &folder, const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // quillkit98 from this build; pre-commit's cache and git's identity of
    // the test's own.
    const QString program98 = environment.value(u"QUILLKIT98"_s);
    environment.insert(u"PATH"_s, QFileInfo(program98).absolutePath() + u':' + environment.value(u"PATH"_s));
    environment.insert(u"PRE_COMMIT_HOME"_s, QDir(folder).filePath(u"../cache"_s));
    environment.insert(u"GIT_CONFIG_NOSYSTEM"_s, u"1"_s);
    environment.insert(u"GIT_CONFIG_GLOBAL"_s, u"/dev/null"_s);
    for (const QString &who : {u"AUTHOR"_s, u"COMMITTER"_s}) {
        environment.insert(u"GIT_%1_NAME"_s.arg(who), u"Test"_s);
        environment.insert(u"GIT_%1_EMAIL"_s.arg(who), u"test@example.invalid"_s);
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Outcome outcome;
    if (!process.waitForFinished(120000))
        return outcome;
    outcome.output = process.readAll();
    outcome.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return outcome;
}

// What `quillkit98 fix` makes of a module, run on a copy.
QByteArray fixed(const QString &scratch, const QByteArray &module)
{
    const QString path = QDir(scratch).filePath(u"copy.bas"_s);
    write(path, module);
    QProcess::execute(qEnvironmentVariable("QUILLKIT98"), {u"fix"_s, path});
    return contents(path);
}

const QByteArray formModule = "VERSION 5.00\r\nBegin VB.Form frmMain\r\nEnd\r\nPrivate Sub cmdOK_Click()\r\n"
                              "  If MsgBox(\"Sure?\", 36) = 6 Then Unload Me\r\nEnd Sub\r\n";
const QByteArray designerModule = "Sub Run()\r\n  MsgBox \"Done\", 64\r\nEnd Sub\r\n";

} // namespace

class TestPreCommit : public QObject
{
    Q_OBJECT

private:
    QString m_git;
    QString m_preCommit;

private Q_SLOTS:
    void initTestCase()
    {
        m_git = QStandardPaths::findExecutable(u"git"_s);
        m_preCommit = QStandardPaths::findExecutable(u"pre-commit"_s);
        if (m_git.isEmpty() || m_preCommit.isEmpty())
            QSKIP("git or pre-commit is not installed (scripts/deps installs them)");
        QVERIFY(QFileInfo(qEnvironmentVariable("QUILLKIT98")).isExecutable());
    }

    void hooks_data()
    {
        QTest::addColumn<QString>("hook");
        QTest::addColumn<bool>("rewrites");
        QTest::newRow("quillkit98-fix") << u"quillkit98-fix"_s << true;
        QTest::newRow("quillkit98-check") << u"quillkit98-check"_s << false;
    }
    void hooks()
    {
        QFETCH(QString, hook);
        QFETCH(bool, rewrites);
        QTemporaryDir dir;
        const QString hooks = dir.filePath(u"hooks"_s);
        const QString work = dir.filePath(u"work"_s);
        QVERIFY(QDir().mkpath(hooks) && QDir().mkpath(work) && QDir().mkpath(dir.filePath(u"scratch"_s)));
        const auto git = [&](const QString &folder, const QStringList &arguments) {
            return runIn(folder, m_git, arguments);
        };

        // The hooks as a repository of their own, as users name this one.
        QVERIFY(QFile::copy(QStringLiteral(QUILLKIT_SOURCE_DIR "/.pre-commit-hooks.yaml"),
                            QDir(hooks).filePath(u".pre-commit-hooks.yaml"_s)));
        QCOMPARE(git(hooks, {u"init"_s, u"-q"_s}).status, 0);
        QCOMPARE(git(hooks, {u"add"_s, u"."_s}).status, 0);
        QCOMPARE(git(hooks, {u"commit"_s, u"-q"_s, u"-m"_s, u"hooks"_s}).status, 0);
        const QByteArray rev = git(hooks, {u"rev-parse"_s, u"HEAD"_s}).output.trimmed();

        // The user's project: the configuration the README shows.
        QCOMPARE(git(work, {u"init"_s, u"-q"_s}).status, 0);
        write(QDir(work).filePath(u".pre-commit-config.yaml"_s),
              "repos:\n  - repo: " + QFile::encodeName(hooks) + "\n    rev: " + rev + "\n    hooks:\n      - id: "
                  + hook.toUtf8() + "\n");
        QCOMPARE(git(work, {u"add"_s, u"."_s}).status, 0);
        QCOMPARE(git(work, {u"commit"_s, u"-q"_s, u"-m"_s, u"config"_s}).status, 0);
        const Outcome installed = runIn(work, m_preCommit, {u"install"_s});
        QVERIFY2(installed.status == 0, installed.output.constData());

        // A form with a space and upper-case suffix, a designer of mixed
        // case: caught.
        const QString form = QDir(work).filePath(u"My Form.FRM"_s);
        const QString designer = QDir(work).filePath(u"Report.Dsr"_s);
        write(form, formModule);
        write(designer, designerModule);
        QCOMPARE(git(work, {u"add"_s, u"."_s}).status, 0);
        const Outcome caught = git(work, {u"commit"_s, u"-q"_s, u"-m"_s, u"numbers"_s});
        QVERIFY2(caught.status != 0, caught.output.constData());
        const QString scratch = dir.filePath(u"scratch"_s);
        QCOMPARE(contents(form), rewrites ? fixed(scratch, formModule) : formModule);
        QCOMPARE(contents(designer), rewrites ? fixed(scratch, designerModule) : designerModule);
        if (!rewrites)
            QVERIFY2(caught.output.contains("My Form.FRM:5:"), caught.output.constData());
        // Fixed and added, the commit goes through.
        if (!rewrites) {
            QCOMPARE(QProcess::execute(qEnvironmentVariable("QUILLKIT98"), {u"fix"_s, form, designer}), 0);
        }
        QCOMPARE(git(work, {u"add"_s, u"."_s}).status, 0);
        const Outcome passed = git(work, {u"commit"_s, u"-q"_s, u"-m"_s, u"names"_s});
        QVERIFY2(passed.status == 0, passed.output.constData());

        // A clean file staged, a bare number beside it not staged: the
        // commit passes and the unstaged edit stays as it was.
        const QString clean = QDir(work).filePath(u"clean.bas"_s);
        const QByteArray staged = "Sub A()\r\n  MsgBox \"Fine\", vbInformation\r\nEnd Sub\r\n";
        write(clean, staged);
        QCOMPARE(git(work, {u"add"_s, u"clean.bas"_s}).status, 0);
        const QByteArray unstaged = staged + "Sub B()\r\n  MsgBox \"Not yet\", 48\r\nEnd Sub\r\n";
        write(clean, unstaged);
        const Outcome cleanCommit = git(work, {u"commit"_s, u"-q"_s, u"-m"_s, u"clean"_s});
        QVERIFY2(cleanCommit.status == 0, cleanCommit.output.constData());
        QCOMPARE(contents(clean), unstaged);
        QCOMPARE(git(work, {u"show"_s, u"HEAD:clean.bas"_s}).output, staged);
    }
};

QTEST_GUILESS_MAIN(TestPreCommit)
#include "tst_precommit.moc"
