#include "platform/CommonDialog.h"
#include "platform/QtPlatform.h"

#include <QFileDialog>
#include <QPointer>

namespace {

class QtCommonDialog final : public CommonDialog
{
public:
    explicit QtCommonDialog(QWidget *owner) : m_owner(owner) {}

protected:
    DialogOutcome show(DialogKind kind) override
    {
        if (kind != DialogKind::Open)
            return {DialogOutcome::Status::Failed, QStringLiteral("This dialog is not available.")};
        const QString path = QFileDialog::getOpenFileName(m_owner, dialogTitle());
        if (path.isEmpty())
            return {DialogOutcome::Status::Cancelled, {}};
        setFileName(path);
        return {};
    }

private:
    QPointer<QWidget> m_owner;
};

} // namespace

std::unique_ptr<CommonDialog> QtPlatform::createCommonDialog(QWidget *owner)
{
    return std::make_unique<QtCommonDialog>(owner);
}
