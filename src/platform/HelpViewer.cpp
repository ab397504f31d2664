// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HelpViewer.h"

#include "platform/Accessibility.h"
#include "platform/Platform.h"
#include "platform/WindowPlacement.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMimeDatabase>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The page's own colours are for a light page in a web browser. Here its
// text, links and shaded boxes take the palette's colours, so that it reads
// in a light and a dark theme alike; the banner keeps its white on dark blue.
QString withPaletteColours(const QString &html, const QPalette &palette)
{
    const qsizetype start = html.indexOf(u"<style"_s, 0, Qt::CaseInsensitive);
    const qsizetype end = start < 0 ? -1 : html.indexOf(u"</style>"_s, start, Qt::CaseInsensitive);
    if (end < 0)
        return html;
    static const QRegularExpression rule(u"([^{}]*)\\{([^{}]*)\\}"_s);
    static const QRegularExpression colour(u"(?<![-\\w])(?:color|background(?:-color|-image)?)\\s*:[^;]*;?"_s);
    QString css;
    qsizetype at = 0;
    const QString style = html.mid(start, end - start);
    for (QRegularExpressionMatchIterator it = rule.globalMatch(style); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        css += style.mid(at, match.capturedStart() - at);
        at = match.capturedEnd();
        QString body = match.captured(2);
        if (!match.captured(1).contains(u"banner"_s))
            body.remove(colour);
        css += match.captured(1) + u'{' + body + u'}';
    }
    css += style.mid(at);
    css +=
        u"\n  a { color: %1; }\n  th, pre, kbd, .note { background-color: %2; }\n  pre { white-space: pre-wrap; }\n"_s
            .arg(palette.color(QPalette::Link).name(), palette.color(QPalette::AlternateBase).name());
    return html.left(start) + css + html.mid(end);
}

// The help page: the arrow keys move a caret through the text, so that a
// screen reader reads line by line; H and Shift+H go to the next and the
// previous heading, Tab to the links.
class HelpBrowser : public QTextBrowser
{
public:
    explicit HelpBrowser(QWidget *parent) : QTextBrowser(parent)
    {
        setTextInteractionFlags(textInteractionFlags() | Qt::TextSelectableByKeyboard);
        keepLinksReadable();
    }

    QVariant loadResource(int type, const QUrl &name) override
    {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource)
            return resource;
        const QString html = resource.typeId() == QMetaType::QByteArray ? QString::fromUtf8(resource.toByteArray())
                                                                        : resource.toString();
        return withPaletteColours(html, palette());
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        if (event->key() == Qt::Key_H && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
            goToHeading(modifiers == Qt::NoModifier);
            event->accept();
            return;
        }
        QTextBrowser::keyPressEvent(event);
    }

    void changeEvent(QEvent *event) override
    {
        QTextBrowser::changeEvent(event);
        // A theme changed while the page is shown: its colours follow.
        if (event->type() == QEvent::PaletteChange) {
            keepLinksReadable();
            if (!source().isEmpty())
                reload();
        }
    }

private:
    // Links are drawn in the palette's link colour, which some dark themes
    // leave dark: there they take the text's colour (and keep their line).
    void keepLinksReadable()
    {
        QPalette colours = palette();
        const QColor text = colours.color(QPalette::Text);
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            const QColor link = colours.color(group, QPalette::Link);
            if (contrastRatio(link, colours.color(group, QPalette::Base)) < 4.5
                || contrastRatio(link, colours.color(group, QPalette::AlternateBase)) < 4.5)
                colours.setColor(group, QPalette::Link, text);
        }
        if (colours != palette())
            setPalette(colours);
    }

    void goToHeading(bool forward)
    {
        QTextBlock block = textCursor().block();
        block = forward ? block.next() : block.previous();
        while (block.isValid() && block.blockFormat().headingLevel() == 0)
            block = forward ? block.next() : block.previous();
        if (!block.isValid())
            return;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
        ensureCursorVisible();
    }
};

} // namespace

HelpViewer::HelpViewer(Platform &platform, QWidget *owner)
    : QWidget(owner, Qt::Window),
      m_platform(platform),
      m_browser(new HelpBrowser(this)),
      m_lblNote(new QLabel(this))
{
    installAccessibility();
    setObjectName(u"frmHelp"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Quillkit 98 Help"));
    m_browser->setObjectName(u"txtHelp"_s);
    // Qt reports the read-only page as a label, which a screen reader reads
    // as one block: as text, it is read as the caret moves.
    setAccessibleRole(m_browser, QAccessible::EditableText, tr("Help page"));
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

    // A reading width, within the screen with its title bar and frame, and
    // kept there by window managers that place windows lower.
    auto *placer = new WindowPlacer(this);
    placer->place(fittedWindowRect(QSize(760, 680), placer->screenRoom(), std::nullopt, placer->frameMargins()), false);
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
