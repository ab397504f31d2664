// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Names.h"

#include <QHash>
#include <QStringList>

#include <array>

namespace basic {

namespace {

using enum NameGroup;
constexpr Dialect VB = Dialect::VisualBasic;
constexpr Dialect LO = Dialect::LibreOffice;

constexpr std::array names{
    BasicName{u"vbOKOnly", vbOKOnly, ButtonSet, VB},
    BasicName{u"vbOKCancel", vbOKCancel, ButtonSet, VB},
    BasicName{u"vbAbortRetryIgnore", vbAbortRetryIgnore, ButtonSet, VB},
    BasicName{u"vbYesNoCancel", vbYesNoCancel, ButtonSet, VB},
    BasicName{u"vbYesNo", vbYesNo, ButtonSet, VB},
    BasicName{u"vbRetryCancel", vbRetryCancel, ButtonSet, VB},
    BasicName{u"vbCritical", vbCritical, Icon, VB},
    BasicName{u"vbQuestion", vbQuestion, Icon, VB},
    BasicName{u"vbExclamation", vbExclamation, Icon, VB},
    BasicName{u"vbInformation", vbInformation, Icon, VB},
    BasicName{u"vbNoIcon", vbNoIcon, Icon, VB},
    BasicName{u"vbDefaultButton1", vbDefaultButton1, DefaultButton, VB},
    BasicName{u"vbDefaultButton2", vbDefaultButton2, DefaultButton, VB},
    BasicName{u"vbDefaultButton3", vbDefaultButton3, DefaultButton, VB},
    BasicName{u"vbDefaultButton4", vbDefaultButton4, DefaultButton, VB},
    BasicName{u"vbApplicationModal", vbApplicationModal, Modality, VB},
    BasicName{u"vbSystemModal", vbSystemModal, Modality, VB},
    BasicName{u"vbMsgBoxHelpButton", vbMsgBoxHelpButton, HelpButton, VB},
    BasicName{u"vbMsgBoxSetForeground", vbMsgBoxSetForeground, BoxOption, VB},
    BasicName{u"vbMsgBoxRight", vbMsgBoxRight, BoxOption, VB},
    BasicName{u"vbMsgBoxRtlReading", vbMsgBoxRtlReading, BoxOption, VB},
    BasicName{u"vbOK", vbOK, Result, VB},
    BasicName{u"vbCancel", vbCancel, Result, VB},
    BasicName{u"vbAbort", vbAbort, Result, VB},
    BasicName{u"vbRetry", vbRetry, Result, VB},
    BasicName{u"vbIgnore", vbIgnore, Result, VB},
    BasicName{u"vbYes", vbYes, Result, VB},
    BasicName{u"vbNo", vbNo, Result, VB},
    BasicName{u"cdlOFNOverwritePrompt", cdlOFNOverwritePrompt, CommonDialogFlag, VB},
    BasicName{u"cdlCFScreenFonts", cdlCFScreenFonts, CommonDialogFlag, VB},
    BasicName{u"cdlCFPrinterFonts", cdlCFPrinterFonts, CommonDialogFlag, VB},
    BasicName{u"cdlCFBoth", cdlCFBoth, CommonDialogFlag, VB},
    BasicName{u"cdlCCPreventFullOpen", cdlCCPreventFullOpen, CommonDialogFlag, VB},
    BasicName{u"cdlPDDisablePrintToFile", cdlPDDisablePrintToFile, CommonDialogFlag, VB},
    BasicName{u"MB_OK", vbOKOnly, ButtonSet, LO},
    BasicName{u"MB_OKCANCEL", vbOKCancel, ButtonSet, LO},
    BasicName{u"MB_ABORTRETRYIGNORE", vbAbortRetryIgnore, ButtonSet, LO},
    BasicName{u"MB_YESNOCANCEL", vbYesNoCancel, ButtonSet, LO},
    BasicName{u"MB_YESNO", vbYesNo, ButtonSet, LO},
    BasicName{u"MB_RETRYCANCEL", vbRetryCancel, ButtonSet, LO},
    BasicName{u"MB_ICONSTOP", vbCritical, Icon, LO},
    BasicName{u"MB_ICONQUESTION", vbQuestion, Icon, LO},
    BasicName{u"MB_ICONEXCLAMATION", vbExclamation, Icon, LO},
    BasicName{u"MB_ICONINFORMATION", vbInformation, Icon, LO},
    BasicName{u"MB_DEFBUTTON1", vbDefaultButton1, DefaultButton, LO},
    BasicName{u"MB_DEFBUTTON2", vbDefaultButton2, DefaultButton, LO},
    BasicName{u"MB_DEFBUTTON3", vbDefaultButton3, DefaultButton, LO},
    BasicName{u"MB_APPLMODAL", vbApplicationModal, Modality, LO},
    BasicName{u"MB_SYSTEMMODAL", vbSystemModal, Modality, LO},
    BasicName{u"IDOK", vbOK, Result, LO},
    BasicName{u"IDCANCEL", vbCancel, Result, LO},
    BasicName{u"IDABORT", vbAbort, Result, LO},
    BasicName{u"IDRETRY", vbRetry, Result, LO},
    BasicName{u"IDIGNORE", vbIgnore, Result, LO},
    BasicName{u"IDYES", vbYes, Result, LO},
    BasicName{u"IDNO", vbNo, Result, LO},
};

} // namespace

std::span<const BasicName> basicNames()
{
    return names;
}

const BasicName *findName(QStringView name)
{
    static const QHash<QString, const BasicName *> byName = [] {
        QHash<QString, const BasicName *> hash;
        for (const BasicName &entry : names)
            hash.insert(entry.name.toString().toLower(), &entry);
        return hash;
    }();
    if (name.size() > 32)
        return nullptr;
    return byName.value(name.toString().toLower(), nullptr);
}

std::optional<QStringView> nameFor(NameGroup group, qint32 value, Dialect dialect)
{
    for (const BasicName &entry : names) {
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
    for (const BasicName &entry : names) {
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
