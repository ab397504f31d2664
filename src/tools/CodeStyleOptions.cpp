// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CodeStyleOptions.h"

#include "cli/ToolOptions.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

void declareCodeOptions(ToolOptions &options, ConstantsUse constants)
{
    // Every tool takes --constants, so that one command line serves them all;
    // only the message box's help tells of it, since only its code changes.
    const bool written = constants == ConstantsUse::Written;
    options.addChoice(u"constants"_s,
                      QCoreApplication::translate("CodeStyleOptions",
                                                  "How the message box's buttons and answers are written: numbers "
                                                  "(the default) or names such as vbYesNo and vbYes."),
                      {u"numbers"_s, u"names"_s}, written ? ToolOptions::Help::Shown : ToolOptions::Help::Hidden);
    options.addChoice(u"dialect"_s,
                      written ? QCoreApplication::translate("CodeStyleOptions",
                                                            "Which BASIC the code is for: vb, Visual Basic (the "
                                                            "default), libreoffice, LibreOffice Basic, or gambas, "
                                                            "Gambas (which has no constants: --constants does not "
                                                            "apply).")
                              : QCoreApplication::translate("CodeStyleOptions",
                                                            "Which BASIC the code is for: vb, Visual Basic (the "
                                                            "default), libreoffice, LibreOffice Basic, or gambas, "
                                                            "Gambas."),
                      {u"vb"_s, u"libreoffice"_s, u"gambas"_s});
}

codegen::CodeOptions codeOptionsFromOptions(const ToolOptions &options)
{
    codegen::CodeOptions code;
    if (options.choice(u"constants"_s) == u"names"_s)
        code.constants = codegen::CodeOptions::Constants::Names;
    if (options.choice(u"dialect"_s) == u"libreoffice"_s)
        code.dialect = codegen::CodeOptions::Dialect::LibreOffice;
    else if (options.choice(u"dialect"_s) == u"gambas"_s)
        code.dialect = codegen::CodeOptions::Dialect::Gambas;
    return code;
}

QString codeOptionsNote(const ToolOptions &options)
{
    if (!options.declares(u"dialect"_s) || options.choice(u"dialect"_s) != u"gambas"_s
        || options.choice(u"constants"_s) != u"names"_s)
        return {};
    return QCoreApplication::translate("CodeStyleOptions",
                                       "note: Gambas has no constants for its boxes; --constants names is ignored.");
}

QList<JsonMember> codeJsonMembers()
{
    return {{u"dialect"_s, JsonMember::Kind::Choice}};
}
