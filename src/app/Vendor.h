#pragma once

#include <QStringView>

// Where users reach the people who make Quillkit 98. The About box shows
// and opens these; nothing else names them.
namespace vendor {
inline constexpr QStringView MailAddress = u"quillkit98@example.org";
inline constexpr QStringView WebAddress = u"https://quillkit98.example.org/";
} // namespace vendor
