// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InputBoxDialog.h"

#include "platform/Accessibility.h"
#include "platform/FieldText.h"
#include "platform/HelpViewer.h"
#include "platform/PromptView.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

InputBoxDialog::InputBoxDialog(const QString &prompt, const QString &title, const QString &defaultText,
                               bool withHelp, QWidget *parent)
    : QDialog(parent),
      m_prompt(new PromptView(prompt, this)),
      m_answer(new QLineEdit(defaultText, this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                         | (withHelp ? QDialogButtonBox::Help : QDialogButtonBox::NoButton),
                                     Qt::Vertical, this))
{
    installAccessibility();
    setObjectName(u"frmInputBox"_s);
    // Without a title, BASIC shows the program's title.
    setWindowTitle(title.isEmpty() ? ProgramTitle.toString() : title);
    setModal(true);

    m_prompt->setObjectName(u"lblPrompt"_s);

    m_answer->setObjectName(u"txtAnswer"_s);
    // The field is named by the question it answers, which is read with the
    // box's title when it opens.
    const QString spokenPrompt = spokenText(m_prompt->text());
    m_answer->setAccessibleName(spokenPrompt.isEmpty() ? tr("Answer") : spokenPrompt);
    setAccessibleDescription(spokenText(m_prompt->text(), 2000));
    m_prompt->setAccessibleName(tr("Prompt"));
    // The answer is one line; the Add button of the dialog tool writes it
    // into a line of code.
    keepToOneLine(m_answer);
    // Typing replaces the default answer, as in every input box.
    m_answer->selectAll();
    m_answer->setFocus();

    m_buttons->setObjectName(u"buttons"_s);
    // Plain captions, like the message box's buttons beside it.
    for (QAbstractButton *button : m_buttons->buttons())
        button->setIcon(QIcon());
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (withHelp) {
        connect(m_buttons, &QDialogButtonBox::helpRequested, this, &InputBoxDialog::helpRequested);
        auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
        connect(f1, &QShortcut::activated, this, &InputBoxDialog::helpRequested);
    }

    auto *grid = new QGridLayout(this);
    // The prompt sizes itself to the screen; the box follows it.
    grid->setSizeConstraint(QLayout::SetFixedSize);
    auto *promptColumn = new QVBoxLayout;
    promptColumn->setSpacing(6);
    promptColumn->addWidget(m_prompt, 0, Qt::AlignLeft | Qt::AlignTop);
    if (QLabel *note = m_prompt->cutNote(this))
        promptColumn->addWidget(note);
    // The live box shows all of a long prompt; the code's box will not.
    if (QLabel *note = m_prompt->lengthNote(this))
        promptColumn->addWidget(note);
    promptColumn->addStretch();
    grid->addLayout(promptColumn, 0, 0);
    grid->addWidget(m_buttons, 0, 1, Qt::AlignTop);
    grid->addWidget(m_answer, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    setTabOrder(m_answer, m_buttons);

    fitToScreen(parent);
}

void InputBoxDialog::fitToScreen(const QWidget *parent)
{
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int minWidth = m_prompt->fontMetrics().averageCharWidth() * 44;
    const int maxWidth = qMax(minWidth, room.width() / 2);
    m_prompt->fitWithin(minWidth, maxWidth, QWIDGETSIZE_MAX);
    // The buttons beside the prompt and the answer line under it stay in
    // view; the prompt scrolls in what is left.
    const int others = layout()->sizeHint().height() - m_prompt->height();
    int promptRoom = room.height() - others - WindowFrameAllowance;
    m_prompt->fitWithin(minWidth, maxWidth, promptRoom);
    // A scrolling prompt can change what else the box needs (a note that
    // wraps differently): take any excess from the prompt once more.
    layout()->activate();
    if (const int excess = layout()->sizeHint().height() + WindowFrameAllowance - room.height(); excess > 0) {
        promptRoom -= excess;
        m_prompt->fitWithin(minWidth, maxWidth, promptRoom);
        layout()->activate();
    }
    resize(sizeHint());
}

QString InputBoxDialog::answer() const
{
    return result() == Accepted ? m_answer->text() : QString();
}

QString runInputBox(Platform &platform, QWidget *owner, const QString &prompt, const QString &title,
                    const QString &defaultText, const std::optional<HelpTopic> &help)
{
    InputBoxDialog dialog(prompt, title, defaultText, help.has_value(), owner);
    if (help) {
        const QString file = help->file;
        QObject::connect(&dialog, &InputBoxDialog::helpRequested, &dialog, [&platform, &dialog, file] {
            // An empty name would open the program's folder itself.
            if (!file.isEmpty())
                openHelpDocument(platform, &dialog, file);
        });
    }
    dialog.exec();
    return dialog.answer();
}
