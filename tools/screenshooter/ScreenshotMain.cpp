// Starts the configurator as the program does, sets a scene up through the main
// window's own actions and saves a picture of the whole screen.
//
//   vantor5-screenshot OUT.png [SCENE [FILE.vt5...]]
// Scenes: windows (two device windows and the tab strip; the default), file-menu,
// new-menu, settings, about; rudex, navet, orsin (a new window of the device,
// maximized), orsin-eth (with its Ethernet page shown), orsin-menu (two controllers,
// the output menu open); the Pelmar-3 scenes of PelmarScenes.h; programmer (the
// programmer window reading a configuration from the simulated device over a slow
// line), log (the same with its log window); vantor-general, vantor-groups,
// vantor-blocks and vantor-scheme show that page of the (maximised) Vantor-5 window of
// the file given, vantor-wiring-menu the context menu of a lamp. Files given are opened
// instead of the new windows.

#include "app/AppDataPaths.h"
#include "app/Startup.h"
#include "app/UMain.h"
#include "controller_editor/UConfVantor.h"
#include "devices/orsin/OrsinOutputMenu.h"
#include "devices/orsin/UConfOrsin.h"
#include "programming/mainprog.h"
#include "programming/pr_logFrm.h"

#include "PelmarScenes.h"
#include "PtyDevice.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <memory>

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

vantor::programming::TMainProgFrm *Programmer()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *programmer = qobject_cast<vantor::programming::TMainProgFrm *>(w);
            programmer && programmer->isVisible())
            return programmer;
    return nullptr;
}

// A device with a configuration of about 150 KB on a paced line (at 57600 baud a read
// takes half a minute, long enough to be caught in the middle).
std::unique_ptr<vantor::devsim::PtyDevice> StartSlowDevice(std::uint32_t baud)
{
    vantor::devsim::SimOptions options;
    auto device = std::make_unique<vantor::devsim::PtyDevice>(options, baud);
    std::string text = R"({"vantor5":{"name":"Ленина - Мира","groups":[)";
    for (int i = 0; i < 1500; ++i)
        text += std::string(i ? "," : "") + R"({"i":)" + std::to_string(i + 1) + R"(,"name":"Группа )" +
                std::to_string(i + 1) + R"(","kind":1,"heads":[1,2,3]})";
    text += "]}}";
    device->With([&](vantor::devsim::SimDevice &d) {
        d.StoreJson(text);
        return 0;
    });
    device->Start();
    qputenv("VANTOR5_EXTRA_PORTS", QByteArray::fromStdString(device->SlavePath()));
    return device;
}

// The command button, as soon as the session can take it.
void ClickWhenReady()
{
    vantor::programming::TMainProgFrm *programmer = Programmer();
    if (!programmer)
        return;
    if (programmer->Session().CanRunCommand())
        programmer->findChild<QPushButton *>(QStringLiteral("btnCommand"))->click();
    else
        QTimer::singleShot(50, &ClickWhenReady);
}

// Picks the simulator's port, connects and starts the read.
void StartReading(const QString &port, bool showLog)
{
    vantor::programming::TMainProgFrm *programmer = Programmer();
    if (!programmer) {
        std::fprintf(stderr, "vantor5-screenshot: no programmer window\n");
        return;
    }
    auto *ports = programmer->findChild<QComboBox *>(QStringLiteral("cbbPort"));
    ports->setCurrentIndex(std::max(0, ports->findData(port, Qt::ToolTipRole)));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (showLog) {
        programmer->move(screen.right() - programmer->frameGeometry().width() - 20, 60);
        programmer->findChild<QPushButton *>(QStringLiteral("btnShowLog"))->click();
        vantor::programming::TLogForm &log = programmer->LogForm();
        log.setGeometry(20, programmer->frameGeometry().bottom() + 20, 940,
                        screen.bottom() - programmer->frameGeometry().bottom() - 40);
    }
    programmer->findChild<QPushButton *>(QStringLiteral("btnConnect"))->click(); // returns once connected
    ClickWhenReady();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vantor::InstallRussianTranslations(app);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(
            stderr,
            "usage: vantor5-screenshot OUT.png [windows|file-menu|new-menu|settings|about|programmer|log]\n");
        return 2;
    }
    const QString out = args.at(1);
    const QString scene = args.size() > 2 ? args.at(2) : QStringLiteral("windows");

    const bool device = scene == QLatin1String("programmer") || scene == QLatin1String("log");
    const std::unique_ptr<vantor::devsim::PtyDevice> sim =
        device ? StartSlowDevice(scene == QLatin1String("log") ? 115200 : 57600) : nullptr;

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

    QTimer::singleShot(600, &main, [&main, &sim, device, scene, out] {
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
        } else if (device) {
            const QString port = QString::fromStdString(sim->SlavePath());
            QTimer::singleShot(400, [port, scene] { StartReading(port, scene == QLatin1String("log")); });
            Trigger(main, "actDevConfVantorRead");
        } else if (auto *vantor = qobject_cast<vantor::TfmConfVantor *>(main.activeDeviceWindow());
                   vantor && scene.startsWith(QLatin1String("vantor-"))) {
            if (QMdiSubWindow *frame = main.mdiArea()->activeSubWindow())
                frame->showMaximized();
            const bool wiring = scene == QLatin1String("vantor-wiring-menu");
            const QMap<QString, vantor::TfmConfVantor::Page> pages = {
                {QStringLiteral("vantor-groups"), vantor::TfmConfVantor::kSigGroupsPage},
                {QStringLiteral("vantor-blocks"), vantor::TfmConfVantor::kBlocksPage},
                {QStringLiteral("vantor-wiring-menu"), vantor::TfmConfVantor::kBlocksPage},
                {QStringLiteral("vantor-scheme"), vantor::TfmConfVantor::kSchemePage},
            };
            vantor->ShowPage(pages.value(scene, vantor::TfmConfVantor::kGeneralPage));
            // The context menu of the first lamp, with the first block's outputs.
            auto *heads = vantor->findChild<QAbstractItemView *>(QStringLiteral("vtSemaphores"));
            if (wiring && heads) {
                QTimer::singleShot(200, [heads] {
                    const QModelIndex lamp =
                        heads->model()->index(0, 0, heads->model()->index(0, 0, heads->model()->index(0, 0)));
                    emit heads->customContextMenuRequested(heads->visualRect(lamp).center());
                    QTimer::singleShot(200, [] {
                        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                            menu->setActiveAction(menu->actions().value(1));
                            QTest::keyClick(menu, Qt::Key_Right);
                        }
                    });
                });
            }
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
    const int shotAt = device ? 6000 : 1800;
    if (scene == QLatin1String("log"))
        QTimer::singleShot(shotAt - 200, [] {
            // The beginning of the session: connecting, the serial number, the read starting.
            if (vantor::programming::TMainProgFrm *programmer = Programmer())
                if (auto *text = programmer->LogForm().findChild<QPlainTextEdit *>(QStringLiteral("mmoLog")))
                    text->verticalScrollBar()->setValue(0);
        });
    QTimer::singleShot(shotAt, [out] { SaveScreen(out); });
    QTimer::singleShot(shotAt + 400, [] {
        if (vantor::programming::TMainProgFrm *programmer = Programmer())
            programmer->DisconnectDevice(); // no question about an operation cut short
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->reject();
        QApplication::closeAllWindows();
    });
    return QApplication::exec();
}
