// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/BasicLimits.h"
#include "platform/InputBoxDialog.h"
#include "platform/PromptView.h"
#include "platform/QtMessageBox.h"
#include "platform/QtPlatform.h"
#include "support/FakePlatform.h"

#include "platform/HelpViewer.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// The answer buttons as "caption=code", left to right.
QStringList answers(const BasicMessageBox &box)
{
    QStringList texts;
    for (const QPushButton *button : box.answerButtons())
        texts << u"%1=%2"_s.arg(button->text()).arg(box.resultCode(button));
    return texts;
}

} // namespace

class TestQtMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void icons_data();
    void icons();
    void buttonSets_data();
    void buttonSets();
    void defaultButton_data();
    void defaultButton();
    void escapeAndClose_data();
    void escapeAndClose();
    void helpButtonOpensTheFileAndStaysOpen_data();
    void helpButtonOpensTheFileAndStaysOpen();
    void helpWithoutALauncherShowsTheFileOrSaysWhy_data();
    void helpWithoutALauncherShowsTheFileOrSaysWhy();
    void helpFromABoxNeverLoopsBack_data();
    void helpFromABoxNeverLoopsBack();
    void modality();
    void promptAndTitleAsTyped();
    void platformMsgBoxReturnsTheAnswer();
    void promptLongerThanBasicShowsIsNoted_data();
    void promptLongerThanBasicShowsIsNoted();
};

void TestQtMessageBox::icons_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon"); // QStyle::StandardPixmap, or -1 for none
    QTest::newRow("none") << 0 << -1;
    QTest::newRow("critical") << 16 << int(QStyle::SP_MessageBoxCritical);
    QTest::newRow("question") << 32 << int(QStyle::SP_MessageBoxQuestion);
    QTest::newRow("warning") << 48 << int(QStyle::SP_MessageBoxWarning);
    QTest::newRow("information") << 64 << int(QStyle::SP_MessageBoxInformation);
    QTest::newRow("question among other flags") << 32 + 4 + 256 + 4096 << int(QStyle::SP_MessageBoxQuestion);
    QTest::newRow("unknown icon value") << 80 << -1;
}

void TestQtMessageBox::icons()
{
    QFETCH(int, buttons);
    QFETCH(int, icon);
    FakePlatform platform;
    const BasicMessageBox box(platform, u"Hi"_s, buttons, u"T"_s, std::nullopt);
    auto *label = box.findChild<QLabel *>(u"icon"_s);
    if (icon < 0) {
        QVERIFY(!box.standardIcon());
        QVERIFY(!label);
        return;
    }
    QCOMPARE(box.standardIcon(), std::optional(QStyle::StandardPixmap(icon)));
    QVERIFY(label);
    const QImage shown = label->pixmap().toImage();
    const int size = shown.width();
    QVERIFY(size > 0);
    QCOMPARE(shown, box.style()->standardIcon(QStyle::StandardPixmap(icon)).pixmap(size, size).toImage());
}

void TestQtMessageBox::buttonSets_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("answers");
    QTest::newRow("0") << 0 << QStringList{u"OK=1"_s};
    QTest::newRow("1") << 1 << QStringList{u"OK=1"_s, u"Cancel=2"_s};
    QTest::newRow("2") << 2 << QStringList{u"&Abort=3"_s, u"&Retry=4"_s, u"&Ignore=5"_s};
    QTest::newRow("3") << 3 << QStringList{u"&Yes=6"_s, u"&No=7"_s, u"Cancel=2"_s};
    QTest::newRow("4") << 4 << QStringList{u"&Yes=6"_s, u"&No=7"_s};
    QTest::newRow("5 among other flags") << 16 + 5 + 256 + 4096 << QStringList{u"&Retry=4"_s, u"Cancel=2"_s};
    QTest::newRow("unknown set shows OK") << 7 << QStringList{u"OK=1"_s};
}

void TestQtMessageBox::buttonSets()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, answers);
    FakePlatform platform;
    BasicMessageBox box(platform, u"Hi"_s, buttons + 16384, u"T"_s, HelpTopic{u"a.hlp"_s, 0});
    QCOMPARE(::answers(box), answers);
    QVERIFY(box.helpButton());
    QCOMPARE(box.resultCode(box.helpButton()), 0);

    // Shown left to right in the set's order, Help last, whatever the
    // desktop's own convention for button roles.
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QList<QPushButton *> row = box.answerButtons();
    row << box.helpButton();
    for (qsizetype i = 1; i < row.size(); ++i)
        QVERIFY(row.at(i)->mapTo(&box, QPoint()).x() > row.at(i - 1)->mapTo(&box, QPoint()).x());

    // Each answer closes the box with its own code.
    for (QPushButton *button : box.answerButtons()) {
        box.show();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), box.resultCode(button));
    }
}

