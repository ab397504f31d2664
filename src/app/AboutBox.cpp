// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutBox.h"

#include "app/Pictures.h"
#include "app/Vendor.h"
#include "platform/Platform.h"
#include "platform/WindowPlacement.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

LinkLabel::LinkLabel(const QString &objectName, const QString &caption, const QString &target, QWidget *parent)
    : QLabel(caption, parent), m_target(target)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(target);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        Q_EMIT clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

AboutBox::AboutBox(Platform &platform, const vendor::Contacts &contacts)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint),
      m_platform(platform),
      m_cmdOK(new QPushButton(tr("&OK"), this))
{
    if (!contacts.contact.isEmpty())
        m_lblEMail = new LinkLabel(u"lblEMail"_s, contacts.contact, contacts.contactTarget(), this);
    if (!contacts.homepage.isEmpty())
        m_lblWebSite = new LinkLabel(u"lblWebSite"_s, contacts.homepage, contacts.homepage, this);

    setObjectName(u"frmAbout"_s);
    setWindowTitle(tr("About Quillkit 98"));
    setWindowModality(Qt::ApplicationModal);

    auto *picture = new QLabel(this);
    picture->setObjectName(u"imgProduct"_s);
    picture->setPixmap(pictureIcon(u":/images/quillkit98.svg"_s).pixmap(QSize(96, 96), devicePixelRatioF()));
    picture->setAlignment(Qt::AlignTop);

    auto *product = new QLabel(u"Quillkit 98"_s, this);
    product->setObjectName(u"lblProduct"_s);
    QFont productFont(u"Times New Roman"_s);
    productFont.setPointSizeF(18);
    productFont.setBold(true);
    productFont.setItalic(true);
    product->setFont(productFont);

    auto *version = new QLabel(tr("Version %1").arg(vendor::version()), this);
    version->setObjectName(u"lblVersion"_s);
    auto *blurb = new QLabel(tr("Ready-made BASIC code for message boxes,\ninput boxes, file headers and common dialogs."),
                             this);
    blurb->setObjectName(u"lblDescription"_s);
    auto *licence = new QLabel(tr("%1\nFree software under the %2.\nIt comes with no warranty.")
                                   .arg(vendor::Copyright, vendor::LicenceName),
                               this);
    licence->setObjectName(u"lblLicence"_s);
#if defined(Q_OS_WIN)
    // The GPL gives the source with the program: it travels in its folder.
    auto *source =
        new QLabel(tr("Its source code is %1,\nin the program's folder.").arg(vendor::sourceArchive()), this);
    source->setObjectName(u"lblSource"_s);
    source->setTextInteractionFlags(Qt::TextSelectableByMouse);
#endif

    m_cmdOK->setObjectName(u"cmdOK"_s);
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &AboutBox::hideBox);
    for (LinkLabel *link : links())
        connect(link, &LinkLabel::clicked, this, [this, link] { openLink(link); });

    auto *text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(product);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(blurb);
    text->addSpacing(8);
    text->addWidget(licence);
#if defined(Q_OS_WIN)
    text->addWidget(source);
#endif
    if (!links().isEmpty())
        text->addSpacing(8);
    for (LinkLabel *link : links())
        text->addWidget(link);
    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *previous = m_cmdOK;
    for (LinkLabel *link : links()) {
        setTabOrder(previous, link);
        previous = link;
    }
    m_cmdOK->setFocus();

    styleLinks();

    adjustSize();
    centerOnScreen(this);
}

QList<LinkLabel *> AboutBox::links() const
{
    QList<LinkLabel *> shown;
    for (LinkLabel *link : {m_lblEMail, m_lblWebSite}) {
        if (link)
            shown << link;
    }
    return shown;
}

void AboutBox::styleLinks()
{
    for (LinkLabel *link : links()) {
        QFont font = link->font();
        font.setPointSizeF(8.25);
        font.setUnderline(true);
        link->setFont(font);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(palette);
        link->setCursor(Qt::PointingHandCursor);
    }
}

void AboutBox::openLink(const LinkLabel *link)
{
    // The result is not examined: a missing mail program shows nothing.
    m_platform.openDocument(link->target());
}

void AboutBox::hideBox()
{
    m_cmdOK->setFocus();
    hide();
}

void AboutBox::showEvent(QShowEvent *event)
{
    // Every way of hiding the box goes through OK, which takes the focus
    // first; Qt may move it on while the box is hidden, so put it back.
    m_cmdOK->setFocus();
    QDialog::showEvent(event);
}

void AboutBox::reject()
{
    hideBox();
}

void AboutBox::closeEvent(QCloseEvent *event)
{
    // Closed through its frame: the box goes, and the next About makes a new one.
    event->accept();
    hide();
    deleteLater();
}
