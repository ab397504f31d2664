// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogReader.h"

#include "basic/Flags.h"
#include "tools/commondialog/CommonDialogFields.h"
#include "tools/commondialog/CommonDialogTexts.h"

#include <QList>

#include <array>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct ShowCall
{
    QString control; // lower case
    DialogKind page;
};

// `CommonDialog1.ShowOpen` (or `.ShowOpen` inside `With CommonDialog1`) as a
// statement of its own.
std::optional<ShowCall> showCall(const ReadContext &c, qint32 statement)
{
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    // Only a statement that ends in a Show… method is looked at closer.
    if (s.end - s.begin < 2 || !t.isIdent(s.end - 1) || !t.isPunct(s.end - 2, u'.')
        || !t.text(s.end - 1).startsWith(u"show", Qt::CaseInsensitive))
        return std::nullopt;
    qint32 i = s.begin;
    if (t.isWord(i, u"call"))
        ++i;
    QString chain;
    if (i + 1 < s.end && t.isPunct(i, u'.') && t.isIdent(i + 1)) {
        const std::optional<QString> object = c.m.withObject(statement);
        ++i;
        chain = t.nameChain(i, s.end);
        if (!object)
            return std::nullopt;
        chain = *object + u'.' + chain;
    } else if (i < s.end && t.isIdent(i)) {
        chain = t.nameChain(i, s.end);
    }
    const qsizetype dot = chain.lastIndexOf(u'.');
    if (dot <= 0 || i != s.end)
        return std::nullopt;
    static const QList<std::pair<QStringView, DialogKind>> shows{
        {u"showopen", DialogKind::Open},   {u"showsave", DialogKind::Save},       {u"showfont", DialogKind::Font},
        {u"showcolor", DialogKind::Color}, {u"showprinter", DialogKind::Printer},
    };
    const QStringView method = QStringView(chain).sliced(dot + 1);
    for (const auto &[show, page] : shows) {
        if (method.compare(show, Qt::CaseInsensitive) == 0)
            return ShowCall{chain.first(dot).toLower(), page};
    }
    return std::nullopt;
}

