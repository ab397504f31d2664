// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DeferredIcon.h"

#include <QProxyStyle>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Counts the lookups, which are what the deferred icon puts off.
class CountingStyle : public QProxyStyle
{
public:
    mutable int lookups = 0;

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option, const QWidget *widget) const override
    {
        ++lookups;
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

} // namespace

class TestDeferredIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void looksUpOnFirstUseOnly();
    void drawsAsTheStandardIcon_data();
    void drawsAsTheStandardIcon();
};

void TestDeferredIcon::looksUpOnFirstUseOnly()
{
    CountingStyle style;
    QPushButton button;
    button.setStyle(&style);

    button.setIcon(deferredStandardIcon(QStyle::SP_MessageBoxWarning, &button));
    button.setIconSize(QSize(32, 32));
    QVERIFY(!button.icon().isNull());
    button.sizeHint();
    QCOMPARE(style.lookups, 0);

    QVERIFY(!button.icon().pixmap(32).isNull());
    QCOMPARE(style.lookups, 1);
    button.icon().pixmap(16);
    button.grab();
    QCOMPARE(style.lookups, 1);
}

void TestDeferredIcon::drawsAsTheStandardIcon_data()
{
    QTest::addColumn<QStyle::StandardPixmap>("which");
    QTest::addColumn<qreal>("ratio");
    for (const qreal ratio : {1.0, 2.0}) {
        QTest::addRow("critical at %g", ratio) << QStyle::SP_MessageBoxCritical << ratio;
        QTest::addRow("question at %g", ratio) << QStyle::SP_MessageBoxQuestion << ratio;
        QTest::addRow("warning at %g", ratio) << QStyle::SP_MessageBoxWarning << ratio;
        QTest::addRow("information at %g", ratio) << QStyle::SP_MessageBoxInformation << ratio;
    }
}

void TestDeferredIcon::drawsAsTheStandardIcon()
{
    QFETCH(QStyle::StandardPixmap, which);
    QFETCH(qreal, ratio);
    QWidget widget;
    const QIcon standard = widget.style()->standardIcon(which, nullptr, &widget);
    const QIcon deferred = deferredStandardIcon(which, &widget);

    const QPixmap expected = standard.pixmap(QSize(32, 32), ratio);
    const QPixmap drawn = deferred.pixmap(QSize(32, 32), ratio);
    QCOMPARE(drawn.size(), expected.size());
    QCOMPARE(drawn.devicePixelRatio(), expected.devicePixelRatio());
    QCOMPARE(drawn.toImage(), expected.toImage());
    QCOMPARE(deferred.availableSizes(), standard.availableSizes());
    QCOMPARE(deferred.name(), standard.name());
}

QTEST_MAIN(TestDeferredIcon)
#include "tst_deferredicon.moc"
