// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtCommonDialog.h"

#include "platform/QtPlatform.h"

#if defined(Q_OS_WIN)
#include "platform/CommonDialogWindows.h"
#include "platform/RegistryKeptWindows.h"
#endif

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLocale>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTreeView>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qtcommondialog {

namespace {

// The characters that Qt's file dialog reads as patterns between the final
// parentheses of a name filter; with any other there, it reads the whole
// filter, description included, as patterns.
bool readableInParentheses(QStringView patterns)
{
    static constexpr QStringView others = u"_.,*? +;#-[]@{}/!<>$%&=^~:|";
    return std::all_of(patterns.begin(), patterns.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || others.contains(c);
    });
}

} // namespace

QStringList nameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    // A lone description at the end (an odd count, or the empty text after a
    // final bar) has no pattern and is left out.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        // Qt separates patterns by blanks, so blanks cannot stay inside one.
        const QString list = QString(parts.at(i + 1)).replace(u';', u' ').simplified();
        if (list.isEmpty())
            continue;
        // Qt finds the parentheses only in valid UTF-16 text.
        if (!readableInParentheses(list) || !description.isValidUtf16()) {
            // A file type such as "é" or "(x": Qt reads the bare pattern list
            // as it stands, unless it ends in ")", which no form can carry.
            if (!list.endsWith(u')'))
                result << list;
            continue;
        }
        // Qt reads space-separated patterns from the parentheses at the end,
        // so a description that already shows them that way ("Text (*.txt)")
        // stays as it is.
        if (description.isEmpty())
            result << list;
        else if (description.endsWith(u'(' + list + u')'))
            result << description;
        else
            result << description + u" ("_s + list + u')';
    }
    return result;
}

QString windowsFilter(const QString &filter)
{
    QString result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // A NUL inside would end the text early.
        const QString pattern = QString(parts.at(i + 1)).remove(QChar(0)).trimmed();
        if (pattern.isEmpty())
            continue;
        const QString description = QString(parts.at(i)).remove(QChar(0));
        result += (description.isEmpty() ? pattern : description) + QChar(0) + pattern + QChar(0);
    }
    if (!result.isEmpty())
        result += QChar(0);
    return result;
}

QFileDialog::Options fileDialogOptions(DialogKind kind, qint32 flags)
{
    // Qt's own dialog, whose size and state the program controls; a desktop's
    // native chooser keeps files of its own (recently used lists).
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
    // The standard Save dialog asks before replacing a file only when told to.
    if (kind == DialogKind::Save && !(flags & cdlOFNOverwritePrompt))
        options |= QFileDialog::DontConfirmOverwrite;
    return options;
}

void setUpFileDialog(QFileDialog &dialog, DialogKind kind, const CommonDialog &properties)
{
    const bool save = kind == DialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOptions(fileDialogOptions(kind, properties.flags()));
    // Without a title of its own the dialog keeps Qt's "Open" or "Save As".
    if (!properties.dialogTitle().isEmpty())
        dialog.setWindowTitle(properties.dialogTitle());
    if (const QStringList filters = nameFilters(properties.filter()); !filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(properties.defaultExt());
}

void sizeFileDialog(QFileDialog &dialog, const QRect &room)
{
    const QFontMetrics metrics(dialog.font());
    const int em = metrics.averageCharWidth();
    dialog.resize(qMin(room.width() * 4 / 5, em * 160), qMin(room.height() * 4 / 5, metrics.lineSpacing() * 40));

    auto *details = dialog.findChild<QTreeView *>(u"treeView"_s);
    if (!details)
        return;
    // The samples are the widest a column usually shows: a size just short
    // of the next unit, and a late date and time in the user's format.
    const QLocale locale;
    const int padding = em * 3;
    const int sizeWidth = qMax(metrics.horizontalAdvance(locale.formattedDataSize(1023)),
                               metrics.horizontalAdvance(locale.formattedDataSize(1023 * 1024 - 1)));
    const int dateWidth = metrics.horizontalAdvance(
        locale.toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58, 58)), QLocale::ShortFormat));
    QHeaderView *header = details->header();
    header->resizeSection(1, sizeWidth + padding);
    // Types read like "plain text document"; longer ones are rarer.
    header->resizeSection(2, metrics.horizontalAdvance(u"plain text document"_s) + padding);
    header->resizeSection(3, dateWidth + padding);
}

QFontDialog::FontDialogOptions fontDialogOptions(qint32 flags)
{
    const bool screen = flags & cdlCFScreenFonts;
    const bool printer = flags & cdlCFPrinterFonts;
    if (printer && !screen)
        return QFontDialog::ScalableFonts;
    return {};
}

bool fontsAvailable(QFontDialog::FontDialogOptions options)
{
    const QStringList families = QFontDatabase::families();
    if (!options.testFlag(QFontDialog::ScalableFonts))
        return !families.isEmpty();
    return std::any_of(families.cbegin(), families.cend(),
                       [](const QString &family) { return QFontDatabase::isSmoothlyScalable(family); });
}

QString familyWithoutStyles(const QStringList &families)
{
    for (const QString &family : families) {
        if (!QFontDatabase::isPrivateFamily(family) && QFontDatabase::styles(family).isEmpty())
            return family;
    }
    return {};
}

QColorDialog::ColorDialogOptions colorDialogOptions(qint32 flags)
{
    if (flags & cdlCCPreventFullOpen)
        return QColorDialog::DontUseNativeDialog;
    return {};
}

void setUpColorDialog(QColorDialog &dialog, qint32 flags)
{
    dialog.setOptions(colorDialogOptions(flags));
    const QString addCaption = QColorDialog::tr("&Add to Custom Colors");
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        if (button->text() == addCaption)
            button->setEnabled(!(flags & cdlCCPreventFullOpen));
    }
}

