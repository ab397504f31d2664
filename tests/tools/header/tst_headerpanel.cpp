// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "support/GenerateRun.h"
#include "codegen/CodeText.h"
#include "platform/QtPlatform.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QKeySequence>
#include <QAbstractButton>
#include <QPushButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QStringList fieldNames{u"txtProject"_s, u"txtProgram"_s,   u"txtVersion"_s,
                             u"txtDate"_s,    u"txtCopyright"_s, u"txtDescription"_s};

// The main window on the header tool; the fake's clock reads 6 December 2026.
struct HeaderGui : GuiHarness
{
    HeaderGui() { selectTool(u"imgTopwright"_s); }

    void typeFields(const QStringList &values)
    {
        for (qsizetype i = 0; i < fieldNames.size(); ++i)
            type(fieldNames.at(i), values.at(i));
    }
    QStringList fieldValues() const
    {
        QStringList values;
        for (const QString &name : fieldNames)
            values << find<QLineEdit>(name)->text();
        return values;
    }
};

QList<QWidget *> previews()
{
    QList<QWidget *> found;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == u"frmTest"_s)
            found << top;
    }
    return found;
}

// Presses Test and runs `whileShown` on the preview once it is up.
void pressTestWith(GuiHarness &gui, const std::function<void(QDialog *)> &whileShown)
{
    gui.whileModal(u"cmdTest"_s, [&](QWidget *modal) { whileShown(qobject_cast<QDialog *>(modal)); });
}

template<typename T = QWidget>
T *child(QDialog *preview, const QString &name)
{
    T *widget = preview->findChild<T *>(name);
    if (!widget)
        qFatal("the preview has no %s", qPrintable(name));
    return widget;
}

QString previewText(QDialog *preview)
{
    // The text area holds lines; the clipboard holds them joined by CR LF.
    return codegen::toCrLf(child<QPlainTextEdit>(preview, u"txtTest"_s)->toPlainText());
}

// In twips, rounded to the nearest 15 (one pixel at 96 dpi).
QRect twips(const QWidget *widget, const QRect &pixels)
{
    const auto x = [widget](int p) { return qRound(p * 96.0 / widget->logicalDpiX()) * 15; };
    const auto y = [widget](int p) { return qRound(p * 96.0 / widget->logicalDpiY()) * 15; };
    return {x(pixels.x()), y(pixels.y()), x(pixels.width()), y(pixels.height())};
}

enum class Closing { CloseButton, WindowFrame, Escape };

} // namespace

Q_DECLARE_METATYPE(Closing)

class TestHeaderPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneGeneralPageOfLabelledFields();
    void altLettersReachTheirFieldsAlone_data();
    void altLettersReachTheirFieldsAlone();
    void dateDefaultsAtStartAndOnNew();
    void dateDefaultHasAFourDigitYear_data();
    void dateDefaultHasAFourDigitYear();
    void copyGivesTheBlock();
    void pastedLineBreaksBecomeBlanks_data();
    void pastedLineBreaksBecomeBlanks();
    void previewShowsTheCopiedBlockLikeACodeWindow();
    void previewUnloadsHoweverClosed_data();
    void previewUnloadsHoweverClosed();
    void generateHeaderAgreesWithCopy();
};

void TestHeaderPanel::oneGeneralPageOfLabelledFields()
{
    HeaderGui gui;
    auto *tab = gui.find<QTabWidget>(u"tabTopwright"_s);
    QCOMPARE(tab->count(), 1);
    QCOMPARE(tab->tabText(0), u"General"_s);
    const QStringList captions{u"Project:"_s, u"Program:"_s,   u"Version:"_s,
                               u"Date:"_s,    u"Copyright:"_s, u"Description:"_s};
    int previousBottom = -1;
    for (qsizetype i = 0; i < fieldNames.size(); ++i) {
        auto *edit = gui.find<QLineEdit>(fieldNames.at(i));
        auto *label = gui.find<QLabel>(u"lbl"_s + fieldNames.at(i).mid(3));
        // The caption as the block writes it, with one letter marked for Alt.
        QCOMPARE(QString(label->text()).remove(u'&'), captions.at(i));
        QCOMPARE(label->text().count(u'&'), 1);
        QCOMPARE(label->buddy(), edit);
        QVERIFY(edit->isEnabled());
        const QPoint editAt = edit->mapTo(tab, QPoint());
        QVERIFY(editAt.y() > previousBottom);
        previousBottom = editAt.y() + edit->height();
    }
}

void TestHeaderPanel::altLettersReachTheirFieldsAlone_data()
{
    QTest::addColumn<bool>("codeView");
    QTest::newRow("code view hidden") << false;
    QTest::newRow("code view shown") << true;
}