void TestQtMessageBox::defaultButton_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("expected"); // index of the default button
    for (int set = 0; set <= 5; ++set) {
        const int count = set == 0 ? 1 : set == 2 || set == 3 ? 3 : 2;
        for (int position = 0; position < 3; ++position) {
            // A position the set lacks falls back to the first button.
            QTest::addRow("set %d, default %d", set, position * 256)
                << set + position * 256 << (position < count ? position : 0);
        }
    }
    QTest::newRow("fourth position") << 3 + 768 << 0;
}

void TestQtMessageBox::defaultButton()
{
    QFETCH(int, buttons);
    QFETCH(int, expected);
    FakePlatform platform;
    const BasicMessageBox box(platform, u"Hi"_s, buttons, u"T"_s, std::nullopt);
    const QList<QPushButton *> answers = box.answerButtons();
    for (qsizetype i = 0; i < answers.size(); ++i)
        QCOMPARE(answers.at(i)->isDefault(), i == expected);
    QCOMPARE(box.focusWidget(), answers.at(expected));
}

void TestQtMessageBox::escapeAndClose_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("code"); // 0: Escape does nothing, the box stays
    QTest::newRow("OK alone answers OK") << 0 << int(vbOK);
    QTest::newRow("OK, Cancel") << 1 << int(vbCancel);
    QTest::newRow("Abort, Retry, Ignore") << 2 << 0;
    QTest::newRow("Yes, No, Cancel") << 3 << int(vbCancel);
    QTest::newRow("Yes, No") << 4 << 0;
    QTest::newRow("Retry, Cancel") << 5 << int(vbCancel);
}

void TestQtMessageBox::escapeAndClose()
{
    QFETCH(int, buttons);
    QFETCH(int, code);
    FakePlatform platform;
    BasicMessageBox box(platform, u"Hi"_s, buttons, u"T"_s, std::nullopt);
    QCOMPARE(box.escapeCode(), code);
    QCOMPARE(bool(box.windowFlags() & Qt::WindowCloseButtonHint), code != 0);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(box.focusWidget(), Qt::Key_Escape);
    QCOMPARE(box.isVisible(), code == 0);
    if (code != 0) {
        QCOMPARE(box.result(), code);
        return;
    }
    // Neither Escape nor the window's close button answers such a box.
    box.close();
    QVERIFY(box.isVisible());
}

void TestQtMessageBox::helpButtonOpensTheFileAndStaysOpen_data()
{
    QTest::addColumn<bool>("withTopic");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("opens");
    QTest::newRow("help file") << true << u"\\myapp.hlp"_s << true;
    QTest::newRow("empty help file") << true << QString() << false;
    QTest::newRow("no help passed") << false << QString() << false;
}

void TestQtMessageBox::helpButtonOpensTheFileAndStaysOpen()
{
    QFETCH(bool, withTopic);
    QFETCH(QString, file);
    QFETCH(bool, opens);
    FakePlatform platform;
    platform.shellOpenSucceeds = false; // as for a missing file: nothing shows
    std::optional<HelpTopic> help;
    if (withTopic)
        help = HelpTopic{file, 120};
    BasicMessageBox box(platform, u"Hi"_s, 4 + 16384, u"T"_s, help);
    box.show();
    QVERIFY(box.helpButton());
    QCOMPARE(box.helpButton()->text(), u"Help"_s);
    QTest::mouseClick(box.helpButton(), Qt::LeftButton);

    QVERIFY(box.isVisible());
    QCOMPARE(platform.shellOpenCalls.size(), opens ? 1 : 0);
    if (opens) {
        const FakePlatform::ShellOpenCall call = platform.shellOpenCalls.first();
        QCOMPARE(call.target, file);
        QCOMPARE(call.directory, platform.appFolder);
    }
    // The box is still answered by its own buttons.
    QTest::mouseClick(box.answerButtons().at(1), Qt::LeftButton);
    QCOMPARE(box.result(), int(vbNo));

    // Without the flag there is no Help button, even with a help file.
    const BasicMessageBox plain(platform, u"Hi"_s, 4, u"T"_s, HelpTopic{u"a.hlp"_s, 1});
    QVERIFY(!plain.helpButton());
}

