#include "app/CommandLine.h"
#include "codegen/CodeText.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString rule = u"'*******************************************************************************"_s;
const QStringList fieldNames{u"txtProject"_s, u"txtProgram"_s,   u"txtVersion"_s,
                             u"txtDate"_s,    u"txtCopyright"_s, u"txtDescription"_s};

QLineEdit *field(const GuiHarness &gui, const QString &name)
{
    return gui.find<QLineEdit>(name);
}

// The main window on the header tool, the fake's clock at 6 December 2026.
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
            values << field(*this, name)->text();
        return values;
    }
    QString todayText() const { return platform.dateText(platform.today); }
};

QDialog *findPreview()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == u"frmTest"_s)
            return qobject_cast<QDialog *>(top);
    }
    return nullptr;
}

// Presses Test and runs `whileShown` on the preview once it is up. The
// preview is modal, so the checks run from the event loop it spins; a guard
// closes it should they fail to, so that a fault cannot hang the run.
void pressTestWith(GuiHarness &gui, const std::function<void(QDialog *)> &whileShown)
{
    bool shown = false;
    bool guarded = false;
    QTimer checks;
    checks.setSingleShot(true);
    QObject::connect(&checks, &QTimer::timeout, [&] {
        auto *preview = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!preview || !preview->isVisible()) {
            checks.start(10);
            return;
        }
        shown = true;
        whileShown(preview);
        if (QTest::currentTestFailed() && preview->isVisible())
            preview->close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        guarded = true;
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    checks.start(0);
    guard.start(20000);
    gui.click(u"cmdTest"_s);
    QVERIFY2(shown, "the preview never showed");
    QVERIFY2(!guarded, "the preview stayed open");
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

QString runGenerateHeader(const QStringList &options)
{
    QBuffer out, err, in;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    const int status =
        runCommandLine(QStringList{u"quillkit98"_s, u"generate"_s, u"header"_s} + options, out, err, in);
    if (status != 0)
        qWarning("generate header: %s", err.data().constData());
    return QString::fromUtf8(out.data());
}

enum class Closing { CloseButton, WindowFrame, Escape };

} // namespace

Q_DECLARE_METATYPE(Closing)

class TestHeaderPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneGeneralPageOfLabelledFields();
    void startsWithTheDateDefaults();
    void copyGivesTheBlock_data();
    void copyGivesTheBlock();
    void pastedLineBreaksBecomeBlanks_data();
    void pastedLineBreaksBecomeBlanks();
    void newEmptiesAndAppliesTodaysDefaults();
    void fieldsSurviveSwitchingTools();
    void previewShowsTheCopiedBlockModally();
    void previewLooksLikeACodeWindow();
    void previewUnloadsHoweverClosed_data();
    void previewUnloadsHoweverClosed();
    void previewEditsAreNeverRead();
    void generateHeaderAgreesWithCopy_data();
    void generateHeaderAgreesWithCopy();
};

void TestHeaderPanel::oneGeneralPageOfLabelledFields()
{
    HeaderGui gui;
    auto *tab = gui.find<QTabWidget>(u"tabTopwright"_s);
    QCOMPARE(tab->count(), 1);
    QCOMPARE(tab->tabText(0), u"General"_s);

    const QStringList labels{u"lblProject"_s, u"lblProgram"_s,   u"lblVersion"_s,
                             u"lblDate"_s,    u"lblCopyright"_s, u"lblDescription"_s};
    const QStringList captions{u"Project:"_s, u"Program:"_s,   u"Version:"_s,
                               u"Date:"_s,    u"Copyright:"_s, u"Description:"_s};
    int previousTop = -1;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        auto *label = gui.find<QLabel>(labels.at(i));
        QLineEdit *edit = field(gui, fieldNames.at(i));
        QCOMPARE(label->text(), captions.at(i));
        QCOMPARE(label->buddy(), edit);
        QVERIFY(edit->isEnabled());
        // Label to the left of its field, rows from top to bottom.
        const QRect labelRect(label->mapTo(tab, QPoint()), label->size());
        const QRect editRect(edit->mapTo(tab, QPoint()), edit->size());
        QVERIFY(labelRect.right() < editRect.left());
        QVERIFY(qAbs(labelRect.center().y() - editRect.center().y()) <= 2);
        QVERIFY(editRect.top() > previousTop);
        previousTop = editRect.bottom();
    }
}

