// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Vendor.h"

#include "app/VendorConfig.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace vendor {

Contacts configuredContacts()
{
    return {QString::fromUtf16(QUILLKIT_HOMEPAGE).trimmed(), QString::fromUtf16(QUILLKIT_CONTACT).trimmed()};
}

QString version()
{
    return QString::fromUtf16(QUILLKIT_VERSION);
}

QString sourceArchive()
{
    return u"Quillkit98-%1-source.tar.gz"_s.arg(version());
}

QString Contacts::contactTarget() const
{
    if (contact.isEmpty())
        return {};
    const QUrl url(contact, QUrl::StrictMode);
    // "name@host" parses as a path, never with a scheme.
    if (url.isValid() && url.scheme().size() > 1)
        return contact;
    return u"mailto:"_s + contact;
}

QString contactLines(const Contacts &contacts)
{
    QString lines;
    if (!contacts.homepage.isEmpty())
        lines += u"Homepage: %1\n"_s.arg(contacts.homepage);
    if (!contacts.contact.isEmpty())
        lines += u"Contact: %1\n"_s.arg(contacts.contact);
    return lines;
}

} // namespace vendor
