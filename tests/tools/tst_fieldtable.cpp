// SPDX-License-Identifier: GPL-3.0-or-later
// A tool's one table of fields gives its options, its fields for a command
// line and read's object; for every tool the object has just the members the
// table names, each an option of generate.
#include "app/CommandLine.h"
#include "app/Tools.h"
#include "reader/CodeReader.h"
#include "reader/ResultJson.h"
#include "tools/FieldTable.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QTest>

#include <variant>

using namespace Qt::StringLiterals;

namespace {

struct Part
{
    QString file;
    bool on = false;
    friend bool operator==(const Part &, const Part &) = default;
};

struct Fields
{
    QString name = u"start"_s;
    QString size = u"small"_s;
    QStringList items;
    bool big = false;
    Part part;
    friend bool operator==(const Fields &, const Fields &) = default;
};

const FieldTable<Part> &partTable()
{
    static const FieldTable<Part> table =
        FieldTable<Part>()
            .flag(u"on"_s, u"o"_s, [](const Part &p) { return p.on; }, [](Part &p) { p.on = true; })
            .text(u"file"_s, u"f"_s, [](const Part &p) { return p.on ? QJsonValue(p.file) : QJsonValue(); },
                  [](Part &p, const QString &file) { p.file = file; });
    return table;
}

const FieldTable<Fields> &table()
{
    static const FieldTable<Fields> fields =
        FieldTable<Fields>()
            .text(u"name"_s, u"n"_s, [](const Fields &f) { return f.name; },
                  [](Fields &f, const QString &name) { f.name = name; }, ToolOptions::Lines::Multi)
            .choice(u"size"_s, u"s"_s, {u"small"_s, u"large"_s}, [](const Fields &f) { return f.size; },
                    // A setter sees the rows before it set.
                    [](Fields &f, const QString &size) { f.size = size + u" "_s + f.name; })
            .list(u"item"_s, u"i"_s, [](const Fields &f) { return jsonList(f.items); },
                  [](Fields &f, const QStringList &items) {
                      if (items.contains(u"bad"_s))
                          throw CliError{u"--item: bad"_s};
                      f.items = items;
                  })
            .flag(u"big"_s, u"b"_s, [](const Fields &f) { return f.big; }, [](Fields &f) { f.big = true; })
            .part(partTable(), &Fields::part);
    return fields;
}

// The fields for a command line, or the error it gives.
std::variant<Fields, QString> fieldsFor(const QStringList &arguments)
{
    QCommandLineParser parser;
    QBuffer input;
    input.open(QIODevice::ReadOnly);
    ToolOptions options(parser, input);
    table().declare(options);
    if (!parser.parse(QStringList{u"q"_s} + arguments))
        return parser.errorText();
    try {
        options.checkGiven();
        Fields fields;
        table().apply(options, fields);
        return fields;
    } catch (const CliError &error) {
        return error.message;
    }
}

} // namespace

class TestFieldTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldsFromACommandLine_data();
    void fieldsFromACommandLine();
    void membersAndObject();
    void everyToolsObjectHasItsMembers();
};

void TestFieldTable::fieldsFromACommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("big");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");

    QTest::newRow("nothing given keeps the start") << QStringList{} << u"start"_s << u"small"_s << QStringList{}
                                                   << false << QString() << QString();
    QTest::newRow("each kind") << QStringList{u"--name"_s, u"a\nb"_s, u"--size"_s, u"large"_s, u"--item"_s,
                                              u"x"_s, u"--item"_s, u"y"_s, u"--big"_s}
                               << u"a\r\nb"_s << u"large a\r\nb"_s << QStringList{u"x"_s, u"y"_s} << true
                               << QString() << QString();
    QTest::newRow("a part's rows") << QStringList{u"--on"_s, u"--file"_s, u"h.hlp"_s} << u"start"_s << u"small"_s
                                   << QStringList{} << false << u"h.hlp"_s << QString();
    QTest::newRow("a choice not offered") << QStringList{u"--size"_s, u"huge"_s} << QString() << QString()
                                          << QStringList{} << false << QString() << u"--size"_s;
    QTest::newRow("a setter's refusal") << QStringList{u"--item"_s, u"bad"_s} << QString() << QString()
                                        << QStringList{} << false << QString() << u"--item: bad"_s;
    QTest::newRow("a text given twice") << QStringList{u"--name"_s, u"a"_s, u"--name-file"_s, u"f"_s} << QString()
                                        << QString() << QStringList{} << false << QString() << u"--name"_s;
}

void TestFieldTable::fieldsFromACommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const std::variant<Fields, QString> result = fieldsFor(arguments);
    if (!error.isEmpty()) {
        const QString *refused = std::get_if<QString>(&result);
        QVERIFY(refused);
        QVERIFY2(refused->contains(error), qPrintable(*refused));
        return;
    }
    if (const QString *refused = std::get_if<QString>(&result))
        QFAIL(qPrintable(*refused));
    const Fields &fields = std::get<Fields>(result);
    QTEST(fields.name, "name");
    QTEST(fields.size, "size");
    QTEST(fields.items, "items");
    QTEST(fields.big, "big");
    QTEST(fields.part.file, "file");
}

void TestFieldTable::membersAndObject()
{
    using Kind = JsonMember::Kind;
    QList<std::pair<QString, Kind>> members;
    for (const JsonMember &member : table().jsonMembers())
        members.append({member.name, member.kind});
    const QList<std::pair<QString, Kind>> expected{{u"name"_s, Kind::Text}, {u"size"_s, Kind::Choice},
                                                   {u"item"_s, Kind::List}, {u"big"_s, Kind::Flag},
                                                   {u"on"_s, Kind::Flag},   {u"file"_s, Kind::Text}};
    QCOMPARE(members, expected);

    Fields fields;
    fields.items = {u"x"_s};
    fields.part.file = u"h.hlp"_s;
    const QJsonObject object = table().toJson(fields);
    QCOMPARE(object.value(u"name"_s), QJsonValue(u"start"_s));
    QCOMPARE(object.value(u"item"_s), QJsonValue(QJsonArray{u"x"_s}));
    QCOMPARE(object.value(u"big"_s), QJsonValue(false));
    // A getter's null stays in the object as null.
    QVERIFY(object.contains(u"file"_s));
    QVERIFY(object.value(u"file"_s).isNull());
}

void TestFieldTable::everyToolsObjectHasItsMembers()
{
    for (const Tool &tool : tools()) {
        // The code of the tool's start-up fields, read back.
        QBuffer out;
        QBuffer err;
        QBuffer in;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        in.open(QIODevice::ReadOnly);
        QCOMPARE(runCommandLine({u"q"_s, u"generate"_s, tool.cli.name}, out, err, in), 0);
        const ReadResult result = readCode(QString::fromUtf8(out.data()), tools());
        QVERIFY2(result.ok(), qPrintable(tool.cli.name));
        QCOMPARE(result.tool, &tool);

        QCommandLineParser parser;
        ToolOptions options(parser, in);
        tool.cli.declare(options);
        QStringList members{u"tool"_s};
        for (const JsonMember &member : tool.jsonMembers) {
            QVERIFY2(options.declares(member.name), qPrintable(tool.cli.name + u" --"_s + member.name));
            members << member.name;
        }
        QStringList keys = readResultJson(result).keys();
        members.sort();
        keys.sort();
        QCOMPARE(keys, members);
    }
}

QTEST_MAIN(TestFieldTable)
#include "tst_fieldtable.moc"
