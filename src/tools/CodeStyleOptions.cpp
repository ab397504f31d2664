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
                      codegen::constantsNames(), written ? ToolOptions::Help::Shown : ToolOptions::Help::Hidden);
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
                      basic::dialectNames());
}

codegen::CodeOptions codeOptionsFromOptions(const ToolOptions &options)
{
    codegen::CodeOptions code;
    // The parser has checked both names.
    if (const auto constants = options.choice(u"constants"_s))
        code.constants = codegen::constantsFromName(*constants).value_or(code.constants);
    if (const auto dialect = options.choice(u"dialect"_s))
        code.dialect = basic::dialectFromName(*dialect).value_or(code.dialect);
    return code;
}

QString codeOptionsNote(const ToolOptions &options)
{
    const codegen::CodeOptions code = codeOptionsFromOptions(options);
    if (!options.declares(u"dialect"_s) || !code.gambas() || code.constants != codegen::CodeOptions::Constants::Names)
        return {};
    return QCoreApplication::translate("CodeStyleOptions",
                                       "note: Gambas has no constants for its boxes; --constants names is ignored.");
}

QList<JsonMember> codeJsonMembers()
{
    return {{u"dialect"_s, JsonMember::Kind::Choice}};
}
