// SPDX-License-Identifier: GPL-3.0-or-later
#include "lsp/LspServer.h"

#include "basic/Tokens.h"
#include "cli/ToolOptions.h"
#include "lsp/EditorEdits.h"
#include "lsp/Meanings.h"
#include "lsp/Memory.h"
#include "lsp/Symbols.h"
#include "lsp/XbaText.h"
#include "reader/CodeReader.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QUrl>

#include <charconv>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace lsp {

namespace {

// JSON-RPC's and the protocol's error codes.
constexpr int ParseError = -32700;
constexpr int InvalidRequest = -32600;
constexpr int MethodNotFound = -32601;
constexpr int InvalidParams = -32602;
constexpr int ServerNotInitialized = -32002;
constexpr int RequestFailed = -32803;

constexpr int Warning = 2;
constexpr int Information = 3;

// The coalescing: changes that arrive together are checked once, and while
// more input waits, for this long at most.
constexpr int MostWaitMilliseconds = 200;
// A body that stops coming for this long is dropped: a client that sent a
// length too large is answered again.
constexpr int StallMilliseconds = 3000;
// Past this many edits since the last check, a hover waits for the next.
constexpr std::size_t MaxEditsSince = 256;
// TextDocumentSaveReason: a save after a delay is the editor's, not the user's.
constexpr int SaveAfterDelay = 2;

enum class Shape { Object, String, Integer, Array };

// The first member that is not what the protocol makes it ("position.line
// must be a whole number from 0"), or empty. A path ending in ? may be left out.
QString wrongMember(const QJsonValue &params, std::initializer_list<std::pair<QStringView, Shape>> members)
{
    for (const auto &[path, shape] : members) {
        const bool optional = path.endsWith(u'?');
        const QStringView name = optional ? path.chopped(1) : path;
        QJsonValue value = params;
        for (const QStringView part : name.tokenize(u'.', Qt::SkipEmptyParts))
            value = value.isObject() ? value.toObject().value(part) : QJsonValue(QJsonValue::Undefined);
        if (optional && value.isUndefined())
            continue;
        const double number = value.toDouble(-1);
        const bool whole = value.isDouble() && number >= 0 && number <= std::numeric_limits<int>::max()
                           && number == std::floor(number);
        const bool ok = shape == Shape::Object   ? value.isObject()
                        : shape == Shape::String ? value.isString()
                        : shape == Shape::Array  ? value.isArray()
                                                 : whole;
        if (!ok) {
            static const char16_t *const names[] = {u"an object", u"a string", u"a whole number from 0", u"an array"};
            return u"%1 must be %2"_s.arg(name.isEmpty() ? u"params"_s : name.toString(),
                                          QStringView(names[int(shape)]));
        }
    }
    return {};
}

QString wrongRange(const QJsonValue &params, QStringView name)
{
    const QString n = name.toString();
    return wrongMember(params, {{QString(n + u".start.line"_s), Shape::Integer},
                                {QString(n + u".start.character"_s), Shape::Integer},
                                {QString(n + u".end.line"_s), Shape::Integer},
                                {QString(n + u".end.character"_s), Shape::Integer}});
}

// The few members found in the start of a message too large to parse.
QString memberIn(const QByteArray &prefix, const char *pattern)
{
    const QRegularExpression expression(QString::fromLatin1(pattern));
    const QRegularExpressionMatch match = expression.match(QString::fromUtf8(prefix));
    return match.hasMatch() ? match.captured(1) : QString();
}

// "36 → vbYesNo + vbQuestion": the number as written, on one line, as
// `fix --check` shows it.
QString oneLine(const QString &text)
{
    return text.simplified();
}

QString changeMessage(const fix::Change &change)
{
    return oneLine(change.original) + u" → "_s + change.replacement.trimmed();
}

// A JSON string, as QJsonDocument writes it.
void appendJsonString(QByteArray &out, QStringView text)
{
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendNumber(QByteArray &out, qint64 number)
{
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, end - digits);
}

// {"line":…,"character":…} of the offset, as JSON; *line walks on from the
// line of the offset before.
void appendPosition(QByteArray &out, const TextDocument &text, qsizetype offset, PositionEncoding encoding,
                    qsizetype *line)
{
    const Position p = text.positionAt(offset, encoding, line);
    out += R"({"line":)";
    appendNumber(out, p.line);
    out += R"(,"character":)";
    appendNumber(out, p.character);
    out += '}';
}

// {"start":…,"end":…} of [from, to).
void appendRange(QByteArray &out, const TextDocument &text, qsizetype from, qsizetype to, PositionEncoding encoding,
                 qsizetype *line)
{
    out += R"({"start":)";
    appendPosition(out, text, from, encoding, line);
    out += R"(,"end":)";
    appendPosition(out, text, to, encoding, line);
    out += '}';
}

// changeMessage's text as a JSON string, made without a string between.
void appendChangeMessage(QByteArray &out, const fix::Change &change)
{
    const auto plain = [](const QString &text) {
        for (const QChar c : text) {
            if (c.isSpace() ? c != u' ' : c.unicode() < 0x20 || c.unicode() >= 0x80 || c == u'"' || c == u'\\')
                return false;
        }
        return text.isEmpty() || (text.front() != u' ' && text.back() != u' ' && !text.contains(u"  "_s));
    };
    if (!plain(change.original) || !plain(change.replacement.trimmed())) {
        appendJsonString(out, changeMessage(change));
        return;
    }
    const auto ascii = [&](QStringView text) {
        const qsizetype at = out.size();
        out.resize(at + text.size());
        char *data = out.data() + at;
        for (const QChar c : text)
            *data++ = char(c.unicode());
    };
    out += '"';
    ascii(change.original);
    out += " \xe2\x86\x92 "; // →
    ascii(QStringView(change.replacement).trimmed());
    out += '"';
}

bool kindWanted(const QString &kind, const QJsonArray &only)
{
    if (only.isEmpty())
        return true;
    for (const QJsonValue value : only) {
        const QString wanted = value.toString();
        if (!kind.isEmpty() && (kind == wanted || kind.startsWith(wanted + u'.')))
            return true;
    }
    return false;
}

} // namespace

Server::Server(QList<Tool> tools, Sender send, QIODevice &log, WindowSender window, QObject *parent)
    : QObject(parent),
      m_tools(std::move(tools)),
      m_send(std::move(send)),
      m_log(log),
      m_window(std::move(window)),
      m_reader(MaxMessageBytes)
{
    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(0);
    connect(&m_coalesce, &QTimer::timeout, this, &Server::publishPending);
    m_stalled.setSingleShot(true);
    m_stalled.setInterval(StallMilliseconds);
    connect(&m_stalled, &QTimer::timeout, this, &Server::bodyStalled);
}

void Server::log(const QString &line)
{
    m_log.write((u"quillkit98 lsp: "_s + line + u'\n').toUtf8());
}

void Server::receive(QByteArrayView bytes)
{
    m_reader.feed(bytes);
    readFrames();
}

void Server::readFrames()
{
    while (!m_finished) {
        const std::optional<Frame> frame = m_reader.next();
        if (!frame)
            break;
        handleFrame(*frame);
    }
    // What answers took for a large module is given back (not after each
    // keystroke: its check takes little, and giving back costs time).
    if (std::exchange(m_answered, false)) {
        qsizetype largest = 0;
        for (const Document &document : std::as_const(m_documents))
            largest = std::max(largest, document.text.text().size());
        giveBackFreed(largest);
    }
    // Counted from the last bytes that came.
    if (m_reader.midBody() && !m_finished)
        m_stalled.start();
    else
        m_stalled.stop();
}

