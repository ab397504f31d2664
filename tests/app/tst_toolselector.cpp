// SPDX-License-Identifier: GPL-3.0-or-later
// The tool column gives every tool of a list a slot of its own by its index:
// with any number of tools each picture and caption lies inside the column,
// evenly spaced, and picks its own tool.
#include "app/ToolSelector.h"
#include "app/Tools.h"
#include "platform/WindowPlacement.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// `count` tools with the pictures of the real ones, named Tool1, Tool2...
QList<Tool> madeUpTools(int count)
{
    QList<Tool> list;
    for (int i = 0; i < count; ++i) {
        Tool tool;
        tool.caption = u"Tool%1"_s.arg(i + 1);
        tool.picture = tools().at(i % tools().size()).picture;
        list << tool;
    }
    return list;
}

} // namespace

class TestToolSelector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyToolHasItsSlot_data();
    void everyToolHasItsSlot();
    void theFourToolsKeepTheirPlaces();
};

void TestToolSelector::everyToolHasItsSlot_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one") << 1;
    QTest::newRow("the four") << 4;
    QTest::newRow("a fifth") << 5;
    QTest::newRow("nine, each with its key") << 9;
    QTest::newRow("twelve") << 12;
}

void TestToolSelector::everyToolHasItsSlot()
{
    QFETCH(int, count);
    QWidget window;
    auto *selector = new ToolSelector(madeUpTools(count), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(selector->count(), count);
    QSignalSpy chosen(selector, &ToolSelector::toolChosen);

    const QRect inside = selector->rect();
    int pitch = 0;
    for (int i = 0; i < count; ++i) {
        const QString what = u"tool %1 of %2"_s.arg(i + 1).arg(count);
        QWidget *image = selector->image(i);
        QLabel *caption = selector->caption(i);
        QCOMPARE(image->objectName(), u"imgTool%1"_s.arg(i + 1));
        QVERIFY2(inside.contains(image->geometry()), qPrintable(what));
        QVERIFY2(inside.contains(caption->geometry()), qPrintable(what));
        QVERIFY2(caption->geometry().top() >= image->geometry().bottom(), qPrintable(what));
        if (i > 0) {
            // Below the tool before, by the same step (a pixel of rounding).
            const QWidget *above = selector->image(i - 1);
            const int step = image->y() - above->y();
            QVERIFY2(caption->y() > selector->caption(i - 1)->geometry().bottom(), qPrintable(what));
            QVERIFY2(image->y() > selector->caption(i - 1)->geometry().bottom(), qPrintable(what));
            if (pitch == 0)
                pitch = step;
            QVERIFY2(qAbs(step - pitch) <= 1, qPrintable(what + u": step %1, not %2"_s.arg(step).arg(pitch)));
            QCOMPARE(image->x(), above->x());
        }
        // The picture, its caption and its key each pick this tool.
        QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(4, 4));
        QTest::mouseClick(caption, Qt::LeftButton, {}, caption->rect().center());
        if (i < 9)
            QTest::keyClick(&window, Qt::Key(Qt::Key_1 + i), Qt::ControlModifier);
        const QList<QVariant> expected(i < 9 ? 3 : 2, i);
        QList<QVariant> got;
        for (const QList<QVariant> &signal : std::as_const(chosen))
            got << signal.constFirst();
        QVERIFY2(got == expected, qPrintable(what));
        chosen.clear();

        // Marked, it alone is.
        selector->markCurrent(i);
        const QWidget *mark = selector->findChild<QWidget *>(u"shpCurrentTool"_s);
        QVERIFY(mark && mark->isVisible());
        QVERIFY2(mark->geometry().contains(image->geometry()), qPrintable(what));
        for (int other = 0; other < count; ++other)
            QCOMPARE(selector->caption(other)->font().bold(), other == i);
        if (i + 1 < count)
            QVERIFY2(!mark->geometry().intersects(selector->image(i + 1)->geometry()), qPrintable(what));
    }
    // The column is as tall as its tools need, and no taller than one more slot.
    const int last = selector->caption(count - 1)->geometry().bottom();
    QVERIFY(selector->height() > last);
    QVERIFY(selector->height() - last < qMax(pitch, selector->image(0)->y() + selector->image(0)->height()));
}

void TestToolSelector::theFourToolsKeepTheirPlaces()
{
    // The column as it has always been drawn, in twips: 1200 by 4020, the
    // pictures at 360 from the left and 120, 1080, 2040 and 3000 down.
    QWidget window;
    auto *selector = new ToolSelector(tools(), &window);
    QCOMPARE(selector->size(), QSize(twipsToPixels(1200, selector), twipsToPixels(QPoint(0, 4020), selector).y()));
    const int tops[] = {120, 1080, 2040, 3000};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(selector->image(i)->pos(), twipsToPixels(QPoint(360, tops[i]), selector));
}

QTEST_MAIN(TestToolSelector)
#include "tst_toolselector.moc"
