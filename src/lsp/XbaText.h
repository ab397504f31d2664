// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <vector>

// LibreOffice keeps a Basic module in an .xba file as the text of its
// <script:module> element, escaped as XML (&quot;, &amp;, &#10;, …).
namespace lsp {

struct XbaText
{
    QString basic; // the module's text, its escapes decoded
    // For each offset into `basic`, and its end, the offset in the file.
    std::vector<qsizetype> fileOffsets;
};

// The Basic of an .xba file; nothing where the file holds no module
// element, or text this reader does not decode exactly (CDATA, an entity
// other than XML's five and character references).
std::optional<XbaText> basicOfXba(const QString &file);

} // namespace lsp
