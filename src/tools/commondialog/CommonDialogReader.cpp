// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogReader.h"

#include "basic/Flags.h"
#include "tools/commondialog/CommonDialogFields.h"
#include "tools/commondialog/CommonDialogGambasReader.h"
#include "tools/commondialog/CommonDialogLibreOfficeReader.h"

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


// The construct's last token, the Show method or the service's: a MsgBox or
// InputBox call named before it in the statement is found first.
qint32 find(const ReadContext &c, qint32 statement)
{
    if (c.t.backslashEscapes())
        return gambasShownPage(c, statement) ? c.statement(statement).begin : -1;
    return showCall(c, statement) || isLibreOfficeDialog(c, statement) ? c.statement(statement).end - 1 : -1;
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
        return readGambasDialog(c, statement, *gambasShownPage(c, statement), result);
    if (const std::optional<ShowCall> show = showCall(c, statement))
        readControl(c, statement, show->control, show->page, result);
    else
        readLibreOfficeDialog(c, statement, result);
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
