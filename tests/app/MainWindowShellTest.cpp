// The main window around the device windows: tabs, captions, menus, status bar,
// settings, command line, relayed messages.
#include "MainWindowFixture.h"

#include "app/FileAssociation.h"
#include "app/MdiTabStrip.h"
#include "app/Startup.h"
#include "app/USettings.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolButton>

using namespace vantor;
using vantor::test::MainWindowTest;

namespace {

using Kind = ScriptedDialogs::Kind;

QStringList ActionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

TEST_F(MainWindowTest, TabCloseBoxAndDoubleClickCloseTheirWindow)
{
    // A bare window, captioned with the device's name.
    DeviceWindowOverride bare(kPelmarTag, [](QWidget *parent) { return new TfmBaseMDI(kPelmarTag, parent); });
    main_->NewConfiguration(kVantorTag);
    main_->NewConfiguration(kPelmarTag);
    main_->NewConfiguration(kNavetTag);
    MdiTabStrip *tabs = main_->tabStrip();
    ASSERT_EQ(tabs->count(), 3);
    QApplication::processEvents();

    // Clicks that are not a left click in a close box change nothing.
    QTest::mouseClick(tabs, Qt::RightButton, {}, tabs->closeBoxRect(0).center());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint(tabs->width() - 2, tabs->height() / 2));
    Flush();
    EXPECT_EQ(WindowCount(), 3);

    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->closeBoxRect(0).center());
    Flush();
    ASSERT_EQ(WindowCount(), 2);
    EXPECT_EQ(main_->deviceWindows().front()->deviceTag(), kPelmarTag);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Pelmar-3"));

    const QRect navet = tabs->tabRect(1);
    QTest::mouseDClick(tabs, Qt::LeftButton, {}, QPoint(navet.left() + 30, navet.center().y()));
    Flush();
    ASSERT_EQ(WindowCount(), 1);
    EXPECT_EQ(main_->deviceWindows().front()->deviceTag(), kPelmarTag);
    EXPECT_EQ(tabs->count(), 1);
    EXPECT_FALSE(main_->tabPanel()->isVisible());
}

TEST_F(MainWindowTest, TabMeasureFitsTheCaptionIconAndCloseBox)
{
    main_->NewConfiguration(kVantorTag);
    main_->NewConfiguration(kSolloTag);
    MdiTabStrip *tabs = main_->tabStrip();
    const int h = tabs->fontMetrics().height();
    for (int i = 0; i < tabs->count(); ++i) {
        QFont face = tabs->font();
        (i == tabs->currentIndex() ? face.setBold(true) : face.setItalic(true));
        const int expected = QFontMetrics(face).horizontalAdvance(tabs->tabText(i)) + 2 * h + 16;
        EXPECT_EQ(tabs->tabRect(i).width(), expected) << i;
        const QRect box = tabs->closeBoxRect(i);
        EXPECT_EQ(box.width(), h);
        EXPECT_EQ(box.right(), tabs->tabRect(i).right() - 2);
        EXPECT_EQ(box.top(), tabs->tabRect(i).top() + 4);
    }
}

TEST_F(MainWindowTest, SelectingATabActivatesItsWindowAndTheCaptionFollows)
{
    TfmBaseMDI *vantor = main_->NewConfiguration(kVantorTag);
    TfmBaseMDI *sollo = main_->NewConfiguration(kSolloTag);
    EXPECT_EQ(main_->activeDeviceWindow(), sollo);
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("Конфигуратор Vantor - 5 - Sollo-4"));

    main_->tabStrip()->setCurrentIndex(0);
    EXPECT_EQ(main_->activeDeviceWindow(), vantor);
    EXPECT_EQ(main_->currentDeviceType(), kVantorTag);
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("Конфигуратор Vantor - 5 - Новая конфигурация"));

    // A device window renames itself: its tab and the main caption follow.
    vantor->setWindowTitle(QStringLiteral("Площадь Победы"));
    EXPECT_EQ(main_->tabStrip()->tabText(0), QStringLiteral("Площадь Победы"));
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("Конфигуратор Vantor - 5 - Площадь Победы"));
    // A window in the background renames itself: only its tab changes.
    sollo->setWindowTitle(QStringLiteral("Переход у школы"));
    EXPECT_EQ(main_->tabStrip()->tabText(1), QStringLiteral("Переход у школы"));
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("Конфигуратор Vantor - 5 - Площадь Победы"));

    // While a modal device dialog runs, activation changes are not followed.
    main_->setActiveWindowTracking(false);
    main_->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(sollo->parentWidget()));
    EXPECT_EQ(main_->currentDeviceType(), kVantorTag);
    EXPECT_EQ(main_->tabStrip()->currentIndex(), 0);
    main_->setActiveWindowTracking(true);
}

