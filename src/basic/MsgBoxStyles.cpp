// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/MsgBoxStyles.h"

#include <QCoreApplication>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

namespace {

// One row a line, as a table reads.
// clang-format off
constexpr std::array results{
    MsgBoxResultRow{vbOK, u"vbOK", u"IDOK", QT_TRANSLATE_NOOP("MsgBoxStyles", "OK"),
                    QT_TRANSLATE_NOOP("MsgBoxStyles", "OK"), "OK", u"OK"},
    MsgBoxResultRow{vbCancel, u"vbCancel", u"IDCANCEL", QT_TRANSLATE_NOOP("MsgBoxStyles", "Cancel"),
                    QT_TRANSLATE_NOOP("MsgBoxStyles", "Cancel"), "Cancel", u"Cancel"},
    MsgBoxResultRow{vbAbort, u"vbAbort", u"IDABORT", QT_TRANSLATE_NOOP("MsgBoxStyles", "Abort"),
                    QT_TRANSLATE_NOOP("MsgBoxStyles", "&Abort"), "Abort", u"Abort"},
    MsgBoxResultRow{vbRetry, u"vbRetry", u"IDRETRY", QT_TRANSLATE_NOOP("MsgBoxStyles", "Retry"),
                    QT_TRANSLATE_NOOP("MsgBoxStyles", "&Retry"), "Retry", u"retry"},
    MsgBoxResultRow{vbIgnore, u"vbIgnore", u"IDIGNORE", QT_TRANSLATE_NOOP("MsgBoxStyles", "Ignore"),
                    QT_TRANSLATE_NOOP("MsgBoxStyles", "&Ignore"), "Ignore", u"Ignore"},
    MsgBoxResultRow{vbYes, u"vbYes", u"IDYES", QT_TRANSLATE_NOOP("MsgBoxStyles", "Yes"),
                    QT_TRANSLATE_NOOP("MsgBoxStyles", "&Yes"), "&Yes", u"Yes"},
    MsgBoxResultRow{vbNo, u"vbNo", u"IDNO", QT_TRANSLATE_NOOP("MsgBoxStyles", "No"),
                    QT_TRANSLATE_NOOP("MsgBoxStyles", "&No"), "&No", u"No"},
};

constexpr std::array sets{
    ButtonSetRow{vbOKOnly, u"ok", u"optOK", u"vbOKOnly", u"MB_OK", {vbOK}, 1},
    ButtonSetRow{vbOKCancel, u"okcancel", u"optOKCancel", u"vbOKCancel", u"MB_OKCANCEL", {vbOK, vbCancel}, 2},
    ButtonSetRow{vbAbortRetryIgnore, u"abortretryignore", u"optAbortRetryIgnore", u"vbAbortRetryIgnore",
                 u"MB_ABORTRETRYIGNORE", {vbAbort, vbRetry, vbIgnore}, 3},
    ButtonSetRow{vbYesNoCancel, u"yesnocancel", u"optYesNoCancel", u"vbYesNoCancel", u"MB_YESNOCANCEL",
                 {vbYes, vbNo, vbCancel}, 3},
    ButtonSetRow{vbYesNo, u"yesno", u"optYesNo", u"vbYesNo", u"MB_YESNO", {vbYes, vbNo}, 2},
    ButtonSetRow{vbRetryCancel, u"retrycancel", u"optRetryCancel", u"vbRetryCancel", u"MB_RETRYCANCEL",
                 {vbRetry, vbCancel}, 2},
};

// In the window's order; Gambas's plain and information boxes take one
// button, so a box with more goes to its question box.
constexpr std::array icons{
    IconRow{vbNoIcon, u"none", u"optNone", u"Label1", QT_TRANSLATE_NOOP("MsgBoxStyles", "No Icon"), BoxPicture::None,
            u"vbNoIcon", u"", u"no icon", u"", true},
    IconRow{vbCritical, u"error", u"optError", u"Label2", QT_TRANSLATE_NOOP("MsgBoxStyles", "Error"),
            BoxPicture::Critical, u"vbCritical", u"MB_ICONSTOP", u"the critical icon", u"Error", false},
    IconRow{vbQuestion, u"question", u"optQuestion", u"Label3", QT_TRANSLATE_NOOP("MsgBoxStyles", "Question"),
            BoxPicture::Question, u"vbQuestion", u"MB_ICONQUESTION", u"the question icon", u"Question", false},
    IconRow{vbExclamation, u"warning", u"optWarning", u"Label4", QT_TRANSLATE_NOOP("MsgBoxStyles", "Warning"),
            BoxPicture::Warning, u"vbExclamation", u"MB_ICONEXCLAMATION", u"the exclamation icon", u"Warning", false},
    IconRow{vbInformation, u"information", u"optInformation", u"Label5",
            QT_TRANSLATE_NOOP("MsgBoxStyles", "Information"), BoxPicture::Information, u"vbInformation",
            u"MB_ICONINFORMATION", u"the information icon", u"Info", true},
};

constexpr std::array defaults{
    DefaultButtonRow{vbDefaultButton1, u"vbDefaultButton1", u"MB_DEFBUTTON1", u"first", true},
    DefaultButtonRow{vbDefaultButton2, u"vbDefaultButton2", u"MB_DEFBUTTON2", u"second", true},
    DefaultButtonRow{vbDefaultButton3, u"vbDefaultButton3", u"MB_DEFBUTTON3", u"third", true},
    DefaultButtonRow{vbDefaultButton4, u"vbDefaultButton4", u"", u"fourth", false},
};

// In the order the names write them.
constexpr std::array flags{
    MsgBoxFlagRow{vbApplicationModal, u"vbApplicationModal", u"MB_APPLMODAL", u"", true},
    MsgBoxFlagRow{vbSystemModal, u"vbSystemModal", u"MB_SYSTEMMODAL", u"system modal", true},
    MsgBoxFlagRow{vbMsgBoxHelpButton, u"vbMsgBoxHelpButton", u"", u"a Help button", true},
    MsgBoxFlagRow{vbMsgBoxSetForeground, u"vbMsgBoxSetForeground", u"", u"in the foreground", false},
    MsgBoxFlagRow{vbMsgBoxRight, u"vbMsgBoxRight", u"", u"the text right-aligned", false},
    MsgBoxFlagRow{vbMsgBoxRtlReading, u"vbMsgBoxRtlReading", u"", u"read right to left", false},
};

// clang-format on

template<typename Row, std::size_t N, typename Key, typename Column>
const Row *rowWhere(const std::array<Row, N> &rows, Column column, const Key &key)
{
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const Row &row) { return row.*column == key; });
    return found == rows.end() ? nullptr : &*found;
}

} // namespace

