// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// Where users reach the people who make Quillkit 98, and the terms they
// give it under. The About box and --version show these.
namespace vendor {
inline constexpr QStringView MailAddress = u"quillkit98@example.org";
inline constexpr QStringView WebAddress = u"https://quillkit98.example.org/";

// The licence, as the About box and --version state it.
inline constexpr QStringView Copyright = u"Copyright \u00a9 2026 The Quillkit 98 developers";
inline constexpr QStringView LicenceName = u"GNU General Public License, version 3 or later";
inline constexpr QStringView LicenceAddress = u"https://www.gnu.org/licenses/gpl-3.0.html";
} // namespace vendor
