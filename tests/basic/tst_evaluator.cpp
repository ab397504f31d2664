// SPDX-License-Identifier: GPL-3.0-or-later
// A control's settings as the evaluator gives them at a statement: each
// setting with its text, or the refusal that says why one is not sure.

#include "basic/Evaluator.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestEvaluator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settings_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("result"); // property=text …, or the refusal's message
        QTest::newRow("set, then shown") << u"dlg.Filter = \"a\"\ndlg.Flags = \"b\"\ndlg.ShowOpen"_s
                                         << u"filter=a flags=b"_s;
        QTest::newRow("the last setting counts") << u"dlg.Filter = \"a\"\ndlg.Filter = \"b\"\ndlg.ShowOpen"_s
                                                 << u"filter=b"_s;
        QTest::newRow("in a With") << u"With dlg\n.Filter = \"a\"\nEnd With\ndlg.ShowOpen"_s << u"filter=a"_s;
        QTest::newRow("set after the statement") << u"dlg.ShowOpen\ndlg.Filter = \"a\""_s << u""_s;
        QTest::newRow("under a condition")
            << u"If True Then dlg.Filter = \"a\"\ndlg.ShowOpen"_s
            << u"dlg.Filter is set on line 1 under a condition that starts on line 1, which may not hold"_s;
        QTest::newRow("given to a call") << u"dlg.Filter = \"a\"\nF dlg\ndlg.ShowOpen"_s
                                         << u"dlg is given to other code on line 2, which may change its settings"_s;
        QTest::newRow("set in another procedure")
            << u"Sub A()\ndlg.Filter = \"a\"\nEnd Sub\nSub B()\ndlg.Filter = \"b\"\ndlg.ShowOpen\nEnd Sub"_s
            << u"dlg.filter is set in another procedure, on line 2"_s;
        // Statements the module takes for another kind (Open …, Name …)
        // record no change of the property: refused, not read past the
        // start of its changes.
        QTest::newRow("a control named Open") << u"Open.Filter = \"a\"\nOpen.ShowOpen"_s
                                              << u"Open.Filter is set on line 1 in a way this program cannot follow"_s;
        QTest::newRow("a control named Name")
            << u"Name.Flags = \"a\"\nName.ShowOpen"_s
            << u"Name.Flags is set on line 1 in a way this program cannot follow"_s;
    }
    void settings()
    {
        QFETCH(QString, code);
        QFETCH(QString, result);
        const basic::Module module(code);
        qint32 at = 0;
        while (at < qint32(module.statements().size())
               && !module.tokens().text(module.statements()[std::size_t(at)].begin, module.statements()[std::size_t(at)].end).contains(u"ShowOpen"))
            ++at;
        QVERIFY(at < qint32(module.statements().size()));
        const QString control = module.tokens().text(module.statements()[std::size_t(at)].begin).toString().toLower();
        basic::Evaluator evaluator(module, 1000);
        evaluator.runTo(at);
        QStringList found;
        try {
            for (const basic::Evaluator::Setting &setting : evaluator.settingsOf(control, at))
                found << setting.property + u'=' + evaluator.settingText(setting, u"the value"_s);
        } catch (const basic::Refusal &refusal) {
            found = QStringList{refusal.message};
        }
        QCOMPARE(found.join(u' '), result);
    }
};

QTEST_GUILESS_MAIN(TestEvaluator)
#include "tst_evaluator.moc"