void TestHeaderPanel::startsWithTheDateDefaults()
{
    HeaderGui gui;
    QCOMPARE(gui.fieldValues(), (QStringList{QString(), QString(), QString(), gui.todayText(),
                                             u"Copyright \u00a9 2026"_s, QString()}));
    QVERIFY(!gui.todayText().isEmpty());
}

void TestHeaderPanel::copyGivesTheBlock_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("payroll") << QStringList{u"Payroll"_s, u"PAYCALC"_s, u"1.2"_s, u"12/06/2026"_s,
                                           u"Copyright \u00a9 2026"_s, u"Monthly run"_s}
                             << QStringList{rule,
                                            u"' Project:      Payroll"_s,
                                            u"' Program:      PAYCALC"_s,
                                            u"' Version:      1.2"_s,
                                            u"' Date:         12/06/2026"_s,
                                            u"' Copyright:    Copyright \u00a9 2026"_s,
                                            u"' Description:  Monthly run"_s,
                                            rule};
    QTest::newRow("all empty") << QStringList{QString(), QString(), QString(), QString(), QString(), QString()}
                               << QStringList{rule,
                                              u"' Project:      "_s,
                                              u"' Program:      "_s,
                                              u"' Version:      "_s,
                                              u"' Date:         "_s,
                                              u"' Copyright:    "_s,
                                              u"' Description:  "_s,
                                              rule};
    QTest::newRow("blanks and quotes kept")
        << QStringList{u" a "_s, u"\"b\""_s, u"  "_s, u"x"_s, u"(c) me"_s, u"it's"_s}
        << QStringList{rule,
                       u"' Project:       a "_s,
                       u"' Program:      \"b\""_s,
                       u"' Version:        "_s,
                       u"' Date:         x"_s,
                       u"' Copyright:    (c) me"_s,
                       u"' Description:  it's"_s,
                       rule};
}

void TestHeaderPanel::copyGivesTheBlock()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, lines);
    HeaderGui gui;
    gui.typeFields(typed);
    QCOMPARE(gui.copy(), lines.join(u"\r\n"_s));
    QCOMPARE(gui.platform.log.filter(u"Clipboard"_s),
             (QStringList{u"clearClipboard"_s, u"setClipboardText"_s}));
}

void TestHeaderPanel::pastedLineBreaksBecomeBlanks_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursorAfter");
    QTest::newRow("LF") << QString() << 0 << u"one\ntwo"_s << u"one two"_s << 7;
    QTest::newRow("CR LF and lone CR") << QString() << 0 << u"a\r\nb\rc"_s << u"a b c"_s << 5;
    QTest::newRow("into the middle") << u"startend"_s << 5 << u"X\nY\n"_s << u"startX Y end"_s << 9;
}

void TestHeaderPanel::pastedLineBreaksBecomeBlanks()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    QFETCH(int, cursorAfter);
    HeaderGui gui;
    QLineEdit *description = field(gui, u"txtDescription"_s);
    gui.type(u"txtDescription"_s, before);
    description->setCursorPosition(cursor);
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(description->text(), after);
    QCOMPARE(description->cursorPosition(), cursorAfter);
    const QStringList lines = gui.copy().split(u"\r\n"_s);
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.at(6), u"' Description:  "_s + after);
}

void TestHeaderPanel::newEmptiesAndAppliesTodaysDefaults()
{
    HeaderGui gui;
    gui.typeFields({u"P"_s, u"Q"_s, u"1"_s, u"someday"_s, u"mine"_s, u"D"_s});
    gui.find<QLabel>(u"lblHeader"_s)->setText(u"elsewhere"_s);
    gui.platform.today = QDate(2027, 1, 1);
    gui.click(u"cmdNew"_s);
    QCOMPARE(gui.fieldValues(), (QStringList{QString(), QString(), QString(), gui.todayText(),
                                             u"Copyright \u00a9 2027"_s, QString()}));
    QCOMPARE(gui.todayText(), gui.platform.dateText(QDate(2027, 1, 1)));
    QCOMPARE(gui.find<QLabel>(u"lblHeader"_s)->text(), u"Topwright"_s);
    QCOMPARE(gui.find<QTabWidget>(u"tabTopwright"_s)->currentIndex(), 0);
}

