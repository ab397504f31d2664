// SPDX-License-Identifier: GPL-3.0-or-later
// Reading checked against a real interpreter: random modules from a grammar
// full of what can make a text other than it looks (module variables set by
// other procedures, ByRef calls, functions that change their arguments in
// the same statement, constants, locals and [bracketed] Enum members that
// shadow each other and BASIC's own names, suffixes, branches, loops and
// jumps) run in LibreOffice
// Basic in its Visual Basic mode, with MsgBox replaced by a recorder. For
// every module the reader either refuses or reads exactly what the box was
// given. Half the modules run without VBA support, read as LibreOffice
// Basic's own (QUILLKIT_SHOW=1 prints those LibreOffice would not run). What LibreOffice does differently from Visual
// Basic (Def…, Static, a Dim run again, #If) is left out here and covered by tst_acceptance.

#include "support/LibreOfficeRun.h"
#include "support/RandomText.h"

#include "app/Tools.h"
#include "reader/CodeReader.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;
using namespace libreoffice;

namespace {

class ModuleGrammar
{
public:
    explicit ModuleGrammar(quint32 seed) : m_random(seed) {}

    // A module whose Sub Snippet ends in the one MsgBox call; an Enum only
    // where VBA support brings it.
    QString module(bool vbaSupport)
    {
        m_vbaSupport = vbaSupport;
        m_shadowTab = chance(8);
        m_constVariable = chance(6);
        QStringList lines;
        lines << u"Private g As String"_s << u"Const K = \"k\""_s;
        if (m_shadowTab)
            lines << u"Const vbTab = \"<tab>\""_s;
        // BASIC's names declared where only brackets or an Enum say so.
        if (vbaSupport && chance(8))
            lines << u"Enum E"_s << u"  [vbTab] = 3"_s << u"End Enum"_s;
        lines << u"Sub Change(ByRef x)"_s << u"  x = x & \"!\""_s << u"End Sub"_s;
        lines << u"Sub Keep(ByVal x)"_s << u"  x = \"lost\""_s << u"End Sub"_s;
        lines << u"Sub Touch()"_s << u"  g = \"touched\""_s << u"End Sub"_s;
        lines << u"Function F(ByRef x)"_s << u"  x = \"changed\""_s << u"  F = \"f\""_s << u"End Function"_s;
        lines << u"Sub Snippet()"_s;
        // Declarations first: LibreOffice runs a Dim again where Visual
        // Basic does not.
        static const QStringList declarations{u"Dim s As String"_s, u"Dim s$"_s, u"Dim s"_s, u"Dim s As Variant"_s, QString()};
        m_declaration = pick(declarations);
        if (!m_declaration.isEmpty())
            lines << u"  "_s + m_declaration;
        lines << u"  Dim t As String"_s << u"  Dim i As Integer"_s << u"  Dim r"_s;
        if (m_constVariable)
            lines << u"  Dim K As String"_s;
        const int statements = 1 + int(m_random.bounded(6));
        for (int k = 0; k < statements; ++k)
            lines << u"  "_s + statement();
        const QString title = chance(2) ? expression(1) : u"\"T\""_s;
        lines << u"  MsgBox "_s + expression(2) + u", 0, "_s + title;
        lines << u"End Sub"_s;
        return lines.join(u"\r\n"_s);
    }

private:
    bool chance(int oneIn) { return m_random.bounded(oneIn) == 0; }
    QString pick(const QStringList &list) { return list.at(int(m_random.bounded(list.size()))); }

    QString expression(int depth)
    {
        static const QStringList atoms{u"\"a\""_s, u"\"b c\""_s, u"s"_s,        u"t"_s,         u"g"_s,
                                       u"K"_s,     u"vbTab"_s,     u"vbCrLf"_s,  u"Chr(65)"_s,  u"ChrW(233)"_s,
                                       u"\"\"\"q\"\"\""_s};
        QString e = pick(atoms);
        // Without VBA support Visual Basic's names are not there at all.
        while (!m_vbaSupport && e.startsWith(u"vb"_s))
            e = pick(atoms);
        // s$ is s where s is a String.
        if (e == u"s"_s && m_declaration == u"Dim s$"_s && chance(2))
            e = u"s$"_s;
        if (depth > 0 && chance(2))
            e += u" & "_s + expression(depth - 1);
        else if (depth > 0 && chance(6))
            e = u"F(s) & "_s + e;
        return e;
    }

