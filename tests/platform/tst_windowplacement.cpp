// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<QPoint>)

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fittedWindowLiesInsideTheRoom_data();
    void fittedWindowLiesInsideTheRoom();
    void placedWindowIsKeptOnTheScreen_data();
    void placedWindowIsKeptOnTheScreen();
};

void TestWindowPlacement::fittedWindowLiesInsideTheRoom_data()
{
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QRect>("room");
    QTest::addColumn<std::optional<QPoint>>("at");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("expected");
    const QSize design(552, 449);
    const QMargins frame(4, 32, 4, 4);
    const QMargins none;
    // Screens as the window sees them: 1280x900 and 1024x600, at scale 1
    // and 2 (half the pixels), less a 30-pixel panel at the top.
    const QRect large(0, 30, 1280, 870);
    const QRect largeAt2(0, 15, 640, 435);
    const QRect smallAt2(0, 15, 512, 285);
    QTest::newRow("design size, centred") << design << large << std::optional<QPoint>() << none
                                          << QRect(364, 240, 552, 449);
    QTest::newRow("centred inside the frame") << design << large << std::optional<QPoint>() << frame
                                              << QRect(364, 254, 552, 449);
    QTest::newRow("kept where it is") << design << large << std::optional<QPoint>(QPoint(100, 200)) << frame
                                      << QRect(100, 200, 552, 449);
    QTest::newRow("past the right edge comes back") << QSize(1104, 449) << large
                                                    << std::optional<QPoint>(QPoint(364, 264)) << frame
                                                    << QRect(172, 264, 1104, 449);
    QTest::newRow("above the top comes down below the panel")
        << design << large << std::optional<QPoint>(QPoint(10, -150)) << frame << QRect(10, 62, 552, 449);
    QTest::newRow("left of the screen") << design << large << std::optional<QPoint>(QPoint(-40, 100)) << frame
                                        << QRect(4, 100, 552, 449);
    QTest::newRow("taller than the room at 2x") << design << largeAt2 << std::optional<QPoint>() << frame
                                                << QRect(44, 47, 552, 399);
    QTest::newRow("wider and taller than a small screen at 2x")
        << QSize(1104, 449) << smallAt2 << std::optional<QPoint>(QPoint(300, 300)) << frame
        << QRect(4, 47, 504, 249);
    QTest::newRow("no frame fills the room exactly") << QSize(2000, 2000) << smallAt2 << std::optional<QPoint>()
                                                     << none << smallAt2;
    QTest::newRow("no screen known changes nothing") << design << QRect() << std::optional<QPoint>(QPoint(-5, -5))
                                                     << frame << QRect(-5, -5, 552, 449);
    QTest::newRow("room offset on a second screen") << design << QRect(1280, 0, 1024, 600)
                                                    << std::optional<QPoint>(QPoint(0, 0)) << frame
                                                    << QRect(1284, 32, 552, 449);
}

void TestWindowPlacement::fittedWindowLiesInsideTheRoom()
{
    QFETCH(QSize, wanted);
    QFETCH(QRect, room);
    QFETCH(std::optional<QPoint>, at);
    QFETCH(QMargins, frame);
    QFETCH(QRect, expected);
    const QRect fitted = fittedWindowRect(wanted, room, at, frame);
    QCOMPARE(fitted, expected);
    if (room.isValid()) {
        // The window with its frame lies inside the room, and is never
        // larger than it asked to be.
        QVERIFY(room.contains(fitted.marginsAdded(frame)));
        QVERIFY(fitted.width() <= wanted.width() && fitted.height() <= wanted.height());
    }
}

void TestWindowPlacement::placedWindowIsKeptOnTheScreen_data()
{
    // How a window manager (or the user) moves the window after it is
    // placed: so many times past the screen's bottom, after so long.
    QTest::addColumn<int>("pushes");
    QTest::addColumn<int>("afterMs");
    QTest::addColumn<bool>("fixedSize");
    // Larger than the screen, as a large scale on a small screen makes it.
    QTest::addColumn<bool>("oversized");
    QTest::addColumn<bool>("staysInside");
    QTest::newRow("pushed off once, comes back") << 1 << 0 << true << false << true;
    QTest::newRow("pushed off twice, comes back twice") << 2 << 0 << true << false << true;
    QTest::newRow("a third time is the user's drag") << 3 << 0 << true << false << false;
    QTest::newRow("after a while, a drag is the user's") << 1 << 1100 << true << false << false;
    QTest::newRow("growable window pushed off") << 1 << 0 << false << false << true;
    QTest::newRow("fixed window larger than the screen shrinks") << 1 << 0 << true << true << true;
    QTest::newRow("growable window larger than the screen shrinks") << 1 << 0 << false << true << true;
}

void TestWindowPlacement::placedWindowIsKeptOnTheScreen()
{
    QFETCH(int, pushes);
    QFETCH(int, afterMs);
    QFETCH(bool, fixedSize);
    QFETCH(bool, oversized);
    QFETCH(bool, staysInside);
    QWidget window;
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *placer = new WindowPlacer(&window);
    const QRect room = placer->screenRoom();
    QVERIFY(room.isValid());
    QCOMPARE(room, window.screen()->availableGeometry());
    const QSize wanted = oversized ? room.size() + QSize(200, 200) : QSize(300, 200);
    const QRect contents(room.topLeft() + QPoint(20, 40), wanted);
    placer->place(contents, fixedSize);
    QCoreApplication::processEvents();
    QCOMPARE(window.minimumSize() == window.maximumSize(), fixedSize);
#if defined(Q_OS_WIN)
    // Windows draws a frame to drag and a maximise button only when they work.
    QCOMPARE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint), !fixedSize);
    QCOMPARE(window.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint), fixedSize);
#endif
    // Placed where asked, unless that leaves the screen.
    if (!oversized)
        QCOMPARE(window.geometry(), contents);
    if (afterMs > 0)
        QTest::qWait(afterMs);
    for (int push = 0; push < pushes; ++push) {
        window.move(room.left() + 10, room.bottom() - 20);
        QCoreApplication::processEvents();
    }
    const QRect frame = window.frameGeometry();
    QCOMPARE(room.contains(frame), staysInside);
    if (staysInside) {
        QCOMPARE(window.minimumSize() == window.maximumSize(), fixedSize);
        QVERIFY(window.width() <= wanted.width() && window.height() <= wanted.height());
    }
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