TEST_F(MainWindowTest, BareDeviceWindowsHaveTheMinimumSizeAndDropTheirDocumentOnClose)
{
    TfmBaseMDI *window = main_->NewConfiguration(kNoDevice);
    EXPECT_EQ(window->deviceTag(), kNoDevice);
    EXPECT_EQ(main_->currentDeviceType(), kNoDevice);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Новая конфигурация"));
    EXPECT_GE(window->width(), 750);
    EXPECT_GE(window->height(), 540);
    EXPECT_EQ(window->minimumSize(), QSize(750, 540));
    EXPECT_FALSE(window->GetConfigJson());

    QString message;
    EXPECT_TRUE(window->LoadConfigJson(*json::ParseObject(R"({"x":1})"), message));
    EXPECT_TRUE(window->keptConfig());
    int closed = 0;
    QObject::connect(window, &TfmBaseMDI::childClosed, [&](TfmBaseMDI *w) {
        EXPECT_EQ(w, window);
        EXPECT_FALSE(w->keptConfig()); // freed before the main window hears of it
        ++closed;
    });
    window->parentWidget()->close();
    EXPECT_EQ(closed, 1);
    Flush();
    EXPECT_EQ(WindowCount(), 0);
}

TEST_F(MainWindowTest, MenusToolbarAndShortcuts)
{
    const QList<QAction *> bar = main_->menuBar()->actions();
    QStringList titles;
    for (const QAction *a : bar)
        titles << a->text();
    EXPECT_EQ(titles,
              (QStringList{QStringLiteral("Файл"), QStringLiteral("Сервис"), QStringLiteral("Устройство"),
                           QStringLiteral("Окна"), QStringLiteral("Справка")}));
    EXPECT_EQ(main_->deviceMenu()->menuAction()->statusTip(), QStringLiteral("Выбор устройства"));

    const QMenu *file = main_->findChild<QMenu *>(QStringLiteral("miFile"));
    EXPECT_EQ(ActionTexts(file),
              (QStringList{QStringLiteral("Новая конфигурация"), QStringLiteral("Открыть конфигурацию..."),
                           QStringLiteral("Сохранить конфигурацию как..."), QStringLiteral("-"),
                           QStringLiteral("Выход")}));
    const QStringList devices{QStringLiteral("Vantor-5"), QStringLiteral("Pelmar-3"),
                              QStringLiteral("Orsin-3"),  QStringLiteral("Rudex-2"),
                              QStringLiteral("Sollo-4"),  QStringLiteral("Navet")};
    const QMenu *fileNew = main_->findChild<QMenu *>(QStringLiteral("miNewConfiguration"));
    EXPECT_EQ(ActionTexts(main_->newConfigurationMenu()), devices);
    EXPECT_EQ(ActionTexts(fileNew), devices);
    // The File menu's copies keep the popup items' names with "Copy" and do the same.
    for (QAction *item : main_->newConfigurationMenu()->actions()) {
        auto *copy = fileNew->findChild<QAction *>(item->objectName() + QStringLiteral("Copy"));
        ASSERT_NE(copy, nullptr) << item->objectName().toStdString();
        EXPECT_EQ(copy->text(), item->text());
        EXPECT_EQ(copy->statusTip(), item->statusTip());
    }
    EXPECT_EQ(main_->findChild<QAction *>(QStringLiteral("miNewRudexCopy"))->statusTip(),
              QStringLiteral("Новая конфигурация Rudex"));
    main_->findChild<QAction *>(QStringLiteral("miNewRudexCopy"))->trigger();
    ASSERT_EQ(WindowCount(), 1);
    EXPECT_EQ(main_->deviceWindows().front()->deviceTag(), kRudexTag);
    EXPECT_EQ(main_->findChild<QAction *>(QStringLiteral("actNewRudex"))->text(), QStringLiteral("Rudex"));
    EXPECT_EQ(main_->findChild<QAction *>(QStringLiteral("actNewVantor"))->statusTip(),
              QStringLiteral("Новая конфигурация Vantor - 5"));

    const QMenu *windows = main_->findChild<QMenu *>(QStringLiteral("miWindows"));
    QMetaObject::invokeMethod(const_cast<QMenu *>(windows), "aboutToShow");
    const QStringList windowItems = ActionTexts(windows);
    EXPECT_EQ(windowItems.mid(0, 8),
              (QStringList{QStringLiteral("Каскадом"), QStringLiteral("Выровнять горизонтально"),
                           QStringLiteral("Выровнять вертикально"), QStringLiteral("Свернуть все"),
                           QStringLiteral("Упорядочить"), QStringLiteral("Закрыть окно"), QStringLiteral("-"),
                           QStringLiteral("Закрыть все")}));
    EXPECT_EQ(windowItems.mid(8),
              (QStringList{QStringLiteral("-"), QStringLiteral("&1 Контроллер электросчетчиков")}));

    EXPECT_EQ(main_->findChild<QAction *>(QStringLiteral("actShowAbout"))->shortcut(),
              QKeySequence(Qt::Key_F1));
    EXPECT_EQ(main_->findChild<QAction *>(QStringLiteral("actCloseAll"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_W));

    // Toolbar: new pops the device menu; open and save show no text.
    auto *btnNew = main_->findChild<QToolButton *>(QStringLiteral("btnNew"));
    ASSERT_NE(btnNew, nullptr);
    EXPECT_EQ(btnNew->menu(), main_->newConfigurationMenu());
    EXPECT_EQ(btnNew->popupMode(), QToolButton::InstantPopup);
    for (const char *name : {"btnOpen", "btnSave"}) {
        auto *button = main_->findChild<QToolButton *>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly) << name;
    }
    EXPECT_NE(main_->findChild<QToolButton *>(QStringLiteral("btnCloseAll")), nullptr);
}

