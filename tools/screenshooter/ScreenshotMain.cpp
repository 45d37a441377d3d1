// Starts the configurator as the program does, sets a scene up through the main
// window's own actions and saves a picture of the whole screen.
//
//   vantor5-screenshot OUT.png [SCENE [FILE.vt5...]]
// Scenes: windows (two device windows and the tab strip; the default), file-menu,
// new-menu, settings, about; rudex, navet, orsin (a new window of the device,
// maximized), orsin-eth (with its Ethernet page shown), orsin-menu (two controllers,
// the output menu open); the Pelmar-3 scenes of PelmarScenes.h. Files given are
// opened instead of the new windows.

#include "app/AppDataPaths.h"
#include "app/Startup.h"
#include "app/UMain.h"
#include "devices/orsin/OrsinOutputMenu.h"
#include "devices/orsin/UConfOrsin.h"

#include "PelmarScenes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {

void Trigger(vantor::TfmMain &main, const char *name)
{
    if (auto *action = main.findChild<QAction *>(QString::fromLatin1(name)))
        action->trigger();
    else
        std::fprintf(stderr, "vantor5-screenshot: no action %s\n", name);
}

void SaveScreen(const QString &path)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    const QPixmap picture = screen->grabWindow(0);
    if (!picture.save(path, "PNG")) {
        std::fprintf(stderr, "vantor5-screenshot: cannot write %s\n", qPrintable(path));
        QCoreApplication::exit(1);
        return;
    }
    QCoreApplication::exit(0);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vantor::InstallRussianTranslations(app);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: vantor5-screenshot OUT.png [windows|file-menu|new-menu|settings|about]\n");
        return 2;
    }
    const QString out = args.at(1);
    const QString scene = args.size() > 2 ? args.at(2) : QStringLiteral("windows");

    vantor::ApplicationSession session;
    vantor::StartupOptions options;
    options.programFolder = vantor::ProgramFolder();
    if (!session.Start(options))
        return 1;
    vantor::TfmMain &main = *session.mainWindow();
    main.setGeometry(QGuiApplication::primaryScreen()->availableGeometry().adjusted(0, 0, -0, -0));

    const QStringList files = args.mid(3);
    const QMap<QString, const char *> deviceScenes = {
        {QStringLiteral("rudex"), "actNewRudex"},      {QStringLiteral("navet"), "actNewNavet"},
        {QStringLiteral("orsin"), "actNewOrsin"},      {QStringLiteral("orsin-eth"), "actNewOrsin"},
        {QStringLiteral("orsin-menu"), "actNewOrsin"},
    };
    if (files.isEmpty() && IsPelmarScene(scene)) {
        SetUpPelmarScene(main, scene);
    } else if (files.isEmpty() && deviceScenes.contains(scene)) {
        Trigger(main, deviceScenes.value(scene));
        if (QWidget *window = main.activeDeviceWindow())
            if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
                sub->showMaximized();
    } else if (files.isEmpty()) {
        Trigger(main, "actNewVantor");
        Trigger(main, "actNewNavet");
    }
    for (const QString &file : files)
        main.OpenConfigFile(file);

    QTimer::singleShot(600, &main, [&main, scene, out] {
        if (scene == QLatin1String("file-menu")) {
            QMenu *file = main.findChild<QMenu *>(QStringLiteral("miFile"));
            main.menuBar()->setActiveAction(file->menuAction());
            QTimer::singleShot(300, [file] {
                if (auto *sub = file->findChild<QMenu *>(QStringLiteral("miNewConfiguration")))
                    file->setActiveAction(sub->menuAction());
            });
        } else if (scene == QLatin1String("new-menu")) {
            if (auto *button = main.findChild<QToolButton *>(QStringLiteral("btnNew")))
                button->showMenu();
        } else if (scene == QLatin1String("settings")) {
            Trigger(main, "actSettings");
        } else if (scene == QLatin1String("about")) {
            Trigger(main, "actShowAbout");
        } else if (auto *orsin = qobject_cast<vantor::TfmConfOrsin *>(main.activeDeviceWindow())) {
            if (scene == QLatin1String("orsin-eth")) {
                orsin->findChild<QCheckBox *>(QStringLiteral("cbEthernet"))->click();
                orsin->findChild<QCheckBox *>(QStringLiteral("cbServer"))->click();
                orsin->findChild<QTabWidget *>(QStringLiteral("pgcMain"))->setCurrentIndex(1);
            } else if (scene == QLatin1String("orsin-menu")) {
                orsin->findChild<QSpinBox *>(QStringLiteral("edControllersCount"))->setValue(2);
                orsin->findChild<QPushButton *>(QStringLiteral("btnConfApply"))->click();
                orsin->OpenOutputMenu(2);
                QTimer::singleShot(300, orsin, [orsin] {
                    vantor::orsin::OrsinOutputMenu *menu = orsin->outputMenu();
                    const QList<QAction *> items = menu->actions();
                    if (items.size() > 3)
                        menu->setActiveAction(items[3]); // "Контроллер №2"
                });
            }
        }
    });
    // Modal scenes block their trigger, so the picture is taken by a timer set first.
    QTimer::singleShot(1800, [out] { SaveScreen(out); });
    QTimer::singleShot(2200, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->reject();
        QApplication::closeAllWindows();
    });
    return QApplication::exec();
}