void Server::bodyStalled()
{
    if (m_finished)
        return;
    // Bytes waiting unread are no stall: the server was busy.
    if (m_inputPending && m_inputPending()) {
        m_stalled.start();
        return;
    }
    if (const std::optional<Frame> frame = m_reader.dropBody())
        handleFrame(*frame);
    readFrames();
}

void Server::endOfInput()
{
    if (m_finished)
        return;
    m_finished = true;
    Q_EMIT finished(m_shutdown ? 0 : 1);
}

void Server::handleFrame(const Frame &frame)
{
    if (frame.kind == Frame::Kind::BadHeader || frame.kind == Frame::Kind::BadBody) {
        respondError(QJsonValue::Null, ParseError, frame.reason + u"; skipped to the next Content-Length"_s);
        return;
    }
    if (frame.kind == Frame::Kind::Stalled) {
        // Not answered: an id in it may be the next request's, read after all.
        log(frame.reason + u"; dropped it"_s);
        return;
    }
    if (frame.kind == Frame::Kind::TooLarge) {
        // Skipped unread: the client still learns of it, where it can be told.
        const QString method = memberIn(frame.body, R"re("method"\s*:\s*"([^"]*)")re");
        const QString uri = memberIn(frame.body, R"re("uri"\s*:\s*"((?:[^"\\]|\\.)*)")re");
        const QString id = memberIn(frame.body, R"re("id"\s*:\s*("(?:[^"\\]|\\.)*"|-?\d+))re");
        const QString reason = u"The document is too large for Quillkit 98 (%1 MB of protocol message; at most %2 MB): "
                               u"it is not checked."_s.arg(frame.size / 1000000).arg(MaxMessageBytes / 1000000);
        log(u"skipped a message of %1 bytes (%2)"_s.arg(frame.size).arg(method.isEmpty() ? u"?"_s : method));
        if (!uri.isEmpty() && (method == u"textDocument/didOpen"_s || method == u"textDocument/didChange"_s)) {
            const QString decoded = QJsonDocument::fromJson(u"[\"%1\"]"_s.arg(uri).toUtf8()).array().at(0).toString();
            Document &document = m_documents[decoded];
            document.text = TextDocument();
            document.lost = true;
            document.refusal = reason;
            document.checked = false;
            document.previous = false;
            schedule(decoded);
        }
        if (!id.isEmpty())
            respondError(QJsonDocument::fromJson("[" + id.toUtf8() + "]").array().at(0), InvalidRequest,
                         u"the message is too large (%1 bytes)"_s.arg(frame.size));
        return;
    }
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(frame.body, &error);
    if (error.error != QJsonParseError::NoError) {
        respondError(QJsonValue::Null, ParseError, u"not JSON: %1 at byte %2"_s.arg(error.errorString()).arg(error.offset));
        // Most likely its length was wrong: the next header may be inside it.
        m_reader.skipBody(frame.body);
        return;
    }
    if (!json.isObject()) {
        respondError(QJsonValue::Null, InvalidRequest, u"a message must be a JSON object"_s);
        return;
    }
    handleMessage(json.object());
}

void Server::handleResponse(const QJsonValue &id, const QJsonObject &message)
{
    const auto awaited = m_awaiting.find(id.toVariant().toString());
    if (awaited == m_awaiting.end())
        return;
    const Answer answer = std::move(awaited->second);
    m_awaiting.erase(awaited);
    if (!m_shutdown)
        answer(message);
}

void Server::handleMessage(const QJsonObject &message)
{
    const QJsonValue id = message.value(u"id"_s);
    const bool request = message.contains(u"id"_s);
    if (request && !id.isString() && !id.isDouble()) {
        respondError(QJsonValue::Null, InvalidRequest, u"an id must be a number or a string"_s);
        return;
    }
    const QJsonValue methodValue = message.value(u"method"_s);
    if (!methodValue.isString()) {
        // A response to a request of ours.
        if (message.contains(u"result"_s) || message.contains(u"error"_s))
            handleResponse(id, message);
        else if (request)
            respondError(id, InvalidRequest, u"a request needs a method"_s);
        return;
    }
    const QString method = methodValue.toString();
    const QJsonObject params = message.value(u"params"_s).toObject();

    if (method == u"exit"_s) {
        m_finished = true;
        Q_EMIT finished(m_shutdown ? 0 : 1);
        return;
    }
    if (!m_initialized && method != u"initialize"_s) {
        if (request)
            respondError(id, ServerNotInitialized, u"the server is not initialized"_s);
        return;
    }
    if (m_shutdown) {
        // After shutdown only exit counts: no document is opened or checked.
        if (request)
            respondError(id, InvalidRequest, u"the server is shut down"_s);
        return;
    }
    const QJsonValue given = message.value(u"params"_s);
    const std::pair<QStringView, Shape> uri{u"textDocument.uri", Shape::String};
    if (!request) {
        // A notification is not answered: one of the wrong shape is logged.
        const auto wrong = [&](std::initializer_list<std::pair<QStringView, Shape>> members) {
            const QString what = wrongMember(given, members);
            if (!what.isEmpty())
                log(method + u": "_s + what + u"; ignored"_s);
            return !what.isEmpty();
        };
        if (method == u"textDocument/didOpen"_s) {
            if (!wrong({uri, {u"textDocument.text", Shape::String}}))
                didOpen(params);
        } else if (method == u"textDocument/didChange"_s) {
            if (!wrong({uri, {u"contentChanges", Shape::Array}}))
                didChange(params);
        } else if (method == u"textDocument/didClose"_s) {
            if (!wrong({uri}))
                didClose(params);
        } else if (method == u"workspace/didChangeConfiguration"_s) {
            didChangeConfiguration(params);
        } else if (method == u"initialized"_s) {
            pullConfiguration();
        }
        // Others (initialized, $/cancelRequest, didSave, ...) need nothing.
        return;
    }
    const auto refused = [&](const QString &what) {
        if (!what.isEmpty())
            respondError(id, InvalidParams, method + u": "_s + what);
        return !what.isEmpty();
    };
    const auto wrong = [&](std::initializer_list<std::pair<QStringView, Shape>> members) {
        return refused(wrongMember(given, members));
    };
    if (method == u"initialize"_s) {
        if (m_initialized) {
            respondError(id, InvalidRequest, u"the server is initialized already"_s);
            return;
        }
        if (!wrong({{u"", Shape::Object}, {u"capabilities?", Shape::Object}}))
            respond(id, initialize(params));
    } else if (method == u"shutdown"_s) {
        m_shutdown = true;
        // What waits to be published is not.
        m_coalesce.stop();
        m_pending.clear();
        respond(id, QJsonValue::Null);
    } else if (method == u"codeAction/resolve"_s) {
        if (!wrong({{u"data.uri", Shape::String}}))
            respond(id, resolveCodeAction(params));
    } else if (method == u"textDocument/codeAction"_s) {
        QString what = wrongMember(given, {uri, {u"context", Shape::Object}, {u"context.only?", Shape::Array}});
        if (what.isEmpty())
            what = wrongRange(given, u"range");
        if (!refused(what))
            respondRaw(id, codeActions(params));
    } else if (method == u"textDocument/hover"_s) {
        if (!wrong({uri, {u"position.line", Shape::Integer}, {u"position.character", Shape::Integer}}))
            respond(id, hover(params));
    } else if (method == u"textDocument/willSaveWaitUntil"_s) {
        if (!wrong({uri, {u"reason", Shape::Integer}}))
            respondRaw(id, willSaveWaitUntil(params));
    } else if (method == u"textDocument/documentSymbol"_s) {
        if (!wrong({uri}))
            respond(id, documentSymbols(params));
    } else if (method == u"workspace/executeCommand"_s) {
        if (!wrong({{u"command", Shape::String}, {u"arguments?", Shape::Array}}))
            executeCommand(id, params);
    } else if (method == u"textDocument/completion"_s) {
        if (!wrong({uri, {u"position.line", Shape::Integer}, {u"position.character", Shape::Integer}}))
            respond(id, completion(params));
    } else if (method == u"textDocument/signatureHelp"_s) {
        if (!wrong({uri, {u"position.line", Shape::Integer}, {u"position.character", Shape::Integer}}))
            respond(id, signatureHelp(params));
    } else if (method == u"textDocument/codeLens"_s) {
        if (!wrong({uri}))
            respondRaw(id, codeLenses(params));
    } else {
        respondError(id, MethodNotFound, u"method not found: "_s + method);
    }
}

void Server::respond(const QJsonValue &id, const QJsonValue &result)
{
    m_answered = true;
    QJsonObject message{{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, id}};
    message.insert(u"result"_s, result);
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    m_send("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
}

void Server::respondRaw(const QJsonValue &id, const QByteArray &result)
{
    m_answered = true;
    const QByteArray body = R"({"jsonrpc":"2.0","id":)"
                            + QJsonDocument(QJsonArray{id}).toJson(QJsonDocument::Compact).chopped(1).mid(1)
                            + R"(,"result":)" + result + '}';
    m_send("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
    m_send(body);
}

void Server::respondError(const QJsonValue &id, int code, const QString &text)
{
    log(text);
    const QJsonObject message{{u"jsonrpc"_s, u"2.0"_s},
                              {u"id"_s, id},
                              {u"error"_s, QJsonObject{{u"code"_s, code}, {u"message"_s, text}}}};
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    m_send("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
}

void Server::request(const QString &method, const QJsonObject &params, Answer answer)
{
    const QString id = u"quillkit98-%1"_s.arg(++m_lastRequest);
    m_awaiting.emplace(id, std::move(answer));
    const QJsonObject message{{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, id}, {u"method"_s, method}, {u"params"_s, params}};
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    m_send("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
}

void Server::notify(const QString &method, const QJsonObject &params)
{
    const QJsonObject message{{u"jsonrpc"_s, u"2.0"_s}, {u"method"_s, method}, {u"params"_s, params}};
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    m_send("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
}

QJsonValue Server::initialize(const QJsonObject &params)
{
    m_initialized = true;
    const QJsonArray encodings =
        params.value(u"capabilities"_s).toObject().value(u"general"_s).toObject().value(u"positionEncodings"_s).toArray();
    m_encoding = encodings.contains(u"utf-8"_s) ? PositionEncoding::Utf8 : PositionEncoding::Utf16;
    m_hierarchicalSymbols =
        params.value(u"capabilities"_s)[u"textDocument"_s][u"documentSymbol"_s][u"hierarchicalDocumentSymbolSupport"_s]
            .toBool();
    m_configurationPull = params.value(u"capabilities"_s)[u"workspace"_s][u"configuration"_s].toBool();
    m_resolveEdits =
        params.value(u"capabilities"_s)[u"textDocument"_s][u"codeAction"_s][u"resolveSupport"_s][u"properties"_s]
            .toArray()
            .contains(u"edit"_s);
    m_versionedEdits =
        params.value(u"capabilities"_s)[u"workspace"_s][u"workspaceEdit"_s][u"documentChanges"_s].toBool();
    applySettings(params.value(u"initializationOptions"_s).toObject(), u"initializationOptions"_s);
    const QJsonObject capabilities{
        {u"positionEncoding"_s, m_encoding == PositionEncoding::Utf8 ? u"utf-8"_s : u"utf-16"_s},
        {u"textDocumentSync"_s, QJsonObject{{u"openClose"_s, true}, {u"change"_s, 2}, {u"willSaveWaitUntil"_s, true}}},
        {u"hoverProvider"_s, true},
        {u"documentSymbolProvider"_s, true},
        {u"codeActionProvider"_s,
         QJsonObject{{u"codeActionKinds"_s, QJsonArray{u"quickfix"_s, QString::fromUtf16(FixAllKind)}},
                     {u"resolveProvider"_s, true}}},
        {u"executeCommandProvider"_s,
         QJsonObject{{u"commands"_s,
                      QJsonArray{QString::fromUtf16(OpenInWindowCommand), QString::fromUtf16(TestInWindowCommand),
                                 QString::fromUtf16(InsertFromWindowCommand)}}}},
        {u"completionProvider"_s, QJsonObject{{u"triggerCharacters"_s, QJsonArray{u","_s, u"+"_s, u" "_s}}}},
        {u"signatureHelpProvider"_s, QJsonObject{{u"triggerCharacters"_s, QJsonArray{u"("_s, u","_s, u" "_s}},
                                                 {u"retriggerCharacters"_s, QJsonArray{u","_s}}}},
        {u"codeLensProvider"_s, QJsonObject{{u"resolveProvider"_s, false}}},
    };
    return QJsonObject{{u"capabilities"_s, capabilities},
                       {u"serverInfo"_s, QJsonObject{{u"name"_s, u"quillkit98"_s},
                                                     {u"version"_s, QCoreApplication::applicationVersion()}}}};
}

bool Server::applySettings(const QJsonObject &settings, const QString &where)
{
    const std::optional<basic::Dialect> before = m_dialect;
    const auto warn = [&](const QString &text) {
        log(text);
        notify(u"window/showMessage"_s, {{u"type"_s, Warning}, {u"message"_s, QString(u"Quillkit 98: "_s + text)}});
    };
    if (settings.contains(u"dialect"_s)) {
        const QJsonValue dialect = settings.value(u"dialect"_s);
        // Gambas has no constants to name, so it is no dialect to set.
        const auto named = basic::dialectFromName(dialect.toString());
        if (named && *named != basic::Dialect::Gambas) {
            m_dialect = *named;
        } else {
            m_dialect.reset();
            if (!dialect.isNull())
                warn(u"%1.dialect must be \"vb\" or \"libreoffice\"; each module's own code tells its dialect instead"_s
                         .arg(where));
        }
    }
    if (settings.contains(u"fixOnSave"_s)) {
        const QJsonValue fixOnSave = settings.value(u"fixOnSave"_s);
        if (fixOnSave.isBool())
            m_fixOnSave = fixOnSave.toBool();
        else
            warn(u"%1.fixOnSave must be true or false; it stays %2"_s.arg(where, m_fixOnSave ? u"true"_s : u"false"_s));
    }
    return m_dialect != before;
}

void Server::pullConfiguration()
{
    if (!m_configurationPull)
        return;
    request(u"workspace/configuration"_s, {{u"items"_s, QJsonArray{QJsonObject{{u"section"_s, u"quillkit98"_s}}}}},
            [this](const QJsonObject &response) {
                const QJsonValue settings = response.value(u"result"_s)[0];
                if (response.contains(u"error"_s))
                    log(u"workspace/configuration: "_s + response.value(u"error"_s)[u"message"_s].toString());
                else if (settings.isObject() && applySettings(settings.toObject(), u"quillkit98"_s))
                    recheckAll();
            });
}

void Server::didChangeConfiguration(const QJsonObject &params)
{
    const QJsonValue settings = params.value(u"settings"_s)[u"quillkit98"_s];
    // A client that is asked gives the settings when asked.
    if (!settings.isObject()) {
        pullConfiguration();
        return;
    }
    if (applySettings(settings.toObject(), u"quillkit98"_s))
        recheckAll();
}

void Server::recheckAll()
{
    // Every open module again, in the dialect it now has.
    for (auto it = m_documents.begin(); it != m_documents.end(); ++it) {
        Document &document = *it;
        if (!document.lost && document.text.text().size() <= MaxDocumentLength)
            document.dialect = dialectOf(document.text.text(), &document.dialectSure);
        document.checked = false;
        document.previous = false;
        schedule(it.key());
    }
}

QStringList Server::boxWords() const
{
    // The tools whose numbers BASIC has names for are those fix names.
    QStringList words;
    for (const Tool &tool : m_tools) {
        if (tool.hasConstants)
            words += tool.callWords;
    }
    return words;
}

basic::Dialect Server::dialectOf(const QString &text, bool *sure) const
{
    return moduleDialect(text, m_tools, m_dialect, sure);
}

void Server::setText(Document &document, QString text)
{
    document.lost = false;
    document.checked = false;
    document.previous = false;
    document.refusal.clear();
    document.text = TextDocument(std::move(text));
}

void Server::didOpen(const QJsonObject &params)
{
    const QJsonObject item = params.value(u"textDocument"_s).toObject();
    const QString uri = item.value(u"uri"_s).toString();
    if (uri.isEmpty())
        return;
    Document &document = m_documents[uri];
    document.version = item.value(u"version"_s).toInt();
    document.xml = uri.endsWith(u".xba"_s, Qt::CaseInsensitive);
    setText(document, item.value(u"text"_s).toString());
    document.dialectSure = true;
    document.dialect = document.text.text().size() <= MaxDocumentLength
                           ? dialectOf(document.text.text(), &document.dialectSure)
                           : basic::Dialect::VisualBasic;
    giveBackFreed(document.text.text().size());
    schedule(uri);
}

void Server::didChange(const QJsonObject &params)
{
    const QJsonObject item = params.value(u"textDocument"_s).toObject();
    const QString uri = item.value(u"uri"_s).toString();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end())
        return;
    Document &document = *found;
    document.version = item.value(u"version"_s).toInt();
    for (const QJsonValue value : params.value(u"contentChanges"_s).toArray()) {
        const QJsonObject change = value.toObject();
        const QString text = change.value(u"text"_s).toString();
        if (!change.value(u"text"_s).isString()) {
            lose(uri, document, u"a change without its text"_s);
            continue;
        }
        if (!change.contains(u"range"_s)) {
            setText(document, text);
            continue;
        }
        if (document.lost)
            continue;
        // An edit the text cannot take leaves it unknown, rather than wrong.
        const QString wrong = wrongRange(change, u"range");
        const QJsonObject range = change.value(u"range"_s).toObject();
        const auto line = [&](const QString &name) { return range.value(name)[u"line"_s].toInt(); };
        const qsizetype from = offsetOf(document, range.value(u"start"_s));
        const qsizetype to = offsetOf(document, range.value(u"end"_s));
        QString fault = wrong;
        if (fault.isEmpty() && std::max(line(u"start"_s), line(u"end"_s)) >= document.text.lineCount())
            fault = u"a change's range is past the document's last line"_s;
        else if (fault.isEmpty() && (line(u"end"_s) < line(u"start"_s) || to < from))
            fault = u"a change's range ends before it starts"_s;
        if (!fault.isEmpty()) {
            lose(uri, document, fault);
            continue;
        }
        // Past twice the checked size the text is let go: memory stays bounded.
        if (document.text.text().size() - (to - from) + text.size() > 2 * MaxDocumentLength) {
            document.text = TextDocument();
            document.lost = true;
            document.refusal.clear();
            continue;
        }
        if (document.checked) {
            document.previous = document.refusal.isEmpty();
            document.checked = false;
            document.edits.clear();
            document.nulSince = false;
        }
        if (document.previous && document.edits.size() < MaxEditsSince) {
            document.edits.push_back({from, to, text.size()});
            document.nulSince = document.nulSince || text.contains(QChar(0));
        } else {
            document.previous = false;
        }
        document.text.replace(from, to, text);
    }
    document.checked = false;
    schedule(uri);
}

void Server::lose(const QString &uri, Document &document, const QString &fault)
{
    log(u"%1 (%2, version %3): the document is not checked until its whole text comes again"_s.arg(
        fault, uri, QString::number(document.version)));
    document.text = TextDocument();
    document.lost = true;
    document.previous = false;
    document.refusal = u"An edit from the editor did not fit the text (%1): the document is not checked until the "
                       u"editor sends its whole text again (open it again)."_s.arg(fault);
}

void Server::didClose(const QJsonObject &params)
{
    const QString uri = params.value(u"textDocument"_s).toObject().value(u"uri"_s).toString();
    if (m_documents.remove(uri) == 0)
        return;
    m_pending.removeAll(uri);
    notify(u"textDocument/publishDiagnostics"_s, {{u"uri"_s, uri}, {u"diagnostics"_s, QJsonArray()}});
}

void Server::schedule(const QString &uri)
{
    if (!m_pending.contains(uri))
        m_pending << uri;
    if (!m_coalesce.isActive()) {
        m_coalesce.start();
        m_waiting.start();
    }
}

void Server::publishPending()
{
    if (m_inputPending && m_inputPending() && m_waiting.elapsed() < MostWaitMilliseconds) {
        m_coalesce.start();
        return;
    }
    const QStringList pending = std::exchange(m_pending, {});
    for (const QString &uri : pending)
        publish(uri);
}

namespace {

// Places in an .xba's decoded Basic moved to the file's own characters.
void placeInFile(fix::ModuleFixes &fixes, const XbaText &xba)
{
    const auto inFile = [&](qsizetype pos) {
        return xba.fileOffsets[std::size_t(std::clamp<qsizetype>(pos, 0, xba.basic.size()))];
    };
    for (fix::Change &change : fixes.changes) {
        change.from = inFile(change.from);
        change.to = inFile(change.to);
        change.replacement = change.replacement.toHtmlEscaped();
    }
    for (fix::Note &note : fixes.notes) {
        note.pos = inFile(note.pos);
        note.end = inFile(note.end);
    }
}

} // namespace

const fix::ModuleFixes &Server::fixesOf(Document &document)
{
    if (document.checked)
        return document.check.fixes();
    document.checked = true;
    const QString &text = document.text.text();
    if (document.previous && !document.edits.empty() && !document.lost && !document.xml && !document.nulSince
        && text.size() <= MaxDocumentLength && document.dialect != basic::Dialect::Gambas) {
        // What the edits since the last check touched, as one edit.
        const qsizetype before = document.check.textSize();
        qsizetype size = before;
        qsizetype from = size;
        qsizetype kept = size; // characters at the end that no edit touched
        for (const TextEdit &edit : document.edits) {
            from = std::min(from, edit.from);
            kept = std::min(kept, size - edit.to);
            size += edit.length - (edit.to - edit.from);
        }
        document.previous = false;
        document.edits.clear();
        if (from <= before - kept) {
            document.check.update(text, from, before - kept, size - kept - from);
            return document.check.fixes();
        }
    }
    document.previous = false;
    document.edits.clear();
    if (document.lost) {
        if (document.refusal.isEmpty())
            document.refusal = u"The document grew too large for Quillkit 98: it is not checked until it is opened again."_s;
        document.check.set({});
    } else if (text.size() > MaxDocumentLength) {
        document.refusal = u"The document is too large for Quillkit 98 (%1 characters; at most %2): it is not checked."_s
                               .arg(text.size())
                               .arg(MaxDocumentLength);
        document.check.set({});
    } else {
        // In an .xba the Basic is the module element's text, its escapes
        // decoded; each place found in it is the place of its characters in
        // the file.
        const std::optional<XbaText> xba = document.xml ? basicOfXba(text) : std::nullopt;
        const QString &basicText = xba ? xba->basic : text;
        document.check.set({});
        if (document.xml && !xba) {
            document.refusal = u"This .xba file holds no LibreOffice Basic module this program decodes exactly: it is "
                               u"not checked. Export the module as .bas to check it."_s;
        } else if (basicText.contains(QChar(0))) {
            document.refusal = u"The document holds NUL characters, so it is no BASIC text: it is not checked."_s;
        } else if (xba) {
            document.refusal.clear();
            document.check.checkAll(basicText, basic::Dialect::LibreOffice, boxWords());
            fix::ModuleFixes fixes = document.check.fixes();
            placeInFile(fixes, *xba);
            document.check.set(std::move(fixes));
        } else if (document.dialect != basic::Dialect::Gambas) { // Gambas has no constants to name
            document.refusal.clear();
            document.check.checkAll(basicText, document.dialect, boxWords(), document.dialectSure);
        }
    }
    return document.check.fixes();
}

QJsonObject Server::range(const Document &document, qsizetype from, qsizetype to) const
{
    const auto json = [&](qsizetype offset) {
        const Position p = document.text.positionAt(offset, m_encoding);
        return QJsonObject{{u"line"_s, p.line}, {u"character"_s, p.character}};
    };
    return {{u"start"_s, json(from)}, {u"end"_s, json(to)}};
}

QJsonObject Server::changeDiagnostic(const Document &document, const fix::Change &change) const
{
    return {{u"range"_s, range(document, change.from, change.to)},
            {u"severity"_s, Warning},
            {u"code"_s, u"magic-number"_s},
            {u"source"_s, u"quillkit98"_s},
            {u"message"_s, changeMessage(change)}};
}

void Server::publish(const QString &uri)
{
    const auto found = m_documents.find(uri);
    if (found == m_documents.end())
        return;
    Document &document = *found;
    const fix::ModuleFixes &fixes = fixesOf(document);
    // Written out directly: a large module has tens of thousands of
    // diagnostics, and QJsonObject would cost more than finding them.
    QByteArray body;
    body.reserve(qsizetype(200 * (fixes.changes.size() + fixes.notes.size())) + 256);
    body += R"({"jsonrpc":"2.0","method":"textDocument/publishDiagnostics","params":{"uri":)";
    appendJsonString(body, uri);
    body += R"(,"version":)";
    appendNumber(body, document.version);
    body += R"(,"diagnostics":[)";
    bool first = true;
    // The diagnostics come in order: their lines are found walking on.
    qsizetype line = 0;
    const auto begin = [&](qsizetype from, qsizetype to, int severity, QStringView code) {
        body += first ? "{" : ",{";
        first = false;
        body += R"("range":)";
        appendRange(body, document.text, from, to, m_encoding, &line);
        body += R"(,"severity":)";
        appendNumber(body, severity);
        body += R"(,"code":)";
        appendJsonString(body, code);
        body += R"(,"source":"quillkit98","message":)";
    };
    const auto add = [&](qsizetype from, qsizetype to, int severity, QStringView code, QStringView message) {
        begin(from, to, severity, code);
        appendJsonString(body, message);
        body += '}';
    };
    if (!document.refusal.isEmpty())
        add(0, 0, Warning, u"not-checked", document.refusal);
    // Both lists are in order: merged, the diagnostics are in order too.
    std::size_t n = 0;
    const auto addNotesBefore = [&](qsizetype pos) {
        for (; n < fixes.notes.size() && fixes.notes[n].pos < pos; ++n)
            add(fixes.notes[n].pos, fixes.notes[n].end, Information, u"note", fixes.notes[n].message);
    };
    for (const fix::Change &change : fixes.changes) {
        addNotesBefore(change.from);
        begin(change.from, change.to, Warning, u"magic-number");
        appendChangeMessage(body, change);
        body += '}';
    }
    addNotesBefore(std::numeric_limits<qsizetype>::max());
    body += "]}}";
    // The header apart: the body, megabytes of it, is not copied.
    m_send("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
    m_send(body);
}

QByteArray Server::rawTextEdits(const Document &document, std::span<const fix::Change> changes) const
{
    // Written out directly, as the diagnostics are: the changes come in
    // order, and their lines are found walking on.
    QByteArray edits = "[";
    edits.reserve(qsizetype(100 * changes.size()) + 2);
    qsizetype line = 0;
    for (const fix::Change &change : changes) {
        edits += edits.size() > 1 ? R"(,{"range":)" : R"({"range":)";
        appendRange(edits, document.text, change.from, change.to, m_encoding, &line);
        edits += R"(,"newText":)";
        appendJsonString(edits, change.replacement);
        edits += '}';
    }
    return edits + ']';
}

QJsonObject Server::edit(const QString &uri, const Document &document, std::span<const fix::Change> changes) const
{
    return {{u"changes"_s, QJsonObject{{uri, QJsonDocument::fromJson(rawTextEdits(document, changes)).array()}}}};
}

qsizetype Server::offsetOf(const Document &document, const QJsonValue &position) const
{
    return document.text.offsetAt({position[u"line"_s].toInt(), position[u"character"_s].toInt()}, m_encoding);
}

QByteArray Server::codeActions(const QJsonObject &params)
{
    const QString uri = params.value(u"textDocument"_s).toObject().value(u"uri"_s).toString();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end())
        return "[]";
    Document &document = *found;
    const fix::ModuleFixes &fixes = fixesOf(document);
    const QJsonObject range = params.value(u"range"_s).toObject();
    const auto offset = [&](const QString &name) {
        const QJsonObject p = range.value(name).toObject();
        return document.text.offsetAt({p.value(u"line"_s).toInt(), p.value(u"character"_s).toInt()}, m_encoding);
    };
    const qsizetype from = offset(u"start"_s);
    const qsizetype to = std::max(from, offset(u"end"_s));
    const QJsonArray only = params.value(u"context"_s).toObject().value(u"only"_s).toArray();
    QByteArray actions = "[";
    const auto append = [&](const QByteArray &action) {
        if (actions.size() > 1)
            actions += ',';
        actions += action;
    };
    const auto json = [](const QJsonObject &action) { return QJsonDocument(action).toJson(QJsonDocument::Compact); };
    if (kindWanted(u"quickfix"_s, only)) {
        for (std::size_t i = 0; i < fixes.changes.size(); ++i) {
            const fix::Change &change = fixes.changes[i];
            if (change.to < from || change.from > to)
                continue;
            append(json({
                {u"title"_s, QString(u"Name it: "_s + change.replacement.trimmed())},
                {u"kind"_s, u"quickfix"_s},
                {u"isPreferred"_s, true},
                {u"diagnostics"_s, QJsonArray{changeDiagnostic(document, change)}},
                {u"edit"_s, edit(uri, document, std::span(fixes.changes).subspan(i, 1))},
            }));
        }
    }
    const QString fixAll = QString::fromUtf16(FixAllKind);
    if (!fixes.changes.empty() && kindWanted(fixAll, only)) {
        QJsonObject action{{u"title"_s, u"Name every message box number (quillkit98 fix)"_s}, {u"kind"_s, fixAll}};
        // Offered at each move of the cursor, its edit (every number of the
        // module) is made only when chosen, where the client asks for it then.
        if (m_resolveEdits && only.isEmpty()) {
            action.insert(u"data"_s, QJsonObject{{u"uri"_s, uri}, {u"version"_s, document.version}});
            append(json(action));
        } else {
            QByteArray whole = json(action);
            whole.chop(1);
            whole += R"(,"edit":{"changes":{)";
            appendJsonString(whole, uri);
            whole += ':' + rawTextEdits(document, fixes.changes) + "}}}";
            append(whole);
        }
    }
    if (only.isEmpty() && document.refusal.isEmpty() && !document.xml) {
        const Position at = document.text.positionAt(from, m_encoding);
        const QJsonObject place{{u"line"_s, at.line}, {u"character"_s, at.character}};
        const auto command = [&](const QString &title, const char16_t *name, QJsonArray arguments) {
            append(json({{u"title"_s, title},
                         {u"command"_s, QJsonObject{{u"title"_s, title},
                                                    {u"command"_s, QString::fromUtf16(name)},
                                                    {u"arguments"_s, arguments}}}}));
        };
        // Offered only where the window would read exactly this construct.
        if (from < to) {
            const ReadResult read = readCode(document.text.text().sliced(from, to - from), m_tools);
            if (read.ok())
                command(u"Edit in Quillkit 98: %1"_s.arg(read.tool->caption), OpenInWindowCommand,
                        {uri, params.value(u"range"_s)});
        } else {
            const std::optional<CallReading> call = callAt(document, from, true);
            if (call && !call->windowText.isEmpty())
                command(u"Edit in Quillkit 98"_s, OpenInWindowCommand, {uri, place});
        }
        for (const Tool &tool : m_tools) {
            // "message boxes": one of them.
            const QString one = tool.subject.chopped(tool.subject.endsWith(u"xes"_s) ? 2 : 1);
            command(u"Insert from Quillkit 98: %1 (%2)"_s.arg(tool.caption, one), InsertFromWindowCommand,
                    {uri, place, tool.cli.name});
        }
    }
    return actions + ']';
}

namespace {

// Where [from, to] of the text before the edits is now; nothing where an
// edit touched it.
std::optional<std::pair<qsizetype, qsizetype>> afterEdits(std::span<const Server::TextEdit> edits, qsizetype from,
                                                          qsizetype to)
{
    for (const Server::TextEdit &edit : edits) {
        if (edit.from <= to && edit.to >= from)
            return std::nullopt;
        if (edit.to < from) {
            from += edit.length - (edit.to - edit.from);
            to += edit.length - (edit.to - edit.from);
        }
    }
    return std::pair{from, to};
}

} // namespace

QJsonValue Server::hover(const QJsonObject &params)
{
    const QString uri = params.value(u"textDocument"_s).toObject().value(u"uri"_s).toString();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end())
        return QJsonValue::Null;
    Document &document = *found;
    const qsizetype offset = offsetOf(document, params.value(u"position"_s));
    const auto contents = [](const QString &markdown) {
        return QJsonObject{{u"kind"_s, u"markdown"_s}, {u"value"_s, markdown}};
    };
    const auto numberHover = [&](const fix::Change &change, qsizetype from, qsizetype to) {
        const QString names = change.replacement.trimmed();
        QString markdown = u"`%1` = `%2`"_s.arg(oneLine(change.original), names);
        if (const QString meaning = meaningOfNames(names); !meaning.isEmpty())
            markdown += u": "_s + meaning;
        return QJsonObject{{u"contents"_s, contents(markdown)}, {u"range"_s, range(document, from, to)}};
    };
    // While the text waits for its check, a number that no edit since has
    // touched means what it meant: answered at once from the last check.
    if (!document.checked && document.previous && !document.lost && !document.xml && !document.nulSince
        && document.text.text().size() <= MaxDocumentLength) {
        for (const fix::Change &change : document.check.fixes().changes) {
            const auto now = afterEdits(document.edits, change.from, change.to);
            if (now && now->first <= offset && offset <= now->second)
                return numberHover(change, now->first, now->second);
        }
    }
    const fix::ModuleFixes &fixes = fixesOf(document);
    if (!document.refusal.isEmpty())
        return QJsonValue::Null;
    const auto change = std::find_if(fixes.changes.cbegin(), fixes.changes.cend(),
                                     [&](const fix::Change &c) { return c.from <= offset && offset <= c.to; });
    if (change != fixes.changes.cend())
        return numberHover(*change, change->from, change->to);
    // A call is read from Basic text as the editor holds it, which an .xba's is not.
    if (document.xml)
        return QJsonValue::Null;
    const std::optional<CallReading> call = callAt(document, offset, false);
    if (!call)
        return QJsonValue::Null;
    return QJsonObject{{u"contents"_s, contents(callMarkdown(*call))}, {u"range"_s, range(document, call->begin, call->end)}};
}

QByteArray Server::willSaveWaitUntil(const QJsonObject &params)
{
    // Only a save the user makes, and only when asked for.
    if (!m_fixOnSave || params.value(u"reason"_s).toInt() == SaveAfterDelay)
        return "[]";
    const auto found = m_documents.find(params.value(u"textDocument"_s)[u"uri"_s].toString());
    if (found == m_documents.end())
        return "[]";
    Document &document = *found;
    const fix::ModuleFixes &fixes = fixesOf(document);
    if (!document.refusal.isEmpty())
        return "[]";
    return rawTextEdits(document, fixes.changes);
}

QJsonValue Server::documentSymbols(const QJsonObject &params)
{
    const QString uri = params.value(u"textDocument"_s)[u"uri"_s].toString();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end())
        return QJsonArray();
    Document &document = *found;
    fixesOf(document);
    if (!document.refusal.isEmpty())
        return QJsonArray();
    const std::optional<XbaText> xba = document.xml ? basicOfXba(document.text.text()) : std::nullopt;
    std::vector<Symbol> made;
    const std::vector<Symbol> *symbols = &made;
    try {
        // Kept up with the check where it is one of the text.
        if (!xba && document.dialect != basic::Dialect::Gambas)
            symbols = &document.check.outline(document.text.text());
        else
            made = moduleSymbols(xba ? QStringView(xba->basic) : QStringView(document.text.text()),
                                 !xba && document.dialect == basic::Dialect::Gambas);
    } catch (const basic::Refusal &refusal) {
        log(u"no symbols for %1: %2"_s.arg(uri, refusal.message));
        return QJsonArray();
    }
    const auto inFile = [&](qsizetype pos) {
        return xba ? xba->fileOffsets[std::size_t(std::clamp<qsizetype>(pos, 0, xba->basic.size()))] : pos;
    };
    QJsonArray result;
    const std::function<void(const Symbol &, const QString &, QJsonArray &)> add =
        [&](const Symbol &symbol, const QString &container, QJsonArray &into) {
            const QJsonObject whole = range(document, inFile(symbol.begin), inFile(symbol.end));
            QJsonObject json{{u"name"_s, symbol.name}, {u"kind"_s, int(symbol.kind)}};
            if (m_hierarchicalSymbols) {
                json.insert(u"detail"_s, symbol.detail);
                json.insert(u"range"_s, whole);
                json.insert(u"selectionRange"_s, range(document, inFile(symbol.nameBegin), inFile(symbol.nameEnd)));
                QJsonArray children;
                for (const Symbol &child : symbol.children)
                    add(child, symbol.name, children);
                if (!children.isEmpty())
                    json.insert(u"children"_s, children);
                into.append(json);
                return;
            }
            // The flat form, for clients without the hierarchy.
            json.insert(u"location"_s, QJsonObject{{u"uri"_s, uri}, {u"range"_s, whole}});
            if (!container.isEmpty())
                json.insert(u"containerName"_s, container);
            into.append(json);
            for (const Symbol &child : symbol.children)
                add(child, symbol.name, into);
        };
    for (const Symbol &symbol : *symbols)
        add(symbol, QString(), result);
    return result;
}

namespace {

// The tool's code as `generate` writes it for no options but the module's
// dialect and names: the tool fresh, whatever the window held before.
QString freshCode(const Tool &tool, const QString &dialect, QString *failure)
{
    QCommandLineParser parser;
    QBuffer none;
    ToolOptions options(parser, none);
    tool.cli.declare(options);
    if (!parser.parse({u"quillkit98"_s, u"--constants"_s, u"names"_s, u"--dialect"_s, dialect})) {
        *failure = parser.errorText();
        return {};
    }
    try {
        options.checkGiven();
        if (!tool.cli.write)
            return tool.cli.generate(options);
        QStringList lines;
        tool.cli.write(options, [&](QString &&line) { lines << std::move(line); });
        return lines.join(u"\r\n"_s) + u"\r\n"_s;
    } catch (const CliError &error) {
        *failure = error.message;
        return {};
    }
}

} // namespace

QJsonValue Server::resolveCodeAction(QJsonObject action)
{
    const QString uri = action.value(u"data"_s)[u"uri"_s].toString();
    const auto found = m_documents.find(uri);
    // Only the fix-all waits to be resolved, and only for the text it was offered for.
    if (found == m_documents.end() || found->version != action.value(u"data"_s)[u"version"_s].toInt()
        || action.value(u"kind"_s).toString() != QString::fromUtf16(FixAllKind))
        return action;
    Document &document = *found;
    action.insert(u"edit"_s, edit(uri, document, fixesOf(document).changes));
    return action;
}

QJsonValue Server::completion(const QJsonObject &params)
{
    const auto found = m_documents.find(params.value(u"textDocument"_s)[u"uri"_s].toString());
    if (found == m_documents.end() || found->lost || found->xml)
        return QJsonValue::Null;
    const Document &document = *found;
    const qsizetype offset = offsetOf(document, params.value(u"position"_s));
    std::optional<std::vector<Completion>> items;
    for (const Tool &tool : m_tools) {
        if (tool.completions && !items)
            items = tool.completions(document.text.text(), offset, document.dialect);
    }
    if (!items)
        return QJsonValue::Null;
    QJsonArray list;
    int n = 0;
    for (const Completion &item : *items) {
        list.append(QJsonObject{{u"label"_s, item.label},
                                {u"kind"_s, 21}, // Constant
                                {u"detail"_s, item.detail},
                                {u"documentation"_s, item.documentation},
                                {u"sortText"_s, u"%1 %2"_s.arg(item.group).arg(n++, 3, 10, QChar(u'0'))}});
    }
    return QJsonObject{{u"isIncomplete"_s, false}, {u"items"_s, list}};
}

QJsonValue Server::signatureHelp(const QJsonObject &params)
{
    const auto found = m_documents.find(params.value(u"textDocument"_s)[u"uri"_s].toString());
    if (found == m_documents.end() || found->lost || found->xml)
        return QJsonValue::Null;
    const Document &document = *found;
    QStringList words;
    for (const Tool &tool : m_tools) {
        if (tool.signature)
            words += tool.callWords;
    }
    const std::optional<OpenCall> call =
        openCallAt(document.text.text(), offsetOf(document, params.value(u"position"_s)), words);
    const Tool *tool = call ? toolCalledBy(m_tools, call->word) : nullptr;
    const std::optional<CallSignature> signature = tool ? tool->signature(document.dialect) : std::nullopt;
    if (!signature)
        return QJsonValue::Null;
    const int active = activeParameter(*call, *signature);
    QJsonArray parameters;
    for (int i = 0; i < signature->parameters.size(); ++i) {
        parameters.append(QJsonObject{{u"label"_s, signature->parameters[i]},
                                      {u"documentation"_s, signature->parameterDocs.value(i)}});
    }
    return QJsonObject{{u"signatures"_s, QJsonArray{QJsonObject{{u"label"_s, signature->label},
                                                                {u"documentation"_s, signature->documentation},
                                                                {u"parameters"_s, parameters},
                                                                {u"activeParameter"_s, active}}}},
                       {u"activeSignature"_s, 0},
                       {u"activeParameter"_s, active}};
}

QByteArray Server::codeLenses(const QJsonObject &params)
{
    const QString uri = params.value(u"textDocument"_s)[u"uri"_s].toString();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end() || found->lost || found->xml)
        return "[]";
    const Document &document = *found;
    // Written out directly: a large module has tens of thousands of lenses.
    QByteArray lenses = "[";
    QByteArray quotedUri;
    appendJsonString(quotedUri, uri);
    qsizetype line = 0;
    std::vector<CallLens> all;
    for (const Tool &tool : m_tools) {
        if (tool.lenses) {
            std::vector<CallLens> found = tool.lenses(document.text.text(), document.dialect);
            all.insert(all.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const CallLens &a, const CallLens &b) { return a.call < b.call; });
    for (const CallLens &lens : all) {
        QByteArray place;
        appendPosition(place, document.text, lens.call, m_encoding, &line);
        const auto add = [&](QStringView title, QStringView command) {
            lenses += lenses.size() > 1 ? ",{" : "{";
            lenses += R"("range":{"start":)" + place + R"(,"end":)" + place + R"(},"command":{"title":)";
            appendJsonString(lenses, title);
            lenses += R"(,"command":)";
            appendJsonString(lenses, command);
            if (!command.isEmpty())
                lenses += R"(,"arguments":[)" + quotedUri + ',' + place + ']';
            lenses += "}}";
        };
        add(lens.title, {});
        add(u"Edit", OpenInWindowCommand);
        add(u"Test", TestInWindowCommand);
    }
    return lenses + ']';
}

std::optional<CallReading> Server::callAt(Document &document, qsizetype offset, bool forWindow)
{
    fixesOf(document); // the check of this text says where a procedure reads alone
    return readCallIn(document.check, document.text.text(), offset, m_tools, {m_dialect, {}}, forWindow);
}

QString Server::callToEdit(Document &document, qsizetype offset, Editing &editing, QJsonObject &request)
{
    const QString &text = document.text.text();
    const std::optional<CallReading> call = callAt(document, offset, true);
    if (!call)
        return u"no message box or input box call is there"_s;
    if (!call->result.ok())
        return call->result.error->text();
    if (call->windowText.isEmpty())
        return u"the window would read other code before this call; select the call and edit the selection"_s;
    const std::optional<CallSite> site = callSiteIn(text, call->begin, call->end, offset, *call->result.tool);
    if (!site)
        return u"the call's parentheses are not closed"_s;
    editing.tool = call->result.tool->cli.name;
    editing.form = site->parenthesized ? Editing::Form::Call : Editing::Form::Statement;
    editing.from = site->begin;
    editing.to = site->end;
    editing.words = site->words;
    request.insert(u"code"_s, call->windowText);
    return {};
}

void Server::executeCommand(const QJsonValue &id, const QJsonObject &params)
{
    const QString command = params.value(u"command"_s).toString();
    const QJsonArray arguments = params.value(u"arguments"_s).toArray();
    const auto fail = [&](int code, const QString &why) {
        respondError(id, code, why);
        notify(u"window/showMessage"_s, {{u"type"_s, 1}, {u"message"_s, QString(u"Quillkit 98: "_s + why)}});
    };
    const bool edit = command == QString::fromUtf16(OpenInWindowCommand);
    const bool test = command == QString::fromUtf16(TestInWindowCommand);
    const bool insert = command == QString::fromUtf16(InsertFromWindowCommand);
    if (!edit && !test && !insert) {
        respondError(id, InvalidParams, u"unknown command: "_s + command);
        return;
    }
    const QString uri = arguments.at(0).toString();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end()) {
        fail(RequestFailed, u"the document is not open"_s);
        return;
    }
    Document &document = *found;
    fixesOf(document);
    if (!document.refusal.isEmpty()) {
        fail(RequestFailed, document.refusal);
        return;
    }
    if (document.xml) {
        fail(RequestFailed, u"an .xba file is read in the window from its module exported as .bas"_s);
        return;
    }
    const QString &text = document.text.text();
    const QJsonValue where = arguments.at(1);
    const bool isRange = where[u"start"_s].isObject();
    const qsizetype from = offsetOf(document, isRange ? where[u"start"_s] : where);
    const qsizetype to = isRange ? std::max(from, offsetOf(document, where[u"end"_s])) : from;
    const QString dialect = document.dialect == basic::Dialect::LibreOffice ? u"libreoffice"_s : u"vb"_s;
    const Position at = document.text.positionAt(from, m_encoding);
    const QString label = u"%1, line %2"_s.arg(QUrl(uri).fileName(), QString::number(at.line + 1));
    Editing editing;
    editing.uri = uri;
    editing.version = document.version;
    QJsonObject request{{u"dialect"_s, dialect}, {u"label"_s, label}};
    const qsizetype lineStart = document.text.offsetAt({at.line, 0}, m_encoding);
    qsizetype indentEnd = lineStart;
    while (indentEnd < text.size() && (text[indentEnd] == u' ' || text[indentEnd] == u'\t'))
        ++indentEnd;
    editing.indentation = text.sliced(lineStart, indentEnd - lineStart);
    editing.lineEnd = lineEndOf(text);
    if (insert) {
        const Tool *tool = toolNamed(m_tools, arguments.at(2).toString());
        if (!tool) {
            respondError(id, InvalidParams, u"no such tool: "_s + arguments.at(2).toString());
            return;
        }
        editing.tool = tool->cli.name;
        editing.form = Editing::Form::Insert;
        const qsizetype lineEnd = document.text.offsetAt({at.line, std::numeric_limits<int>::max()}, m_encoding);
        // On a blank line the code takes the line's place; else it goes above.
        editing.blankLine = text.sliced(lineStart, lineEnd - lineStart).trimmed().isEmpty();
        editing.from = lineStart;
        editing.to = editing.blankLine ? lineEnd : lineStart;
        QString failure;
        const QString code = freshCode(*tool, dialect, &failure);
        if (code.isEmpty()) {
            fail(RequestFailed, failure);
            return;
        }
        request.insert(u"method"_s, u"insert"_s);
        request.insert(u"tool"_s, tool->cli.name);
        request.insert(u"code"_s, code);
    } else if (from < to) {
        // A selection: the construct is exactly what is selected.
        const QString selected = text.sliced(from, to - from);
        const ReadResult read = readCode(selected, m_tools);
        if (!read.ok()) {
            fail(RequestFailed, u"the selection cannot be read into the window: "_s + read.error->text());
            return;
        }
        editing.tool = read.tool->cli.name;
        editing.form = Editing::Form::Block;
        editing.from = from;
        editing.to = to;
        // Selected from the line's start, its indentation goes too and comes back.
        editing.indentFirst = from == lineStart;
        request.insert(u"method"_s, test ? u"test"_s : u"edit"_s);
        request.insert(u"code"_s, selected);
    } else if (const QString why = callToEdit(document, from, editing, request); !why.isEmpty()) {
        fail(RequestFailed, why);
        return;
    } else {
        request.insert(u"method"_s, test ? u"test"_s : u"edit"_s);
    }
    if (!m_window) {
        fail(RequestFailed, u"the window cannot be started from here"_s);
        return;
    }
    QString failure;
    if (!m_window(request, &failure)) {
        fail(RequestFailed, u"the window could not be started: "_s + failure);
        return;
    }
    // A box tried out is no construct to put back: Apply waits for an edit.
    if (test)
        m_editing.reset();
    else
        m_editing = editing;
    // Answered when the window shows it, or fails to.
    m_windowWaiting << id;
}

void Server::fromWindow(const QJsonObject &message)
{
    const QString method = message.value(u"method"_s).toString();
    if (method == u"ready"_s) {
        for (const QJsonValue &id : std::exchange(m_windowWaiting, {}))
            respond(id, QJsonValue::Null);
        return;
    }
    if (method != u"apply"_s || m_shutdown)
        return;
    const auto tell = [&](const QString &why) {
        log(why);
        notify(u"window/showMessage"_s, {{u"type"_s, Warning}, {u"message"_s, QString(u"Quillkit 98: "_s + why)}});
    };
    if (!m_editing) {
        tell(u"the window's code has no place in the editor: choose Edit or Insert from Quillkit 98 first"_s);
        return;
    }
    const Editing editing = *std::exchange(m_editing, std::nullopt);
    const auto found = m_documents.find(editing.uri);
    if (found == m_documents.end()) {
        tell(u"the document was closed in the editor: the window's code is not applied"_s);
        return;
    }
    Document &document = *found;
    if (document.version != editing.version || document.lost) {
        tell(u"the document changed in the editor while the window was open: the window's code is not applied. "
             u"Edit in Quillkit 98 again."_s);
        return;
    }
    const QString code = message.value(u"code"_s).toString();
    const Tool *tool = toolNamed(m_tools, message.value(u"tool"_s).toString());
    QString replacement;
    switch (editing.form) {
    case Editing::Form::Call:
    case Editing::Form::Statement: {
        QString why;
        const std::optional<QString> arguments =
            tool && tool->cli.name == editing.tool ? callArguments(code, *tool, &why) : std::nullopt;
        if (!arguments) {
            tell(why.isEmpty() ? u"the window now holds another tool's code: it is not applied"_s
                               : why + u"; nothing is applied"_s);
            return;
        }
        const QString args = reindented(*arguments, editing.indentation, editing.lineEnd, false);
        replacement = editing.form == Editing::Form::Call ? editing.words + u'(' + args + u')'
                      : args.isEmpty()                    ? editing.words
                                                          : editing.words + u' ' + args;
        break;
    }
    case Editing::Form::Block:
        replacement = reindented(code, editing.indentation, editing.lineEnd, editing.indentFirst);
        break;
    case Editing::Form::Insert:
        replacement = reindented(code, editing.indentation, editing.lineEnd, true);
        if (!editing.blankLine)
            replacement += editing.lineEnd;
        break;
    }
    const QJsonObject change{{u"range"_s, range(document, editing.from, editing.to)}, {u"newText"_s, replacement}};
    QJsonObject edit;
    if (m_versionedEdits) {
        edit.insert(u"documentChanges"_s,
                    QJsonArray{QJsonObject{
                        {u"textDocument"_s, QJsonObject{{u"uri"_s, editing.uri}, {u"version"_s, editing.version}}},
                        {u"edits"_s, QJsonArray{change}}}});
    } else {
        edit.insert(u"changes"_s, QJsonObject{{editing.uri, QJsonArray{change}}});
    }
    request(u"workspace/applyEdit"_s, {{u"label"_s, u"Quillkit 98"_s}, {u"edit"_s, edit}},
            [this, tell](const QJsonObject &response) {
                if (!response.value(u"result"_s)[u"applied"_s].toBool())
                    tell(u"the editor did not apply the window's code: "_s
                         + response.value(u"result"_s)[u"failureReason"_s].toString(
                             response.value(u"error"_s)[u"message"_s].toString(u"no reason given"_s)));
            });
}

void Server::windowEnded(const QString &why)
{
    m_editing.reset();
    const QList<QJsonValue> waiting = std::exchange(m_windowWaiting, {});
    if (waiting.isEmpty())
        return;
    const QString message = u"the window could not be started: "_s + why;
    for (const QJsonValue &id : waiting)
        respondError(id, RequestFailed, message);
    notify(u"window/showMessage"_s, {{u"type"_s, 1}, {u"message"_s, QString(u"Quillkit 98: "_s + message)}});
}

} // namespace lsp
