// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/inputbox/InputBoxTyping.h"

using namespace Qt::StringLiterals;

std::optional<CallSignature> inputBoxSignature(basic::Dialect dialect)
{
    if (dialect == basic::Dialect::Gambas)
        return std::nullopt;
    CallSignature s;
    if (dialect != basic::Dialect::LibreOffice) {
        s.parameters = {u"Prompt"_s, u"[Title]"_s,    u"[Default]"_s, u"[XPos]"_s,
                        u"[YPos]"_s, u"[HelpFile]"_s, u"[Context]"_s};
        s.parameterDocs = {u"the question"_s,
                           u"the title bar's text; the application's name without it"_s,
                           u"the text the box starts with"_s,
                           u"the box's left edge, in twips from the screen's"_s,
                           u"the box's top edge, in twips from the screen's"_s,
                           u"the help file the Help button opens; with Context"_s,
                           u"the help topic's number; with HelpFile"_s};
    } else {
        s.parameters = {u"Prompt As String"_s, u"[Title As String]"_s, u"[Default As String]"_s,
                        u"[xPosition As Long]"_s, u"[yPosition As Long]"_s};
        s.parameterDocs = {u"the question"_s, u"the title bar's text"_s, u"the text the box starts with"_s,
                           u"the box's left edge, in twips"_s, u"the box's top edge, in twips"_s};
    }
    s.label = u"InputBox(%1) As String"_s.arg(s.parameters.join(u", "_s));
    s.documentation = u"Asks for a line of text: what was typed, or an empty string for Cancel."_s;
    return s;
}
