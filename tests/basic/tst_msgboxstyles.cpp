// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/MsgBoxStyles.h"
#include "basic/Names.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

// The message box's tables are what every face reads: each group's values
// must sit in its own bits, be told apart, and be found again by name.
class TestMsgBoxStyles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesStayInTheirGroup();
    void namesFindTheirRow_data();
    void namesFindTheirRow();
    void buttonSetMeaning_data();
    void buttonSetMeaning();
    void defaultButtonPlaces_data();
    void defaultButtonPlaces();
    void everySetsAnswersAreResults();
};

namespace {

template<typename Rows>
void checkGroup(const Rows &rows, qint32 mask, const char *group)
{
    QSet<qint32> values;
    for (const auto &row : rows) {
        QVERIFY2((row.value & ~mask) == 0, group);
        QVERIFY2(!values.contains(row.value), group);
        values.insert(row.value);
    }
}

} // namespace

void TestMsgBoxStyles::valuesStayInTheirGroup()
{
    checkGroup(basic::buttonSets(), MsgBoxButtonSetMask, "button sets");
    checkGroup(basic::msgBoxIcons(), MsgBoxIconMask, "icons");
    checkGroup(basic::defaultButtons(), MsgBoxDefaultButtonMask, "default buttons");
    // Each flag is one bit, outside every group but the modality's.
    for (const basic::MsgBoxFlagRow &flag : basic::msgBoxFlags()) {
        QVERIFY(flag.value == 0 || (flag.value & (flag.value - 1)) == 0);
        QCOMPARE(flag.value & (MsgBoxButtonSetMask | MsgBoxIconMask | MsgBoxDefaultButtonMask), 0);
    }
    // Options and window names are told apart within a table.
    QSet<QString> seen;
    for (const basic::ButtonSetRow &set : basic::buttonSets()) {
        QVERIFY(!seen.contains(set.option.toString()) && !seen.contains(set.widget.toString()));
        seen << set.option.toString() << set.widget.toString();
    }
    for (const basic::IconRow &icon : basic::msgBoxIcons()) {
        QVERIFY(!seen.contains(icon.option.toString()) && !seen.contains(icon.widget.toString()));
        seen << icon.option.toString() << icon.widget.toString();
    }
}

void TestMsgBoxStyles::namesFindTheirRow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint32>("value");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("dialect");
    const auto add = [](const auto &rows, basic::NameGroup group) {
        for (const auto &row : rows) {
            for (const auto &[name, dialect] : {std::pair(row.vbName, basic::Dialect::VisualBasic),
                                                std::pair(row.libreOfficeName, basic::Dialect::LibreOffice)}) {
                if (!name.isEmpty())
                    QTest::newRow(name.toLatin1().constData())
                        << name.toString() << qint32(row.value) << int(group) << int(dialect);
            }
        }
    };
    add(basic::buttonSets(), basic::NameGroup::ButtonSet);
    add(basic::msgBoxIcons(), basic::NameGroup::Icon);
    add(basic::defaultButtons(), basic::NameGroup::DefaultButton);
    add(basic::msgBoxResults(), basic::NameGroup::Result);
}

void TestMsgBoxStyles::namesFindTheirRow()
{
    QFETCH(QString, name);
    QFETCH(qint32, value);
    QFETCH(int, group);
    QFETCH(int, dialect);
    const basic::BasicName *found = basic::findName(name.toUpper());
    QVERIFY(found);
    QCOMPARE(found->value, value);
    QCOMPARE(int(found->group), group);
    QCOMPARE(int(found->dialect), dialect);
    // A value's name in its dialect is this one: no other row shares it.
    QCOMPARE(basic::nameFor(basic::NameGroup(group), value, basic::Dialect(dialect))->toString(), name);
}

void TestMsgBoxStyles::buttonSetMeaning_data()
{
    QTest::addColumn<qint32>("set");
    QTest::addColumn<QString>("meaning");
    QTest::newRow("one") << qint32(vbOKOnly) << u"OK"_s;
    QTest::newRow("two") << qint32(vbYesNo) << u"Yes and No"_s;
    QTest::newRow("three") << qint32(vbAbortRetryIgnore) << u"Abort, Retry and Ignore"_s;
}

void TestMsgBoxStyles::buttonSetMeaning()
{
    QFETCH(qint32, set);
    QFETCH(QString, meaning);
    QCOMPARE(basic::buttonSetMeaning(*basic::buttonSet(set)), meaning);
}

void TestMsgBoxStyles::defaultButtonPlaces_data()
{
    QTest::addColumn<qint32>("buttons");
    QTest::addColumn<int>("place");
    QTest::newRow("none given") << qint32(vbYesNoCancel) << 0;
    QTest::newRow("second, among other flags") << qint32(vbYesNoCancel + vbQuestion + 256 + vbSystemModal) << 1;
    QTest::newRow("fourth") << qint32(768) << 3;
    // No value of BASIC's: the first, as the box shows it.
    QTest::newRow("beyond the fourth") << qint32(0x400) << 0;
}

void TestMsgBoxStyles::defaultButtonPlaces()
{
    QFETCH(qint32, buttons);
    QFETCH(int, place);
    QCOMPARE(basic::defaultButtonIndex(buttons), place);
    if (basic::defaultButton(buttons & MsgBoxDefaultButtonMask))
        QCOMPARE(basic::defaultButtonValue(place), buttons & MsgBoxDefaultButtonMask);
}

void TestMsgBoxStyles::everySetsAnswersAreResults()
{
    QSet<int> answered;
    for (const basic::ButtonSetRow &set : basic::buttonSets()) {
        QVERIFY(set.buttonCount >= 1 && set.buttonCount <= 3);
        QCOMPARE(basic::msgBoxButtonCodes(set.value).size(), set.buttonCount);
        for (const MsgBoxResult answer : set.buttons()) {
            QVERIFY(basic::msgBoxResult(answer));
            answered.insert(answer);
        }
    }
    // Every answer is some button's.
    QCOMPARE(answered.size(), qsizetype(basic::msgBoxResults().size()));
    QVERIFY(basic::msgBoxButtonCodes(6).isEmpty());
}

QTEST_GUILESS_MAIN(TestMsgBoxStyles)
#include "tst_msgboxstyles.moc"