void TestHeaderPanel::altLettersReachTheirFieldsAlone()
{
    QFETCH(bool, codeView);
    HeaderGui gui;
    gui.window->setCodeViewShown(codeView);
    gui.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));

    // Every access letter that the page shows, whoever owns it.
    QMultiHash<QKeySequence, QString> owners;
    for (QWidget *widget : gui.window->findChildren<QWidget *>()) {
        if (!widget->isVisible())
            continue;
        QString caption;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            caption = button->text();
        else if (auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
            caption = label->text();
        if (const QKeySequence key = QKeySequence::mnemonic(caption); !key.isEmpty())
            owners.insert(key, widget->objectName());
    }

    for (const QString &name : fieldNames) {
        auto *label = gui.find<QLabel>(u"lbl"_s + name.mid(3));
        const QKeySequence key = QKeySequence::mnemonic(label->text());
        QVERIFY2(!key.isEmpty(), qPrintable(name));
        QCOMPARE(owners.values(key), QStringList{label->objectName()});
        // The key itself moves the focus to the field.
        gui.find<QPushButton>(u"cmdNew"_s)->setFocus();
        QTest::keySequence(gui.window.get(), key);
        QCOMPARE(QApplication::focusWidget(), gui.find<QLineEdit>(name));
    }
}

void TestHeaderPanel::dateDefaultsAtStartAndOnNew()
{
    HeaderGui gui;
    const QString startText = gui.platform.dateText(QDate(2026, 12, 6));
    QVERIFY(!startText.isEmpty());
    QCOMPARE(gui.fieldValues(),
             (QStringList{QString(), QString(), QString(), startText, u"Copyright \u00a9 2026"_s, QString()}));

    gui.typeFields({u"P"_s, u"Q"_s, u"1"_s, u"someday"_s, u"mine"_s, u"D"_s});
    gui.find<QLabel>(u"lblHeader"_s)->setText(u"elsewhere"_s);
    gui.platform.today = QDate(2027, 1, 1);
    gui.click(u"cmdNew"_s);
    QCOMPARE(gui.fieldValues(), (QStringList{QString(), QString(), QString(), gui.platform.dateText(QDate(2027, 1, 1)),
                                             u"Copyright \u00a9 2027"_s, QString()}));
    QCOMPARE(gui.find<QLabel>(u"lblHeader"_s)->text(), u"Topwright"_s);
}

void TestHeaderPanel::dateDefaultHasAFourDigitYear_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("en_US") << u"en_US"_s << u"12/6/2026"_s;
    QTest::newRow("de_DE") << u"de_DE"_s << u"06.12.2026"_s;
}

void TestHeaderPanel::dateDefaultHasAFourDigitYear()
{
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });

    // The desktop's conversion and the fake's agree, so the field shows what
    // the program shows.
    QCOMPARE(QtPlatform().dateText(QDate(2026, 12, 6)), expected);
    HeaderGui gui;
    QCOMPARE(gui.fieldValues().at(3), expected);
}

void TestHeaderPanel::copyGivesTheBlock()
{
    HeaderGui gui;
    gui.typeFields({u"Payroll"_s, u"PAYCALC"_s, u"1.2"_s, u"12/06/2026"_s, u"Copyright \u00a9 2026"_s,
                    u"Monthly run"_s});
    const QString rule = u'\'' + QString(79, u'*');
    QCOMPARE(gui.copy(), (QStringList{rule, u"' Project:      Payroll"_s, u"' Program:      PAYCALC"_s,
                                      u"' Version:      1.2"_s, u"' Date:         12/06/2026"_s,
                                      u"' Copyright:    Copyright \u00a9 2026"_s, u"' Description:  Monthly run"_s,
                                      rule})
                             .join(u"\r\n"_s));
}

void TestHeaderPanel::pastedLineBreaksBecomeBlanks_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursorAfter");
    QTest::newRow("LF") << u"X\nY"_s << u"startX Yend"_s << 8;
    QTest::newRow("CR LF, lone CR, trailing") << u"a\r\nb\rc\n"_s << u"starta b c end"_s << 11;
}

void TestHeaderPanel::pastedLineBreaksBecomeBlanks()
{
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    QFETCH(int, cursorAfter);
    HeaderGui gui;
    gui.type(u"txtDescription"_s, u"startend"_s);
    auto *description = gui.find<QLineEdit>(u"txtDescription"_s);
    description->setCursorPosition(5);
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(description->text(), after);
    QCOMPARE(description->cursorPosition(), cursorAfter);
    QCOMPARE(gui.copy().split(u"\r\n"_s).at(6), u"' Description:  "_s + after);
}

