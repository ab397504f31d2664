// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlacement.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<QPoint>)

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fittedWindowLiesInsideTheRoom_data();
    void fittedWindowLiesInsideTheRoom();
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

QTEST_APPLESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
