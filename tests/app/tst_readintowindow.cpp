// SPDX-License-Identifier: GPL-3.0-or-later
// Code read from the clipboard, the Read from Clipboard button or a drop
// fills in its tool through the real widgets, or changes nothing at all.
#include "app/Tools.h"
#include "reader/CodeReader.h"
#include "support/GuiTest.h"
#include "tools/ToolModel.h"
#include "tools/ToolPanel.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/commondialog/CommonDialogPanel.h"
#include "tools/inputbox/InputBoxPanel.h"
#include "tools/msgbox/MsgBoxPanel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class TestReadIntoWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsIntoTheToolItBelongsTo_data();
    void readsIntoTheToolItBelongsTo();
    void readSetsTheModelAndThePanelFollows_data();
    void readSetsTheModelAndThePanelFollows();
    void unreadableCodeChangesNothing();
    void keyButtonAndDropAllRead();
    void readingAdoptsTheCodesStyle_data();
    void readingAdoptsTheCodesStyle();
    void severalPiecesAreCounted();
};

void TestReadIntoWindow::readsIntoTheToolItBelongsTo_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("message box") << u"If MsgBox(\"Delete \" & Chr(34) & \"x\" & Chr(34) & \"?\", 36) = vbYes Then"_s
                                 << u"tabNotewright"_s << u"txtMessageMsgBox"_s << u"Delete \"x\"?"_s;
    QTest::newRow("input box") << u"Name = InputBox(\"Your name?\", \"Who\")"_s << u"tabInputBox"_s
                               << u"txtVariableName"_s << u"Name"_s;
    QTest::newRow("common dialog")
        << u"CommonDialog1.DialogTitle = \"Pick\"\r\nCommonDialog1.Filter = \"txt Files|*.txt\"\r\n"
           u"CommonDialog1.ShowSave"_s
        << u"tabPickwright"_s << u"txtDialogTitleSave"_s << u"Pick"_s;
}

void TestReadIntoWindow::readsIntoTheToolItBelongsTo()
{
    QFETCH(QString, code);
    QFETCH(QString, panel);
    QFETCH(QString, field);
    QFETCH(QString, text);
    GuiHarness gui;
    gui.window->readCode(code);
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
    QCOMPARE(gui.window->currentTool()->objectName(), panel);
    QWidget *widget = gui.find(field);
    if (auto *edit = qobject_cast<QPlainTextEdit *>(widget))
        QCOMPARE(edit->toPlainText(), text);
    else
        QCOMPARE(widget->property("text").toString(), text);
    const QHash<QString, QString> captions{{u"tabNotewright"_s, u"Notewright"_s},
                                           {u"tabInputBox"_s, u"Askwright"_s},
                                           {u"tabPickwright"_s, u"Pickwright"_s}};
    QCOMPARE(gui.find<QLabel>(u"lblHeader"_s)->text(), captions.value(panel));
}

void TestReadIntoWindow::readSetsTheModelAndThePanelFollows_data()
{
    QTest::addColumn<QString>("code");
    // A field typed into just before the read, in the same turn of the event
    // loop; empty for none.
    QTest::addColumn<QString>("typedInto");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("message box, names") << u"If MsgBox(\"Save?\", vbYesNo + vbQuestion) = vbYes Then"_s << QString()
                                        << u"txtMessageMsgBox"_s << u"Save?"_s;
    QTest::newRow("message box over an edit not yet reported")
        << u"MsgBox \"From the read\", 48, \"Careful\""_s << u"txtMessageMsgBox"_s << u"txtMessageMsgBox"_s
        << u"From the read"_s;
    // The fields the model held before the edit: the read must still win.
    QTest::newRow("the start's fields over an edit not yet reported")
        << u"MsgBox \"\""_s << u"txtMessageMsgBox"_s << u"txtMessageMsgBox"_s << QString();
    QTest::newRow("input box") << u"x = InputBox(\"Age?\", \"Form\", \"42\")"_s << QString()
                               << u"txtDefaultInputBox"_s << u"42"_s;
    HeaderFields header;
    header.project = u"Ledger"_s;
    header.description = u"Books the day's sales"_s;
    QTest::newRow("header") << header::generateHeaderBlock(header) << QString() << u"txtDescription"_s
                            << u"Books the day's sales"_s;
    // A page other than the first, and a check box off.
    CommonDialogFields dialog;
    dialog.page = DialogKind::Printer;
    dialog.printToFile = false;
    QTest::newRow("common dialog, another page")
        << generateCommonDialogCode(dialog, {codegen::CodeOptions::Constants::Names, codegen::CodeOptions::Dialect::VisualBasic}) << QString()
        << u"chkPrintToFile"_s << u"off"_s;
}

