// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/jottool/JotTool.h"

#include "tools/CodeStyleOptions.h"
#include "tools/FieldTable.h"
#include "platform/Platform.h"
#include "tools/ToolPanel.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

const FieldTable<JotFields> &fieldTable()
{
    static const FieldTable<JotFields> table =
        FieldTable<JotFields>()
            .text(u"author"_s, u"Who jots the note (default Me)."_s, [](const JotFields &f) { return f.author; },
                  [](JotFields &f, const QString &author) { f.author = author; })
            .text(u"note"_s, u"The note."_s, [](const JotFields &f) { return f.note; },
                  [](JotFields &f, const QString &note) { f.note = note; });
    return table;
}

JotFields fieldsFromOptions(const ToolOptions &options)
{
    JotFields fields;
    fieldTable().apply(options, fields);
    if (fields.author.contains(u')'))
        throw CliError{u"--author: a parenthesis would end the author early"_s};
    return fields;
}

CliTool jotCli()
{
    return {u"jot"_s, u"A note for someone, as one comment line (Jotwright)."_s,
            [](ToolOptions &options) {
                fieldTable().declare(options);
                declareCodeOptions(options, ConstantsUse::NotWritten);
            },
            [](const ToolOptions &options) {
                return generateJot(fieldsFromOptions(options), codeOptionsFromOptions(options));
            }};
}

bool readComment(const ReadContext &c, qint32 comment, ReadResult &result)
{
    static const QRegularExpression line(u"\\A' JOT \\(([^)\\r\\n]*)\\): ([^\\r\\n]*)"_s);
    const QRegularExpressionMatch match = line.match(c.t.source().sliced(c.t.pos(comment)));
    if (!match.hasMatch())
        return false;
    result.fields = JotFields{match.captured(1), match.captured(2)};
    return true;
}

class JotPanel : public ToolPanel
{
public:
    JotPanel(const ToolContext &context, QWidget *parent) : ToolPanel(parent), m_context(context)
    {
        setObjectName(u"tabJotwright"_s);
        auto *page = new QWidget(this);
        auto *form = new QFormLayout(page);
        m_txtAuthor = new QLineEdit(page);
        m_txtAuthor->setObjectName(u"txtAuthorJot"_s);
        m_txtNote = new QLineEdit(page);
        m_txtNote->setObjectName(u"txtNoteJot"_s);
        form->addRow(u"&Author"_s, m_txtAuthor);
        form->addRow(u"N&ote"_s, m_txtNote);
        addTab(page, u"Jot"_s);
        for (QLineEdit *edit : {m_txtAuthor, m_txtNote})
            connect(edit, &QLineEdit::textChanged, this, &JotPanel::noteEdit);
        setFields({});
    }

    void test(const QString &code) override { m_context.platform.msgBox(code, 0, u"Jotwright"_s, std::nullopt); }
    void reset() override { setFields({}); }

    JotFields fields() const { return {m_txtAuthor->text(), m_txtNote->text()}; }
    void setFields(const JotFields &fields)
    {
        m_txtAuthor->setText(fields.author);
        m_txtNote->setText(fields.note);
        reportChange();
    }

private:
    const ToolContext &m_context;
    QLineEdit *m_txtAuthor;
    QLineEdit *m_txtNote;
};

} // namespace

QString generateJot(const JotFields &fields, const codegen::CodeOptions &)
{
    return u"' JOT ("_s + fields.author + u"): "_s + fields.note;
}

Tool jotTool()
{
    return {
        .cli = jotCli(),
        .caption = u"Jotwright"_s,
        .subject = u"jotted notes"_s,
        .picture = u":/images/jotwright.svg"_s,
        .generate = generateFrom<JotFields, generateJot>,
        .sameFields = sameFields<JotFields>,
        .reader = {.readComment = readComment, .sought = u"jotted note"_s, .soughtAlone = u"jotted note"_s},
        .jsonMembers = fieldTable().jsonMembers() + codeJsonMembers(),
        .toJson = [](const ReadResult &result) { return fieldTable().toJson(result.fieldsAs<JotFields>()); },
        .createPanel = createPanel<JotPanel>,
        .setPanelFields = setPanelFields<JotPanel, JotFields>,
        .panelFields = panelFields<JotPanel>,
    };
}
