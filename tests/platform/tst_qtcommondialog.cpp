// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtCommonDialog.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

using namespace Qt::StringLiterals;
using namespace qtcommondialog;

namespace {

// Acts on the next modal dialog as soon as it shows, as a user would. A
// dialog that is still open a while after that is closed, so that a test
// fails instead of hanging.
class DialogDriver
{
public:
    explicit DialogDriver(std::function<void(QDialog &)> act)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, act] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (!m_shown) {
                m_shown = true;
                m_actedOn = dialog;
                act(*dialog);
            } else if (dialog == m_actedOn && ++m_ticksAfter > 200) {
                m_stuck = true;
                dialog->reject();
            }
        });
        m_timer.start();
    }
    bool shown() const { return m_shown; }
    bool stuck() const { return m_stuck; }

private:
    QTimer m_timer;
    QPointer<QDialog> m_actedOn;
    int m_ticksAfter = 0;
    bool m_shown = false;
    bool m_stuck = false;
};

std::unique_ptr<CommonDialog> component(const QString &title, const QString &filter, const QString &defaultExt,
                                        qint32 flags)
{
    static QtPlatform platform;
    auto dialog = platform.createCommonDialog(nullptr);
    dialog->setDialogTitle(title);
    dialog->setFilter(filter);
    dialog->setDefaultExt(defaultExt);
    dialog->setFlags(flags);
    return dialog;
}

QPushButton *addToCustomColors(const QColorDialog &dialog)
{
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        if (button->text() == QColorDialog::tr("&Add to Custom Colors"))
            return button;
    }
    return nullptr;
}

} // namespace

class TestQtCommonDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Qt's dialogs keep their state in memory, as in the program, from the
    // first test on: none writes QtProject.conf under HOME.
    void initTestCase() { component({}, {}, {}, 0); }
    void nameFilters_data();
    void nameFilters();
    void windowsFilters_data();
    void windowsFilters();
    void fileDialogReadsEachPattern_data();
    void fileDialogReadsEachPattern();
    void fileDialogSetUp_data();
    void fileDialogSetUp();
    void fontFlags_data();
    void fontFlags();
    void familiesWithoutStyles_data();
    void familiesWithoutStyles();
    void customColors_data();
    void customColors();
    void printing_data();
    void printing();
    void openConfirmsTheChosenFile();
    void everyDialogShowsAndCancels_data();
    void everyDialogShowsAndCancels();
    void fileDialogsOpenReadableAndKeepTheirStateForTheRun_data();
    void fileDialogsOpenReadableAndKeepTheirStateForTheRun();
};

void TestQtCommonDialog::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty means all files") << QString() << QStringList{};
    QTest::newRow("final bar") << u"txt Files|*.txt|"_s << QStringList{u"txt Files (*.txt)"_s};
    QTest::newRow("two pairs") << u"txt Files|*.txt|bas Files|*.bas|"_s
                               << QStringList{u"txt Files (*.txt)"_s, u"bas Files (*.bas)"_s};
    QTest::newRow("several patterns, one filter")
        << u"Basic|*.bas; *.cls;*.frm|"_s << QStringList{u"Basic (*.bas *.cls *.frm)"_s};
    QTest::newRow("patterns already shown") << u"Windows Help Files (*.hlp)|*.hlp"_s
                                            << QStringList{u"Windows Help Files (*.hlp)"_s};
    QTest::newRow("patterns shown with semicolons, which Qt cannot read")
        << u"Basic (*.bas;*.cls)|*.bas;*.cls"_s << QStringList{u"Basic (*.bas;*.cls) (*.bas *.cls)"_s};
    QTest::newRow("other parentheses get the patterns")
        << u"Text (plain)|*.txt|"_s << QStringList{u"Text (plain) (*.txt)"_s};
    QTest::newRow("odd count drops the lone description")
        << u"Text|*.txt|Basic"_s << QStringList{u"Text (*.txt)"_s};
    QTest::newRow("empty pattern drops its pair") << u"Nothing||Text|*.txt|"_s << QStringList{u"Text (*.txt)"_s};
    QTest::newRow("only semicolons") << u"Odd|;;|"_s << QStringList{};
    QTest::newRow("empty description") << u"|*.txt|"_s << QStringList{u"*.txt"_s};
    QTest::newRow("letters beyond ASCII stand bare") << u"é Files|*.é|"_s << QStringList{u"*.é"_s};
    QTest::newRow("a parenthesis stands bare") << u"(x Files|*.(x|"_s << QStringList{u"*.(x"_s};
    QTest::newRow("lone surrogate in the description")
        << u"\xD800 Files|*.txt|"_s << QStringList{u"*.txt"_s};
    QTest::newRow("unreadable in any form") << u"x) Files|*.x)|txt Files|*.txt|"_s
                                            << QStringList{u"txt Files (*.txt)"_s};
}

