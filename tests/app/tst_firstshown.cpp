// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDateTime>
#include <QProcess>
#include <QTest>

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

    // One line, "shown" and the wall clock in microseconds, which the
    // benchmark subtracts from the moment it started the process.
    const QList<QByteArray> words = process.readAllStandardOutput().split(' ');
    QCOMPARE(words.size(), 2);
    QCOMPARE(words.at(0), QByteArray("shown"));
    QVERIFY(words.at(1).endsWith('\n'));
    bool ok = false;
    const qint64 shown = words.at(1).trimmed().toLongLong(&ok);
    QVERIFY(ok);
    QVERIFY2(shown >= before * 1000 && shown < (after + 1) * 1000, words.at(1).constData());
}

QTEST_GUILESS_MAIN(TestFirstShown)
#include "tst_firstshown.moc"
