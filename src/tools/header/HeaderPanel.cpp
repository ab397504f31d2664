// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/header/HeaderPanel.h"

#include "codegen/CodeText.h"
#include "platform/Platform.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/header/HeaderPreview.h"
#include "platform/FieldText.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

using namespace Qt::StringLiterals;

HeaderPanel::HeaderPanel(const ToolContext &context, QWidget *parent) : ToolPanel(parent), m_context(context)
{
    setObjectName(u"tabTopwright"_s);
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    // Access letters that no caption of the page or of the window around it
    // takes (New, Test, Copy, Help, About, Exit, View Code and the code view's).
    m_txtProject = addField(form, u"Project"_s, &HeaderFields::project, u'P');
    m_txtProgram = addField(form, u"Program"_s, &HeaderFields::program, u'r');
    m_txtVersion = addField(form, u"Version"_s, &HeaderFields::version, u'i');
    m_txtDate = addField(form, u"Date"_s, &HeaderFields::date, u'D');
    m_txtCopyright = addField(form, u"Copyright"_s, &HeaderFields::copyright, u'y');
    m_txtDescription = addField(form, u"Description"_s, &HeaderFields::description, u't');
    addTab(page, tr("General"));

    setFields(startFields());
}

QLineEdit *HeaderPanel::addField(QFormLayout *form, const QString &name, QString HeaderFields::*field,
                                  QChar accessLetter)
{
    // The label shows the very caption that the block writes for the field.
    const QList<header::HeaderLine> &lines = header::headerLines();
    const auto line = std::find_if(lines.cbegin(), lines.cend(),
                                   [field](const header::HeaderLine &l) { return l.field == field; });
    Q_ASSERT(line != lines.cend());

    // The label marks its access letter; the block writes the caption plain.
    QString caption = line->caption;
    const qsizetype letter = caption.indexOf(accessLetter);
    Q_ASSERT(letter >= 0);
    caption.insert(letter, u'&');
    auto *label = new QLabel(caption, form->parentWidget());
    label->setObjectName(u"lbl"_s + name);
    label->setTextFormat(Qt::PlainText);
    auto *edit = new QLineEdit(form->parentWidget());
    edit->setObjectName(u"txt"_s + name);
    keepToOneLine(edit);
    label->setBuddy(edit);
    connect(edit, &QLineEdit::textChanged, this, &HeaderPanel::noteEdit);
    form->addRow(label, edit);
    return edit;
}

HeaderFields HeaderPanel::fields() const
{
    return {m_txtProject->text(),   m_txtProgram->text(),   m_txtVersion->text(),
            m_txtDate->text(),      m_txtCopyright->text(), m_txtDescription->text()};
}

void HeaderPanel::setFields(const HeaderFields &fields)
{
    m_txtProject->setText(fields.project);
    m_txtProgram->setText(fields.program);
    m_txtVersion->setText(fields.version);
    m_txtDate->setText(fields.date);
    m_txtCopyright->setText(fields.copyright);
    m_txtDescription->setText(fields.description);
    reportChange();
}

void HeaderPanel::test(const QString &block)
{
    if (!m_frmTest)
        m_frmTest = new HeaderPreview(window());
    m_frmTest->setText(block);
    m_frmTest->exec();
}

void HeaderPanel::reset()
{
    setFields(startFields());
    Q_EMIT headerCaptionRequested(tr("Topwright"));
}

HeaderFields HeaderPanel::startFields() const
{
    HeaderFields fields;
    const QDate today = m_context.platform.currentDate();
    header::applyDateDefaults(fields, today, m_context.platform.dateText(today));
    return fields;
}