TEST_F(MainWindowTest, StatusBarShowsHintsInTheFirstPanelAndTheVersionInTheLast)
{
    EXPECT_EQ(main_->statusText(2), QStringLiteral(VANTOR_VERSION));
    QStatusTipEvent tip(QStringLiteral("Новая конфигурация Navet"));
    QCoreApplication::sendEvent(main_.get(), &tip);
    EXPECT_EQ(main_->statusText(0), QStringLiteral("Новая конфигурация Navet"));

    main_->NewConfiguration(kVantorTag);
    main_->NewConfiguration(kNavetTag);
    MdiTabStrip *tabs = main_->tabStrip();
    QApplication::processEvents();
    QTest::mouseMove(tabs, tabs->tabRect(0).center());
    EXPECT_EQ(main_->statusText(0), QStringLiteral("Новая конфигурация"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(tabs, &leave);
    EXPECT_EQ(main_->statusText(0), QString());
}

TEST_F(MainWindowTest, RelayedMessagesReachEveryWindowAfterTheCall)
{
    struct Listener : TfmBaseMDI {
        using TfmBaseMDI::TfmBaseMDI;
        void relayedMessage(qintptr w, qintptr l) override { received.push_back({w, l}); }
        std::vector<std::pair<qintptr, qintptr>> received;
    };
    DeviceWindowOverride vantor(kVantorTag, [](QWidget *parent) { return new Listener(kVantorTag, parent); });
    DeviceWindowOverride navet(kNavetTag, [](QWidget *parent) { return new Listener(kNavetTag, parent); });
    auto *a = static_cast<Listener *>(main_->NewConfiguration(kVantorTag));
    auto *b = static_cast<Listener *>(main_->NewConfiguration(kNavetTag));

    main_->RelayToChildren(7, -3);
    EXPECT_TRUE(a->received.empty()); // posted, not sent
    Flush();
    const std::vector<std::pair<qintptr, qintptr>> expected{{7, -3}};
    EXPECT_EQ(a->received, expected);
    EXPECT_EQ(b->received, expected);
}

TEST_F(MainWindowTest, SettingsDialogSavesOnlyWhatChanged)
{
    auto setDialog = [this](int delay, int tries, bool accept) {
        dialogs_.HandleNextDialog([=](QDialog &dialog) {
            auto &settings = static_cast<TfmSettings &>(dialog);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Настройки"));
            settings.delayEdit()->setValue(delay);
            settings.triesEdit()->setValue(tries);
            return accept ? QDialog::Accepted : QDialog::Rejected;
        });
        main_->findChild<QAction *>(QStringLiteral("actSettings"))->trigger();
    };

    setDialog(1000, 5, true); // "ОК" with nothing changed
    EXPECT_FALSE(QFile::exists(SettingsFile()));

    setDialog(2000, 9, false); // "Отмена"
    EXPECT_FALSE(QFile::exists(SettingsFile()));
    EXPECT_EQ(main_->settings()->ComIntervalDelay(), 1000);

    setDialog(2000, 9, true);
    ASSERT_TRUE(QFile::exists(SettingsFile()));
    TSettings stored(SettingsFile());
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.ComIntervalDelay(), 2000);
    EXPECT_EQ(stored.ComConnectTryCount(), 9);

    // The dialog offers the documented ranges.
    TfmSettings dialog;
    EXPECT_EQ(dialog.delayEdit()->minimum(), 150);
    EXPECT_EQ(dialog.delayEdit()->maximum(), 10000);
    EXPECT_EQ(dialog.triesEdit()->minimum(), 1);
    EXPECT_EQ(dialog.triesEdit()->maximum(), 100);
}

TEST_F(MainWindowTest, ClosingTheMainWindowClosesEverythingAndSavesSettingsAndPlacement)
{
    main_->NewConfiguration(kVantorTag);
    main_->NewConfiguration(kOrsinTag);
    main_->move(40, 30);
    main_->resize(900, 650);
    EXPECT_TRUE(main_->close());
    Flush();
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(QFile::exists(SettingsFile())); // written every time
    XmlAppStorage placement(PlacementFile());
    ASSERT_TRUE(placement.Load());
    EXPECT_EQ(placement.ReadInteger(QStringLiteral("fmMain\\Width"), 0), 900);
    EXPECT_EQ(placement.ReadInteger(QStringLiteral("fmMain\\Height"), 0), 650);
    EXPECT_FALSE(placement.ReadBoolean(QStringLiteral("fmMain\\Maximized"), true));

    // The next run takes the placement up again.
    TfmMain next(nullptr, PlacementFile());
    next.show();
    EXPECT_EQ(next.size(), QSize(900, 650));
}

TEST_F(MainWindowTest, CommandLineOpensAFileOrRegistersTheFileType)
{
    WriteDocument("start.vt5", R"({"orsin":{}})");
    main_->HandleCommandLine({Path("missing.vt5")});
    main_->HandleCommandLine({QStringLiteral("/AS")}); // not the switch: a path that does not exist
    main_->HandleCommandLine({});
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(dialogs_.Shown().empty());

    main_->HandleCommandLine({Path("start.vt5"), QStringLiteral("ignored")});
    ASSERT_EQ(WindowCount(), 1);
    EXPECT_EQ(main_->currentDeviceType(), kOrsinTag);
    main_->CloseAll();
    Flush();

    const FileAssociation association(QCoreApplication::applicationFilePath());
    EXPECT_FALSE(association.IsAssociated());
    main_->HandleCommandLine({QStringLiteral("/as")});
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(association.IsAssociated());
    EXPECT_TRUE(dialogs_.Shown().empty());

    // A second "/as" finds it registered and writes nothing.
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    for (const QString &path :
         {association.DesktopEntryPath(), association.MimePackagePath(), association.MimeAppsListPath()}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    main_->HandleCommandLine({QStringLiteral("/as")});
    for (const QString &path :
         {association.DesktopEntryPath(), association.MimePackagePath(), association.MimeAppsListPath()})
        EXPECT_EQ(QFileInfo(path).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch())
            << path.toStdString();

    // Registered to another copy: replaced.
    ASSERT_TRUE(FileAssociation(QStringLiteral("/elsewhere/vantor5")).RegisterAssociation());
    EXPECT_FALSE(association.IsAssociated());
    main_->HandleCommandLine({QStringLiteral("/as")});
    EXPECT_TRUE(association.IsAssociated());
}

TEST(Translations, StandardButtonsSpeakRussian)
{
    InstallRussianTranslations(*qApp);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes").remove(QLatin1Char('&')),
              QStringLiteral("Да"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No").remove(QLatin1Char('&')),
              QStringLiteral("Нет"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
}

} // namespace
