// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CommonDialog.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr char ChildArgument[] = "--open-every-dialog";

// The child: opens and closes every dialog the program shows through its
// platform, as a user would (in the colour dialog, adding a custom colour
// first), then ends normally.
int openEveryDialog(int argc, char **argv)
{
    QApplication app(argc, argv);
    QtPlatform platform;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto *colors = qobject_cast<QColorDialog *>(dialog)) {
            for (QPushButton *button : colors->findChildren<QPushButton *>()) {
                if (button->text() == QColorDialog::tr("&Add to Custom Colors"))
                    button->click();
            }
        }
        if (auto *files = qobject_cast<QFileDialog *>(dialog))
            files->setViewMode(QFileDialog::List);
        dialog->reject();
    });
    closer.start();
    const auto component = platform.createCommonDialog(nullptr);
    component->setFilter(u"Text|*.txt|"_s);
    component->showOpen();
    component->showSave();
    component->showOpen();
    component->showFont();
    component->showColor();
    component->showPrinter();
    return 0;
}

// Every file and folder under `root`, relative to it.
QStringList contents(const QString &root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(root).relativeFilePath(it.next());
    return found;
}

#if defined(Q_OS_WIN)
// Every key and value a program could leave under HKEY_CURRENT_USER\Software,
// empty keys included; the system's own keys are left out.
void listRegistry(QSettings &settings, const QString &path, QStringList &found)
{
    for (const QString &key : settings.childKeys())
        found << path + key + u'=' + settings.value(key).toString();
    for (const QString &group : settings.childGroups()) {
        found << path + group + u'/';
        settings.beginGroup(group);
        listRegistry(settings, path + group + u'/', found);
        settings.endGroup();
    }
}

QStringList registry()
{
    QSettings software(u"HKEY_CURRENT_USER\\Software"_s, QSettings::NativeFormat);
    const QStringList system{u"Classes"_s, u"Microsoft"_s, u"Policies"_s, u"Wine"_s};
    QStringList found;
    for (const QString &group : software.childGroups()) {
        if (system.contains(group, Qt::CaseInsensitive))
            continue;
        found << group + u'/';
        software.beginGroup(group);
        listRegistry(software, group + u'/', found);
        software.endGroup();
    }
    return found;
}
#endif

} // namespace

class TestNoFilesLeft : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyDialogLeavesHomeAndConfigUntouched();
};

void TestNoFilesLeft::everyDialogLeavesHomeAndConfigUntouched()
{
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString home = scratch.filePath(u"home"_s);
    const QString config = scratch.filePath(u"config"_s);
    QVERIFY(QDir().mkpath(home));

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, home);
    environment.insert(u"XDG_CONFIG_HOME"_s, config);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
#if defined(Q_OS_WIN)
    const QStringList registryBefore = registry();
#endif
    // The child shows its dialogs where this test shows its windows.
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(ChildArgument), u"-platform"_s, QGuiApplication::platformName()});
    QVERIFY(child.waitForFinished(120'000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);

    QCOMPARE(contents(home), QStringList());
    QVERIFY2(!QFileInfo::exists(config), qPrintable(contents(config).join(u", "_s)));
#if defined(Q_OS_WIN)
    QCOMPARE(registry(), registryBefore);
#endif
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], ChildArgument) == 0)
        return openEveryDialog(argc, argv);
    QApplication app(argc, argv);
    TestNoFilesLeft test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_nofilesleft.moc"
