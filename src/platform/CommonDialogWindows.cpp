// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CommonDialogWindows.h"

#include "platform/QtCommonDialog.h"
#include "platform/RegistryKeptWindows.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include <array>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

DialogOutcome failure(const char *message)
{
    return {DialogOutcome::Status::Failed, QCoreApplication::translate("CommonDialog", message)};
}

// A dialog that did not confirm: cancelled, or failed with the reason that
// CommDlgExtendedError gives.
DialogOutcome notConfirmed()
{
    switch (CommDlgExtendedError()) {
    case 0:
        return {DialogOutcome::Status::Cancelled, {}};
    case CFERR_NOFONTS:
        return failure(QT_TRANSLATE_NOOP("CommonDialog", "The Font dialog cannot open: there are no fonts to show."));
    case PDERR_NODEFAULTPRN:
    case PDERR_NODEVICES:
        return failure(QT_TRANSLATE_NOOP("CommonDialog", "The Print dialog cannot open: no printer is installed."));
    case PDERR_PRINTERNOTFOUND:
        return failure(QT_TRANSLATE_NOOP("CommonDialog", "The Print dialog cannot open: the printer cannot be found."));
    case FNERR_INVALIDFILENAME:
        return failure(QT_TRANSLATE_NOOP("CommonDialog", "The file name is not valid."));
    case FNERR_BUFFERTOOSMALL:
        return failure(QT_TRANSLATE_NOOP("CommonDialog", "The file name is too long."));
    default:
        return failure(QT_TRANSLATE_NOOP("CommonDialog", "The dialog cannot open."));
    }
}

class WindowsCommonDialog final : public CommonDialog
{
public:
    explicit WindowsCommonDialog(QWidget *owner) : m_owner(owner) { }

protected:
    DialogOutcome show(DialogKind kind) override
    {
        // The file dialogs keep their recent files and folders in the
        // registry; the program keeps nothing between runs.
        [[maybe_unused]] const RegistryKept kept({ComDlg32Key, QtProjectKey});
        switch (kind) {
        case DialogKind::Open:
        case DialogKind::Save:
            return runFileDialog(kind);
        case DialogKind::Font:
            return runFontDialog();
        case DialogKind::Color:
            return runColorDialog();
        case DialogKind::Printer:
            return runPrintDialog();
        }
        return {};
    }

private:
    HWND ownerWindow() const
    {
        const QWidget *window = m_owner ? m_owner->window() : nullptr;
        return window && window->windowHandle() ? reinterpret_cast<HWND>(window->winId()) : nullptr;
    }

    DialogOutcome runFileDialog(DialogKind kind)
    {
        const QString filter = qtcommondialog::windowsFilter(this->filter());
        const QString title = dialogTitle();
        const QString extension = defaultExt();
        std::vector<wchar_t> name(32768, L'\0');
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = ownerWindow();
        dialog.lpstrFilter = filter.isEmpty() ? nullptr : wide(filter);
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = name.data();
        dialog.nMaxFile = DWORD(name.size());
        dialog.lpstrTitle = title.isEmpty() ? nullptr : wide(title);
        dialog.lpstrDefExt = extension.isEmpty() ? nullptr : wide(extension);
        // The program's working folder stays, and the file is not added to
        // the user's recent documents.
        dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
        // The Flags that the generated code sets are the dialog's own.
        if (kind == DialogKind::Save)
            dialog.Flags |= flags() & OFN_OVERWRITEPROMPT;
        const bool confirmed = kind == DialogKind::Save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
        if (!confirmed)
            return notConfirmed();
        setFileName(QString::fromWCharArray(name.data()));
        return {};
    }

    DialogOutcome runFontDialog()
    {
        // Starts on the desktop's own font for messages, a face that the
        // dialog lists (Qt's "MS Shell Dlg" is a name for another).
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        LOGFONTW font{};
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font = metrics.lfMessageFont;
        CHOOSEFONTW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = ownerWindow();
        dialog.lpLogFont = &font;
        // Windows lists the same fonts for the screen and the printer, and
        // printer fonts alone would need a printer's device context.
        dialog.Flags = CF_SCREENFONTS | (font.lfFaceName[0] ? CF_INITTOLOGFONTSTRUCT : 0);
        if (!ChooseFontW(&dialog))
            return notConfirmed();
        return {};
    }

    DialogOutcome runColorDialog()
    {
        // The custom colours the user defines last for the run.
        static std::array<COLORREF, 16> custom = [] {
            std::array<COLORREF, 16> white{};
            white.fill(RGB(255, 255, 255));
            return white;
        }();
        CHOOSECOLORW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = ownerWindow();
        dialog.lpCustColors = custom.data();
        dialog.Flags = flags() & CC_PREVENTFULLOPEN;
        if (!ChooseColorW(&dialog))
            return notConfirmed();
        return {};
    }

    DialogOutcome runPrintDialog()
    {
        // Without a printer Windows (and Wine, whatever the flags say) tells
        // the user in a box of its own and then fails: the program's own
        // message says it once instead.
        DWORD needed = 0;
        DWORD printers = 0;
        EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &printers);
        if (needed == 0)
            return failure(QT_TRANSLATE_NOOP("CommonDialog", "The Print dialog cannot open: no printer is installed."));
        PRINTDLGW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = ownerWindow();
        dialog.Flags = PD_ALLPAGES | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOWARNING
                       | (flags() & PD_DISABLEPRINTTOFILE);
        dialog.nCopies = 1;
        dialog.nFromPage = dialog.nMinPage = 1;
        dialog.nToPage = dialog.nMaxPage = 0xFFFF;
        const bool confirmed = PrintDlgW(&dialog);
        const DialogOutcome outcome = confirmed ? DialogOutcome{} : notConfirmed();
        if (dialog.hDevMode)
            GlobalFree(dialog.hDevMode);
        if (dialog.hDevNames)
            GlobalFree(dialog.hDevNames);
        return outcome;
    }

    QPointer<QWidget> m_owner;
};

} // namespace

std::unique_ptr<CommonDialog> createWindowsCommonDialog(QWidget *owner)
{
    return std::make_unique<WindowsCommonDialog>(owner);
}