void TestReadIntoWindow::readSetsTheModelAndThePanelFollows()
{
    QFETCH(QString, code);
    QFETCH(QString, typedInto);
    QFETCH(QString, field);
    QFETCH(QString, text);
    const ReadResult read = ::readCode(code, tools());
    QVERIFY(read.ok());
    const int index = int(read.tool - tools().constData());
    GuiHarness gui;
    gui.window->showTool(index);
    QCoreApplication::processEvents();
    ToolPanel *panel = gui.window->currentTool();
    ToolModel *model = gui.window->currentModel();
    QCOMPARE(panel->model(), model);
    if (!typedInto.isEmpty())
        QTest::keyClicks(gui.find(typedInto), u"typed"_s);
    QSignalSpy modelChanges(model, &ToolModel::fieldsChanged);
    QSignalSpy panelReports(panel, &ToolPanel::fieldsChanged);

    gui.window->readCode(code);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(gui.window->currentModel(), model);
    // The model holds what was read, and the panel shows it.
    QVERIFY(read.tool->sameFields(model->fields(), read.fields));
    QVERIFY(read.tool->sameFields(read.tool->panelFields(panel), read.fields));
    QWidget *widget = gui.find(field);
    if (auto *edit = qobject_cast<QPlainTextEdit *>(widget))
        QCOMPARE(edit->toPlainText(), text);
    else if (auto *check = qobject_cast<QAbstractButton *>(widget); check && check->isCheckable())
        QCOMPARE(check->isChecked(), text == u"on"_s);
    else
        QCOMPARE(widget->property("text").toString(), text);
    // The panel, showing the model's fields, reported nothing back; an edit
    // that waited was reported before the read, not after it.
    QCOMPARE(modelChanges.size(), typedInto.isEmpty() ? 1 : 2);
    QCOMPARE(panelReports.size(), typedInto.isEmpty() ? 0 : 1);
    // The choices show the options the read gave the model, and Copy writes
    // the model's code.
    QCOMPARE(gui.window->codeOptions(), model->codeOptions());
    QCOMPARE(gui.find<QComboBox>(u"cboDialect"_s)->currentData().toInt(), int(model->codeOptions().dialect));
    QCOMPARE(gui.copy(), read.tool->generate(read.fields, model->codeOptions()));
}

void TestReadIntoWindow::unreadableCodeChangesNothing()
{
    GuiHarness gui;
    gui.type(u"txtMessageMsgBox"_s, u"Keep me"_s);
    const QString before = gui.copy();
    gui.selectTool(u"imgTopwright"_s);
    for (const QString &code : {u"MsgBox UserName, 0"_s, u"no code at all"_s, u"MsgBox \"x\", vbDefaultButton4"_s}) {
        const qsizetype messages = gui.platform.msgBoxCalls.size();
        gui.window->readCode(code);
        QCOMPARE(gui.platform.msgBoxCalls.size(), messages + 1);
        const FakePlatform::MsgBoxCall &call = gui.platform.msgBoxCalls.constLast();
        QVERIFY2(call.prompt.contains(u"line 1, column"_s), qPrintable(call.prompt));
        QCOMPARE(call.buttons, vbOKOnly + vbExclamation);
        QCOMPARE(gui.window->currentTool()->objectName(), u"tabTopwright"_s);
    }
    gui.selectTool(u"imgNotewright"_s);
    QCOMPARE(gui.copy(), before);
}

