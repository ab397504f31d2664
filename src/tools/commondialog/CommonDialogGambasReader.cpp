// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogGambasReader.h"

#include "tools/commondialog/CommonDialogFields.h"
#include "tools/commondialog/CommonDialogTexts.h"

using namespace Qt::StringLiterals;

// Gambas has a Dialog class of static methods, and a Printer object whose
// Configure shows the print dialog; each returns True when cancelled.
// `If Dialog.OpenFile() Then` and the like: the page.
std::optional<DialogKind> gambasShownPage(const ReadContext &c, qint32 statement)
{
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    if (s.end - s.begin != 7 || !t.isWord(s.begin, u"if") || !t.isPunct(s.begin + 2, u'.')
        || !t.isPunct(s.begin + 4, u'(') || !t.isPunct(s.begin + 5, u')') || !t.isWord(s.begin + 6, u"then"))
        return std::nullopt;
    if (t.isWord(s.begin + 1, u"printersetup") && t.isWord(s.begin + 3, u"configure"))
        return DialogKind::Printer;
    // The module's own Dialog is not Gambas's.
    if (!t.isWord(s.begin + 1, u"dialog") || c.m.declaration(u"dialog"))
        return std::nullopt;
    static const QList<std::pair<QStringView, DialogKind>> methods{
        {u"openfile", DialogKind::Open},
        {u"savefile", DialogKind::Save},
        {u"selectfont", DialogKind::Font},
        {u"selectcolor", DialogKind::Color},
    };
    for (const auto &[method, page] : methods) {
        if (t.isWord(s.begin + 3, method))
            return page;
    }
    return std::nullopt;
}