    QString statement()
    {
        switch (m_random.bounded(16)) {
        case 13:
            return u"t = s"_s;
        case 14:
            return m_vbaSupport ? u"[s] = \"bracketed\""_s : u"t = s"_s;
        case 15:
            return m_vbaSupport ? u"t = [s] & \"!\""_s : u"t = s"_s;
        case 0:
        case 1:
            return u"s = "_s + expression(2);
        case 2:
            return u"s = s & "_s + expression(1);
        case 3:
            return u"t = "_s + expression(1);
        case 4:
            return u"If "_s + condition() + u" Then s = "_s + expression(1);
        case 5:
            return u"If "_s + condition() + u" Then\r\n    s = "_s + expression(1) + u"\r\n  Else\r\n    t = \"e\"\r\n  End If"_s;
        case 6:
            return u"For i = 1 To 2: s = s & \"x\": Next"_s;
        case 7:
            return chance(2) ? u"Change s"_s : u"Call Change(t)"_s;
        case 8:
            return u"Keep s"_s;
        case 9:
            return chance(2) ? u"Touch"_s : u"g = "_s + expression(1);
        case 10:
            return u"r = F(s)"_s;
        case 11: {
            const QString label = u"Over"_s + QString::number(++m_labels);
            return u"GoTo "_s + label + u"\r\n  s = \"skipped\"\r\n"_s + label + u":"_s;
        }
        default:
            // The procedure's own K, where it has one, else the module's.
            return m_constVariable ? u"K = \"local\""_s : u"t = K"_s;
        }
    }

    QString condition()
    {
        static const QStringList conditions{u"True"_s, u"False"_s, u"Len(s) > 0"_s, u"1 = 2"_s};
        return pick(conditions);
    }

    QRandomGenerator m_random;
    bool m_vbaSupport = true;
    bool m_shadowTab = false;
    bool m_constVariable = false;
    QString m_declaration;
    int m_labels = 0;
};

} // namespace

class TestDifferential : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsWhatLibreOfficePasses()
    {
        QString soffice = qEnvironmentVariable("QUILLKIT_SOFFICE");
        if (soffice.isEmpty())
            soffice = u"/usr/lib/libreoffice/program/soffice.bin"_s;
        if (!QFileInfo(soffice).isExecutable())
            QSKIP(qPrintable(u"LibreOffice is not installed (%1); scripts/deps installs it"_s.arg(soffice)));

        const quint32 seed = testsupport::seed("modules");
        ModuleGrammar grammar(seed);
        LibreOfficeRun run(soffice);
        QString error;
        QVERIFY2(run.prepare(&error), qPrintable(error));
        QStringList modules;
        const auto vbaSupport = [](int i) { return i % 2 == 0; };
        for (int i = 0; i < 300; ++i) {
            modules << grammar.module(vbaSupport(i));
            QString recorded = modules.last();
            QCOMPARE(recorded.count(u"  MsgBox "_s), 1);
            recorded.replace(u"  MsgBox "_s, u"  RecordMsgBox "_s);
            run.add({u"module "_s + QString::number(i), recorded, u"1"_s, {}, vbaSupport(i), true});
        }
        QMap<int, QString> results;
        QVERIFY2(run.run(&results, &error, 180000), qPrintable(error));

        int read = 0;
        int ran = 0;
        for (int i = 0; i < modules.size(); ++i) {
            const QString result = results.value(i);
            // A module LibreOffice would not run tells nothing.
            if (!result.startsWith(u"1;"_s)) {
                if (qEnvironmentVariableIsSet("QUILLKIT_SHOW"))
                    qInfo("%d: %s\n%s", i, qPrintable(result), qPrintable(modules.at(i)));
                continue;
            }
            ++ran;
            // With VBA support the module is read as Visual Basic's; without,
            // as LibreOffice Basic's own, where vbTab is an empty variable.
            ReadSettings settings;
            if (!vbaSupport(i))
                settings.dialect = basic::Dialect::LibreOffice;
            const ReadResult reading = readCode(modules.at(i), tools(), nullptr, settings);
            if (!reading.ok())
                continue;
            ++read;
            const MsgBoxFields &fields = reading.fieldsAs<MsgBoxFields>();
            const QString expected = u"1;"_s + framed(fields.message) + framed(fields.title) + u"0:0"_s;
            QVERIFY2(result == expected, qPrintable(u"seed %1, module %2 read %3, LibreOffice passed %4:\n%5"_s.arg(seed)
                                                       .arg(i)
                                                       .arg(expected, result, modules.at(i))));
        }
        qInfo("%d of %d modules ran in LibreOffice; %d of them read, the rest refused", ran, int(modules.size()), read);
        // Not empty on either side: most modules run, and many read.
        QVERIFY2(ran > modules.size() / 2, qPrintable(QString::number(ran)));
        QVERIFY2(read > ran / 5, qPrintable(QString::number(read)));
    }
};

QTEST_GUILESS_MAIN(TestDifferential)
#include "tst_differential.moc"
