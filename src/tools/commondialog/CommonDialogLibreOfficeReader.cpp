// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogLibreOfficeReader.h"

#include "basic/Flags.h"
#include "tools/commondialog/CommonDialogFields.h"
#include "tools/commondialog/CommonDialogTexts.h"

#include <QList>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

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
            const auto args = c.call(k, method, {u"title"}, u"setTitle").arguments();
            title = c.eval.singleLine(args[0].begin, args[0].end, k, u"the title"_s);
        } else if (t.isWord(method, u"appendfilter")) {
            needsPage(method);
            const auto args = c.call(k, method, {u"name", u"pattern"}, u"appendFilter").arguments();
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
            const auto args = c.call(k, method, {u"name"}, u"setCurrentFilter").arguments();
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

} // namespace

void readLibreOfficeDialog(ReadContext &c, qint32 statement, ReadResult &result)
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

bool isLibreOfficeDialog(const ReadContext &c, qint32 statement)
{
    return serviceObject(c, statement, filePickerService) >= 0 || serviceObject(c, statement, colorPickerService) >= 0
           || dispatchedPage(c, statement);
}


