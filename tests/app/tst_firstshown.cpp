// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDateTime>
#include <QProcess>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

// The start-up benchmark's hook, on the real program: with the variable set,
// the main window is shown, reported once, and the program ends by itself.
class TestFirstShown : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportsTheWindowShownAndEnds();
};

void TestFirstShown::reportsTheWindowShownAndEnds()
{
    const QString program = qEnvironmentVariable("QUILLKIT98");
    if (program.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"QUILLKIT98_EXIT_WHEN_SHOWN"_s, u"1"_s);
    process.setProcessEnvironment(env);

    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    process.start(program, {u"--no-splash"_s});
    QVERIFY(process.waitForFinished(60000));
    const qint64 after = QDateTime::currentMSecsSinceEpoch();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);

    // One line: "shown", the wall clock in microseconds, which the
    // benchmark subtracts from the moment it started the process, and the
    // processor time used until then, which cannot exceed the time the
    // process ran on every core.
    const QByteArray line = process.readAllStandardOutput();
    QVERIFY(line.endsWith('\n'));
    const QList<QByteArray> words = line.trimmed().split(' ');
    QCOMPARE(words.size(), 3);
    QCOMPARE(words.at(0), QByteArray("shown"));
    bool ok = false;
    const qint64 shown = words.at(1).toLongLong(&ok);
    QVERIFY(ok);
    QVERIFY2(shown >= before * 1000 && shown < (after + 1) * 1000, words.at(1).constData());
    const qint64 processor = words.at(2).toLongLong(&ok);
    QVERIFY(ok);
    QVERIFY2(processor > 0 && processor <= (after + 1 - before) * 1000 * QThread::idealThreadCount(),
             words.at(2).constData());
}

QTEST_GUILESS_MAIN(TestFirstShown)
#include "tst_firstshown.moc"
