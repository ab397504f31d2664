#include "platform/InputBoxDialog.h"

#include "platform/FieldText.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

using namespace Qt::StringLiterals;

InputBoxDialog::InputBoxDialog(const QString &prompt, const QString &title, const QString &defaultText,
                               bool withHelp, QWidget *parent)
    : QDialog(parent),
      m_prompt(new QLabel(displayedPrompt(prompt), this)),
      m_answer(new QLineEdit(defaultText, this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                         | (withHelp ? QDialogButtonBox::Help : QDialogButtonBox::NoButton),
                                     Qt::Vertical, this))
{
    setObjectName(u"frmInputBox"_s);
    setWindowTitle(title);
    setModal(true);

    m_prompt->setObjectName(u"lblPrompt"_s);
    // The prompt is the user's text, never markup.
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setWordWrap(true);
    m_prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_prompt->setMinimumWidth(m_prompt->fontMetrics().averageCharWidth() * 44);
    m_prompt->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_answer->setObjectName(u"txtAnswer"_s);
    m_answer->setAccessibleName(tr("Answer"));
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
    grid->addWidget(m_prompt, 0, 0);
    grid->addWidget(m_buttons, 0, 1, Qt::AlignTop);
    grid->addWidget(m_answer, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    setTabOrder(m_answer, m_buttons);
}

QString InputBoxDialog::answer() const
{
    return result() == Accepted ? m_answer->text() : QString();
}

QString InputBoxDialog::displayedPrompt(const QString &prompt)
{
    return displayedLines(prompt);
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
                platform.openDocument(file);
        });
    }
    dialog.exec();
    return dialog.answer();
}