void TestReadIntoWindow::keyButtonAndDropAllRead()
{
    GuiHarness gui;
    gui.platform.clipboard = u"MsgBox \"From the key\""_s;
    gui.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    QTest::keyClick(gui.window.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(gui.find<MsgBoxPanel>(u"tabNotewright"_s)->fields().message, u"From the key"_s);

    gui.window->setCodeViewShown(true);
    gui.platform.clipboard = u"x = InputBox(\"From the button\")"_s;
    gui.click(u"cmdReadCode"_s);
    QCOMPARE(gui.find<InputBoxPanel>(u"tabInputBox"_s)->fields().message, u"From the button"_s);
    QCOMPARE(gui.window->currentTool()->objectName(), u"tabInputBox"_s);

    // A drop reads once the drag has ended.
    QMimeData data;
    data.setText(u"CommonDialog1.ShowColor"_s);
    const QPoint where = gui.find(u"picHeader"_s)->geometry().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(gui.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(gui.window.get(), &drop);
    QTRY_COMPARE(gui.window->currentTool()->objectName(), u"tabPickwright"_s);
    QCOMPARE(gui.find<CommonDialogPanel>(u"tabPickwright"_s)->fields().page, DialogKind::Color);
}

void TestReadIntoWindow::readingAdoptsTheCodesStyle_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("constants");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("written");
    QTest::newRow("names") << u"MsgBox \"a\", vbYesNoCancel + vbQuestion"_s << u"Names"_s << u"Visual Basic"_s
                           << u", vbYesNoCancel + vbQuestion, "_s;
    QTest::newRow("numbers") << u"MsgBox \"a\", 35"_s << u"Numbers"_s << u"Visual Basic"_s << u", 35, "_s;
    QTest::newRow("LibreOffice names") << u"MsgBox \"a\", MB_YESNO"_s << u"Names"_s << u"LibreOffice Basic"_s
                                       << u", MB_YESNO, "_s;
    QTest::newRow("LibreOffice input box")
        << u"'*** Begin Askwright Code ***\r\nDim X As String\r\nX = InputBox (\"a\" & Chr$(13) & Chr$(10) & \"b\", \"\", \"\")\r\n'*** End Askwright Code ***"_s
        << u"Names"_s
        << u"LibreOffice Basic"_s << u"\"a\" & Chr$(13) & Chr$(10) & \"b\""_s;
    QTest::newRow("Gambas") << u"Message.Title = \"T\"\r\nMessage(\"a\\tb\", \"OK\")"_s << u"Names"_s << u"Gambas"_s
                            << u"Message(\"a\\tb\", \"OK\")"_s;
}

void TestReadIntoWindow::readingAdoptsTheCodesStyle()
{
    QFETCH(QString, code);
    QFETCH(QString, constants);
    QFETCH(QString, language);
    QFETCH(QString, written);
    GuiHarness gui;
    gui.window->setCodeViewShown(true);
    // Names first, so that a tool that tells no style keeps it.
    gui.window->setCodeOptions({codegen::CodeOptions::Constants::Names, codegen::CodeOptions::Dialect::VisualBasic});
    gui.window->readCode(code);
    QCOMPARE(gui.find<QComboBox>(u"cboConstants"_s)->currentText(), constants);
    QCOMPARE(gui.find<QComboBox>(u"cboDialect"_s)->currentText(), language);
    // Copy writes it back as it was read.
    const QString copied = gui.copy();
    QVERIFY2(copied.contains(written), qPrintable(copied));
}

void TestReadIntoWindow::severalPiecesAreCounted()
{
    GuiHarness gui;
    gui.window->readCode(u"MsgBox \"first\"\r\nx = InputBox(\"second\")\r\nCommonDialog1.ShowColor\r\nMsgBox \"fourth\""_s);
    QCOMPARE(gui.find<MsgBoxPanel>(u"tabNotewright"_s)->fields().message, u"first"_s);
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
    QVERIFY2(gui.platform.msgBoxCalls.constLast().prompt.contains(u"4"_s), qPrintable(gui.platform.msgBoxCalls.constLast().prompt));
    // One piece: nothing to say.
    gui.window->readCode(u"MsgBox \"only\""_s);
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
}

QTEST_MAIN(TestReadIntoWindow)
#include "tst_readintowindow.moc"