void TestHeaderPanel::fieldsSurviveSwitchingTools()
{
    HeaderGui gui;
    gui.typeFields({u"P"_s, u"Q"_s, u"1"_s, u"someday"_s, u"mine"_s, u"D"_s});
    const QString block = gui.copy();
    gui.platform.today = QDate(2030, 5, 5);
    gui.selectTool(u"imgPickwright"_s);
    gui.selectTool(u"imgTopwright"_s);
    gui.selectTool(u"imgTopwright"_s);
    QCOMPARE(gui.fieldValues(), (QStringList{u"P"_s, u"Q"_s, u"1"_s, u"someday"_s, u"mine"_s, u"D"_s}));
    QCOMPARE(gui.copy(), block);
}

void TestHeaderPanel::previewShowsTheCopiedBlockModally()
{
    HeaderGui gui;
    gui.typeFields({u"Payroll"_s, u"PAYCALC"_s, u"1.2"_s, u"12/06/2026"_s, u"\u00a9 me"_s, u"Monthly run"_s});
    const QString copied = gui.copy();
    QVERIFY(!findPreview());

    bool returned = false;
    pressTestWith(gui, [&](QDialog *preview) {
        QCOMPARE(preview->objectName(), u"frmTest"_s);
        QCOMPARE(preview->windowTitle(), u"Header Generator - Test (Code)"_s);
        QCOMPARE(QApplication::activeModalWidget(), preview);
        QCOMPARE(preview->parentWidget(), gui.window.get());
        QVERIFY(!returned);
        QCOMPARE(previewText(preview), copied);
        QTest::mouseClick(child(preview, u"cmdClose"_s), Qt::LeftButton);
    });
    returned = true;
    QVERIFY(!findPreview());
}

void TestHeaderPanel::previewLooksLikeACodeWindow()
{
    HeaderGui gui;
    pressTestWith(gui, [&](QDialog *preview) {
        // Within a client area of 7890 x 4620 twips.
        const auto twips = [preview](QPoint pixels) {
            return QPoint(qRound(pixels.x() * 1440.0 / preview->logicalDpiX()),
                          qRound(pixels.y() * 1440.0 / preview->logicalDpiY()));
        };
        const auto near = [](QPoint actual, QPoint expected) {
            return qAbs(actual.x() - expected.x()) <= 15 && qAbs(actual.y() - expected.y()) <= 15;
        };
        QCOMPARE(preview->minimumSize(), preview->maximumSize());
        QVERIFY(near(twips({preview->width(), preview->height()}), {7890, 4620}));
        QVERIFY(!(preview->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const struct
        {
            const char *name;
            QPoint position;
            QPoint size;
        } layout[] = {{"Combo1", {135, 90}, {3075, 315}},
                      {"Combo2", {3420, 90}, {4335, 315}},
                      {"txtTest", {135, 540}, {7620, 3525}},
                      {"cmdClose", {6480, 4185}, {1275, 330}}};
        for (const auto &control : layout) {
            QWidget *widget = child(preview, QString::fromLatin1(control.name));
            QVERIFY2(near(twips(widget->pos()), control.position), control.name);
            QVERIFY2(near(twips({widget->width(), widget->height()}), control.size), control.name);
        }

        const QStringList boxTexts{u"(General)"_s, u"(Declarations)"_s};
        for (int i = 0; i < 2; ++i) {
            auto *box = child<QComboBox>(preview, u"Combo%1"_s.arg(i + 1));
            QVERIFY(!box->isEnabled());
            QCOMPARE(box->currentText(), boxTexts.at(i));
            QCOMPARE(box->count(), 0);
            QVERIFY(box->font().bold());
            QCOMPARE(box->font().pointSizeF(), 8.25);
        }

        auto *text = child<QPlainTextEdit>(preview, u"txtTest"_s);
        QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(text->font().pointSizeF(), 9.75);
        QVERIFY(!text->font().bold());
        QVERIFY(QFontInfo(text->font()).fixedPitch());
        QCOMPARE(text->palette().color(QPalette::Text), QColor(0, 128, 0));
        QCOMPARE(child<QPushButton>(preview, u"cmdClose"_s)->text(), u"&Close"_s);

        // Focus starts in the text, then goes to Close and the two boxes.
        QCOMPARE(preview->focusWidget(), text);
        const QStringList order{u"txtTest"_s, u"cmdClose"_s, u"Combo1"_s, u"Combo2"_s};
        QStringList chain;
        for (QWidget *w = text; chain.size() < order.size(); w = w->nextInFocusChain()) {
            if (order.contains(w->objectName()) && !chain.contains(w->objectName()))
                chain << w->objectName();
        }
        QCOMPARE(chain, order);
        preview->close();
    });
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
        QVERIFY(previewText(preview).contains(u"First"_s));
        switch (way) {
        case Closing::CloseButton:
            QTest::mouseClick(child(preview, u"cmdClose"_s), Qt::LeftButton);
            break;
        case Closing::WindowFrame:
            preview->close(); // what the frame's close box sends
            break;
        case Closing::Escape:
            QTest::keyClick(child(preview, u"txtTest"_s), Qt::Key_Escape);
            break;
        }
    });
    QVERIFY(first.isNull());
    QVERIFY(!findPreview());

    // The next test builds a new window with the block as it now stands.
    gui.type(u"txtProject"_s, u"Second"_s);
    const QString copied = gui.copy();
    pressTestWith(gui, [&](QDialog *preview) {
        QCOMPARE(previewText(preview), copied);
        QVERIFY(!previewText(preview).contains(u"First"_s));
        int previews = 0;
        for (QWidget *top : QApplication::topLevelWidgets())
            previews += top->objectName() == u"frmTest"_s;
        QCOMPARE(previews, 1);
        preview->close();
    });
    QVERIFY(!findPreview());
}