std::span<const MsgBoxResultRow> msgBoxResults()
{
    return results;
}

std::span<const ButtonSetRow> buttonSets()
{
    return sets;
}

std::span<const IconRow> msgBoxIcons()
{
    return icons;
}

std::span<const DefaultButtonRow> defaultButtons()
{
    return defaults;
}

std::span<const MsgBoxFlagRow> msgBoxFlags()
{
    return flags;
}

const MsgBoxResultRow *msgBoxResult(int value)
{
    return rowWhere(results, &MsgBoxResultRow::value, MsgBoxResult(value));
}

const ButtonSetRow *buttonSet(qint32 value)
{
    return rowWhere(sets, &ButtonSetRow::value, value);
}

const IconRow *msgBoxIcon(qint32 value)
{
    return rowWhere(icons, &IconRow::value, value);
}

const DefaultButtonRow *defaultButton(qint32 value)
{
    return rowWhere(defaults, &DefaultButtonRow::value, value);
}

const ButtonSetRow *buttonSetOption(QStringView option)
{
    return rowWhere(sets, &ButtonSetRow::option, option);
}

const IconRow *msgBoxIconOption(QStringView option)
{
    return rowWhere(icons, &IconRow::option, option);
}

QList<int> msgBoxButtonCodes(qint32 buttonSet)
{
    QList<int> codes;
    if (const ButtonSetRow *row = basic::buttonSet(buttonSet)) {
        for (const MsgBoxResult code : row->buttons())
            codes << code;
    }
    return codes;
}

QString buttonSetMeaning(const ButtonSetRow &set)
{
    QStringList captions;
    for (const MsgBoxResult code : set.buttons())
        captions << QLatin1StringView(msgBoxResult(code)->caption);
    const QString last = captions.takeLast();
    return captions.isEmpty() ? last : captions.join(u", "_s) + u" and "_s + last;
}

int defaultButtonIndex(qint32 buttonsValue)
{
    const qint32 part = buttonsValue & MsgBoxDefaultButtonMask;
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        if (defaults[i].value == part)
            return int(i);
    }
    return 0;
}

qint32 defaultButtonValue(int index)
{
    return index >= 0 && std::size_t(index) < defaults.size() ? defaults[std::size_t(index)].value : vbDefaultButton1;
}

} // namespace basic
