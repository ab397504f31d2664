#include "app/CommandLine.h"
#include "app/FirstShown.h"
#include "app/MainWindow.h"
#include "app/Pictures.h"
#include "app/StartUp.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

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

// While the window system is being reached, Qt reports a failure as warnings
// and then a fatal error with an abort. Say it in one line and leave cleanly.
void reportUnreachableDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs("quillkit98: cannot open the display; check DISPLAY or WAYLAND_DISPLAY, or use "
                   "'quillkit98 generate'\n",
                   stderr);
        std::_Exit(EXIT_FAILURE);
    }
    const bool aboutThePlatform = context.category && QByteArrayView(context.category).startsWith("qt.qpa");
    if (!aboutThePlatform)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void setIdentity()
{
    QCoreApplication::setApplicationName(u"quillkit98"_s);
    QCoreApplication::setApplicationVersion(u"98"_s);
    QCoreApplication::setOrganizationName(u"Quillkit"_s);
}

} // namespace

int main(int argc, char **argv)
{
    const QStringList arguments = argumentList(argc, argv);
    if (isHeadlessCommand(arguments)) {
        QCoreApplication app(argc, argv);
        setIdentity();
        QFile out, err, in;
        if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly)
            || !in.open(stdin, QIODevice::ReadOnly))
            return EXIT_FAILURE;
        return runCommandLine(app.arguments(), out, err, in);
    }

    QString optionError;
    const std::optional<WindowOptions> options = parseWindowOptions(arguments, &optionError);
    if (!options) {
        std::fprintf(stderr, "quillkit98: %s (see quillkit98 --help)\n", qPrintable(optionError));
        return 2;
    }
    if (!hasDisplay()) {
        std::fputs("quillkit98: no display found; set DISPLAY or WAYLAND_DISPLAY to start the window, or use "
                   "'quillkit98 generate'\n",
                   stderr);
        return EXIT_FAILURE;
    }

    const QtMessageHandler defaultHandler = qInstallMessageHandler(reportUnreachableDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(defaultHandler);
    setIdentity();
    QApplication::setWindowIcon(pictureIcon(u":/images/quillkit98.svg"_s));
    QtPlatform platform;
    const auto window = startUp(platform, *options);
    // For the start-up benchmark only; an environment variable keeps it out
    // of the options a user sees.
    if (qEnvironmentVariableIsSet(ExitWhenShownVariable))
        exitWhenFirstShown(*window);
    return QApplication::exec();
}
