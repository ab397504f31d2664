// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtPlatform.h"

#include "codegen/DateText.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QThread>
#include <QUrl>

using namespace Qt::StringLiterals;

void keepToolkitStateInMemory()
{
    // Below a character device no folder can ever be made.
    const QString nowhere = u"/dev/null/quillkit98"_s;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

QtPlatform::QtPlatform()
{
    keepToolkitStateInMemory();
}

void QtPlatform::clearClipboard()
{
    QGuiApplication::clipboard()->clear();
}

QString QtPlatform::clipboardText() const
{
    return QGuiApplication::clipboard()->text();
}

bool QtPlatform::setClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    // The clipboard gives no error of its own; reading back tells whether the
    // text really arrived.
    return clipboard->text() == text;
}

namespace {

// An address with a scheme (https:, mailto:) of its own.
bool isAddress(const QString &target)
{
    const QUrl asUrl(target);
    return asUrl.isValid() && asUrl.scheme().size() > 1;
}

// A document path, relative to `directory`; empty when no such file exists.
QString existingDocument(const QString &target, const QString &directory)
{
    const QFileInfo file(QDir(directory), target);
    return file.exists() ? file.absoluteFilePath() : QString();
}

} // namespace

bool QtPlatform::shellOpen(const QString &target, const QString &directory)
{
    // An empty target would resolve to the folder itself and open that.
    if (target.isEmpty())
        return false;
    // A target with a scheme (https:, mailto:) is an address; anything else
    // is a document path, relative to the given folder.
    if (isAddress(target))
        return QDesktopServices::openUrl(QUrl(target));
    const QString document = existingDocument(target, directory);
    return !document.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(document));
}

QString QtPlatform::documentPath(const QString &target) const
{
    if (target.isEmpty() || isAddress(target))
        return {};
    const QString document = existingDocument(target, appPath());
    return QFileInfo(document).isFile() ? document : QString();
}

void QtPlatform::sleep(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(qMax(0, milliseconds)));
}

QString QtPlatform::appPath() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QDate QtPlatform::currentDate() const
{
    return QDate::currentDate();
}

QString QtPlatform::dateText(const QDate &date) const
{
    return codegen::shortDateText(date);
}
