// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Names.h"
#include "fix/ModuleFixer.h"
#include "lsp/Meanings.h"
#include "lsp/MessageReader.h"
#include "lsp/ModuleCheck.h"
#include "lsp/TextDocument.h"
#include "tools/Tool.h"

#include <QElapsedTimer>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <optional>

class QIODevice;

// The language server: `fix`'s changes and notes as diagnostics and code
// actions, the meaning of the numbers and of readable calls on hover. It
// holds the open documents in memory only and writes no file.
namespace lsp {

// The longest message taken whole, and the longest document checked.
inline constexpr qint64 MaxMessageBytes = 32 * 1024 * 1024;
inline constexpr qsizetype MaxDocumentLength = 16 * 1024 * 1024;

inline constexpr char16_t FixAllKind[] = u"source.fixAll.quillkit98";
inline constexpr char16_t OpenInWindowCommand[] = u"quillkit98.openInWindow";
inline constexpr char16_t TestInWindowCommand[] = u"quillkit98.testInWindow";
inline constexpr char16_t InsertFromWindowCommand[] = u"quillkit98.insertFromWindow";

class Server : public QObject
{
    Q_OBJECT

public:
    using Sender = std::function<void(const QByteArray &)>;
    // Sends a request to the program's window ({"method": "edit", "code": …}),
    // starting it where none is open; false with the reason.
    using WindowSender = std::function<bool(const QJsonObject &request, QString *error)>;

    Server(QList<Tool> tools, Sender send, QIODevice &log, WindowSender window, QObject *parent = nullptr);

    // A message from the window: it shows what it was sent ({"method":
    // "ready"}), or Apply to Editor was pressed ({"method": "apply", "tool",
    // "code"}).
    void fromWindow(const QJsonObject &message);
    // The window has gone, or could not start: why.
    void windowEnded(const QString &why);

    // An edit as it was made: [from, to) of the text then became `length` characters.
    struct TextEdit
    {
        qsizetype from = 0;
        qsizetype to = 0;
        qsizetype length = 0;
    };

    // Tells whether more input waits to be read: the diagnostics then wait
    // for it (a while at most), so that a burst of changes is checked once.
    void setInputPending(std::function<bool()> pending) { m_inputPending = std::move(pending); }

    // The next bytes from the client.
    void receive(QByteArrayView bytes);
    // The client closed the stream.
    void endOfInput();

Q_SIGNALS:
    // `exit` came, or the input ended: 0 after `shutdown`, 1 without.
    void finished(int status);

private:
    struct Document
    {
        TextDocument text;
        int version = 0;
        basic::Dialect dialect = basic::Dialect::VisualBasic;
        bool dialectSure = true; // not where only MB_ names told
        QString refusal; // why it is not checked; empty when it is
        bool lost = false; // the text is not held: changes cannot apply
        bool xml = false;  // LibreOffice's .xba: the Basic is escaped
        ModuleCheck check; // the findings of the text last checked
        bool checked = false; // of the current text
        // The check holds a text that the edits since made the current one:
        // the next check is of what they touched, and a hover over a number
        // no edit touched is answered from the last check at once.
        bool previous = false;
        std::vector<TextEdit> edits;
        bool nulSince = false; // an edit since brought a NUL
    };

    void readFrames();
    void bodyStalled();
    void handleFrame(const Frame &frame);
    void handleMessage(const QJsonObject &message);
    void handleResponse(const QJsonValue &id, const QJsonObject &message);
    void respond(const QJsonValue &id, const QJsonValue &result);
    void respondError(const QJsonValue &id, int code, const QString &message);
    void respondRaw(const QJsonValue &id, const QByteArray &result);
    void notify(const QString &method, const QJsonObject &params);
    // A request of the server's own; the answer is called with the client's response.
    using Answer = std::function<void(const QJsonObject &response)>;
    void request(const QString &method, const QJsonObject &params, Answer answer);
    void log(const QString &line);