void TestQtCommonDialog::windowsFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty means all files") << QString() << QString();
    QTest::newRow("final bar") << u"txt Files|*.txt|"_s << u"txt Files\0*.txt\0\0"_s;
    QTest::newRow("two pairs") << u"txt Files|*.txt|bas Files|*.bas"_s << u"txt Files\0*.txt\0bas Files\0*.bas\0\0"_s;
    QTest::newRow("several patterns stay one") << u"Basic|*.bas;*.cls|"_s << u"Basic\0*.bas;*.cls\0\0"_s;
    QTest::newRow("odd count drops the lone description") << u"Text|*.txt|Basic"_s << u"Text\0*.txt\0\0"_s;
    QTest::newRow("empty pattern drops its pair") << u"Nothing||Text|*.txt|"_s << u"Text\0*.txt\0\0"_s;
    // An empty description would end the list there.
    QTest::newRow("empty description shows the pattern") << u"|*.txt|"_s << u"*.txt\0*.txt\0\0"_s;
    QTest::newRow("a NUL inside would end it early") << QString(u"T\0X|*.T\0X|"_s) << u"TX\0*.TX\0\0"_s;
}

void TestQtCommonDialog::windowsFilters()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(windowsFilter(filter), expected);
}

void TestQtCommonDialog::fileDialogReadsEachPattern_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<QStringList>>("patterns");
    QTest::newRow("plain") << u"txt Files|*.txt|bas Files|*.bas|"_s
                           << QList<QStringList>{{u"*.txt"_s}, {u"*.bas"_s}};
    QTest::newRow("several") << u"Basic|*.bas; *.cls|"_s << QList<QStringList>{{u"*.bas"_s, u"*.cls"_s}};
    QTest::newRow("beyond ASCII") << u"é Files|*.é|"_s << QList<QStringList>{{u"*.é"_s}};
    QTest::newRow("parenthesis") << u"(x Files|*.(x|"_s << QList<QStringList>{{u"*.(x"_s}};
    QTest::newRow("lone surrogate") << u"\xD800 Files|*.txt|"_s << QList<QStringList>{{u"*.txt"_s}};
    QTest::newRow("control character") << u"T\0X Files|*.T\0X|"_s << QList<QStringList>{{u"*.T\0X"_s}};
}

// What the file dialog filters on is what its model gets once a name filter
// is chosen: the patterns of the pair, and no word of the description.
void TestQtCommonDialog::fileDialogReadsEachPattern()
{
    QFETCH(QString, filter);
    QFETCH(QList<QStringList>, patterns);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(qtcommondialog::nameFilters(filter));
    auto *model = dialog.findChild<QFileSystemModel *>();
    QVERIFY(model);
    QList<QStringList> read;
    for (const QString &nameFilter : dialog.nameFilters()) {
        dialog.selectNameFilter(nameFilter);
        read << model->nameFilters();
    }
    QCOMPARE(read, patterns);
}

void TestQtCommonDialog::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(qtcommondialog::nameFilters(filter), expected);
}

