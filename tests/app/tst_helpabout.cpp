// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutBox.h"
#include "app/Vendor.h"
#include "support/GuiTest.h"

#include "platform/HelpViewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QPointer>
#include <QPushButton>

using namespace Qt::StringLiterals;

class TestHelpAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpOpensTheHelpFile_data();
    void helpOpensTheHelpFile();
    void viewerFollowsLinks_data();
    void viewerFollowsLinks();
    void tableOfContentsListsEverySection();
    void aboutShowsVersionAndLinks();
    void linksAppearOnlyWhenSet_data();
    void linksAppearOnlyWhenSet();
    void linksOpenTheirTargetsAndLeaveTheBoxOpen_data();
    void linksOpenTheirTargetsAndLeaveTheBoxOpen();
    void okAndEscapeHideTheSameBox_data();
    void okAndEscapeHideTheSameBox();
    void frameCloseDestroysTheBox();
    void closingMainWindowAfterAboutEndsTheProgram();
};

// The help page beside the built program; empty when not run by CTest.
QString builtHelpPage()
{
    const QString program = qEnvironmentVariable("QUILLKIT98");
    return program.isEmpty() ? QString() : QFileInfo(program).dir().filePath(u"qkt98.html"_s);
}

HelpViewer *helpViewer(const GuiHarness &gui)
{
    return gui.window->findChild<HelpViewer *>(u"frmHelp"_s);
}

void TestHelpAbout::helpOpensTheHelpFile_data()
{
    QTest::addColumn<bool>("exists");
    // Whether the desktop opens the page when Open in Browser asks it to.
    QTest::addColumn<bool>("browserOpens");
    QTest::newRow("help file missing") << false << false;
    QTest::newRow("viewer, and a browser") << true << true;
    QTest::newRow("viewer, no browser") << true << false;
}

