// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakePlatform.h"

#include "codegen/DateText.h"

using namespace Qt::StringLiterals;

namespace {

class FakeCommonDialog final : public CommonDialog
{
public:
    explicit FakeCommonDialog(FakePlatform &platform) : m_platform(platform) {}

    void setDialogTitle(const QString &title) override
    {
        m_platform.dialogPropertyWrites << u"DialogTitle="_s + title;
        CommonDialog::setDialogTitle(title);
    }
    void setFilter(const QString &filter) override
    {
        m_platform.dialogPropertyWrites << u"Filter="_s + filter;
        CommonDialog::setFilter(filter);
    }
    void setDefaultExt(const QString &extension) override
    {
        m_platform.dialogPropertyWrites << u"DefaultExt="_s + extension;
        CommonDialog::setDefaultExt(extension);
    }
    void setFlags(qint32 flags) override
    {
        m_platform.dialogPropertyWrites << u"Flags="_s + QString::number(flags);
        CommonDialog::setFlags(flags);
    }
    void setCancelError(bool on) override
    {
        m_platform.dialogPropertyWrites << u"CancelError="_s + (on ? u"True"_s : u"False"_s);
        m_cancelError = on;
    }

protected:
    DialogOutcome show(DialogKind kind) override
    {
        m_platform.log << u"showCommonDialog"_s;
        m_platform.dialogCalls.append({kind, dialogTitle(), filter(), defaultExt(), flags(), m_cancelError});
        const FakePlatform::DialogAnswer answer =
            m_platform.dialogAnswers.isEmpty() ? FakePlatform::DialogAnswer{} : m_platform.dialogAnswers.dequeue();
        if (answer.status == DialogOutcome::Status::Confirmed)
            setFileName(answer.fileName);
        return {answer.status, answer.error};
    }

private:
    FakePlatform &m_platform;
    bool m_cancelError = false;
};

} // namespace

int FakePlatform::msgBox(const QString &prompt, int buttons, const QString &title,
                         const std::optional<HelpTopic> &help)
{
    log << u"msgBox"_s;
    msgBoxCalls.append({prompt, buttons, title, help});
    return msgBoxAnswers.isEmpty() ? vbOK : msgBoxAnswers.dequeue();
}

QString FakePlatform::inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                               const std::optional<HelpTopic> &help)
{
    log << u"inputBox"_s;
    inputBoxCalls.append({prompt, title, defaultText, help});
    return inputBoxAnswers.isEmpty() ? QString() : inputBoxAnswers.dequeue();
}

std::unique_ptr<CommonDialog> FakePlatform::createCommonDialog(QWidget * /*owner*/)
{
    log << u"createCommonDialog"_s;
    return std::make_unique<FakeCommonDialog>(*this);
}

void FakePlatform::clearClipboard()
{
    log << u"clearClipboard"_s;
    clipboard.clear();
}

bool FakePlatform::setClipboardText(const QString &text)
{
    log << u"setClipboardText"_s;
    if (!clipboardWorks)
        return false;
    clipboard = text;
    return true;
}

bool FakePlatform::shellOpen(const QString &target, const QString &directory)
{
    log << u"shellOpen"_s;
    shellOpenCalls.append({target, directory});
    return shellOpenSucceeds;
}

void FakePlatform::sleep(int milliseconds)
{
    log << u"sleep"_s;
    sleeps << milliseconds;
}

QString FakePlatform::dateText(const QDate &date) const
{
    return codegen::shortDateText(date);
}