void TestHeaderPanel::previewShowsTheCopiedBlockLikeACodeWindow()
{
    HeaderGui gui;
    gui.typeFields({u"Payroll"_s, u"PAYCALC"_s, u"1.2"_s, u"12/06/2026"_s, u"\u00a9 me"_s, u"Monthly run"_s});
    const QString copied = gui.copy();
    // The checks run while Test waits for the modal preview to close.
    pressTestWith(gui, [&](QDialog *preview) {
        QCOMPARE(preview->objectName(), u"frmTest"_s);
        QCOMPARE(preview->windowTitle(), u"Header Generator - Test (Code)"_s);
        QCOMPARE(preview->parentWidget(), gui.window.get());
        QCOMPARE(previewText(preview), copied);

        QCOMPARE(preview->minimumSize(), preview->maximumSize());
        QVERIFY(!(preview->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(twips(preview, preview->rect()), QRect(0, 0, 7890, 4620));
        const QList<std::pair<QString, QRect>> layout{{u"Combo1"_s, {135, 90, 3075, 315}},
                                                      {u"Combo2"_s, {3420, 90, 4335, 315}},
                                                      {u"txtTest"_s, {135, 540, 7620, 3525}},
                                                      {u"cmdClose"_s, {6480, 4185, 1275, 330}}};
        for (const auto &[name, rect] : layout)
            QCOMPARE(twips(preview, child(preview, name)->geometry()), rect);

        QCOMPARE(child<QComboBox>(preview, u"Combo1"_s)->currentText(), u"(General)"_s);
        QCOMPARE(child<QComboBox>(preview, u"Combo2"_s)->currentText(), u"(Declarations)"_s);
        auto *text = child<QPlainTextEdit>(preview, u"txtTest"_s);
        QVERIFY(QFontInfo(text->font()).fixedPitch());

        // Focus starts in the text, then Close and the two boxes.
        QCOMPARE(preview->focusWidget(), text);
        const QStringList order{u"txtTest"_s, u"cmdClose"_s, u"Combo1"_s, u"Combo2"_s};
        QStringList chain;
        QWidget *w = text;
        do {
            if (order.contains(w->objectName()) && !chain.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != text);
        QCOMPARE(chain, order);

        // Tab in the text moves on to Close and types nothing.
        preview->activateWindow();
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Tab);
        QCOMPARE(preview->focusWidget(), child(preview, u"cmdClose"_s));
        QCOMPARE(previewText(preview), copied);

        // Edits in the preview never reach the panel.
        QTest::keyClicks(text, u"edited"_s);
        preview->close();
    });
    QCOMPARE(gui.copy(), copied);
}

void TestHeaderPanel::previewUnloadsHoweverClosed_data()
{
    QTest::addColumn<Closing>("way");
    QTest::newRow("Close button") << Closing::CloseButton;
    QTest::newRow("window frame") << Closing::WindowFrame;
    QTest::newRow("Escape") << Closing::Escape;
}

void TestHeaderPanel::previewUnloadsHoweverClosed()
{
    QFETCH(Closing, way);
    HeaderGui gui;
    gui.type(u"txtProject"_s, u"First"_s);
    QPointer<QDialog> first;
    pressTestWith(gui, [&](QDialog *preview) {
        first = preview;
        switch (way) {
        case Closing::CloseButton:
            QTest::mouseClick(child(preview, u"cmdClose"_s), Qt::LeftButton);
            break;
        case Closing::WindowFrame:
            preview->close(); // what the frame's close box asks
            break;
        case Closing::Escape:
            QTest::keyClick(child(preview, u"txtTest"_s), Qt::Key_Escape);
            break;
        }
    });
    QVERIFY(first.isNull());
    QVERIFY(previews().isEmpty());

    // The next test builds one new window with the block as it now stands.
    gui.type(u"txtProject"_s, u"Second"_s);
    const QString copied = gui.copy();
    pressTestWith(gui, [&](QDialog *preview) {
        QCOMPARE(previewText(preview), copied);
        QCOMPARE(previews(), QList<QWidget *>{preview});
        preview->close();
    });
    QVERIFY(previews().isEmpty());
}

void TestHeaderPanel::generateHeaderAgreesWithCopy()
{
    const auto generateHeader = [](const QStringList &options) {
        const GenerateRun run = runGenerate(u"header"_s, options);
        if (run.status != 0)
            qWarning("generate header: %s", qPrintable(run.err));
        return run.out;
    };
    HeaderGui gui;
    gui.typeFields({u" -x "_s, u"\"q\""_s, QString(), u"12/06/2026"_s, u"\u00a9 1.0"_s, u"a=b"_s});
    QCOMPARE(generateHeader({u"--project= -x "_s, u"--program=\"q\""_s, u"--version="_s, u"--date=12/06/2026"_s,
                             u"--copyright=\u00a9 1.0"_s, u"--description=a=b"_s}),
             gui.copy());

    // Without options both start from today's date defaults.
    gui.platform.today = QDate::currentDate();
    gui.click(u"cmdNew"_s);
    QCOMPARE(generateHeader({}), gui.copy());
}

QTEST_MAIN(TestHeaderPanel)
#include "tst_headerpanel.moc"