void TestHelpAbout::helpOpensTheHelpFile()
{
    QFETCH(bool, exists);
    QFETCH(bool, browserOpens);
    const QString page = builtHelpPage();
    if (page.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    GuiHarness gui;
    gui.platform.shellOpenSucceeds = browserOpens;
    if (exists)
        gui.platform.documents.insert(gui.window->helpFile(), page);
    gui.click(u"cmdHelp"_s);
    // The program's own page never goes to the desktop unasked: whatever it
    // associates with HTML may be an editor showing the markup.
    QCOMPARE(gui.platform.shellOpenCalls.size(), 0);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    HelpViewer *viewer = helpViewer(gui);
    if (!exists) {
        QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
        QVERIFY2(gui.platform.msgBoxCalls.first().prompt.contains(gui.window->helpFile()),
                 qPrintable(gui.platform.msgBoxCalls.first().prompt));
        QVERIFY(!viewer);
        return;
    }
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(gui.platform.msgBoxCalls.size(), 0);
    QCOMPARE(viewer->browser()->source(), QUrl::fromLocalFile(page));
    QCOMPARE(viewer->windowTitle(), u"Quillkit 98 Help"_s);
    QVERIFY(viewer->browser()->toPlainText().contains(u"Getting started"_s));
    // F1 again brings the same window forward.
    gui.click(u"cmdHelp"_s);
    QCOMPARE(gui.window->findChildren<HelpViewer *>().size(), 1);

    auto *browserButton = viewer->findChild<QPushButton *>(u"cmdOpenInBrowser"_s);
    QVERIFY(browserButton && browserButton->isVisibleTo(viewer));
    QTest::mouseClick(browserButton, Qt::LeftButton);
    QCOMPARE(gui.platform.shellOpenCalls.size(), 1);
    QCOMPARE(gui.platform.shellOpenCalls.first().target, page);
    // Where nothing opens it, the viewer says so and keeps the page, in its
    // own window: a message box there could lead back into help.
    QCOMPARE(gui.platform.msgBoxCalls.size(), 0);
    QCOMPARE(viewer->note().isEmpty(), browserOpens);
    if (!browserOpens)
        QVERIFY2(viewer->note().contains(u"qkt98.html"_s), qPrintable(viewer->note()));
    QVERIFY(viewer->isVisible());
    QCOMPARE(gui.window->findChildren<HelpViewer *>().size(), 1);
}

void TestHelpAbout::viewerFollowsLinks_data()
{
    QTest::addColumn<QString>("link");
    // "" when the viewer itself shows it, else what the desktop is asked to open.
    QTest::addColumn<QString>("desktop");
    QTest::newRow("section") << u"#codeview"_s << QString();
    QTest::newRow("section further down") << u"#licence"_s << QString();
    QTest::newRow("web address") << u"https://www.gnu.org/licenses/gpl-3.0.html"_s
                                 << u"https://www.gnu.org/licenses/gpl-3.0.html"_s;
}

void TestHelpAbout::viewerFollowsLinks()
{
    QFETCH(QString, link);
    QFETCH(QString, desktop);
    const QString page = builtHelpPage();
    if (page.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    GuiHarness gui;
    gui.platform.shellOpenSucceeds = false;
    gui.platform.documents.insert(gui.window->helpFile(), page);
    gui.click(u"cmdHelp"_s);
    HelpViewer *viewer = helpViewer(gui);
    QVERIFY(viewer);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QTextBrowser *browser = viewer->browser();
    QCOMPARE(browser->verticalScrollBar()->value(), 0);

    Q_EMIT browser->anchorClicked(QUrl(link));
    if (desktop.isEmpty()) {
        QCOMPARE(gui.platform.shellOpenCalls.size(), 0);
        QCOMPARE(browser->source().fragment(), link.mid(1));
        QVERIFY(browser->verticalScrollBar()->value() > 0);
    } else {
        QCOMPARE(gui.platform.shellOpenCalls.size(), 1);
        QCOMPARE(gui.platform.shellOpenCalls.last().target, desktop);
        QCOMPARE(browser->source(), QUrl::fromLocalFile(page));
    }
    // Escape closes the viewer, not the program.
    QTest::keyClick(browser, Qt::Key_Escape);
    QTRY_VERIFY(!helpViewer(gui));
    QVERIFY(gui.window->isVisible());
}

void TestHelpAbout::tableOfContentsListsEverySection()
{
    const QString page = builtHelpPage();
    if (page.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    QFile file(page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    const qsizetype navStart = html.indexOf(u"<nav>"_s);
    const qsizetype navEnd = html.indexOf(u"</nav>"_s);
    QVERIFY(navStart >= 0 && navEnd > navStart);
    const QString nav = html.mid(navStart, navEnd - navStart);

    static const QRegularExpression section(u"<h2 id=\"([^\"]+)\""_s);
    QStringList sections;
    for (const QRegularExpressionMatch &match : section.globalMatch(html))
        sections << match.captured(1);
    QVERIFY(sections.size() >= 10);
    // Reading code back is a part of the command line's section, and listed too.
    for (const QString &id : sections + QStringList{u"read"_s})
        QVERIFY2(nav.contains(u"href=\"#%1\""_s.arg(id)), qPrintable(id));
    static const QRegularExpression listed(u"href=\"#([^\"]+)\""_s);
    for (const QRegularExpressionMatch &match : listed.globalMatch(nav))
        QVERIFY2(html.contains(u"id=\"%1\""_s.arg(match.captured(1))), qPrintable(match.captured(1)));
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
        QCOMPARE(box->findChild<QLabel *>(u"lblVersion"_s)->text(), u"Version 98.0"_s);
        const QString licence = box->findChild<QLabel *>(u"lblLicence"_s)->text();
        QVERIFY2(licence.contains(u"GNU General Public License, version 3 or later"_s), qPrintable(licence));
        QVERIFY(box->findChild<QLabel *>(u"lblLicence"_s)->isVisible());
        QCOMPARE(box->findChild<QPushButton *>(u"cmdOK"_s)->text(), u"&OK"_s);
        // The box names the addresses that the build was given, and no others.
        const vendor::Contacts configured = vendor::configuredContacts();
        const auto *mail = box->findChild<QLabel *>(u"lblEMail"_s);
        const auto *web = box->findChild<QLabel *>(u"lblWebSite"_s);
        QCOMPARE(mail != nullptr, !configured.contact.isEmpty());
        QCOMPARE(web != nullptr, !configured.homepage.isEmpty());
        if (mail)
            QCOMPARE(mail->text(), configured.contact);
        if (web)
            QCOMPARE(web->text(), configured.homepage);
        for (const QLabel *label : box->findChildren<QLabel *>())
            QVERIFY2(!label->text().contains(u"example"_s), qPrintable(label->text()));
        box->reject();
    });
}

void TestHelpAbout::linksAppearOnlyWhenSet_data()
{
    QTest::addColumn<QString>("homepage");
    QTest::addColumn<QString>("contact");
    QTest::addColumn<QStringList>("links");
    QTest::newRow("neither") << QString() << QString() << QStringList();
    QTest::newRow("homepage") << u"https://quillkit.test/"_s << QString() << QStringList{u"lblWebSite"_s};
    QTest::newRow("contact") << QString() << u"team@quillkit.test"_s << QStringList{u"lblEMail"_s};
    QTest::newRow("both") << u"https://quillkit.test/"_s << u"team@quillkit.test"_s
                          << QStringList{u"lblEMail"_s, u"lblWebSite"_s};
}

void TestHelpAbout::linksAppearOnlyWhenSet()
{
    QFETCH(QString, homepage);
    QFETCH(QString, contact);
    QFETCH(QStringList, links);
    FakePlatform platform;
    AboutBox box(platform, {homepage, contact});
    QStringList found;
    for (const QString &name : {u"lblEMail"_s, u"lblWebSite"_s}) {
        if (const auto *link = box.findChild<QLabel *>(name)) {
            found << name;
            QCOMPARE(link->font().pointSizeF(), 8.25);
            QVERIFY(link->font().underline());
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        }
    }
    QCOMPARE(found, links);
}

void TestHelpAbout::linksOpenTheirTargetsAndLeaveTheBoxOpen_data()
{
    QTest::addColumn<QString>("contact");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mail") << u"team@quillkit.test"_s << u"lblEMail"_s << u"mailto:team@quillkit.test"_s << false;
    QTest::newRow("contact page") << u"https://quillkit.test/contact"_s << u"lblEMail"_s
                                  << u"https://quillkit.test/contact"_s << false;
    QTest::newRow("web") << u"team@quillkit.test"_s << u"lblWebSite"_s << u"https://quillkit.test/"_s << false;
    QTest::newRow("web by keyboard") << u"team@quillkit.test"_s << u"lblWebSite"_s << u"https://quillkit.test/"_s
                                     << true;
}

void TestHelpAbout::linksOpenTheirTargetsAndLeaveTheBoxOpen()
{
    QFETCH(QString, contact);
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(bool, byKeyboard);
    FakePlatform platform;
    platform.shellOpenSucceeds = false; // no mail program: still nothing shown
    AboutBox box(platform, {u"https://quillkit.test/"_s, contact});
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto *label = box.findChild<QLabel *>(link);
    QVERIFY(label);
    if (byKeyboard) {
        label->setFocus();
        QTest::keyClick(label, Qt::Key_Return);
    } else {
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    }
    QCOMPARE(platform.shellOpenCalls.size(), 1);
    const FakePlatform::ShellOpenCall call = platform.shellOpenCalls.first();
    QCOMPARE(call.target, target);
    QCOMPARE(call.directory, platform.appFolder);
    QVERIFY(box.isVisible());
    QVERIFY(platform.msgBoxCalls.isEmpty());
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
        first->findChild<QPushButton *>(u"cmdOK"_s)->clearFocus();
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
