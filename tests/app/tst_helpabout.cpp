// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutBox.h"
#include "app/Vendor.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>

using namespace Qt::StringLiterals;

class TestHelpAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpOpensTheHelpFile_data();
    void helpOpensTheHelpFile();
    void aboutShowsVersionAndLinks();
    void linksOpenTheirTargetsAndLeaveTheBoxOpen_data();
    void linksOpenTheirTargetsAndLeaveTheBoxOpen();
    void okAndEscapeHideTheSameBox_data();
    void okAndEscapeHideTheSameBox();
    void frameCloseDestroysTheBox();
    void closingMainWindowAfterAboutEndsTheProgram();
};

void TestHelpAbout::helpOpensTheHelpFile_data()
{
    QTest::addColumn<bool>("opens");
    QTest::newRow("viewer opens it") << true;
    QTest::newRow("help file missing") << false;
}

void TestHelpAbout::helpOpensTheHelpFile()
{
    QFETCH(bool, opens);
    GuiHarness gui;
    gui.platform.shellOpenSucceeds = opens;
    gui.click(u"cmdHelp"_s);
    QCOMPARE(gui.platform.shellOpenCalls.size(), 1);
    const FakePlatform::ShellOpenCall call = gui.platform.shellOpenCalls.first();
    QCOMPARE(call.target, u"/opt/quillkit98/qkt98.html"_s);
    QCOMPARE(call.directory, u"/opt/quillkit98"_s);
    // Whether it opened or not, nothing more is shown.
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestHelpAbout::aboutShowsVersionAndLinks()
{
    GuiHarness gui;
    gui.whileModal(u"cmdAbout"_s, [&](QWidget *) {
        AboutBox *box = gui.window->aboutBox();
        QVERIFY(box && box->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), box);
        QCOMPARE(box->windowTitle(), u"About Quillkit 98"_s);
        QVERIFY(!(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(box->minimumSize(), box->maximumSize());
        QCOMPARE(box->findChild<QLabel *>(u"lblVersion"_s)->text(), u"Version 98"_s);
        const QString licence = box->findChild<QLabel *>(u"lblLicence"_s)->text();
        QVERIFY2(licence.contains(u"GNU General Public License, version 3 or later"_s), qPrintable(licence));
        QVERIFY(box->findChild<QLabel *>(u"lblLicence"_s)->isVisible());
        QCOMPARE(box->findChild<QPushButton *>(u"cmdOK"_s)->text(), u"&OK"_s);
        for (const QString &name : {u"lblEMail"_s, u"lblWebSite"_s}) {
            auto *link = box->findChild<QLabel *>(name);
            QVERIFY(link);
            QCOMPARE(link->font().pointSizeF(), 8.25);
            QVERIFY(link->font().underline());
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(box->findChild<QLabel *>(u"lblEMail"_s)->text(), vendor::MailAddress.toString());
        QCOMPARE(box->findChild<QLabel *>(u"lblWebSite"_s)->text(), vendor::WebAddress.toString());
        box->reject();
    });
}

void TestHelpAbout::linksOpenTheirTargetsAndLeaveTheBoxOpen_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mail") << u"lblEMail"_s << (u"mailto:"_s + vendor::MailAddress) << false;
    QTest::newRow("web") << u"lblWebSite"_s << vendor::WebAddress.toString() << false;
    QTest::newRow("web by keyboard") << u"lblWebSite"_s << vendor::WebAddress.toString() << true;
}

void TestHelpAbout::linksOpenTheirTargetsAndLeaveTheBoxOpen()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(bool, byKeyboard);
    GuiHarness gui;
    gui.platform.shellOpenSucceeds = false; // no mail program: still nothing shown
    gui.whileModal(u"cmdAbout"_s, [&](QWidget *) {
        AboutBox *box = gui.window->aboutBox();
        auto *label = box->findChild<QLabel *>(link);
        if (byKeyboard) {
            label->setFocus();
            QTest::keyClick(label, Qt::Key_Return);
        } else {
            QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        }
        QCOMPARE(gui.platform.shellOpenCalls.size(), 1);
        const FakePlatform::ShellOpenCall call = gui.platform.shellOpenCalls.first();
        QCOMPARE(call.target, target);
        QCOMPARE(call.directory, gui.platform.appFolder);
        QVERIFY(box->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), box);
        QVERIFY(gui.platform.msgBoxCalls.isEmpty());
        box->reject();
    });
}

void TestHelpAbout::okAndEscapeHideTheSameBox_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("OK") << false;
    QTest::newRow("Escape") << true;
}

void TestHelpAbout::okAndEscapeHideTheSameBox()
{
    QFETCH(bool, escape);
    GuiHarness gui;
    QPointer<AboutBox> first;
    auto dismiss = [&](AboutBox *box) {
        if (escape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(box->findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    };
    gui.whileModal(u"cmdAbout"_s, [&](QWidget *) {
        first = gui.window->aboutBox();
        // Move the focus away, so that the next showing proves OK takes it back.
        first->findChild<QLabel *>(u"lblWebSite"_s)->setFocus();
        dismiss(first);
    });
    QVERIFY(first);
    QVERIFY(first->isHidden());
    gui.whileModal(u"cmdAbout"_s, [&](QWidget *) {
        QCOMPARE(gui.window->aboutBox(), first.data());
        QVERIFY(first->isVisible());
        QCOMPARE(first->focusWidget(), first->findChild<QPushButton *>(u"cmdOK"_s));
        dismiss(first);
    });
    QVERIFY(first && first->isHidden());
}

void TestHelpAbout::frameCloseDestroysTheBox()
{
    GuiHarness gui;
    QPointer<AboutBox> first;
    gui.whileModal(u"cmdAbout"_s, [&](QWidget *) {
        first = gui.window->aboutBox();
        first->close();
    });
    QTRY_VERIFY(first.isNull());
    gui.whileModal(u"cmdAbout"_s, [&](QWidget *) {
        QVERIFY(gui.window->aboutBox());
        QVERIFY(gui.window->aboutBox()->isVisible());
        gui.window->aboutBox()->reject();
    });
}

void TestHelpAbout::closingMainWindowAfterAboutEndsTheProgram()
{
    GuiHarness gui;
    gui.whileModal(u"cmdAbout"_s, [&](QWidget *) { gui.window->aboutBox()->reject(); });
    QVERIFY(GuiHarness::endsTheProgram([&] { gui.window->close(); }));
}

QTEST_MAIN(TestHelpAbout)
#include "tst_helpabout.moc"
