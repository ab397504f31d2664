// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FieldText.h"
#include "support/GuiTest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

class TestFieldText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySingleLineFieldKeepsOneLine_data();
    void everySingleLineFieldKeepsOneLine();
    void everySingleLineFieldTakesAnyLength_data();
    void everySingleLineFieldTakesAnyLength();
    void typedTextKeepsEveryCharacter_data();
    void typedTextKeepsEveryCharacter();
};

void TestFieldText::everySingleLineFieldKeepsOneLine_data()
{
    QTest::addColumn<QString>("field");
    // Every field whose text the generators put inside one line of code.
    for (const char *name : {"cboTitleMsgBox", "txtFileNameMsgBox", "txtTopicIDMsgBox", "txtTitleInputBox",
                             "txtDefaultInputBox", "txtHelpFileInputBox", "txtTopicIDInputBox", "txtVariableName",
                             "txtProject", "txtProgram", "txtVersion", "txtDate", "txtCopyright", "txtDescription",
                             "txtDialogTitleOpen", "txtDialogTitleSave", "txtDefaultExtensionSave"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestFieldText::everySingleLineFieldKeepsOneLine()
{
    QFETCH(QString, field);
    GuiHarness gui;
    QWidget *widget = gui.find(field);
    QLineEdit *edit = qobject_cast<QLineEdit *>(widget);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        edit = combo->lineEdit();
    QVERIFY(edit);
    // A paste arrives as an insert at the cursor.
    edit->setText(u"start end"_s);
    edit->setCursorPosition(6);
    edit->insert(u"one\r\ntwo\nthree\rfour "_s);
    QCOMPARE(edit->text(), u"start one two three four end"_s);
    QCOMPARE(edit->cursorPosition(), 25);
}

void TestFieldText::everySingleLineFieldTakesAnyLength_data()
{
    everySingleLineFieldKeepsOneLine_data();
}

void TestFieldText::everySingleLineFieldTakesAnyLength()
{
    QFETCH(QString, field);
    GuiHarness gui;
    QWidget *widget = gui.find(field);
    QLineEdit *edit = qobject_cast<QLineEdit *>(widget);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        edit = combo->lineEdit();
    const QString text(40000, u'x');
    edit->clear();
    edit->insert(text);
    QCOMPARE(edit->text(), text);
}

void TestFieldText::typedTextKeepsEveryCharacter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lines") << u"a\nb"_s << u"a\r\nb"_s;
    QTest::newRow("empty lines") << u"\n\n"_s << u"\r\n\r\n"_s;
    QTest::newRow("no-break space kept") << u"10\u00a0km"_s << u"10\u00a0km"_s;
    QTest::newRow("tab and quotes") << u"\t\"x\""_s << u"\t\"x\""_s;
}

void TestFieldText::typedTextKeepsEveryCharacter()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QPlainTextEdit edit;
    edit.setPlainText(typed);
    QCOMPARE(typedText(&edit), expected);
}

QTEST_MAIN(TestFieldText)
#include "tst_fieldtext.moc"
