// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Constants.h"

#include <QString>
#include <QtGlobal>

// How a shown dialog ended. With CancelError off a cancel is not an error:
// the caller treats Cancelled like Confirmed.
struct DialogOutcome
{
    enum class Status { Confirmed, Cancelled, Failed };
    Status status = Status::Confirmed;
    QString error; // what went wrong, for Failed

    bool confirmed() const { return status == Status::Confirmed; }
    bool failed() const { return status == Status::Failed; }
};

// The common dialog component: properties that stay set between showings,
// and one show operation per dialog. Setters are virtual so that a test
// double can record each property write in order.
class CommonDialog
{
public:
    virtual ~CommonDialog() = default;

    QString dialogTitle() const { return m_dialogTitle; }
    virtual void setDialogTitle(const QString &title) { m_dialogTitle = title; }

    // Pairs of description and pattern joined by "|", as BASIC writes them.
    QString filter() const { return m_filter; }
    virtual void setFilter(const QString &filter) { m_filter = filter; }

    QString defaultExt() const { return m_defaultExt; }
    virtual void setDefaultExt(const QString &extension) { m_defaultExt = extension; }

    qint32 flags() const { return m_flags; }
    virtual void setFlags(qint32 flags) { m_flags = flags; }

    // Whether a cancel counts as an error. The outcome tells a cancel apart
    // either way; the setting is kept for the code that the tool mirrors.
    virtual void setCancelError(bool /*on*/) {}

    // The chosen file's full path after a confirmed Open or Save.
    QString fileName() const { return m_fileName; }

    DialogOutcome showOpen() { return show(DialogKind::Open); }
    DialogOutcome showSave() { return show(DialogKind::Save); }
    DialogOutcome showFont() { return show(DialogKind::Font); }
    DialogOutcome showColor() { return show(DialogKind::Color); }
    DialogOutcome showPrinter() { return show(DialogKind::Printer); }

protected:
    // Shows the dialog modally and returns when it closes.
    virtual DialogOutcome show(DialogKind kind) = 0;
    void setFileName(const QString &path) { m_fileName = path; }

private:
    QString m_dialogTitle;
    QString m_filter;
    QString m_defaultExt;
    QString m_fileName;
    qint32 m_flags = 0;
};