void TestQtCommonDialog::fileDialogSetUp_data()
{
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("defaultExt");
    QTest::addColumn<qint32>("flags");
    QTest::addColumn<QString>("windowTitle");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("confirmOverwrite");

    QTest::newRow("open") << DialogKind::Open << u"Open"_s << u"txt Files|*.txt|bas Files|*.bas|"_s << QString()
                          << 0 << u"Open"_s << QStringList{u"txt Files (*.txt)"_s, u"bas Files (*.bas)"_s}
                          << QString() << true;
    QTest::newRow("save with a default extension")
        << DialogKind::Save << u"Export"_s << u"frm Files|*.frm|"_s << u"frm"_s << 0 << u"Export"_s
        << QStringList{u"frm Files (*.frm)"_s} << u"frm"_s << false;
    QTest::newRow("save asking before replacing")
        << DialogKind::Save << u"Save As"_s << QString() << QString() << qint32(cdlOFNOverwritePrompt)
        << u"Save As"_s << QStringList{u"All Files (*)"_s} << QString() << true;
    QTest::newRow("open, empty title falls back to Qt's own")
        << DialogKind::Open << QString() << QString() << u"frm"_s << 0 << u"Open"_s
        << QStringList{u"All Files (*)"_s} << u"frm"_s << true;
}

