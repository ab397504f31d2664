// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FieldText.h"
#include "platform/InputBoxDialog.h"
#include "platform/PromptView.h"
#include "platform/QtMessageBox.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

enum class Box { Message, Input };

QString manyLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << u"Line %1"_s.arg(i);
    return lines.join(u"\r\n"_s);
}

// The box, the widgets that must stay in view, and its prompt.
struct Shown
{
    std::unique_ptr<QDialog> box;
    QList<QWidget *> mustShow;
    PromptView *prompt = nullptr;
};

Shown build(Box kind, FakePlatform &platform, const QString &prompt, const QString &title)
{
    Shown shown;
    if (kind == Box::Message) {
        auto *box = new BasicMessageBox(platform, prompt, 3 + 48 + 16384, title, HelpTopic{u"x.hlp"_s, 1});
        shown.box.reset(box);
        for (QPushButton *button : box->answerButtons())
            shown.mustShow << button;
        shown.mustShow << box->helpButton();
        shown.prompt = box->prompt();
    } else {
        auto *box = new InputBoxDialog(prompt, title, u"answer"_s, true);
        shown.box.reset(box);
        shown.mustShow << box->answerEdit();
        for (QAbstractButton *button : box->buttonBox()->buttons())
            shown.mustShow << button;
        shown.prompt = box->prompt();
    }
    return shown;
}

} // namespace

Q_DECLARE_METATYPE(Box)

class TestLiveBoxBounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void boxFitsTheScreen_data();
    void boxFitsTheScreen();
    void emptyTitleIsTheProgramTitle_data();
    void emptyTitleIsTheProgramTitle();
};

void TestLiveBoxBounds::boxFitsTheScreen_data()
{
    QTest::addColumn<Box>("kind");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("scrolls");
    QTest::addColumn<bool>("cut");

    const QString word = QString(300, u'W');
    const QString tenMegabytes = u"Message "_s.repeated(10 * 1024 * 1024 / 8);
    for (const Box kind : {Box::Message, Box::Input}) {
        const char *name = kind == Box::Message ? "message box" : "input box";
        QTest::addRow("%s, short", name) << kind << u"Save changes?"_s << false << false;
        QTest::addRow("%s, 300-character word", name) << kind << word << false << false;
        QTest::addRow("%s, 100 lines", name) << kind << manyLines(100) << true << false;
        QTest::addRow("%s, 20,000 lines", name) << kind << manyLines(20'000) << true << true;
        QTest::addRow("%s, one 10 MB line", name) << kind << QString(10 * 1024 * 1024, u'm') << true << true;
        QTest::addRow("%s, 10 MB of words", name) << kind << tenMegabytes << true << true;
    }
}

void TestLiveBoxBounds::boxFitsTheScreen()
{
    QFETCH(Box, kind);
    QFETCH(QString, prompt);
    QFETCH(bool, scrolls);
    QFETCH(bool, cut);

    FakePlatform platform;
    QElapsedTimer clock;
    clock.start();
    Shown shown = build(kind, platform, prompt, u"Bounds"_s);
    shown.box->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.box.get()));
    // Generous for a loaded machine; without a cap this took half a minute.
    QVERIFY2(clock.elapsed() < 5000, qPrintable(u"%1 ms"_s.arg(clock.elapsed())));

    const QRect room = shown.box->screen()->availableGeometry();
    const QRect frame = shown.box->frameGeometry();
    QVERIFY2(frame.width() <= room.width() && frame.height() <= room.height(),
             qPrintable(u"%1x%2 on %3x%4"_s.arg(frame.width()).arg(frame.height()).arg(room.width()).arg(
                 room.height())));
    QVERIFY(room.contains(frame));

    for (QWidget *widget : shown.mustShow) {
        QVERIFY(widget->isVisible());
        const QRect inBox(widget->mapTo(shown.box.get(), QPoint()), widget->size());
        QVERIFY2(shown.box->rect().contains(inBox), qPrintable(widget->property("text").toString()));
    }

    // Wrapped, never wider than half the screen plus the scroll bar.
    PromptView *view = shown.prompt;
    QVERIFY(view->width() <= qMax(room.width() / 2, view->fontMetrics().averageCharWidth() * 44)
                                 + view->verticalScrollBar()->sizeHint().width());
    QCOMPARE(view->verticalScrollBar()->maximum() > 0, scrolls);
    QCOMPARE(view->isCut(), cut);
    QLabel *note = shown.box->findChild<QLabel *>(u"cutNote"_s);
    QCOMPARE(note != nullptr && note->isVisible(), cut);
    QCOMPARE(view->text(), displayedLines(prompt.left(PromptView::ShownLimit)));

    // Escape still answers at once.
    clock.restart();
    QTest::keyClick(shown.box.get(), Qt::Key_Escape);
    QVERIFY(!shown.box->isVisible());
    QVERIFY(clock.elapsed() < 2000);
}

void TestLiveBoxBounds::emptyTitleIsTheProgramTitle_data()
{
    QTest::addColumn<Box>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::newRow("message box, empty") << Box::Message << QString() << u"Quillkit 98"_s;
    QTest::newRow("message box, own") << Box::Message << u"Mine"_s << u"Mine"_s;
    QTest::newRow("input box, empty") << Box::Input << QString() << u"Quillkit 98"_s;
    QTest::newRow("input box, own") << Box::Input << u"Mine"_s << u"Mine"_s;
}

void TestLiveBoxBounds::emptyTitleIsTheProgramTitle()
{
    QFETCH(Box, kind);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    FakePlatform platform;
    const Shown box = build(kind, platform, u"Prompt"_s, title);
    QCOMPARE(box.box->windowTitle(), shown);
}

QTEST_MAIN(TestLiveBoxBounds)
#include "tst_liveboxbounds.moc"