// LibreOffice Basic has no common dialog control: its code shows a UNO
// service's dialog (the file and colour pickers), or the document's own font
// and print dialogs through the dispatcher.
namespace libreoffice {

const QString filePickerService = u"com.sun.star.ui.dialogs.FilePicker"_s;
const QString colorPickerService = u"com.sun.star.cui.ColorPicker"_s;

bool isString(const basic::Tokens &t, qint32 i, QStringView value)
{
    const QStringView text = t.text(i);
    return t.kind(i) == basic::TokenKind::String && text.size() == value.size() + 2 && text.sliced(1).chopped(1) == value;
}

// `[Set] X = CreateUnoService("service")`: X's token, or -1.
qint32 serviceObject(const ReadContext &c, qint32 statement, QStringView service)
{
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    const qint32 i = t.isWord(s.begin, u"set") ? s.begin + 1 : s.begin;
    const bool matches = i + 6 == s.end && t.isIdent(i) && t.isPunct(i + 1, u'=') && t.isWord(i + 2, u"createunoservice")
                         && t.isPunct(i + 3, u'(') && isString(t, i + 4, service) && t.isPunct(i + 5, u')');
    return matches ? i : -1;
}

// `X.executeDispatch(frame, ".uno:FontDialog", ...)`: the page it shows.
std::optional<DialogKind> dispatchedPage(const ReadContext &c, qint32 statement)
{
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    qint32 i = t.isWord(s.begin, u"call") ? s.begin + 1 : s.begin;
    if (!(i + 4 < s.end && t.isIdent(i) && t.isPunct(i + 1, u'.') && t.isWord(i + 2, u"executedispatch")
          && t.isPunct(i + 3, u'(') && t.closing(i + 3, s.end) == s.end - 1))
        return std::nullopt;
    qint32 depth = 0;
    for (i += 4; i < s.end - 1; ++i) {
        if (t.isPunct(i, u'('))
            ++depth;
        else if (t.isPunct(i, u')'))
            --depth;
        else if (depth == 0 && t.isPunct(i, u','))
            break;
    }
    if (i + 2 >= s.end || !(t.isPunct(i + 2, u',') || t.isPunct(i + 2, u')')))
        return std::nullopt;
    if (isString(t, i + 1, u".uno:FontDialog"))
        return DialogKind::Font;
    if (isString(t, i + 1, u".uno:Print"))
        return DialogKind::Printer;
    return std::nullopt;
}

// Whether the comment line stands above the statement's block: above the
// Dims and service objects that lead up to it.
bool commentAbove(const ReadContext &c, qint32 statement, QStringView comment)
{
    const basic::Tokens &t = c.t;
    const qint32 first = c.m.procedures()[std::size_t(c.statement(statement).procedure)].first;
    qint32 k = statement;
    while (k > first) {
        const basic::Statement &previous = c.statement(k - 1);
        const bool leading = t.isWord(previous.begin, u"dim")
                             || (previous.begin + 3 < previous.end && t.isPunct(previous.begin + 1, u'=')
                                 && t.isWord(previous.begin + 2, u"createunoservice"));
        if (!leading)
            break;
        --k;
    }
    const qint32 from = k > 0 ? c.statement(k - 1).end : 0;
    for (qint32 i = from; i < c.statement(statement).begin; ++i) {
        if (t.kind(i) == basic::TokenKind::Comment && t.text(i) == comment)
            return true;
    }
    return false;
}

// Whether the statement names the object (case-insensitively, as BASIC).
qint32 namesObject(const ReadContext &c, qint32 statement, QStringView object)
{
    const basic::Statement &s = c.statement(statement);
    for (qint32 i = s.begin; i < s.end; ++i) {
        if (c.t.isWord(i, object) && !(i > s.begin && c.t.isPunct(i - 1, u'.')))
            return i;
    }
    return -1;
}

// The statement in the same procedure from `from` on that shows the
// object's dialog (`X.execute()`), refusing any other use of the object on
// the way. `read` gets every statement before it that calls a method of the
// object, with the method's token.
template<typename Read>
qint32 untilExecuted(ReadContext &c, qint32 statement, qint32 object, Read read)
{
    const basic::Tokens &t = c.t;
    const QStringView name = t.text(object);
    const qint32 procedure = c.statement(statement).procedure;
    const qint32 count = qint32(c.m.statements().size());
    for (qint32 k = statement + 1; k < count && c.statement(k).procedure == procedure; ++k) {
        const qint32 use = namesObject(c, k, name);
        if (use < 0)
            continue;
        const basic::Statement &s = c.statement(k);
        if (use + 2 < s.end && t.isPunct(use + 1, u'.') && t.isWord(use + 2, u"execute"))
            return k;
        const bool call = use == s.begin && use + 3 < s.end && t.isPunct(use + 1, u'.') && t.isIdent(use + 2)
                          && t.isPunct(use + 3, u'(') && t.closing(use + 3, s.end) == s.end - 1;
        if (!call)
            refuse(t.pos(use), u"%1 is used in a way the common dialog tool cannot hold"_s.arg(name));
        c.eval.runTo(k);
        read(k, use + 2);
    }
    refuse(t.pos(object), u"%1's dialog is never shown (%1.execute())"_s.arg(name));
}

// "txt Files", "*.txt": the pair a file type of the list is written as.
QString fileType(ReadContext &c, qint32 k, const std::vector<Parameter> &args)
{
    const QString name = c.eval.singleLine(args[0].begin, args[0].end, k, u"the filter's name"_s);
    const QString pattern = c.eval.singleLine(args[1].begin, args[1].end, k, u"the filter's pattern"_s);
    const QString type = pattern.mid(2);
    if (!pattern.startsWith(u"*."_s) || type.isEmpty() || name != type + u" Files"_s)
        refuse(c.t.pos(args[0].begin),
               u"the filter \"%1\", \"%2\" is not a file type that the Allowed File Types list can express"
               " (it writes \"txt Files\", \"*.txt\")"_s
                   .arg(name, pattern));
    return type;
}

void readFilePicker(ReadContext &c, qint32 statement, qint32 object, CommonDialogFields &fields)
{
    const basic::Tokens &t = c.t;
    std::optional<DialogKind> page;
    std::optional<QString> title;
    QStringList types;
    std::optional<QString> extensionFilter;
    std::optional<QString> currentFilter;
    std::optional<bool> autoExtension;
    qint32 previousEnd = c.statement(statement).end;
    bool afterExtensionComment = false;
    const auto needsPage = [&](qint32 method) {
        if (!page)
            refuse(t.pos(method), u"%1 comes before the file picker's initialize"_s.arg(t.text(method)));
        return *page;
    };
    untilExecuted(c, statement, object, [&](qint32 k, qint32 method) {
        const basic::Statement &s = c.statement(k);
        for (qint32 i = previousEnd; i < s.begin; ++i)
            afterExtensionComment |= t.kind(i) == basic::TokenKind::Comment && t.text(i) == commondialog::LibreOfficeExtensionThroughFilter;
        previousEnd = s.end;
        const qint32 open = method + 1;
        const qint32 close = s.end - 1;
        if (t.isWord(method, u"initialize")) {
            // Array(com.sun.star.ui.dialogs.TemplateDescription.FILEOPEN_SIMPLE)
            qint32 i = open + 1;
            QString templateName;
            if (t.isWord(i, u"array") && t.isPunct(i + 1, u'(')) {
                i += 2;
                templateName = t.nameChain(i, close);
                if (!(t.isPunct(i, u')') && i + 1 == close))
                    templateName.clear();
            }
            if (templateName == u"com.sun.star.ui.dialogs.TemplateDescription.FILEOPEN_SIMPLE"_s)
                page = DialogKind::Open;
            else if (templateName == u"com.sun.star.ui.dialogs.TemplateDescription.FILESAVE_AUTOEXTENSION"_s)
                page = DialogKind::Save;
            else
                refuse(t.posOf(open + 1, close), u"the file picker's template can only be FILEOPEN_SIMPLE (Open) or "
                                                 "FILESAVE_AUTOEXTENSION (Save)"_s);
        } else if (t.isWord(method, u"settitle")) {
            needsPage(method);
            const auto args = c.arguments(open + 1, close, {u"title"}, u"setTitle");
            title = c.eval.singleLine(args[0].begin, args[0].end, k, u"the title"_s);
        } else if (t.isWord(method, u"appendfilter")) {
            needsPage(method);
            const auto args = c.arguments(open + 1, close, {u"name", u"pattern"}, u"appendFilter");
            if (!args[0].given() || !args[1].given())
                refuse(t.pos(method), u"appendFilter needs a name and a pattern"_s);
            const QString type = fileType(c, k, args);
            if (afterExtensionComment)
                extensionFilter = type;
            else if (!types.contains(type))
                types << type;
            else
                refuse(t.pos(args[0].begin), u"the file picker refuses a second filter named \"%1 Files\""_s.arg(type));
        } else if (t.isWord(method, u"setcurrentfilter") && needsPage(method) == DialogKind::Save) {
            const auto args = c.arguments(open + 1, close, {u"name"}, u"setCurrentFilter");
            const QString name = c.eval.singleLine(args[0].begin, args[0].end, k, u"the current filter"_s);
            if (!name.endsWith(u" Files"_s) || name.size() == 6)
                refuse(t.pos(args[0].begin), u"the current filter can only be a file type's (\"txt Files\")"_s);
            currentFilter = name.chopped(6);
        } else if (t.isWord(method, u"setvalue") && needsPage(method) == DialogKind::Save) {
            // setValue(…ExtendedFilePickerElementIds.CHECKBOX_AUTOEXTENSION, 0, True)
            qint32 i = open + 1;
            const QString control = t.nameChain(i, close);
            const bool known = control == u"com.sun.star.ui.dialogs.ExtendedFilePickerElementIds.CHECKBOX_AUTOEXTENSION"_s
                               && i + 4 == close && t.isPunct(i, u',') && t.text(i + 1) == u"0"
                               && t.isPunct(i + 2, u',') && (t.isWord(i + 3, u"true") || t.isWord(i + 3, u"false"));
            if (!known)
                refuse(t.posOf(open + 1, close), u"the tool can only set the auto-extension check box to True or False"_s);
            autoExtension = t.isWord(i + 3, u"true");
        } else {
            refuse(t.pos(method), u"%1.%2 is not a setting the common dialog tool can hold on the %3 page"_s.arg(
                                      t.text(object), t.text(method),
                                      page == DialogKind::Save ? u"Save"_s : u"Open"_s));
        }
    });
    if (!page)
        refuse(t.pos(object), u"%1 is never initialized with a template"_s.arg(t.text(object)));
    fields.page = *page;
    QString extension;
    if (currentFilter) {
        if (!autoExtension.value_or(false))
            refuse(t.pos(object), u"the default extension needs the auto-extension check box set to True"_s);
        if (extensionFilter ? (*extensionFilter != *currentFilter || types.contains(*currentFilter))
                            : !types.contains(*currentFilter))
            refuse(t.pos(object), u"the current filter \"%1 Files\" is not among the filters"_s.arg(*currentFilter));
        extension = *currentFilter;
    } else if (autoExtension.value_or(false) || extensionFilter) {
        refuse(t.pos(object), u"the auto-extension check box needs a current filter for the default extension"_s);
    }
    if (*page == DialogKind::Open) {
        fields.openTitle = title.value_or(QString());
        fields.openFileTypes = types;
    } else {
        fields.saveTitle = title.value_or(QString());
        fields.saveFileTypes = types;
        fields.saveDefaultExtension = extension;
    }
}

// The dispatch that the tool writes: the current document's frame, no
// target, no flags and no arguments, which the tool has no fields for.
void refuseDispatchArguments(const ReadContext &c, qint32 statement)
{
    const basic::Tokens &t = c.t;
    const basic::Statement &s = c.statement(statement);
    qint32 i = (t.isWord(s.begin, u"call") ? s.begin + 1 : s.begin) + 4;
    const qint32 frameBegin = i;
    const QString frame = t.nameChain(i, s.end);
    if (frame.compare(u"ThisComponent.CurrentController.Frame"_s, Qt::CaseInsensitive) != 0 || !t.isPunct(i, u','))
        refuse(t.posOf(frameBegin, s.end), u"the dialog can only be dispatched to the current document's frame"
                                           " (ThisComponent.CurrentController.Frame)"_s);
    i += 2; // the command
    static const std::array<QStringView, 9> rest{u",", u"\"\"", u",", u"0", u",", u"Array", u"(", u")", u")"};
    bool plain = i + qint32(rest.size()) == s.end;
    for (std::size_t k = 0; plain && k < rest.size(); ++k)
        plain = t.text(i + qint32(k)).compare(rest[k], Qt::CaseInsensitive) == 0;
    if (!plain)
        refuse(t.posOf(i, s.end), u"the tool has no field for the dispatch's target, flags or arguments"
                                  " (it writes \"\", 0, Array())"_s);
}

void read(ReadContext &c, qint32 statement, ReadResult &result)
{
    CommonDialogFields fields;
    if (const qint32 picker = serviceObject(c, statement, filePickerService); picker >= 0) {
        readFilePicker(c, statement, picker, fields);
    } else if (const qint32 colors = serviceObject(c, statement, colorPickerService); colors >= 0) {
        fields.page = DialogKind::Color;
        untilExecuted(c, statement, colors, [&](qint32, qint32 method) {
            refuse(c.t.pos(method), u"%1.%2 is not a setting the common dialog tool can hold on the Color page"_s.arg(
                                        c.t.text(colors), c.t.text(method)));
        });
        fields.customColors = !commentAbove(c, statement, commondialog::LibreOfficeCustomColors);
    } else {
        fields.page = *dispatchedPage(c, statement);
        refuseDispatchArguments(c, statement);
        if (fields.page == DialogKind::Font) {
            fields.fonts = commentAbove(c, statement, commondialog::LibreOfficeAllFonts)
                               ? FontsToDisplay::PrinterOnly
                               : FontsToDisplay::Both;
        } else {
            fields.printToFile = !commentAbove(c, statement, commondialog::LibreOfficePrintToFile);
        }
    }
    result.fields = fields;
    result.code.dialect = basic::Dialect::LibreOffice;
}

bool found(const ReadContext &c, qint32 statement)
{
    return serviceObject(c, statement, filePickerService) >= 0 || serviceObject(c, statement, colorPickerService) >= 0
           || dispatchedPage(c, statement);
}

} // namespace libreoffice

