// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Names.h"

#include "basic/MsgBoxStyles.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <vector>

namespace basic {

namespace {

using enum NameGroup;
constexpr Dialect VB = Dialect::VisualBasic;
constexpr Dialect LO = Dialect::LibreOffice;

// The common dialog control's flags; Visual Basic alone has the control.
constexpr std::array commonDialogNames{
    BasicName{u"cdlOFNOverwritePrompt", cdlOFNOverwritePrompt, CommonDialogFlag, VB},
    BasicName{u"cdlCFScreenFonts", cdlCFScreenFonts, CommonDialogFlag, VB},
    BasicName{u"cdlCFPrinterFonts", cdlCFPrinterFonts, CommonDialogFlag, VB},
    BasicName{u"cdlCFBoth", cdlCFBoth, CommonDialogFlag, VB},
    BasicName{u"cdlCCPreventFullOpen", cdlCCPreventFullOpen, CommonDialogFlag, VB},
    BasicName{u"cdlPDDisablePrintToFile", cdlPDDisablePrintToFile, CommonDialogFlag, VB},
};

// The message box's names come from its tables, a dialect at a time: each
// table's rows in order, the flags last, so that a value's first name is the
// one it is written with.
template<typename Rows>
void addNames(std::vector<BasicName> &names, const Rows &rows, NameGroup group, Dialect dialect)
{
    for (const auto &row : rows) {
        const QStringView name = dialect == VB ? row.vbName : row.libreOfficeName;
        if (!name.isEmpty())
            names.push_back({name, qint32(row.value), group, dialect});
    }
}

NameGroup flagGroup(qint32 value)
{
    if (value & MsgBoxModalityMask || value == 0)
        return Modality;
    return value == vbMsgBoxHelpButton ? HelpButton : BoxOption;
}

const std::vector<BasicName> &names()
{
    static const std::vector<BasicName> list = [] {
        std::vector<BasicName> all;
        for (const Dialect dialect : {VB, LO}) {
            addNames(all, buttonSets(), ButtonSet, dialect);
            addNames(all, msgBoxIcons(), Icon, dialect);
            addNames(all, defaultButtons(), DefaultButton, dialect);
            for (const MsgBoxFlagRow &flag : msgBoxFlags()) {
                const QStringView name = dialect == VB ? flag.vbName : flag.libreOfficeName;
                if (!name.isEmpty())
                    all.push_back({name, flag.value, flagGroup(flag.value), dialect});
            }
            addNames(all, msgBoxResults(), Result, dialect);
            if (dialect == VB)
                all.insert(all.end(), commonDialogNames.begin(), commonDialogNames.end());
        }
        return all;
    }();
    return list;
}

} // namespace

std::span<const BasicName> basicNames()
{
    return names();
}

const BasicName *findName(QStringView name)
{
    static const QHash<QString, const BasicName *> byName = [] {
        QHash<QString, const BasicName *> hash;
        for (const BasicName &entry : names())
            hash.insert(entry.name.toString().toLower(), &entry);
        return hash;
    }();
    if (name.size() > 32)
        return nullptr;
    return byName.value(name.toString().toLower(), nullptr);
}

std::optional<QStringView> nameFor(NameGroup group, qint32 value, Dialect dialect)
{
    for (const BasicName &entry : names()) {
        if (entry.group == group && entry.value == value && entry.dialect == dialect)
            return entry.name;
    }
    return std::nullopt;
}

QString resultName(int resultCode, Dialect dialect)
{
    if (const auto name = nameFor(NameGroup::Result, resultCode, dialect))
        return name->toString();
    return QString::number(resultCode);
}

QString buttonsNames(qint32 value, Dialect dialect)
{
    QStringList terms;
    bool named = false;
    // The groups that share bits: one name for each group's part.
    const auto addPart = [&](NameGroup group, qint32 mask) {
        const qint32 part = value & mask;
        if (!part)
            return;
        const auto name = nameFor(group, part, dialect);
        named = named || name.has_value();
        terms << (name ? name->toString() : QString::number(part));
    };
    addPart(ButtonSet, MsgBoxButtonSetMask);
    addPart(Icon, MsgBoxIconMask);
    addPart(DefaultButton, MsgBoxDefaultButtonMask);
    qint32 known = MsgBoxButtonSetMask | MsgBoxIconMask | MsgBoxDefaultButtonMask;
    // The flags of a bit each, in the table's order.
    for (const BasicName &entry : names()) {
        if (entry.dialect != dialect || entry.value == 0
            || (entry.group != Modality && entry.group != HelpButton && entry.group != BoxOption))
            continue;
        known |= entry.value;
        if (value & entry.value) {
            terms << entry.name.toString();
            named = true;
        }
    }
    // Bits that belong to no group the dialect names: kept, as a number.
    if (const qint32 rest = value & ~known)
        terms << QString::number(rest);
    // People write the icon alone (vbCritical), and vbOKOnly only when
    // nothing else says what the box is.
    if (!(value & MsgBoxButtonSetMask) && !named) {
        if (const auto okOnly = nameFor(ButtonSet, vbOKOnly, dialect))
            terms.prepend(okOnly->toString());
    }
    return terms.join(u" + ");
}

std::optional<QString> textConstant(QStringView name)
{
    static const QHash<QString, QString> texts{
        {QStringLiteral("vbcrlf"), QStringLiteral("\r\n")},   {QStringLiteral("vbnewline"), QStringLiteral("\r\n")},
        {QStringLiteral("vbcr"), QStringLiteral("\r")},       {QStringLiteral("vblf"), QStringLiteral("\n")},
        {QStringLiteral("vbtab"), QStringLiteral("\t")},      {QStringLiteral("vbnullstring"), QString()},
        {QStringLiteral("vbback"), QStringLiteral("\b")},     {QStringLiteral("vbnullchar"), QString(QChar(0))},
        {QStringLiteral("vbformfeed"), QStringLiteral("\f")}, {QStringLiteral("vbverticaltab"), QStringLiteral("\v")},
    };
    if (name.size() > 16)
        return std::nullopt;
    const auto found = texts.constFind(name.toString().toLower());
    if (found == texts.cend())
        return std::nullopt;
    return *found;
}

} // namespace basic
