// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

class QIODevice;

// A bad option or value on the command line: one line for stderr.
struct CliError
{
    QString message;
    // A mistake in the command (followed by the pointer to --help), not a
    // file that cannot be read.
    bool usage = true;
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
    // Whether --help lists an option.
    enum class Help { Shown, Hidden };
    void addChoice(const QString &name, const QString &description, const QStringList &choices,
                   Help help = Help::Shown);

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

    // Throws CliError for what the parser lets through: an option given
    // twice (but a repeated one), or two options that both read standard
    // input, which can only give its text once.
    void checkGiven() const;

    // Values given otherwise than on the command line (the members of
    // --from-json's object), by option name: a text's or choice's value, a
    // repeated option's values, an empty list for a flag that is set. They
    // count as given and go through the same checks; the command line must
    // not give the same options.
    void setOtherValues(const QHash<QString, QStringList> &values) { m_other = values; }

    // Each option's names and value ("--icon <none|error>") with its
    // description, in declaration order, for helpColumns.
    QList<std::pair<QString, QString>> helpRows() const;
    // Every option declared, in declaration order.
    const QList<QCommandLineOption> &declared() const { return m_options; }

private:
    void add(const QCommandLineOption &option);
    QString readFile(const QString &option, const QString &path) const;
    QString checkedLines(const QString &name, const QString &value) const;
    bool isSet(const QString &name) const { return m_parser.isSet(name) || m_other.contains(name); }
    QStringList values(const QString &name) const
    {
        return m_parser.isSet(name) ? m_parser.values(name) : m_other.value(name);
    }

    QCommandLineParser &m_parser;
    QIODevice &m_input;
    QStringList m_declared;
    QStringList m_repeatable;
    QList<QCommandLineOption> m_options;
    QStringList m_multiLine;
    QHash<QString, QStringList> m_choices;
    QHash<QString, QStringList> m_other;
};

// What `quillkit98 generate TOOL` knows of one tool.
struct CliTool
{
    QString name;
    QString summary;
    void (*declare)(ToolOptions &options);
    // The text that Copy would give; throws CliError for a bad value.
    QString (*generate)(const ToolOptions &options);
    // The same text handed to `sink` a line at a time (to be joined by CR LF),
    // for a tool whose code may be many times the size of its texts; throws
    // CliError before the first line for a bad value. Null where `generate`
    // serves.
    void (*write)(const ToolOptions &options, const std::function<void(QString &&)> &sink) = nullptr;
};

// One member of `read`'s JSON object, named as the option of `generate`
// that takes it back.
struct JsonMember
{
    enum class Kind { Text, Flag, Choice, List };
    QString name;
    Kind kind;
};

// The whole text of a file, or of standard input for "-", as bytes; a
// failure to read (never taken for the end), or a text past the size limit,
// is a CliError that names the file as given ("notes: Is a directory",
// "-" for standard input); an empty name, one that names the option.
QByteArray readSource(const QString &option, const QString &path, QIODevice &standardInput);

// Writes the text as UTF-8 a piece at a time, so that the output never
// exists twice over (UTF-16 and UTF-8) however long it is. False when a
// write fails, or the final flush does.
bool writeChecked(QIODevice &device, QStringView text);
// The bytes, all of them: false when the device takes no more.
bool writeChecked(QIODevice &device, const QByteArray &bytes);

// Lines joined by CR LF, written as UTF-8 a megabyte at a time as they come,
// so that output of any length needs no more memory than that.
class LineWriter
{
public:
    explicit LineWriter(QIODevice &device) : m_device(device) {}

    void add(QStringView line);
    // Writes what is left and flushes; false when any write failed.
    bool finish();
    // Bytes of UTF-8 given so far.
    qint64 size() const { return m_size; }

private:
    void writeBuffer();

    QIODevice &m_device;
    QByteArray m_buffer;
    qint64 m_size = 0;
    bool m_first = true;
    bool m_failed = false;
};

// Rows of names and descriptions as two columns, `width` characters wide at
// most. Lines break only between words or after a "|" between choices; a
// single word longer than the line stands alone rather than being cut.
QString helpColumns(const QList<std::pair<QString, QString>> &rows, int width);

// A paragraph wrapped as helpColumns wraps a description, each line ending
// in a line break.
QString wrappedParagraph(const QString &text, int width);

// The text with every control character (C0, DEL, C1) and line or paragraph
// separator written as an escape ("\e", "\n", "\x7f", "\u2028"): a value
// echoed on a terminal cannot move its cursor, retitle it or break the line.
QString escapedControls(QStringView text);
