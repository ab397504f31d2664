// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/BasicConstants.h"

#include <QStringList>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

QList<int> msgBoxButtonCodes(qint32 buttonSet)
{
    switch (buttonSet) {
    case vbOKOnly:
        return {vbOK};
    case vbOKCancel:
        return {vbOK, vbCancel};
    case vbAbortRetryIgnore:
        return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel:
        return {vbYes, vbNo, vbCancel};
    case vbYesNo:
        return {vbYes, vbNo};
    case vbRetryCancel:
        return {vbRetry, vbCancel};
    }
    return {};
}

QString msgBoxResultName(int resultCode, codegen::CodeOptions::Dialect dialect)
{
    static const std::array<QString, 7> names{u"vbOK"_s,    u"vbCancel"_s, u"vbAbort"_s, u"vbRetry"_s,
                                              u"vbIgnore"_s, u"vbYes"_s,    u"vbNo"_s};
    static const std::array<QString, 7> libreOfficeNames{u"IDOK"_s,    u"IDCANCEL"_s, u"IDABORT"_s, u"IDRETRY"_s,
                                                         u"IDIGNORE"_s, u"IDYES"_s,    u"IDNO"_s};
    if (resultCode >= vbOK && resultCode <= vbNo) {
        return (dialect == codegen::CodeOptions::Dialect::LibreOffice ? libreOfficeNames : names)
            .at(std::size_t(resultCode - vbOK));
    }
    return QString::number(resultCode);
}

namespace {

using NamedValue = std::pair<qint32, QString>;

QString nameIn(const QList<NamedValue> &names, qint32 value)
{
    for (const auto &[known, name] : names) {
        if (known == value)
            return name;
    }
    return QString::number(value);
}

// One dialect's names of the flag groups, in the order they are written.
struct FlagNames
{
    QList<NamedValue> buttonSets;
    QList<NamedValue> icons;
    QList<NamedValue> defaultButtons;
    QString systemModal;
    // Empty where the dialect's boxes have no Help button.
    QString helpButton;
    // Flags the tools have no option for.
    QList<NamedValue> options;
};

const FlagNames &flagNames(codegen::CodeOptions::Dialect dialect)
{
    static const FlagNames visualBasic{
        {{vbOKOnly, u"vbOKOnly"_s},
         {vbOKCancel, u"vbOKCancel"_s},
         {vbAbortRetryIgnore, u"vbAbortRetryIgnore"_s},
         {vbYesNoCancel, u"vbYesNoCancel"_s},
         {vbYesNo, u"vbYesNo"_s},
         {vbRetryCancel, u"vbRetryCancel"_s}},
        {{vbCritical, u"vbCritical"_s},
         {vbQuestion, u"vbQuestion"_s},
         {vbExclamation, u"vbExclamation"_s},
         {vbInformation, u"vbInformation"_s}},
        {{vbDefaultButton2, u"vbDefaultButton2"_s},
         {vbDefaultButton3, u"vbDefaultButton3"_s},
         {vbDefaultButton4, u"vbDefaultButton4"_s}},
        u"vbSystemModal"_s,
        u"vbMsgBoxHelpButton"_s,
        {{vbMsgBoxSetForeground, u"vbMsgBoxSetForeground"_s},
         {vbMsgBoxRight, u"vbMsgBoxRight"_s},
         {vbMsgBoxRtlReading, u"vbMsgBoxRtlReading"_s}},
    };
    static const FlagNames libreOffice{
        {{vbOKOnly, u"MB_OK"_s},
         {vbOKCancel, u"MB_OKCANCEL"_s},
         {vbAbortRetryIgnore, u"MB_ABORTRETRYIGNORE"_s},
         {vbYesNoCancel, u"MB_YESNOCANCEL"_s},
         {vbYesNo, u"MB_YESNO"_s},
         {vbRetryCancel, u"MB_RETRYCANCEL"_s}},
        {{vbCritical, u"MB_ICONSTOP"_s},
         {vbQuestion, u"MB_ICONQUESTION"_s},
         {vbExclamation, u"MB_ICONEXCLAMATION"_s},
         {vbInformation, u"MB_ICONINFORMATION"_s}},
        {{vbDefaultButton2, u"MB_DEFBUTTON2"_s}, {vbDefaultButton3, u"MB_DEFBUTTON3"_s}},
        u"MB_SYSTEMMODAL"_s,
        QString(),
        {},
    };
    return dialect == codegen::CodeOptions::Dialect::LibreOffice ? libreOffice : visualBasic;
}

} // namespace

QString msgBoxButtonsNames(qint32 value, codegen::CodeOptions::Dialect dialect)
{
    const FlagNames &names = flagNames(dialect);
    QStringList terms;
    bool named = false;
    const auto add = [&](const QList<NamedValue> &group, qint32 part) {
        const QString name = nameIn(group, part);
        named = named || !name.front().isDigit();
        terms << name;
    };
    const qint32 buttonSet = value & MsgBoxButtonSetMask;
    if (buttonSet)
        add(names.buttonSets, buttonSet);
    if (const qint32 icon = value & MsgBoxIconMask)
        add(names.icons, icon);
    if (const qint32 defaultButton = value & MsgBoxDefaultButtonMask)
        add(names.defaultButtons, defaultButton);
    qint32 known = MsgBoxButtonSetMask | MsgBoxIconMask | MsgBoxDefaultButtonMask | vbSystemModal;
    if (value & vbSystemModal) {
        terms << names.systemModal;
        named = true;
    }
    if (!names.helpButton.isEmpty()) {
        known |= vbMsgBoxHelpButton;
        if (value & vbMsgBoxHelpButton) {
            terms << names.helpButton;
            named = true;
        }
    }
    for (const auto &[flag, name] : names.options) {
        known |= flag;
        if (value & flag) {
            terms << name;
            named = true;
        }
    }
    // Bits that belong to no group the dialect names: kept, as a number.
    if (const qint32 rest = value & ~known)
        terms << QString::number(rest);
    // People write the icon alone (vbCritical), and vbOKOnly only when
    // nothing else says what the box is.
    if (!buttonSet && !named)
        terms.prepend(nameIn(names.buttonSets, vbOKOnly));
    return terms.join(u" + "_s);
}