void TestQtMessageBox::helpWithoutALauncherShowsTheFileOrSaysWhy_data()
{
    QTest::addColumn<QString>("file");
    // What the file holds; null when there is no such file.
    QTest::addColumn<QByteArray>("contents");
    // "viewer", or the words of the message.
    QTest::addColumn<QString>("shown");
    QTest::newRow("HTML page") << u"guide.html"_s << QByteArray("<html><title>Guide</title><h1>Topic 7</h1></html>")
                               << u"viewer"_s;
    QTest::newRow("plain text") << u"guide.txt"_s << QByteArray("Topic 7") << u"viewer"_s;
    QTest::newRow("missing file") << u"gone.hlp"_s << QByteArray() << u"cannot be found"_s;
    QTest::newRow("Windows help file") << u"app.hlp"_s << QByteArray("?_\x03\0\x10\0\0\0\xff\xff", 10)
                                       << u"no program on this desktop opens it"_s;
}

void TestQtMessageBox::helpWithoutALauncherShowsTheFileOrSaysWhy()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(QString, shown);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    FakePlatform platform;
    platform.shellOpenSucceeds = false;
    if (!contents.isNull()) {
        QFile document(folder.filePath(file));
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.write(contents);
        platform.documents.insert(file, document.fileName());
    }
    BasicMessageBox box(platform, u"Hi"_s, 4 + 16384, u"T"_s, HelpTopic{file, 7});
    box.show();
    QTest::mouseClick(box.helpButton(), Qt::LeftButton);

    QVERIFY(box.isVisible());
    auto *viewer = box.findChild<HelpViewer *>();
    if (shown == u"viewer"_s) {
        QVERIFY(platform.msgBoxCalls.isEmpty());
        QVERIFY(viewer && viewer->isVisible());
        // A window of the box's own, so the modal box does not block it.
        QVERIFY(viewer->isWindow());
        QVERIFY(!QApplication::activeModalWidget() || QApplication::activeModalWidget() == &box);
        QVERIFY(viewer->browser()->toPlainText().contains(u"Topic 7"_s));
    } else {
        QVERIFY(!viewer);
        QCOMPARE(platform.msgBoxCalls.size(), 1);
        const QString prompt = platform.msgBoxCalls.first().prompt;
        QVERIFY2(prompt.contains(shown) && prompt.contains(file), qPrintable(prompt));
    }
}

void TestQtMessageBox::helpFromABoxNeverLoopsBack_data()
{
    // What the user does in the viewer that the box's Help opened, on a
    // desktop that opens nothing.
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("noted");
    QTest::newRow("Help pressed again") << u"help"_s << false;
    QTest::newRow("Open in Browser") << u"browser"_s << true;
    QTest::newRow("a link to a file it cannot show") << u"file"_s << false;
    QTest::newRow("a web address") << u"web"_s << false;
}

void TestQtMessageBox::helpFromABoxNeverLoopsBack()
{
    // A viewer that showed a message box could show one with a Help button,
    // which opens a viewer: what the viewer has to say stays in its window,
    // and a viewer already open is brought forward, not opened again.
    QFETCH(QString, action);
    QFETCH(bool, noted);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile page(folder.filePath(u"guide.html"_s));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><h1>Topic 7</h1><a href=\"app.hlp\">old help</a></html>");
    page.close();
    FakePlatform platform;
    platform.shellOpenSucceeds = false;
    platform.documents.insert(u"guide.html"_s, page.fileName());
    BasicMessageBox box(platform, u"Hi"_s, 4 + 16384, u"T"_s, HelpTopic{u"guide.html"_s, 7});
    box.show();
    QTest::mouseClick(box.helpButton(), Qt::LeftButton);
    const auto viewers = [] {
        qsizetype count = 0;
        for (QWidget *widget : QApplication::allWidgets())
            count += qobject_cast<HelpViewer *>(widget) != nullptr;
        return count;
    };
    auto *viewer = box.findChild<HelpViewer *>();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewers(), 1);

    if (action == u"help"_s) {
        QTest::mouseClick(box.helpButton(), Qt::LeftButton);
    } else if (action == u"browser"_s) {
        viewer->offerBrowser();
        QTest::mouseClick(viewer->findChild<QPushButton *>(u"cmdOpenInBrowser"_s), Qt::LeftButton);
    } else if (action == u"file"_s) {
        Q_EMIT viewer->browser()->anchorClicked(QUrl(u"app.hlp"_s));
    } else {
        Q_EMIT viewer->browser()->anchorClicked(QUrl(u"https://example.org/"_s));
    }
    QCoreApplication::processEvents();
    QVERIFY(platform.msgBoxCalls.isEmpty());
    QCOMPARE(viewers(), 1);
    QCOMPARE(box.findChild<HelpViewer *>(), viewer);
    QVERIFY(viewer->isVisible() && box.isVisible());
    QCOMPARE(!viewer->note().isEmpty(), noted);
    if (noted) {
        QVERIFY2(viewer->note().contains(u"guide.html"_s), qPrintable(viewer->note()));
        auto *label = viewer->findChild<QLabel *>(u"lblHelpNote"_s);
        QVERIFY(label && label->isVisible());
        // The note is about that page: another page clears it.
        Q_EMIT viewer->browser()->anchorClicked(QUrl(u"#top"_s));
        QVERIFY(viewer->note().isEmpty());
    }
}

