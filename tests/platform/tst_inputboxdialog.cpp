// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InputBoxDialog.h"
#include "platform/PromptView.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QPushButton *button(const InputBoxDialog &dialog, QDialogButtonBox::StandardButton which)
{
    return dialog.buttonBox()->button(which);
}

} // namespace

class TestInputBoxDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsItsArguments_data();
    void showsItsArguments();
    void answerDependsOnHowItCloses_data();
    void answerDependsOnHowItCloses();
    void runOpensTheHelpFileThroughTheShell_data();
    void runOpensTheHelpFileThroughTheShell();
};

void TestInputBoxDialog::showsItsArguments_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("withHelp");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CR LF breaks the line") << u"First\r\nSecond"_s << true << u"First\nSecond"_s;
    QTest::newRow("lone LF and CR too") << u"a\nb\rc"_s << false << u"a\nb\nc"_s;
    QTest::newRow("markup is text") << u"<b>not bold</b> & \"quoted\""_s << true
                                    << u"<b>not bold</b> & \"quoted\""_s;
}

void TestInputBoxDialog::showsItsArguments()
{
    QFETCH(QString, prompt);
    QFETCH(bool, withHelp);
    QFETCH(QString, shown);
    const InputBoxDialog dialog(prompt, u"Say \"hi\""_s, u"the default"_s, withHelp);
    QCOMPARE(dialog.prompt()->text(), shown);
    QVERIFY(!dialog.prompt()->acceptRichText());
    QCOMPARE(dialog.windowTitle(), u"Say \"hi\""_s);
    QCOMPARE(dialog.answerEdit()->text(), u"the default"_s);
    QCOMPARE(dialog.answerEdit()->selectedText(), u"the default"_s);
    QVERIFY(button(dialog, QDialogButtonBox::Ok));
    QVERIFY(button(dialog, QDialogButtonBox::Cancel));
    QCOMPARE(button(dialog, QDialogButtonBox::Help) != nullptr, withHelp);
    QVERIFY(dialog.isModal());
}

void TestInputBoxDialog::answerDependsOnHowItCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("expected");
    QTest::newRow("OK") << u"ok"_s << u"typed"_s;
    QTest::newRow("Enter") << u"enter"_s << u"typed"_s;
    QTest::newRow("Cancel") << u"cancel"_s << QString();
    QTest::newRow("Escape") << u"escape"_s << QString();
    QTest::newRow("closed") << u"close"_s << QString();
}

void TestInputBoxDialog::answerDependsOnHowItCloses()
{
    QFETCH(QString, how);
    QFETCH(QString, expected);
    InputBoxDialog dialog(u"Prompt"_s, u"Title"_s, u"default"_s, true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Typing replaces the selected default answer.
    QTest::keyClicks(dialog.answerEdit(), u"typed"_s);
    QCOMPARE(dialog.answerEdit()->text(), u"typed"_s);

    if (how == u"ok"_s)
        QTest::mouseClick(button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    else if (how == u"enter"_s)
        QTest::keyClick(dialog.answerEdit(), Qt::Key_Return);
    else if (how == u"cancel"_s)
        QTest::mouseClick(button(dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
    else if (how == u"escape"_s)
        QTest::keyClick(dialog.answerEdit(), Qt::Key_Escape);
    else
        dialog.close();

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.answer(), expected);
}

void TestInputBoxDialog::runOpensTheHelpFileThroughTheShell_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("opens");
    QTest::newRow("help file, by button and F1") << u"\\my.hlp"_s << true;
    QTest::newRow("empty name opens nothing") << QString() << false;
}

void TestInputBoxDialog::runOpensTheHelpFileThroughTheShell()
{
    QFETCH(QString, file);
    QFETCH(bool, opens);
    FakePlatform platform;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        InputBoxDialog *shown = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<InputBoxDialog *>(top); box && box->isVisible())
                shown = box;
        }
        // Keys reach the box only once it is active; never leave it open.
        if (!shown || !QTest::qWaitForWindowActive(shown)) {
            if (shown)
                shown->reject();
            return;
        }
        QTest::mouseClick(button(*shown, QDialogButtonBox::Help), Qt::LeftButton);
        QTest::keyClick(shown->answerEdit(), Qt::Key_F1);
        stayedOpen = shown->isVisible();
        QTest::keyClicks(shown->answerEdit(), u"answer"_s);
        QTest::mouseClick(button(*shown, QDialogButtonBox::Ok), Qt::LeftButton);
    });

    const QString answer = runInputBox(platform, nullptr, u"Prompt"_s, u"Title"_s, QString(), HelpTopic{file, 7});

    QVERIFY(stayedOpen);
    QCOMPARE(answer, u"answer"_s);
    QCOMPARE(platform.shellOpenCalls.size(), opens ? 2 : 0);
    if (opens) {
        const FakePlatform::ShellOpenCall &call = platform.shellOpenCalls.first();
        QCOMPARE(call.target, file);
        QCOMPARE(call.directory, platform.appFolder);
    }
}

QTEST_MAIN(TestInputBoxDialog)
#include "tst_inputboxdialog.moc"
