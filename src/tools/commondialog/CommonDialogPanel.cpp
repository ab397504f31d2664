// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogPanel.h"

#include "platform/Accessibility.h"
#include "platform/CommonDialog.h"
#include "platform/FieldText.h"
#include "platform/Platform.h"
#include "tools/commondialog/CommonDialogGenerator.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel *buddyLabel(const QString &objectName, const QString &caption, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setBuddy(buddy);
    return label;
}

QPushButton *pageButton(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

// A list that shows its focus with no current entry too (empty, or after a
// Remove): the style draws the focus only around an entry.
class FileTypeList : public QListWidget
{
public:
    using QListWidget::QListWidget;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QListWidget::paintEvent(event);
        if (!hasFocus() || currentItem())
            return;
        // A dotted frame in the text's colour: a style's own focus frame
        // can be too faint to find on an empty list.
        QPainter painter(viewport());
        painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(viewport()->rect().adjusted(1, 1, -2, -2));
    }
    void focusInEvent(QFocusEvent *event) override
    {
        QListWidget::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QListWidget::focusOutEvent(event);
        viewport()->update();
    }
};

// A file-type list: entries in the order added, never sorted, one selected
// at most.
QListWidget *fileTypeList(const QString &objectName, QWidget *parent)
{
    auto *list = new FileTypeList(parent);
    list->setObjectName(objectName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    return list;
}

// The "Allowed File Types" row of the Open and Save pages: the label, the
// list with Add and Remove under it, and their focus order.
void addFileTypesRow(QGridLayout *grid, int row, const QString &labelName, QListWidget *list, QPushButton *add,
                     QPushButton *remove)
{
    QWidget *page = grid->parentWidget();
    grid->addWidget(buddyLabel(labelName, QCoreApplication::translate("CommonDialogPanel", "&Allowed File Types:"),
                               list, page),
                    row, 0, Qt::AlignTop);
    list->setAccessibleName(QCoreApplication::translate("CommonDialogPanel", "Allowed File Types"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addStretch();
    buttons->addWidget(remove);
    auto *box = new QVBoxLayout;
    box->addWidget(list, 1);
    box->addLayout(buttons);
    grid->addLayout(box, row, 1);
    QWidget::setTabOrder(list, add);
    QWidget::setTabOrder(add, remove);
}

int selectedIndex(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

QCheckBox *checkBox(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *check = new QCheckBox(caption, parent);
    check->setObjectName(objectName);
    return check;
}

// A page that holds one check box at its top.
QWidget *checkBoxPage(QCheckBox *check, QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(check, 0, Qt::AlignLeft);
    layout->addStretch();
    return page;
}

} // namespace

CommonDialogPanel::CommonDialogPanel(const ToolContext &context, QWidget *parent)
    : ToolPanel(parent), m_context(context), m_cdlCommonDialog(context.platform.createCommonDialog(this))
{
    setObjectName(u"tabPickwright"_s);
    addTab(createOpenPage(), tr("Open"));
    addTab(createSavePage(), tr("Save"));
    addTab(createFontPage(), tr("Font"));
    addTab(createColorPage(), tr("Color"));
    addTab(createPrinterPage(), tr("Printer"));

    for (QLineEdit *edit : {m_txtDialogTitleOpen, m_txtDialogTitleSave, m_txtDefaultExtensionSave})
        connect(edit, &QLineEdit::textChanged, this, &CommonDialogPanel::noteEdit);
    for (QListWidget *list : {m_lstFileTypesOpen, m_lstFileTypesSave}) {
        connect(list->model(), &QAbstractItemModel::rowsInserted, this, &CommonDialogPanel::noteEdit);
        connect(list->model(), &QAbstractItemModel::rowsRemoved, this, &CommonDialogPanel::noteEdit);
        connect(list->model(), &QAbstractItemModel::modelReset, this, &CommonDialogPanel::noteEdit);
    }
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
             m_optScreenFonts, m_optPrinterFonts, m_optBoth, m_chkEnableCustomColors, m_chkPrintToFile})
        connect(button, &QAbstractButton::toggled, this, &CommonDialogPanel::noteEdit);

    setFields(CommonDialogFields());
}

CommonDialogPanel::~CommonDialogPanel()
{
    // The lists empty their models as they go, after this panel is gone.
    for (QListWidget *list : {m_lstFileTypesOpen, m_lstFileTypesSave})
        list->model()->disconnect(this);
}

QWidget *CommonDialogPanel::createOpenPage()
{
    auto *page = new QWidget(this);
    m_txtDialogTitleOpen = new QLineEdit(page);
    m_txtDialogTitleOpen->setObjectName(u"txtDialogTitleOpen"_s);
    keepToOneLine(m_txtDialogTitleOpen);
    m_lstFileTypesOpen = fileTypeList(u"lstFileTypesOpen"_s, page);
    m_cmdAddOpen = pageButton(u"cmdAddOpen"_s, tr("&Add"), page);
    m_cmdRemoveOpen = pageButton(u"cmdRemoveOpen"_s, tr("&Remove"), page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(buddyLabel(u"Label6"_s, tr("&Dialog Title:"), m_txtDialogTitleOpen, page), 0, 0);
    grid->addWidget(m_txtDialogTitleOpen, 0, 1);
    addFileTypesRow(grid, 1, u"Label7"_s, m_lstFileTypesOpen, m_cmdAddOpen, m_cmdRemoveOpen);
    grid->setColumnStretch(1, 1);
    setTabOrder(m_txtDialogTitleOpen, m_lstFileTypesOpen);

    connect(m_cmdAddOpen, &QPushButton::clicked, this, [this] { addFileType(m_lstFileTypesOpen); });
    connect(m_cmdRemoveOpen, &QPushButton::clicked, this, [this] { removeFileType(m_lstFileTypesOpen); });
    return page;
}

QWidget *CommonDialogPanel::createSavePage()
{
    auto *page = new QWidget(this);
    m_txtDialogTitleSave = new QLineEdit(page);
    m_txtDialogTitleSave->setObjectName(u"txtDialogTitleSave"_s);
    m_txtDefaultExtensionSave = new QLineEdit(page);
    m_txtDefaultExtensionSave->setObjectName(u"txtDefaultExtensionSave"_s);
    keepToOneLine(m_txtDialogTitleSave);
    keepToOneLine(m_txtDefaultExtensionSave);
    m_lstFileTypesSave = fileTypeList(u"lstFileTypesSave"_s, page);
    m_cmdAddSave = pageButton(u"cmdAddSave"_s, tr("&Add"), page);
    m_cmdRemoveSave = pageButton(u"cmdRemoveSave"_s, tr("&Remove"), page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(buddyLabel(u"Label9"_s, tr("&Dialog Title:"), m_txtDialogTitleSave, page), 0, 0);
    grid->addWidget(m_txtDialogTitleSave, 0, 1);
    grid->addWidget(buddyLabel(u"Label10"_s, tr("D&efault Extension:"), m_txtDefaultExtensionSave, page), 1, 0);
    grid->addWidget(m_txtDefaultExtensionSave, 1, 1);
    addFileTypesRow(grid, 2, u"Label8"_s, m_lstFileTypesSave, m_cmdAddSave, m_cmdRemoveSave);
    grid->setColumnStretch(1, 1);
    setTabOrder(m_txtDialogTitleSave, m_txtDefaultExtensionSave);
    setTabOrder(m_txtDefaultExtensionSave, m_lstFileTypesSave);

    connect(m_cmdAddSave, &QPushButton::clicked, this, [this] { addFileType(m_lstFileTypesSave); });
    connect(m_cmdRemoveSave, &QPushButton::clicked, this, [this] { removeFileType(m_lstFileTypesSave); });
    return page;
}

QWidget *CommonDialogPanel::createFontPage()
{
    auto *page = new QWidget(this);
    auto *fraFontsToDisplay = new QGroupBox(tr("Fonts to Display"), page);
    fraFontsToDisplay->setObjectName(u"fraFontsToDisplay"_s);
    m_optScreenFonts = new QRadioButton(tr("&Screen Fonts Only"), fraFontsToDisplay);
    m_optScreenFonts->setObjectName(u"optScreenFonts"_s);
    m_optPrinterFonts = new QRadioButton(tr("&Printer Fonts Only"), fraFontsToDisplay);
    m_optPrinterFonts->setObjectName(u"optPrinterFonts"_s);
    m_optBoth = new QRadioButton(tr("&Both"), fraFontsToDisplay);
    m_optBoth->setObjectName(u"optBoth"_s);

    // Each button as wide as its caption, so that the space beside it does
    // not look clickable.
    auto *options = new QVBoxLayout(fraFontsToDisplay);
    options->addWidget(m_optScreenFonts, 0, Qt::AlignLeft);
    options->addWidget(m_optPrinterFonts, 0, Qt::AlignLeft);
    options->addWidget(m_optBoth, 0, Qt::AlignLeft);

    tabToCheckedChoice({m_optScreenFonts, m_optPrinterFonts, m_optBoth});

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(fraFontsToDisplay);
    layout->addStretch();
    return page;
}

QWidget *CommonDialogPanel::createColorPage()
{
    auto *page = new QWidget(this);
    m_chkEnableCustomColors = checkBox(u"chkEnableCustomColors"_s, tr("&Enable defining of custom colors"), page);
    return checkBoxPage(m_chkEnableCustomColors, page);
}

QWidget *CommonDialogPanel::createPrinterPage()
{
    auto *page = new QWidget(this);
    m_chkPrintToFile = checkBox(u"chkPrintToFile"_s, tr("&Enable printing to file"), page);
    return checkBoxPage(m_chkPrintToFile, page);
}

CommonDialogFields CommonDialogPanel::fields() const
{
    CommonDialogFields fields;
    fields.page = DialogKind(currentIndex());

    const auto entries = [](const QListWidget *list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    };
    fields.openTitle = m_txtDialogTitleOpen->text();
    fields.openFileTypes = entries(m_lstFileTypesOpen);
    fields.saveTitle = m_txtDialogTitleSave->text();
    fields.saveDefaultExtension = m_txtDefaultExtensionSave->text();
    fields.saveFileTypes = entries(m_lstFileTypesSave);

    // Screen first, then printer; anything else counts as both.
    fields.fonts = m_optScreenFonts->isChecked()    ? FontsToDisplay::ScreenOnly
                   : m_optPrinterFonts->isChecked() ? FontsToDisplay::PrinterOnly
                                                    : FontsToDisplay::Both;
    fields.customColors = m_chkEnableCustomColors->isChecked();
    fields.printToFile = m_chkPrintToFile->isChecked();
    return fields;
}

void CommonDialogPanel::setFields(const CommonDialogFields &fields)
{
    for (DialogKind page : {DialogKind::Open, DialogKind::Save, DialogKind::Font, DialogKind::Color,
                            DialogKind::Printer})
        setPageFields(page, fields);
    setCurrentIndex(int(fields.page));
    reportChange();
}

void CommonDialogPanel::test(const QString &)
{
    const CommonDialogFields f = fields();
    CommonDialog &dialog = *m_cdlCommonDialog;
    // Only the current page's properties are written; the others keep what
    // an earlier test left in them.
    DialogOutcome outcome;
    switch (f.page) {
    case DialogKind::Open:
        dialog.setDialogTitle(f.openTitle);
        dialog.setFilter(buildFileFilter(f.openFileTypes));
        dialog.setFlags(0);
        outcome = dialog.showOpen();
        break;
    case DialogKind::Save:
        dialog.setDialogTitle(f.saveTitle);
        dialog.setDefaultExt(f.saveDefaultExtension);
        dialog.setFilter(buildFileFilter(f.saveFileTypes));
        dialog.setFlags(0);
        outcome = dialog.showSave();
        break;
    case DialogKind::Font:
        dialog.setFlags(f.fonts == FontsToDisplay::ScreenOnly    ? cdlCFScreenFonts
                        : f.fonts == FontsToDisplay::PrinterOnly ? cdlCFPrinterFonts
                                                                 : cdlCFBoth);
        outcome = dialog.showFont();
        break;
    case DialogKind::Color:
        dialog.setFlags(f.customColors ? 0 : cdlCCPreventFullOpen);
        outcome = dialog.showColor();
        break;
    case DialogKind::Printer:
        dialog.setFlags(f.printToFile ? 0 : cdlPDDisablePrintToFile);
        outcome = dialog.showPrinter();
        break;
    }
    // CancelError is off, so a cancel ends the test like a confirm. A dialog
    // that could not open at all is worth telling the user about.
    if (outcome.failed())
        m_context.platform.msgBox(outcome.error, vbExclamation, tr("Pickwright"), std::nullopt);
}

void CommonDialogPanel::reset()
{
    setPageFields(DialogKind(currentIndex()), CommonDialogFields());
    reportChange();
}

namespace {

void setFileTypes(QListWidget *list, const QStringList &types)
{
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    if (shown == types)
        return;
    list->clear();
    list->addItems(types);
}

} // namespace

void CommonDialogPanel::setPageFields(DialogKind page, const CommonDialogFields &start)
{
    switch (page) {
    case DialogKind::Open:
        m_txtDialogTitleOpen->setText(start.openTitle);
        setFileTypes(m_lstFileTypesOpen, start.openFileTypes);
        break;
    case DialogKind::Save:
        m_txtDialogTitleSave->setText(start.saveTitle);
        m_txtDefaultExtensionSave->setText(start.saveDefaultExtension);
        setFileTypes(m_lstFileTypesSave, start.saveFileTypes);
        break;
    case DialogKind::Font:
        switch (start.fonts) {
        case FontsToDisplay::ScreenOnly:
            m_optScreenFonts->setChecked(true);
            break;
        case FontsToDisplay::PrinterOnly:
            m_optPrinterFonts->setChecked(true);
            break;
        case FontsToDisplay::Both:
            m_optBoth->setChecked(true);
            break;
        }
        break;
    case DialogKind::Color:
        m_chkEnableCustomColors->setChecked(start.customColors);
        break;
    case DialogKind::Printer:
        m_chkPrintToFile->setChecked(start.printToFile);
        break;
    }
}

void CommonDialogPanel::addFileType(QListWidget *list)
{
    // An empty answer is also what a cancelled box gives: nothing to add.
    const QString answer = m_context.platform.inputBox(tr("Please enter a file extension (e.g. \"txt\")"), tr("Add"),
                                                       QString(), std::nullopt);
    if (answer.isEmpty())
        return;
    // "*.bas" and ".bas" go in as "bas"; what the filter cannot hold is
    // refused with the reason, and the list stays as it was.
    const FileTypeCheck check = checkFileType(answer);
    if (!check.problem.isEmpty()) {
        m_context.platform.msgBox(check.problem, vbOKOnly + vbExclamation, tr("Pickwright"), std::nullopt);
        return;
    }
    list->addItem(check.type);
}

void CommonDialogPanel::removeFileType(QListWidget *list)
{
    const int index = selectedIndex(list);
    if (index < 0)
        return;
    delete list->takeItem(index);
    // Qt would select the neighbouring entry in its place; a second Remove
    // must find no selection.
    list->clearSelection();
    list->setCurrentRow(-1);
}