void TestQtMessageBox::modality()
{
    FakePlatform platform;
    const BasicMessageBox normal(platform, u"Hi"_s, 0, u"T"_s, std::nullopt);
    QCOMPARE(normal.windowModality(), Qt::ApplicationModal);
    QVERIFY(!(normal.windowFlags() & Qt::WindowStaysOnTopHint));
    const BasicMessageBox system(platform, u"Hi"_s, 4096 + 48 + 4, u"T"_s, std::nullopt);
    QCOMPARE(system.windowModality(), Qt::ApplicationModal);
    QVERIFY(system.windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestQtMessageBox::promptAndTitleAsTyped()
{
    FakePlatform platform;
    BasicMessageBox box(platform, u"<b>Save</b> & go?\r\n\r\nLast\rline"_s, 0, u"Say \"hi\" & <i> [*]"_s,
                        std::nullopt);
    auto *prompt = box.findChild<PromptView *>(u"prompt"_s);
    QVERIFY(prompt);
    QVERIFY(!prompt->acceptRichText());
    QCOMPARE(prompt->text(), u"<b>Save</b> & go?\n\nLast\nline"_s);
    box.winId();
    QCOMPARE(box.windowHandle()->title(), u"Say \"hi\" & <i> [*]"_s);
}

void TestQtMessageBox::platformMsgBoxReturnsTheAnswer()
{
    // The real service, modal: Return presses the default button (No).
    QtPlatform platform;
    QTimer::singleShot(0, qApp, [] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowExposed(box));
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    // Should the key go astray, Escape's Cancel ends the box instead of a hang.
    QTimer::singleShot(5000, qApp, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    QCOMPARE(platform.msgBox(u"Save?\r\nNow"_s, 3 + 32 + 256, u"Confirm"_s, std::nullopt), int(vbNo));
}

void TestQtMessageBox::promptLongerThanBasicShowsIsNoted_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("noted");
    QTest::newRow("exactly what BASIC shows") << QString(1024, u'a') << false;
    QTest::newRow("one character more") << QString(1025, u'a') << true;
    QTest::newRow("a pair is one character") << u"😀"_s.repeated(1024) << false;
    QTest::newRow("a line break is two") << QString(1022, u'a') + u"\r\nb"_s << true;
}

void TestQtMessageBox::promptLongerThanBasicShowsIsNoted()
{
    QFETCH(QString, prompt);
    QFETCH(bool, noted);
    FakePlatform platform;
    const BasicMessageBox box(platform, prompt, vbOKOnly, u"T"_s, std::nullopt);
    const InputBoxDialog input(prompt, u"T"_s, QString(), false);
    for (const QWidget *dialog : std::initializer_list<const QWidget *>{&box, &input}) {
        const auto *note = dialog->findChild<QLabel *>(u"lengthNote"_s);
        QCOMPARE(note != nullptr, noted);
        if (note) {
            QCOMPARE(note->text(), codegen::promptLengthNote(prompt));
            QVERIFY(note->text().contains(QLocale().toString(codegen::characterCount(prompt))));
        }
    }
    // The live box still shows the whole prompt.
    QCOMPARE(box.prompt()->text().size(), prompt.size() - prompt.count(u"\r\n"_s));
}

QTEST_MAIN(TestQtMessageBox)
#include "tst_qtmessagebox.moc"
