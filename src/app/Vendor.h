// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// Where users reach the people who make Quillkit 98, and the terms they
// give it under. The About box and --version show these.
namespace vendor {

// The homepage and the address to write to, as the build was configured
// (QUILLKIT_HOMEPAGE, QUILLKIT_CONTACT); either may be empty, and then
// nothing mentions it.
struct Contacts
{
    QString homepage;
    QString contact;

    // What opens the contact: a mail address becomes a "mailto:" link,
    // anything with a scheme of its own stays as it is.
    QString contactTarget() const;
};
Contacts configuredContacts();

// The program's version, as the build was configured: "98.0".
QString version();
// The archive of this version's source that the Windows packages carry
// beside the program.
QString sourceArchive();

// The lines that --version adds for the contacts that are set.
QString contactLines(const Contacts &contacts);

// The licence, as the About box and --version state it.
inline constexpr QStringView Copyright = u"Copyright \u00a9 2026 The Quillkit 98 developers";
inline constexpr QStringView LicenceName = u"GNU General Public License, version 3 or later";
inline constexpr QStringView LicenceAddress = u"https://www.gnu.org/licenses/gpl-3.0.html";
} // namespace vendor
