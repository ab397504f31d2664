// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HelpViewer.h"

#include "platform/Platform.h"
#include "platform/WindowPlacement.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

HelpViewer::HelpViewer(Platform &platform, QWidget *owner)
    : QWidget(owner, Qt::Window), m_platform(platform), m_browser(new QTextBrowser(this)), m_lblNote(new QLabel(this))
{
    setObjectName(u"frmHelp"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Quillkit 98 Help"));
    m_browser->setObjectName(u"txtHelp"_s);
    // Every link goes through followLink, so that addresses reach the
    // desktop through the platform like every other document.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("Quillkit 98 Help") : title);
        m_lblNote->clear();
    });
    m_lblNote->setObjectName(u"lblHelpNote"_s);
    m_lblNote->setTextFormat(Qt::PlainText);
    m_lblNote->setWordWrap(true);

    m_cmdBrowser = new QPushButton(tr("Open in &Browser"), this);
    m_cmdBrowser->setObjectName(u"cmdOpenInBrowser"_s);
    m_cmdBrowser->setAutoDefault(false);
    m_cmdBrowser->setToolTip(tr("Shows this page in the desktop's web browser"));
    m_cmdBrowser->hide();
    connect(m_cmdBrowser, &QPushButton::clicked, this, &HelpViewer::openInBrowser);
    auto *cmdClose = new QPushButton(tr("&Close"), this);
    cmdClose->setObjectName(u"cmdCloseHelp"_s);
    cmdClose->setAutoDefault(false);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(8, 0, 8, 8);
    buttons->addWidget(m_cmdBrowser);
    buttons->addWidget(m_lblNote, 1);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser, 1);
    layout->addLayout(buttons);

    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    // A reading width, within the screen.
    const QRect room = fittedWindowRect(QSize(760, 680), screen() ? screen()->availableGeometry() : QRect());
    resize(room.size());
    move(room.topLeft());
}

bool HelpViewer::canShow(const QString &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    return type.inherits(u"text/html"_s) || type.inherits(u"text/plain"_s);
}

void HelpViewer::showDocument(const QString &path)
{
    m_browser->setSource(QUrl::fromLocalFile(path));
}

void HelpViewer::offerBrowser()
{
    m_cmdBrowser->show();
}

QString HelpViewer::note() const
{
    return m_lblNote->text();
}

void HelpViewer::openInBrowser()
{
    const QString path = m_browser->source().toLocalFile();
    m_lblNote->clear();
    if (path.isEmpty() || m_platform.shellOpen(path, m_platform.appPath()))
        return;
    m_lblNote->setText(tr("No program on this desktop opens %1; the page stays here.").arg(QFileInfo(path).fileName()));
}

void HelpViewer::followLink(const QUrl &link)
{
    const QUrl target = m_browser->source().resolved(link);
    if (target.isLocalFile() && canShow(target.toLocalFile())) {
        m_browser->setSource(target);
        return;
    }
    // Web and mail addresses, and documents the window cannot show; the
    // window has said all it can when the desktop opens nothing.
    m_platform.shellOpen(target.isLocalFile() ? target.toLocalFile() : target.toString(), m_platform.appPath());
}

namespace {

// One viewer per owner, brought forward with the page asked for.
HelpViewer *showInViewer(Platform &platform, QWidget *owner, const QString &path)
{
    HelpViewer *viewer = nullptr;
    if (owner)
        viewer = owner->findChild<HelpViewer *>(QString(), Qt::FindDirectChildrenOnly);
    if (!viewer)
        viewer = new HelpViewer(platform, owner);
    viewer->showDocument(path);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

void tellMissing(Platform &platform, const QString &file)
{
    platform.msgBox(HelpViewer::tr("The help file %1 cannot be found.").arg(file), vbOKOnly + vbExclamation,
                    ProgramTitle.toString(), std::nullopt);
}

} // namespace

void showProgramHelp(Platform &platform, QWidget *owner, const QString &file)
{
    if (file.isEmpty())
        return;
    const QString path = platform.documentPath(file);
    if (path.isEmpty()) {
        tellMissing(platform, file);
        return;
    }
    if (!HelpViewer::canShow(path)) {
        openHelpDocument(platform, owner, file);
        return;
    }
    showInViewer(platform, owner, path)->offerBrowser();
}

void openHelpDocument(Platform &platform, QWidget *owner, const QString &file)
{
    if (file.isEmpty() || platform.openDocument(file))
        return;
    const QString path = platform.documentPath(file);
    const auto tell = [&](const QString &text) {
        platform.msgBox(text.arg(file), vbOKOnly + vbExclamation, ProgramTitle.toString(), std::nullopt);
    };
    if (path.isEmpty()) {
        tellMissing(platform, file);
        return;
    }
    if (!HelpViewer::canShow(path)) {
        tell(HelpViewer::tr("The help file %1 cannot be shown: no program on this desktop opens it."));
        return;
    }
    showInViewer(platform, owner, path);
}
