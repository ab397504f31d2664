// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Names.h"

#include <QHash>

#include <array>

namespace basic {

namespace {

using enum NameGroup;
constexpr Dialect VB = Dialect::VisualBasic;
constexpr Dialect LO = Dialect::LibreOffice;

constexpr std::array names{
    BasicName{u"vbOKOnly", 0, ButtonSet, VB},
    BasicName{u"vbOKCancel", 1, ButtonSet, VB},
    BasicName{u"vbAbortRetryIgnore", 2, ButtonSet, VB},
    BasicName{u"vbYesNoCancel", 3, ButtonSet, VB},
    BasicName{u"vbYesNo", 4, ButtonSet, VB},
    BasicName{u"vbRetryCancel", 5, ButtonSet, VB},
    BasicName{u"vbCritical", 16, Icon, VB},
    BasicName{u"vbQuestion", 32, Icon, VB},
    BasicName{u"vbExclamation", 48, Icon, VB},
    BasicName{u"vbInformation", 64, Icon, VB},
    BasicName{u"vbNoIcon", 0, Icon, VB},
    BasicName{u"vbDefaultButton1", 0, DefaultButton, VB},
    BasicName{u"vbDefaultButton2", 256, DefaultButton, VB},
    BasicName{u"vbDefaultButton3", 512, DefaultButton, VB},
    BasicName{u"vbDefaultButton4", 768, DefaultButton, VB},
    BasicName{u"vbApplicationModal", 0, Modality, VB},
    BasicName{u"vbSystemModal", 4096, Modality, VB},
    BasicName{u"vbMsgBoxHelpButton", 16384, HelpButton, VB},
    BasicName{u"vbMsgBoxSetForeground", 65536, BoxOption, VB},
    BasicName{u"vbMsgBoxRight", 524288, BoxOption, VB},
    BasicName{u"vbMsgBoxRtlReading", 1048576, BoxOption, VB},
    BasicName{u"vbOK", 1, Result, VB},
    BasicName{u"vbCancel", 2, Result, VB},
    BasicName{u"vbAbort", 3, Result, VB},
    BasicName{u"vbRetry", 4, Result, VB},
    BasicName{u"vbIgnore", 5, Result, VB},
    BasicName{u"vbYes", 6, Result, VB},
    BasicName{u"vbNo", 7, Result, VB},
    BasicName{u"cdlOFNOverwritePrompt", 0x2, CommonDialogFlag, VB},
    BasicName{u"cdlCFScreenFonts", 0x1, CommonDialogFlag, VB},
    BasicName{u"cdlCFPrinterFonts", 0x2, CommonDialogFlag, VB},
    BasicName{u"cdlCFBoth", 0x3, CommonDialogFlag, VB},
    BasicName{u"cdlCCPreventFullOpen", 0x4, CommonDialogFlag, VB},
    BasicName{u"cdlPDDisablePrintToFile", 0x80000, CommonDialogFlag, VB},
    BasicName{u"MB_OK", 0, ButtonSet, LO},
    BasicName{u"MB_OKCANCEL", 1, ButtonSet, LO},
    BasicName{u"MB_ABORTRETRYIGNORE", 2, ButtonSet, LO},
    BasicName{u"MB_YESNOCANCEL", 3, ButtonSet, LO},
    BasicName{u"MB_YESNO", 4, ButtonSet, LO},
    BasicName{u"MB_RETRYCANCEL", 5, ButtonSet, LO},
    BasicName{u"MB_ICONSTOP", 16, Icon, LO},
    BasicName{u"MB_ICONQUESTION", 32, Icon, LO},
    BasicName{u"MB_ICONEXCLAMATION", 48, Icon, LO},
    BasicName{u"MB_ICONINFORMATION", 64, Icon, LO},
    BasicName{u"MB_DEFBUTTON1", 0, DefaultButton, LO},
    BasicName{u"MB_DEFBUTTON2", 256, DefaultButton, LO},
    BasicName{u"MB_DEFBUTTON3", 512, DefaultButton, LO},
    BasicName{u"MB_APPLMODAL", 0, Modality, LO},
    BasicName{u"MB_SYSTEMMODAL", 4096, Modality, LO},
    BasicName{u"IDOK", 1, Result, LO},
    BasicName{u"IDCANCEL", 2, Result, LO},
    BasicName{u"IDABORT", 3, Result, LO},
    BasicName{u"IDRETRY", 4, Result, LO},
    BasicName{u"IDIGNORE", 5, Result, LO},
    BasicName{u"IDYES", 6, Result, LO},
    BasicName{u"IDNO", 7, Result, LO},
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