// Gambas has a Dialog class of static methods, and a Printer object whose
// Configure shows the print dialog; each returns True when cancelled.
namespace gambas {

// `If Dialog.OpenFile() Then` and the like: the page.
std::optional<DialogKind> shownPage(const ReadContext &c, qint32 statement)
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

void read(ReadContext &c, qint32 statement, DialogKind page, ReadResult &result)
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

} // namespace gambas

// The construct's last token, the Show method or the service's: a MsgBox or
// InputBox call named before it in the statement is found first.
qint32 find(const ReadContext &c, qint32 statement)
{
    if (c.t.backslashEscapes())
        return gambas::shownPage(c, statement) ? c.statement(statement).begin : -1;
    return showCall(c, statement) || libreoffice::found(c, statement) ? c.statement(statement).end - 1 : -1;
}

void readControl(ReadContext &c, qint32 statement, const QString &control, DialogKind page, ReadResult &result)
{
    const basic::Tokens &t = c.t;
    static const QStringList pageNames{u"Open"_s, u"Save"_s, u"Font"_s, u"Color"_s, u"Printer"_s};
    const QString pageName = pageNames.at(int(page));
    CommonDialogFields fields;
    fields.page = page;
    const bool files = page == DialogKind::Open || page == DialogKind::Save;
    c.eval.requireControl(control, statement);
    for (const basic::Evaluator::Setting &setting : c.eval.settingsOf(control, statement)) {
        const qsizetype pos = t.pos(setting.name);
        const QString spelling = t.text(setting.name, setting.begin - 1).toString();
        const auto notHere = [&] { refuse(pos, u"%1 has no field on the %2 page"_s.arg(spelling, pageName)); };
        if (setting.property == u"cancelerror"_s) {
            // The code the tool writes sets it True: any other value would
            // be written back wrong.
            if (setting.end - setting.begin != 1 || !t.isWord(setting.begin, u"true"))
                refuse(t.posOf(setting.begin, setting.end),
                       u"%1 can only be True here: the tool's code catches Cancel as an error"_s.arg(spelling));
            continue;
        }
        if (setting.property == u"dialogtitle"_s) {
            if (!files)
                notHere();
            (page == DialogKind::Open ? fields.openTitle : fields.saveTitle) = c.eval.settingText(setting, u"the title"_s);
        } else if (setting.property == u"defaultext"_s) {
            if (page != DialogKind::Save)
                notHere();
            fields.saveDefaultExtension = c.eval.settingText(setting, u"the default extension"_s);
        } else if (setting.property == u"filter"_s) {
            if (!files)
                notHere();
            const QString filter = c.eval.settingText(setting, u"the filter"_s);
            QStringList parts = filter.split(u'|');
            if (parts.size() > 1 && parts.back().isEmpty())
                parts.removeLast();
            if (filter.isEmpty())
                parts.clear();
            QStringList types;
            for (qsizetype p = 0; p < parts.size(); p += 2) {
                const QString type = parts.at(p + 1 < parts.size() ? p + 1 : p).mid(2);
                // Only "X Files|*.X", the pair the list writes for type X.
                const bool expressible = p + 1 < parts.size() && parts.at(p + 1).startsWith(u"*."_s)
                                         && !type.isEmpty() && parts.at(p) == type + u" Files"_s;
                if (!expressible)
                    refuse(t.pos(setting.begin),
                           u"the filter's \"%1\" is not a file type that the Allowed File Types list can express"
                           " (it writes \"txt Files|*.txt\")"_s
                               .arg(parts.mid(p, 2).join(u'|')));
                types << type;
            }
            (page == DialogKind::Open ? fields.openFileTypes : fields.saveFileTypes) = types;
        } else if (setting.property == u"flags"_s) {
            const basic::FlagValue value =
                c.flags(setting.begin, setting.end, basic::FlagKind::CommonDialog, u"the flags"_s);
            const qint64 flags = value.value;
            const auto noOption = [&] {
                refuse(t.pos(setting.begin), u"Flags %1 has no option on the %2 page"_s
                                                 .arg(t.text(setting.begin, setting.end))
                                                 .arg(pageName));
            };
            switch (page) {
            case DialogKind::Open:
            case DialogKind::Save:
                if (flags != 0)
                    noOption();
                break;
            case DialogKind::Font:
                if (flags < cdlCFScreenFonts || flags > cdlCFBoth)
                    noOption();
                fields.fonts = flags == cdlCFScreenFonts    ? FontsToDisplay::ScreenOnly
                               : flags == cdlCFPrinterFonts ? FontsToDisplay::PrinterOnly
                                                            : FontsToDisplay::Both;
                break;
            case DialogKind::Color:
                if (flags != 0 && flags != cdlCCPreventFullOpen)
                    noOption();
                fields.customColors = flags == 0;
                break;
            case DialogKind::Printer:
                if (flags != 0 && flags != cdlPDDisablePrintToFile)
                    noOption();
                fields.printToFile = flags == 0;
                break;
            }
        } else {
            refuse(pos, u"%1 is not a setting the common dialog tool can hold"_s.arg(spelling));
        }
    }
    result.fields = fields;
}

void read(ReadContext &c, qint32 statement, qint32, ReadResult &result)
{
    if (c.t.backslashEscapes())
        return gambas::read(c, statement, *gambas::shownPage(c, statement), result);
    if (const std::optional<ShowCall> show = showCall(c, statement))
        readControl(c, statement, show->control, show->page, result);
    else
        libreoffice::read(c, statement, result);
}

} // namespace

ToolReader commonDialogReader()
{
    return {.find = find,
            .read = read,
            .sought = u"common dialog block"_s,
            .soughtAlone = u"common dialog Show call"_s,
            // Dialog's settings and functions, and PrinterSetup's.
            .gambasForms = uR"(Dialog\.(?:Title|Filter)[ \t]*=|If (?:Dialog\.(?:OpenFile|SaveFile|SelectFont|)"
                           uR"(SelectColor)|PrinterSetup\.Configure)\(\) Then\b)"_s};
}