namespace {

// `[ "*.txt", "txt Files", … ]`: the file types, refused unless each pair is
// what the Allowed File Types list writes.
QStringList fileTypes(ReadContext &c, const basic::Evaluator::Setting &setting)
{
    const basic::Tokens &t = c.t;
    if (setting.end - setting.begin < 2 || !t.isPunct(setting.begin, u'[') || !t.isPunct(setting.end - 1, u']'))
        refuse(t.posOf(setting.begin, setting.end), u"the filter can only be an array of fixed texts ([\"*.txt\", \"txt Files\"])"_s);
    QStringList texts;
    qint32 from = setting.begin + 1;
    const qint32 end = setting.end - 1;
    for (qint32 k = from; k <= end; ++k) {
        if (k < end && !t.isPunct(k, u','))
            continue;
        if (k == from && k == end && texts.isEmpty())
            break;
        if (k == from)
            refuse(t.posOf(k, end), u"a text is missing in the filter"_s);
        texts << c.eval.text(from, k, setting.statement, u"the filter"_s);
        from = k + 1;
    }
    QStringList types;
    for (qsizetype p = 0; p < texts.size(); p += 2) {
        const QString type = texts.at(p).mid(2);
        if (p + 1 >= texts.size() || !texts.at(p).startsWith(u"*."_s) || type.isEmpty()
            || texts.at(p + 1) != type + u" Files"_s)
            refuse(t.pos(setting.begin), u"the filter's \"%1\" is not a file type that the Allowed File Types list can"
                                         " express (it writes \"*.txt\", \"txt Files\")"_s
                                             .arg(texts.mid(p, 2).join(u"\", \""_s)));
        types << type;
    }
    return types;
}

bool isStatement(const ReadContext &c, qint32 statement, std::initializer_list<QStringView> words)
{
    const basic::Statement &s = c.statement(statement);
    if (s.end - s.begin != qint32(words.size()))
        return false;
    qint32 k = s.begin;
    for (const QStringView word : words) {
        if (c.t.text(k++).compare(word, Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

// The Save page's default extension: `Dialog.Path &= ".txt"` under
// `If File.Ext(Dialog.Path) = "" Then` in the branch that got a file.
QString defaultExtension(ReadContext &c, qint32 statement)
{
    const basic::Tokens &t = c.t;
    const qint32 count = qint32(c.m.statements().size());
    int depth = 0;
    for (qint32 k = statement + 1; k < count; ++k) {
        const basic::Statement &s = c.statement(k);
        if (t.isWord(s.begin, u"if") && t.isWord(s.end - 1, u"then"))
            ++depth;
        else if (isStatement(c, k, {u"End", u"If"}) && depth-- == 0)
            return {};
        if (s.end - s.begin < 4 || !t.isWord(s.begin, u"dialog") || !t.isPunct(s.begin + 1, u'.')
            || !t.isWord(s.begin + 2, u"path") || !t.isPunct(s.begin + 3, u"&="))
            continue;
        const bool guarded = k >= 1 && k + 1 < count
                             && isStatement(c, k - 1, {u"If", u"File", u".", u"Ext", u"(", u"Dialog", u".", u"Path", u")", u"=", u"\"\"", u"Then"})
                             && isStatement(c, k + 1, {u"End", u"If"});
        if (!guarded)
            refuse(t.pos(s.begin), u"the default extension is added only to a path without one"
                                   " (If File.Ext(Dialog.Path) = \"\" Then)"_s);
        const QString text = c.eval.text(s.begin + 4, s.end, k, u"the default extension"_s);
        if (!text.startsWith(u'.') || text.size() < 2)
            refuse(t.pos(s.begin + 4), u"the default extension is added with its dot (\".txt\")"_s);
        return text.sliced(1);
    }
    return {};
}

} // namespace

void readGambasDialog(ReadContext &c, qint32 statement, DialogKind page, ReadResult &result)
{
    const basic::Tokens &t = c.t;
    CommonDialogFields fields;
    fields.page = page;
    const bool files = page == DialogKind::Open || page == DialogKind::Save;
    bool titled = false;
    bool filtered = false;
    for (const basic::Evaluator::Setting &setting : c.eval.settingsOf(u"dialog"_s, statement, u"Dialog"_s)) {
        const QString spelling = t.text(setting.name, setting.begin - 1).toString().trimmed();
        if (files && setting.property == u"title"_s) {
            (page == DialogKind::Open ? fields.openTitle : fields.saveTitle) = c.eval.settingText(setting, u"the title"_s);
            titled = true;
        } else if (files && setting.property == u"filter"_s) {
            (page == DialogKind::Open ? fields.openFileTypes : fields.saveFileTypes) = fileTypes(c, setting);
            filtered = true;
        } else {
            refuse(t.pos(setting.name), u"%1 is not a setting the common dialog tool can hold here"_s.arg(spelling));
        }
    }
    // Dialog's properties keep what they were last given, anywhere in the
    // program: the code must set them itself.
    if (files && !(titled && filtered))
        refuse(t.pos(c.statement(statement).begin + 1), u"%1 is not set before the dialog is shown; it keeps what it was"
                                                         " last given"_s.arg(titled ? u"Dialog.Filter"_s : u"Dialog.Title"_s));
    const QStringList comments = c.commentsAbove(statement, commondialog::BeginMarker);
    const auto says = [&](const QString &comment) { return comments.contains(comment); };
    switch (page) {
    case DialogKind::Open:
        break;
    case DialogKind::Save:
        fields.saveDefaultExtension = defaultExtension(c, statement);
        break;
    case DialogKind::Font:
        if (says(commondialog::GambasAllFonts))
            fields.fonts = FontsToDisplay::ScreenOnly;
        break;
    case DialogKind::Color:
        fields.customColors = !says(commondialog::GambasCustomColors);
        break;
    case DialogKind::Printer:
        fields.printToFile = !says(commondialog::GambasPrintToFile);
        if (statement == 0 || !isStatement(c, statement - 1, {u"Dim", u"PrinterSetup", u"As", u"New", u"Printer"}))
            refuse(t.pos(c.statement(statement).begin + 1), u"PrinterSetup must be a New Printer just before"_s);
        break;
    }
    result.fields = fields;
    result.code.dialect = basic::Dialect::Gambas;
}

