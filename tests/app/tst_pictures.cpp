// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Pictures.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The pictures that the build renders beforehand look exactly as the SVG
// drawn at start-up would, at every size and pixel ratio.
class TestPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsAsTheSvg_data();
    void drawsAsTheSvg();
    void offersTheRenderedSizes();
};

void TestPictures::drawsAsTheSvg_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<int>("side");
    QTest::addColumn<qreal>("ratio");
    const QStringList names{u"quillkit98"_s, u"notewright"_s, u"askwright"_s, u"topwright"_s, u"pickwright"_s};
    QList<int> sides = renderedPictureSizes();
    sides << 40 << 96; // not rendered: drawn from the SVG
    for (const QString &name : names) {
        for (const int side : sides) {
            for (const qreal ratio : {1.0, 2.0}) {
                QTest::addRow("%s %d at %g", qPrintable(name), side, ratio)
                    << u":/images/%1.svg"_s.arg(name) << side << ratio;
            }
        }
    }
}

void TestPictures::drawsAsTheSvg()
{
    QFETCH(QString, resource);
    QFETCH(int, side);
    QFETCH(qreal, ratio);
    const QPixmap expected = QIcon(resource).pixmap(QSize(side, side), ratio);
    const QPixmap drawn = pictureIcon(resource).pixmap(QSize(side, side), ratio);
    QVERIFY(!expected.isNull());
    QCOMPARE(drawn.size(), expected.size());
    QCOMPARE(drawn.devicePixelRatio(), expected.devicePixelRatio());
    QCOMPARE(drawn.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             expected.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestPictures::offersTheRenderedSizes()
{
    // A window icon is made of these; the window system gets the same sizes
    // as it would for the SVG alone.
    const QIcon icon = pictureIcon(u":/images/notewright.svg"_s);
    QList<QSize> expected;
    for (const int side : {16, 24, 32, 48, 64, 128})
        expected << QSize(side, side);
    QCOMPARE(icon.availableSizes(), expected);
    QVERIFY(icon.availableSizes(QIcon::Disabled).isEmpty());
    QVERIFY(!icon.isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