void TestHeaderPanel::previewEditsAreNeverRead()
{
    HeaderGui gui;
    gui.type(u"txtProject"_s, u"Payroll"_s);
    const QString copied = gui.copy();
    pressTestWith(gui, [&](QDialog *preview) {
        auto *text = child<QPlainTextEdit>(preview, u"txtTest"_s);
        text->selectAll();
        QTest::keyClicks(text, u"edited"_s);
        preview->close();
    });
    QCOMPARE(field(gui, u"txtProject"_s)->text(), u"Payroll"_s);
    QCOMPARE(gui.copy(), copied);
}

void TestHeaderPanel::generateHeaderAgreesWithCopy_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("options");
    const QStringList names{u"--project"_s, u"--program"_s,   u"--version"_s,
                            u"--date"_s,    u"--copyright"_s, u"--description"_s};
    const auto optionsFor = [&names](const QStringList &values) {
        QStringList options;
        for (qsizetype i = 0; i < values.size(); ++i)
            options << names.at(i) + u'=' + values.at(i);
        return options;
    };
    const QStringList payroll{u"Payroll"_s, u"PAYCALC"_s, u"1.2"_s, u"12/06/2026"_s, u"Copyright \u00a9 2026"_s,
                              u"Monthly run"_s};
    QTest::newRow("payroll") << payroll << optionsFor(payroll);
    const QStringList odd{u" -x "_s, u"\"q\""_s, u""_s, u"\u00a9 1.0"_s, u""_s, u"a=b"_s};
    QTest::newRow("odd values") << odd << optionsFor(odd);
}

void TestHeaderPanel::generateHeaderAgreesWithCopy()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, options);
    HeaderGui gui;
    gui.typeFields(typed);
    QCOMPARE(runGenerateHeader(options), gui.copy());

    // Without options both start from today's date defaults.
    gui.platform.today = QDate::currentDate();
    gui.click(u"cmdNew"_s);
    QCOMPARE(runGenerateHeader({}), gui.copy());
}

QTEST_MAIN(TestHeaderPanel)
#include "tst_headerpanel.moc"
