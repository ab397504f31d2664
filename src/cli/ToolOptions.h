#pragma once

#include <QCommandLineParser>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

// A bad option or value on the command line: one line for stderr.
struct CliError
{
    QString message;
};

// The options of one `generate TOOL`, declared and read through one parser.
// Every text option also has a "-file" form that reads UTF-8 text from a
// file, or from standard input for "-", without the file's final line break.
class ToolOptions
{
public:
    enum class Lines { Single, Multi };

    ToolOptions(QCommandLineParser &parser, QIODevice &input);

    void addText(const QString &name, const QString &description, Lines lines = Lines::Single);
    void addRepeatedText(const QString &name, const QString &description);
    void addFlag(const QString &name, const QString &description);
    void addChoice(const QString &name, const QString &description, const QStringList &choices);

    // The text of --NAME or --NAME-file, if either was given. Line breaks in
    // a multi-line text become CR LF; a single-line text may hold none.
    std::optional<QString> text(const QString &name) const;
    // Every value of a repeated option, in the order given.
    QStringList texts(const QString &name) const;
    bool flag(const QString &name) const;
    // The chosen value, checked against the declared choices.
    std::optional<QString> choice(const QString &name) const;

    // The options given that are among `names`, in declaration order, by
    // their command-line spelling ("--title").
    QStringList givenAmong(const QStringList &names) const;
    // Whether the tool has an option of that name.
    bool declares(const QString &name) const { return m_declared.contains(name); }

private:
    QString readFile(const QString &option, const QString &path) const;
    QString checkedLines(const QString &name, const QString &value) const;

    QCommandLineParser &m_parser;
    QIODevice &m_input;
    QStringList m_declared;
    QStringList m_multiLine;
    QHash<QString, QStringList> m_choices;
};

// What `quillkit98 generate TOOL` knows of one tool.
struct CliTool
{
    QString name;
    QString summary;
    void (*declare)(ToolOptions &options);
    // The text that Copy would give; throws CliError for a bad value.
    QString (*generate)(const ToolOptions &options);
};