void TestQtCommonDialog::fileDialogSetUp()
{
    QFETCH(DialogKind, kind);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    QFETCH(QString, defaultExt);
    QFETCH(qint32, flags);
    QFETCH(QString, windowTitle);
    QFETCH(QStringList, filters);
    QFETCH(QString, suffix);
    QFETCH(bool, confirmOverwrite);

    const auto properties = component(title, filter, defaultExt, flags);
    QFileDialog dialog;
    setUpFileDialog(dialog, kind, *properties);
    QCOMPARE(dialog.windowTitle(), windowTitle);
    QCOMPARE(dialog.nameFilters(), filters);
    QCOMPARE(dialog.defaultSuffix(), suffix);
    QCOMPARE(dialog.acceptMode(), kind == DialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    QCOMPARE(dialog.fileMode(), kind == DialogKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QCOMPARE(!dialog.testOption(QFileDialog::DontConfirmOverwrite), confirmOverwrite);
}

void TestQtCommonDialog::fontFlags_data()
{
    QTest::addColumn<qint32>("flags");
    QTest::addColumn<QFontDialog::FontDialogOptions>("options");
    QTest::newRow("screen: every font") << qint32(cdlCFScreenFonts) << QFontDialog::FontDialogOptions{};
    QTest::newRow("printer: scalable fonts") << qint32(cdlCFPrinterFonts)
                                             << QFontDialog::FontDialogOptions{QFontDialog::ScalableFonts};
    QTest::newRow("both: every font") << qint32(cdlCFBoth) << QFontDialog::FontDialogOptions{};
}

void TestQtCommonDialog::fontFlags()
{
    QFETCH(qint32, flags);
    QFETCH(QFontDialog::FontDialogOptions, options);
    QCOMPARE(fontDialogOptions(flags), options);
    // The fonts installed for the tests include scalable ones.
    QVERIFY(fontsAvailable(options));
}

void TestQtCommonDialog::familiesWithoutStyles_data()
{
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<QString>("unreadable");
    QTest::newRow("every installed family") << QFontDatabase::families() << QString();
    // As Wine lists "MS Shell Dlg", a name that stands for another font.
    QTest::newRow("a family that no font has")
        << (QFontDatabase::families() << u"No Such Family 98"_s) << u"No Such Family 98"_s;
}

void TestQtCommonDialog::familiesWithoutStyles()
{
    QFETCH(QStringList, families);
    QFETCH(QString, unreadable);
    QCOMPARE(familyWithoutStyles(families), unreadable);
}

void TestQtCommonDialog::customColors_data()
{
    QTest::addColumn<qint32>("flags");
    QTest::addColumn<bool>("canDefine");
    QTest::newRow("0") << 0 << true;
    QTest::newRow("cdlCCPreventFullOpen") << qint32(cdlCCPreventFullOpen) << false;
}

void TestQtCommonDialog::customColors()
{
    QFETCH(qint32, flags);
    QFETCH(bool, canDefine);
    QColorDialog dialog;
    setUpColorDialog(dialog, flags);
    // The button can only be reached in Qt's own dialog.
    QCOMPARE(dialog.testOption(QColorDialog::DontUseNativeDialog), !canDefine);
    QPushButton *add = addToCustomColors(dialog);
    QVERIFY(add);
    QCOMPARE(add->isEnabled(), canDefine);
}

void TestQtCommonDialog::printing_data()
{
    QTest::addColumn<qint32>("flags");
    QTest::addColumn<int>("printers");
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<bool>("canPrint");
    QTest::newRow("a printer") << 0 << 1 << true << true;
    QTest::newRow("no printer, a file") << 0 << 0 << true << PrintsToFileWithoutPrinter;
    QTest::newRow("a printer, no file") << qint32(cdlPDDisablePrintToFile) << 2 << false << true;
    QTest::newRow("neither") << qint32(cdlPDDisablePrintToFile | 0x4) << 0 << false << false;
}

void TestQtCommonDialog::printing()
{
    QFETCH(qint32, flags);
    QFETCH(int, printers);
    QFETCH(bool, toFile);
    QFETCH(bool, canPrint);
    QPrinter printer;
    QPrintDialog dialog(&printer);
    setUpPrintDialog(dialog, flags);
    QCOMPARE(dialog.testOption(QAbstractPrintDialog::PrintToFile), toFile);
    QVERIFY(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    QCOMPARE(qtcommondialog::canPrint(flags, printers), canPrint);
}

void TestQtCommonDialog::openConfirmsTheChosenFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"manual.hlp"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    // The help-file chooser's settings.
    const auto chooser = component(u"Select a Help File..."_s, u"Windows Help Files (*.hlp)|*.hlp"_s, {}, 0);
    chooser->setCancelError(true);
    QString shownTitle;
    QStringList shownFilters;
    DialogDriver driver([&](QDialog &dialog) {
        auto &fileDialog = static_cast<QFileDialog &>(dialog);
        shownTitle = fileDialog.windowTitle();
        shownFilters = fileDialog.nameFilters();
        // Typed into the file name field, as a user would.
        auto *fileName = fileDialog.findChild<QLineEdit *>(u"fileNameEdit"_s);
        QVERIFY(fileName);
        fileName->setText(path);
        dialog.accept();
    });
    const DialogOutcome outcome = chooser->showOpen();
    QVERIFY(driver.shown());
    QVERIFY(!driver.stuck());
    QCOMPARE(shownTitle, u"Select a Help File..."_s);
    QCOMPARE(shownFilters, QStringList{u"Windows Help Files (*.hlp)"_s});
    QVERIFY(outcome.confirmed());
    QCOMPARE(QFileInfo(chooser->fileName()), QFileInfo(path));
}

void TestQtCommonDialog::everyDialogShowsAndCancels_data()
{
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<qint32>("flags");
    QTest::addColumn<QString>("dialogClass");
    QTest::newRow("open") << DialogKind::Open << 0 << u"QFileDialog"_s;
    QTest::newRow("save") << DialogKind::Save << 0 << u"QFileDialog"_s;
    QTest::newRow("font") << DialogKind::Font << qint32(cdlCFBoth) << u"QFontDialog"_s;
    QTest::newRow("color") << DialogKind::Color << qint32(cdlCCPreventFullOpen) << u"QColorDialog"_s;
    QTest::newRow("printer") << DialogKind::Printer << 0 << u"QPrintDialog"_s;
    QTest::newRow("printer, no file") << DialogKind::Printer << qint32(cdlPDDisablePrintToFile) << u"QPrintDialog"_s;
}

void TestQtCommonDialog::everyDialogShowsAndCancels()
{
    QFETCH(DialogKind, kind);
    QFETCH(qint32, flags);
    QFETCH(QString, dialogClass);
    const auto dialog = component(u"Title"_s, u"txt Files|*.txt|"_s, u"txt"_s, flags);
    QString shownClass;
    DialogDriver driver([&](QDialog &shown) {
        shownClass = QString::fromLatin1(shown.metaObject()->className());
        shown.reject();
    });
    DialogOutcome outcome;
    switch (kind) {
    case DialogKind::Open:
        outcome = dialog->showOpen();
        break;
    case DialogKind::Save:
        outcome = dialog->showSave();
        break;
    case DialogKind::Font:
        outcome = dialog->showFont();
        break;
    case DialogKind::Color:
        outcome = dialog->showColor();
        break;
    case DialogKind::Printer:
        outcome = dialog->showPrinter();
        break;
    }

    // With nowhere to print, the print dialog reports that instead of opening.
    if (kind == DialogKind::Printer && !canPrint(flags, QPrinterInfo::availablePrinterNames().size())) {
        QVERIFY(!driver.shown());
        QVERIFY(outcome.failed());
        QVERIFY(outcome.error.contains(u"printer"_s));
        return;
    }
    QVERIFY(driver.shown());
    QVERIFY(!driver.stuck());
    QCOMPARE(shownClass, dialogClass);
    QCOMPARE(outcome.status, DialogOutcome::Status::Cancelled);
    QCOMPARE(dialog->fileName(), QString());
}

void TestQtCommonDialog::fileDialogsOpenReadableAndKeepTheirStateForTheRun_data()
{
    QTest::addColumn<DialogKind>("kind");
    QTest::newRow("Open") << DialogKind::Open;
    QTest::newRow("Save") << DialogKind::Save;
}

void TestQtCommonDialog::fileDialogsOpenReadableAndKeepTheirStateForTheRun()
{
    QFETCH(DialogKind, kind);
    const auto dialog = component(u"Title"_s, u"txt Files|*.txt|"_s, u"txt"_s, 0);
    const auto show = [&] { return kind == DialogKind::Open ? dialog->showOpen() : dialog->showSave(); };

    QFileDialog::ViewMode secondMode = QFileDialog::Detail;
    DialogDriver first([&](QDialog &shown) {
        auto &files = static_cast<QFileDialog &>(shown);
        const QRect room = shown.screen()->availableGeometry();
        // Comfortable: most of a small screen, never beyond it.
        QVERIFY(room.contains(shown.frameGeometry()));
        QVERIFY2(shown.width() >= qMin(room.width() * 3 / 4, 800) && shown.height() >= qMin(room.height() * 3 / 4, 500),
                 qPrintable(u"%1x%2"_s.arg(shown.width()).arg(shown.height())));
        // The size and date columns hold their widest texts.
        auto *details = shown.findChild<QTreeView *>(u"treeView"_s);
        QVERIFY(details);
        const QFontMetrics metrics(details->font());
        const QLocale locale;
        QVERIFY(details->header()->sectionSize(1) > metrics.horizontalAdvance(locale.formattedDataSize(1023 * 1024 - 1)));
        QVERIFY(details->header()->sectionSize(3)
                > metrics.horizontalAdvance(locale.toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58, 58)),
                                                            QLocale::ShortFormat)));
        QVERIFY(files.testOption(QFileDialog::DontUseNativeDialog));
        // A change the user makes lasts for the run.
        files.setViewMode(QFileDialog::List);
        shown.reject();
    });
    show();
    QVERIFY(first.shown());
    DialogDriver second([&](QDialog &shown) {
        auto &files = static_cast<QFileDialog &>(shown);
        secondMode = files.viewMode();
        files.setViewMode(QFileDialog::Detail);
        shown.reject();
    });
    show();
    QVERIFY(second.shown());
    QCOMPARE(secondMode, QFileDialog::List);
}

QTEST_MAIN(TestQtCommonDialog)
#include "tst_qtcommondialog.moc"