QAbstractPrintDialog::PrintDialogOptions printDialogOptions(qint32 flags)
{
    QAbstractPrintDialog::PrintDialogOptions options{QAbstractPrintDialog::PrintToFile,
                                                     QAbstractPrintDialog::PrintPageRange,
                                                     QAbstractPrintDialog::PrintShowPageSize,
                                                     QAbstractPrintDialog::PrintCollateCopies};
    options.setFlag(QAbstractPrintDialog::PrintToFile, !(flags & cdlPDDisablePrintToFile));
    return options;
}

void setUpPrintDialog(QPrintDialog &dialog, qint32 flags)
{
    dialog.setOptions(printDialogOptions(flags));
}

bool canPrint(qint32 flags, qsizetype installedPrinters)
{
    return installedPrinters > 0 ||
           (PrintsToFileWithoutPrinter && printDialogOptions(flags).testFlag(QAbstractPrintDialog::PrintToFile));
}

} // namespace qtcommondialog

namespace {

#if defined(Q_OS_WIN)
// On Windows Qt's file and colour dialogs write their state (the file
// dialog's folder and view, the custom colours) to the registry, under
// QtProject, shared by every Qt program; QSettings::setPath cannot move it
// elsewhere. Once the dialog is gone that key is put back as it was.
struct RegistryStateKept
{
    RegistryKept kept{{QtProjectKey}};
};
#else
// Elsewhere keepToolkitStateInMemory() sends it where nothing is written.
struct RegistryStateKept
{
};
#endif

using namespace qtcommondialog;

DialogOutcome outcomeOf(int result)
{
    return {result == QDialog::Accepted ? DialogOutcome::Status::Confirmed : DialogOutcome::Status::Cancelled, {}};
}

DialogOutcome failure(const char *message)
{
    return {DialogOutcome::Status::Failed, QCoreApplication::translate("CommonDialog", message)};
}

class QtCommonDialog final : public CommonDialog
{
public:
    explicit QtCommonDialog(QWidget *owner) : m_owner(owner) {}

protected:
    DialogOutcome show(DialogKind kind) override
    {
        // Outlives the dialog, which writes its state as it goes and as it
        // is destroyed.
        [[maybe_unused]] const RegistryStateKept kept{};
        switch (kind) {
        case DialogKind::Open:
        case DialogKind::Save:
            return runFileDialog(kind);
        case DialogKind::Font:
            return runFontDialog();
        case DialogKind::Color:
            return runColorDialog();
        case DialogKind::Printer:
            return runPrintDialog();
        }
        return {};
    }

private:
    QWidget *parentWidget() const { return m_owner ? m_owner->window() : nullptr; }

    DialogOutcome runFileDialog(DialogKind kind)
    {
        QFileDialog dialog(parentWidget());
        setUpFileDialog(dialog, kind, *this);
        const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        sizeFileDialog(dialog, screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
        // What the user made of the dialog earlier in the run (folder,
        // history, view, column widths) comes back; it is never written out.
        static QByteArray state;
        if (!state.isEmpty())
            dialog.restoreState(state);
        const DialogOutcome outcome = outcomeOf(dialog.exec());
        state = dialog.saveState();
        if (outcome.confirmed())
            setFileName(dialog.selectedFiles().value(0));
        return outcome;
    }

    DialogOutcome runFontDialog()
    {
        // Both are checked before the dialog is made: it reads the fonts as
        // it is built.
        if (!fontsAvailable(fontDialogOptions(flags()))) {
            return failure(
                QT_TRANSLATE_NOOP("CommonDialog", "The Font dialog cannot open: there are no fonts to show."));
        }
        if (const QString unreadable = familyWithoutStyles(QFontDatabase::families()); !unreadable.isEmpty()) {
            return {DialogOutcome::Status::Failed,
                    QCoreApplication::translate("CommonDialog",
                                                "The Font dialog cannot open: the font \"%1\" is listed but has "
                                                "no styles that can be read.")
                        .arg(unreadable)};
        }
        // Starts on the program's own font rather than the first one listed.
        QFontDialog dialog(QApplication::font(), parentWidget());
        dialog.setOptions(fontDialogOptions(flags()));
        return outcomeOf(dialog.exec());
    }

    DialogOutcome runColorDialog()
    {
        QColorDialog dialog(parentWidget());
        setUpColorDialog(dialog, flags());
        return outcomeOf(dialog.exec());
    }

    DialogOutcome runPrintDialog()
    {
        if (!canPrint(flags(), QPrinterInfo::availablePrinterNames().size())) {
            if (printDialogOptions(flags()).testFlag(QAbstractPrintDialog::PrintToFile))
                return failure(QT_TRANSLATE_NOOP("CommonDialog", "The Print dialog cannot open: no printer is installed."));
            return failure(QT_TRANSLATE_NOOP("CommonDialog", "The Print dialog cannot open: no printer is installed, "
                                                             "and printing to a file is turned off."));
        }
        QPrinter printer;
        QPrintDialog dialog(&printer, parentWidget());
        setUpPrintDialog(dialog, flags());
        return outcomeOf(dialog.exec());
    }

    QPointer<QWidget> m_owner;
};

} // namespace

std::unique_ptr<CommonDialog> QtPlatform::createCommonDialog(QWidget *owner)
{
#if defined(Q_OS_WIN)
    // On the desktop Windows' own dialogs, as the code shows them; offscreen
    // (the tests) Qt's.
    if (QGuiApplication::platformName() == u"windows"_s)
        return createWindowsCommonDialog(owner);
#endif
    return std::make_unique<QtCommonDialog>(owner);
}
