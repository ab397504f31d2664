// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Vendor.h"

#include <QDialog>
#include <QLabel>

class Platform;
class QPushButton;

// A label drawn and used as a link: clicking it, or Return or Space while it
// has the focus, opens its target.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    LinkLabel(const QString &objectName, const QString &caption, const QString &target, QWidget *parent);

    QString target() const { return m_target; }

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_target;
};

// `frmAbout`: the version and the links to the vendor's mail and web page,
// each only when the build names it.
// Created on first use, then only hidden by OK and Escape; closing it through
// its frame destroys it.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(Platform &platform, const vendor::Contacts &contacts = vendor::configuredContacts());

    // Escape presses OK.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The links shown, mail first.
    QList<LinkLabel *> links() const;
    void styleLinks();
    void hideBox();
    void openLink(const LinkLabel *link);

    Platform &m_platform;
    // Null when the build names no such address.
    LinkLabel *m_lblEMail = nullptr;
    LinkLabel *m_lblWebSite = nullptr;
    QPushButton *m_cmdOK;
};
