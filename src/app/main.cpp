// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/FirstShown.h"
#include "app/MainWindow.h"
#include "app/Pictures.h"
#include "app/QtOptions.h"
#include "app/StandardStreams.h"
#include "app/StartUp.h"
#include "app/Vendor.h"
#include "cli/Messages.h"
#include "cli/ToolOptions.h"
#include "platform/QtPlatform.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Without a display Qt would abort with a trace; say it in one line instead.
bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

// The platform plugin that Qt could not find at all, as its warning names it.
QString &missingPlatformPlugin()
{
    static QString name;
    return name;
}

// While the window system is being reached, Qt reports a failure as warnings
// and then a fatal error with an abort. Say it in one line and leave cleanly:
// a plugin that does not exist (QT_QPA_PLATFORM=bogus) is another fault than
// a display that cannot be reached.
void reportUnreachableDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        if (!missingPlatformPlugin().isNull()) {
            static const QString availableLead = u"Available platform plugins are: "_s;
            const qsizetype at = message.indexOf(availableLead);
            QString available;
            if (at >= 0) {
                available = message.mid(at + availableLead.size()).section(u'\n', 0, 0);
                if (available.endsWith(u'.'))
                    available.chop(1);
            }
            std::fprintf(stderr,
                         "quillkit98: the platform plugin '%s' is missing or unknown; check QT_QPA_PLATFORM%s, or "
                         "use 'quillkit98 generate'\n",
                         qPrintable(escapedControls(missingPlatformPlugin())),
                         available.isEmpty() ? "" : qPrintable(u" (available: %1)"_s.arg(escapedControls(available))));
        } else {
            std::fputs("quillkit98: cannot open the display; check DISPLAY or WAYLAND_DISPLAY, or use "
                       "'quillkit98 generate'\n",
                       stderr);
        }
        std::_Exit(EXIT_FAILURE);
    }
    const bool aboutThePlatform = context.category && QByteArrayView(context.category).startsWith("qt.qpa");
    static const QString notFound = u"Could not find the Qt platform plugin \""_s;
    if (aboutThePlatform && message.startsWith(notFound))
        missingPlatformPlugin() = message.mid(notFound.size()).section(u'"', 0, 0);
    if (!aboutThePlatform)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void setIdentity()
{
    QCoreApplication::setApplicationName(u"quillkit98"_s);
    QCoreApplication::setApplicationVersion(vendor::version());
    QCoreApplication::setOrganizationName(u"Quillkit"_s);
}

} // namespace

int main(int argc, char **argv)
{
    prepareStandardStreams();
    const QStringList arguments = programArguments(argc, argv);
    if (isHeadlessCommand(arguments)) {
        QCoreApplication app(argc, argv);
        setIdentity();
        QString failure;
        const std::unique_ptr<QIODevice> err = openStandardOutput(2, failure);
        if (!err)
            return EXIT_FAILURE;
        const std::unique_ptr<QIODevice> out = openStandardOutput(1, failure);
        if (!out) {
            err->write((u"quillkit98: cannot write the output: "_s + failure + u'\n').toUtf8());
            return EXIT_FAILURE;
        }
        const std::unique_ptr<QIODevice> in = openStandardInput(failure);
        if (!in) {
            err->write((u"quillkit98: cannot read standard input: "_s + failure + u'\n').toUtf8());
            return 2;
        }
        return runCommandLine(app.arguments(), *out, *err, *in);
    }

    // Qt's own options (-style, -platform, -reverse...) are QApplication's
    // to take; the program parses what it leaves.
    QString optionError;
    const std::optional<QStringList> ownArguments = withoutQtOptions(arguments, &optionError);
    const std::optional<WindowOptions> options =
        ownArguments ? parseWindowOptions(*ownArguments, &optionError) : std::nullopt;
    if (!options) {
        writeStandardError(cli::programMessage(optionError) + u'\n' + cli::tryHelp() + u'\n');
        return 2;
    }
    if (!hasDisplay()) {
        writeStandardError(u"quillkit98: no display found; set DISPLAY or WAYLAND_DISPLAY to start the window, or use "
                           "'quillkit98 generate'\n"_s);
        return EXIT_FAILURE;
    }

    releaseOwnConsole();
    const QtMessageHandler defaultHandler = qInstallMessageHandler(reportUnreachableDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(defaultHandler);
    setIdentity();
    installQtTranslations(app);
    QtPlatform platform;
    const auto window = startUp(platform, *options);
    // The other windows' icon, once the main window has painted: set before,
    // the main window would read its pictures on the way to its first paint.
    afterFirstPaint(*window, [] { QApplication::setWindowIcon(pictureIcon(u":/images/quillkit98.svg"_s)); });
    if (!options->readFile.isEmpty()) {
        QFile code(options->readFile);
        if (options->readFile == u"-"_s ? code.open(stdin, QIODevice::ReadOnly) : code.open(QIODevice::ReadOnly))
            window->readCode(QString::fromUtf8(code.readAll()));
    }
    // For the start-up benchmark only; an environment variable keeps it out
    // of the options a user sees.
    if (qEnvironmentVariableIsSet(ExitWhenShownVariable))
        exitWhenFirstShown(*window);
    return QApplication::exec();
}