    QJsonValue initialize(const QJsonObject &params);
    bool applySettings(const QJsonObject &settings, const QString &where);
    void didChangeConfiguration(const QJsonObject &params);
    void pullConfiguration();
    void recheckAll();
    void didOpen(const QJsonObject &params);
    void didChange(const QJsonObject &params);
    void didClose(const QJsonObject &params);
    // An edit that cannot apply: the text is no longer known.
    void lose(const QString &uri, Document &document, const QString &fault);
    QByteArray codeActions(const QJsonObject &params); // the result's JSON
    QJsonValue hover(const QJsonObject &params);
    QByteArray willSaveWaitUntil(const QJsonObject &params); // the result's JSON
    QJsonValue documentSymbols(const QJsonObject &params);
    void executeCommand(const QJsonValue &id, const QJsonObject &params);
    // The message box or input box call at the offset, read as in the whole
    // module: from its procedure and the declarations where those read alike.
    std::optional<CallReading> callAt(Document &document, qsizetype offset, bool forWindow);
    struct Editing;
    // The call at the offset as the window edits it: its range and form, and
    // the code the window reads; why not, or empty.
    QString callToEdit(Document &document, qsizetype offset, Editing &editing, QJsonObject &request);
    QJsonValue resolveCodeAction(QJsonObject action);
    QJsonValue completion(const QJsonObject &params);
    QJsonValue signatureHelp(const QJsonObject &params);
    QByteArray codeLenses(const QJsonObject &params); // the result's JSON

    void setText(Document &document, QString text);
    void schedule(const QString &uri);
    void publishPending();
    void publish(const QString &uri);
    const fix::ModuleFixes &fixesOf(Document &document);
    QJsonObject range(const Document &document, qsizetype from, qsizetype to) const;
    QJsonObject changeDiagnostic(const Document &document, const fix::Change &change) const;
    // The changes as the protocol's TextEdit[], in JSON: written directly,
    // as a module has tens of thousands.
    QByteArray rawTextEdits(const Document &document, std::span<const fix::Change> changes) const;
    QJsonObject edit(const QString &uri, const Document &document, std::span<const fix::Change> changes) const;
    qsizetype offsetOf(const Document &document, const QJsonValue &position) const;
    basic::Dialect dialectOf(const QString &text, bool *sure = nullptr) const;
    QStringList boxWords() const;

    QList<Tool> m_tools;
    Sender m_send;
    QIODevice &m_log;
    WindowSender m_window;
    // What the window edits: the editor's range of it, in which form the
    // window's code goes back there, and the version it was taken from.
    struct Editing
    {
        enum class Form { Call, Statement, Block, Insert };
        QString uri;
        int version = 0;
        qsizetype from = 0;
        qsizetype to = 0;
        Form form = Form::Block;
        QString tool;
        QString words; // the call's, as written
        QString indentation;
        QString lineEnd;
        bool blankLine = false;   // an insert takes a blank line's place
        bool indentFirst = false; // a block's first line is indented too
    };
    std::optional<Editing> m_editing;
    QList<QJsonValue> m_windowWaiting; // executeCommand requests waiting for the window
    bool m_versionedEdits = false;     // the client takes documentChanges
    bool m_resolveEdits = false;       // the client resolves a code action's edit
    MessageReader m_reader;
    PositionEncoding m_encoding = PositionEncoding::Utf16;
    std::optional<basic::Dialect> m_dialect; // from initializationOptions or the settings
    bool m_fixOnSave = false;
    bool m_hierarchicalSymbols = false;
    bool m_configurationPull = false; // the client answers workspace/configuration
    bool m_initialized = false;
    bool m_shutdown = false;
    bool m_finished = false;
    bool m_answered = false; // a request answered since its input was read
    QHash<QString, Document> m_documents;
    QStringList m_pending;
    QTimer m_coalesce;
    QTimer m_stalled;        // a body begun and not going on
    QElapsedTimer m_waiting; // since the first change not yet checked
    std::function<bool()> m_inputPending;
    int m_lastRequest = 0;
    std::map<QString, Answer> m_awaiting;
};

} // namespace lsp
