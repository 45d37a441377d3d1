#include "app/UMain.h"

#include "app/ConfigFile.h"
#include "app/DeviceWindows.h"
#include "app/FileAssociation.h"
#include "app/MainDeviceActions.h"
#include "app/MdiArrange.h"
#include "app/MdiTabStrip.h"
#include "app/ProgramInfo.h"
#include "app/Settings.h"
#include "app/UAbout.h"
#include "app/UBaseMDI.h"
#include "app/USettings.h"
#include "app/UserDialogs.h"
#include "app/XmlAppStorage.h"
#include "models/VantorModels.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace vantor {

namespace {

const QString kFileFilter = QStringLiteral("Файлы конфигурации Vantor-5 (*.vt5)");

QIcon Icon(const char *name)
{
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg"));
}

const char *DeviceIconName(DeviceTag tag)
{
    switch (tag) {
    case kVantorTag: return "dev-vantor";
    case kPelmarTag: return "dev-pelmar";
    case kOrsinTag: return "dev-orsin";
    case kRudexTag: return "dev-rudex";
    case kSolloTag: return "dev-sollo";
    case kNavetTag: return "dev-navet";
    default: return "config";
    }
}

// The placement of the main window under its form name in the placement store.
const QString kPlacementForm = QStringLiteral("fmMain\\");

} // namespace

TfmMain::TfmMain(std::unique_ptr<TSettings> settings, const QString &placementFile, QWidget *parent)
    : QMainWindow(parent), settings_(std::move(settings)), mdiArea_(new QMdiArea), pTabs_(new QWidget),
      tsMain_(new MdiTabStrip)
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(Icon("vantor5"));
    if (settings_)
        TSettings::SetCurrent(settings_.get());
    if (!placementFile.isEmpty()) {
        placement_ = std::make_unique<XmlAppStorage>(placementFile);
        QString error;
        if (!placement_->Load(&error))
            qWarning("%s", qPrintable(error));
    }

    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    mdiArea_->setBackground(palette().color(QPalette::Mid).lighter(125));

    pTabs_->setObjectName(QStringLiteral("pTabs"));
    auto *tabsLayout = new QVBoxLayout(pTabs_);
    tabsLayout->setContentsMargins(4, 4, 4, 0);
    tabsLayout->addWidget(tsMain_);
    pTabs_->setVisible(false);

    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("pClient"));
    auto *centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(pTabs_);
    centralLayout->addWidget(mdiArea_, 1);
    setCentralWidget(central);

    CreateActions();
    CreateMenus();
    deviceActions_ = new MainDeviceActions(*this);
    CreateToolBar();
    CreateStatusBar();

    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TfmMain::OnSubWindowActivated);
    connect(tsMain_, &MdiTabStrip::closeRequested, this, &TfmMain::OnTabCloseRequested);
    connect(tsMain_, &QTabBar::currentChanged, this, &TfmMain::OnTabSelected);
    connect(tsMain_, &MdiTabStrip::hintChanged, this,
            [this](const QString &text) { statusPanels_[0]->setText(text); });

    resize(1100, 760);
    UpdateActions();
}

TfmMain::~TfmMain()
{
    // Device windows go first, while the main window they report to is intact; what
    // they do while they go concerns this window no more. Closed windows still
    // waiting for deletion are among them.
    disconnect(mdiArea_, nullptr, this, nullptr);
    disconnect(tsMain_, nullptr, this, nullptr);
    children_.clear();
    const auto subs = mdiArea_->viewport()->findChildren<QMdiSubWindow *>(Qt::FindDirectChildrenOnly);
    for (QMdiSubWindow *sub : subs) {
        disconnect(sub, nullptr, this, nullptr);
        if (QWidget *window = sub->widget())
            disconnect(window, nullptr, this, nullptr);
    }
    qDeleteAll(subs);
    if (TSettings::Current() == settings_.get())
        TSettings::SetCurrent(nullptr);
}

QString TfmMain::ApplicationTitle()
{
    return QString::fromUtf8(kApplicationTitle);
}

// ---------------------------------------------------------------------------
// Actions, menus, toolbar, status bar

void TfmMain::CreateActions()
{
    auto make = [this](const QString &name, const QString &text, const QIcon &icon = {},
                       const QString &hint = {}) {
        auto *action = new QAction(icon, text, this);
        action->setObjectName(name);
        const QString tip = hint.isEmpty() ? QString(text).remove(QStringLiteral("...")) : hint;
        action->setStatusTip(tip);
        action->setToolTip(tip);
        actions_.insert(name, action);
        return action;
    };

    QAction *about = make(QStringLiteral("actShowAbout"), QStringLiteral("О программе"), Icon("about"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, &TfmMain::ShowAbout);

    QAction *closeAll = make(QStringLiteral("actCloseAll"), QStringLiteral("Закрыть все"), Icon("close-all"));
    closeAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(closeAll, &QAction::triggered, this, [this] { CloseAll(); });

    QAction *settings = make(QStringLiteral("actSettings"), QStringLiteral("Настройки"), Icon("settings"));
    connect(settings, &QAction::triggered, this, &TfmMain::ShowSettings);

    QAction *open = make(QStringLiteral("actOpen"), QStringLiteral("Открыть конфигурацию..."), Icon("open"));
    connect(open, &QAction::triggered, this, &TfmMain::OpenConfigInteractive);

    QAction *saveAs =
        make(QStringLiteral("actSaveAs"), QStringLiteral("Сохранить конфигурацию как..."), Icon("save"));
    connect(saveAs, &QAction::triggered, this, &TfmMain::SaveConfigInteractive);

    QAction *exit = make(QStringLiteral("actExit"), QStringLiteral("Выход"), Icon("exit"));
    exit->setMenuRole(QAction::QuitRole);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    for (const DeviceType &type : DeviceTypes()) {
        QAction *action = make(QString::fromUtf8(type.actionName), QString::fromUtf8(type.newCaption),
                               Icon(DeviceIconName(type.tag)), QString::fromUtf8(type.newHint));
        const DeviceTag tag = type.tag;
        connect(action, &QAction::triggered, this, [this, tag] { NewConfiguration(tag); });
    }
    // The generic new-configuration action (no device); placed in no menu.
    QAction *newDev = make(QStringLiteral("actNewDev"), QStringLiteral("Новая конфигурация"), Icon("new"));
    connect(newDev, &QAction::triggered, this, [this] { NewConfiguration(kNoDevice); });

    struct WindowAction {
        const char *name;
        const char *text;
        const char *icon;
        std::function<void()> run;
    };
    const WindowAction windowActions[] = {
        {"WindowCascade", "Каскадом", "cascade", [this] { mdiArea_->cascadeSubWindows(); }},
        {"WindowTileHorizontal", "Выровнять горизонтально", "tile-horizontal",
         [this] { TileHorizontally(*mdiArea_); }},
        {"WindowTileVertical", "Выровнять вертикально", "tile-vertical",
         [this] { TileVertically(*mdiArea_); }},
        {"WindowMinimizeAll", "Свернуть все", "minimize-all", [this] { MinimizeAll(*mdiArea_); }},
        {"WindowArrange", "Упорядочить", "arrange", [this] { ArrangeIcons(*mdiArea_); }},
        {"WindowClose", "Закрыть окно", "window-close",
         [this] {
             if (QMdiSubWindow *window = mdiArea_->currentSubWindow())
                 window->close();
         }},
    };
    for (const WindowAction &w : windowActions) {
        QAction *action = make(QString::fromLatin1(w.name), QString::fromUtf8(w.text), Icon(w.icon));
        connect(action, &QAction::triggered, this, w.run);
    }
}

void TfmMain::CreateMenus()
{
    // The new-configuration popup. Its Rudex item carries the model number, so the
    // items are actions of their own that trigger the device actions.
    pmDevice_ = new QMenu(this);
    pmDevice_->setObjectName(QStringLiteral("pmDevice"));
    auto *fileNew = new QMenu(QStringLiteral("Новая конфигурация"), this);
    fileNew->setObjectName(QStringLiteral("miNewConfiguration"));
    fileNew->setIcon(Icon("new"));
    fileNew->menuAction()->setObjectName(QStringLiteral("miNewConfigurationItem"));
    fileNew->menuAction()->setStatusTip(QStringLiteral("Новая конфигурация"));
    for (const DeviceType &type : DeviceTypes()) {
        QAction *source = actions_.value(QString::fromUtf8(type.actionName));
        const QString itemName = QStringLiteral("mi") + QString::fromUtf8(type.actionName).mid(3);
        // The File menu's items are copies of the popup's, named after them + "Copy".
        for (const auto &[menu, name] :
             {std::pair{pmDevice_, itemName}, std::pair{fileNew, itemName + "Copy"}}) {
            auto *item = new QAction(source->icon(), QString::fromUtf8(type.newMenuCaption), menu);
            item->setObjectName(name);
            item->setStatusTip(source->statusTip());
            item->setToolTip(source->toolTip());
            connect(item, &QAction::triggered, source, &QAction::trigger);
            menu->addAction(item);
        }
    }

    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("mmMain"));

    QMenu *file = bar->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("miFile"));
    file->addMenu(fileNew);
    file->addAction(actions_.value(QStringLiteral("actOpen")));
    file->addAction(actions_.value(QStringLiteral("actSaveAs")));
    file->addSeparator();
    file->addAction(actions_.value(QStringLiteral("actExit")));

    QMenu *service = bar->addMenu(QStringLiteral("Сервис"));
    service->setObjectName(QStringLiteral("miService"));
    service->addAction(actions_.value(QStringLiteral("actSettings")));

    miDevice_ = bar->addMenu(QStringLiteral("Устройство"));
    miDevice_->setObjectName(QStringLiteral("miDevice"));
    miDevice_->menuAction()->setStatusTip(QStringLiteral("Выбор устройства"));

    miWindows_ = bar->addMenu(QStringLiteral("Окна"));
    miWindows_->setObjectName(QStringLiteral("miWindows"));
    connect(miWindows_, &QMenu::aboutToShow, this, &TfmMain::RebuildWindowMenu);
    RebuildWindowMenu();

    QMenu *help = bar->addMenu(QStringLiteral("Справка"));
    help->setObjectName(QStringLiteral("miHelp"));
    help->addAction(actions_.value(QStringLiteral("actShowAbout")));
}

void TfmMain::RebuildWindowMenu()
{
    miWindows_->clear();
    for (const char *name : {"WindowCascade", "WindowTileHorizontal", "WindowTileVertical",
                             "WindowMinimizeAll", "WindowArrange", "WindowClose"})
        miWindows_->addAction(actions_.value(QString::fromLatin1(name)));
    miWindows_->addSeparator();
    miWindows_->addAction(actions_.value(QStringLiteral("actCloseAll")));

    // The list of open windows, the active one checked.
    const QList<TfmBaseMDI *> windows = deviceWindows();
    if (windows.isEmpty())
        return;
    miWindows_->addSeparator();
    auto *group = new QActionGroup(miWindows_);
    const TfmBaseMDI *active = activeDeviceWindow();
    int number = 0;
    for (TfmBaseMDI *window : windows) {
        ++number;
        const QString text = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(window->windowTitle())
                                         : QStringLiteral("%1 %2").arg(number).arg(window->windowTitle());
        QAction *item = miWindows_->addAction(window->windowIcon(), text);
        item->setCheckable(true);
        item->setChecked(window == active);
        group->addAction(item);
        const QPointer<TfmBaseMDI> target(window);
        connect(item, &QAction::triggered, this, [this, target] {
            if (target)
                if (QMdiSubWindow *sub = SubWindowOf(target))
                    mdiArea_->setActiveSubWindow(sub);
        });
    }
}

void TfmMain::CreateToolBar()
{
    tbMain_ = addToolBar(QStringLiteral("Панель инструментов"));
    tbMain_->setObjectName(QStringLiteral("tbMain"));
    tbMain_->setMovable(false);
    tbMain_->setIconSize(QSize(22, 22));
    tbMain_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    // New: pops the device menu up below the button.
    auto *btnNew = new QToolButton;
    btnNew->setObjectName(QStringLiteral("btnNew"));
    btnNew->setText(QStringLiteral("Новая конфигурация"));
    btnNew->setToolTip(QStringLiteral("Новая конфигурация"));
    btnNew->setStatusTip(QStringLiteral("Новая конфигурация"));
    btnNew->setIcon(Icon("new"));
    btnNew->setMenu(pmDevice_);
    btnNew->setPopupMode(QToolButton::InstantPopup);
    btnNew->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbMain_->addWidget(btnNew);

    // Open and save show their pictures only.
    for (const char *name : {"actOpen", "actSaveAs"}) {
        QAction *action = actions_.value(QString::fromLatin1(name));
        tbMain_->addAction(action);
        if (auto *button = qobject_cast<QToolButton *>(tbMain_->widgetForAction(action))) {
            button->setObjectName(name == QLatin1String("actOpen") ? QStringLiteral("btnOpen")
                                                                   : QStringLiteral("btnSave"));
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }
    tbMain_->addSeparator();
    QAction *closeAll = actions_.value(QStringLiteral("actCloseAll"));
    tbMain_->addAction(closeAll);
    if (QWidget *button = tbMain_->widgetForAction(closeAll))
        button->setObjectName(QStringLiteral("btnCloseAll"));
}

void TfmMain::CreateStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbMain"));
    for (int i = 0; i < 3; ++i) {
        statusPanels_[i] = new QLabel;
        statusPanels_[i]->setObjectName(QStringLiteral("sbMainPanel%1").arg(i));
        statusPanels_[i]->setContentsMargins(6, 0, 6, 0);
    }
    // Panel 0 (hints) takes the width the others leave.
    statusPanels_[0]->setMinimumWidth(0);
    statusPanels_[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusPanels_[1]->setFixedWidth(500);
    statusPanels_[1]->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    statusPanels_[2]->setAlignment(Qt::AlignCenter);
    bar->addWidget(statusPanels_[0], 1);
    bar->addPermanentWidget(statusPanels_[1]);
    bar->addPermanentWidget(statusPanels_[2]);
}

QString TfmMain::statusText(int panel) const
{
    return panel >= 0 && panel < 3 ? statusPanels_[panel]->text() : QString();
}

void TfmMain::UpdateActions()
{
    const bool any = !deviceWindows().isEmpty();
    for (const char *name : {"actCloseAll", "actSaveAs", "WindowCascade", "WindowTileHorizontal",
                             "WindowTileVertical", "WindowMinimizeAll", "WindowArrange", "WindowClose"})
        actions_.value(QString::fromLatin1(name))->setEnabled(any);
    if (deviceActions_)
        deviceActions_->Update();
}

void TfmMain::setCurrentDeviceType(DeviceTag tag)
{
    currentDeviceType_ = tag;
    UpdateActions();
}

bool TfmMain::event(QEvent *event)
{
    // Automatic hints go to the first panel of the status bar.
    if (event->type() == QEvent::StatusTip) {
        statusPanels_[0]->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TfmMain::showEvent(QShowEvent *event)
{
    const QString version = ThisProgram().fileVersion;
    statusPanels_[2]->setText(version);
    statusPanels_[2]->setFixedWidth(
        std::max(60, statusPanels_[2]->fontMetrics().horizontalAdvance(version) + 16));
    if (!placementRestored_) {
        placementRestored_ = true;
        RestorePlacement();
    }
    QMainWindow::showEvent(event);
}

void TfmMain::closeEvent(QCloseEvent *event)
{
    if (!CloseAll()) {
        event->ignore(); // the engineer chose to keep a window
        return;
    }
    SavePlacement();
    if (settings_) {
        QString error;
        if (!settings_->Save(&error))
            UserDialogs::ShowError(this, error);
    }
    event->accept();
}

// ---------------------------------------------------------------------------
// Window placement

void TfmMain::RestorePlacement()
{
    if (!placement_)
        return;
    const XmlAppStorage &store = *placement_;
    const QRect saved(
        store.ReadInteger(kPlacementForm + "Left", -1), store.ReadInteger(kPlacementForm + "Top", -1),
        store.ReadInteger(kPlacementForm + "Width", -1), store.ReadInteger(kPlacementForm + "Height", -1));
    if (saved.width() >= 200 && saved.height() >= 150) {
        // Only where a screen shows it: a monitor may have gone since.
        bool visible = false;
        for (const QScreen *screen : QGuiApplication::screens())
            if (screen->availableGeometry().intersects(saved))
                visible = true;
        if (visible) {
            resize(saved.size());
            move(saved.topLeft());
        }
    }
    if (store.ReadBoolean(kPlacementForm + "Maximized", false))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfmMain::SavePlacement()
{
    if (!placement_)
        return;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement_->WriteInteger(kPlacementForm + "Left", normal.left());
    placement_->WriteInteger(kPlacementForm + "Top", normal.top());
    placement_->WriteInteger(kPlacementForm + "Width", normal.width());
    placement_->WriteInteger(kPlacementForm + "Height", normal.height());
    placement_->WriteBoolean(kPlacementForm + "Maximized", isMaximized());
    QString error;
    if (!placement_->Save(&error))
        qWarning("%s", qPrintable(error));
}

// ---------------------------------------------------------------------------
// Device windows

// The open device windows are those in children_: a window leaves it when it has
// accepted to close, before its QMdiSubWindow goes. Sub-windows on their way out
// (closed, or being deleted) are never asked anything.

QList<TfmBaseMDI *> TfmMain::deviceWindows() const
{
    QList<TfmBaseMDI *> windows;
    for (const ChildWindow &child : children_)
        windows << child.window;
    return windows;
}

TfmBaseMDI *TfmMain::WindowOfSub(const QMdiSubWindow *sub) const
{
    for (const ChildWindow &child : children_)
        if (child.sub == sub)
            return child.window;
    return nullptr;
}

TfmBaseMDI *TfmMain::activeDeviceWindow() const
{
    return WindowOfSub(mdiArea_->currentSubWindow());
}

QMdiSubWindow *TfmMain::SubWindowOf(const TfmBaseMDI *window) const
{
    for (const ChildWindow &child : children_)
        if (child.window == window)
            return child.sub;
    return nullptr;
}

void TfmMain::Forget(const void *windowOrSub)
{
    std::erase_if(children_, [windowOrSub](const ChildWindow &child) {
        return child.window == windowOrSub || child.sub == windowOrSub;
    });
}

int TfmMain::TabIndexOf(const TfmBaseMDI *window) const
{
    for (int i = 0; i < tsMain_->count(); ++i)
        if (tsMain_->tabData(i).value<QObject *>() == window)
            return i;
    return -1;
}

TfmBaseMDI *TfmMain::WindowOfTab(int index) const
{
    return qobject_cast<TfmBaseMDI *>(tsMain_->tabData(index).value<QObject *>());
}

void TfmMain::UpdateTabPanel()
{
    pTabs_->setVisible(tsMain_->count() >= 2);
}

TfmBaseMDI *TfmMain::CreateDeviceWindow(DeviceTag tag, bool reuse)
{
    if (reuse) {
        // The most recently active window of the tag comes first.
        const auto subs = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
        for (auto it = subs.crbegin(); it != subs.crend(); ++it) {
            TfmBaseMDI *window = WindowOfSub(*it);
            if (window && window->deviceTag() == tag) {
                mdiArea_->setActiveSubWindow(*it);
                tsMain_->setCurrentIndex(TabIndexOf(window));
                return window;
            }
        }
    }

    TfmBaseMDI *window = vantor::CreateDeviceWindow(tag);
    window->setWindowIcon(Icon("config"));
    window->MarkUnmodified();
    window->setSaveHandler([this](TfmBaseMDI &w) { return SaveWindowInteractive(w); });
    auto *sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWidget(window);
    sub->setWindowIcon(window->windowIcon());
    mdiArea_->addSubWindow(sub);
    children_.push_back({window, sub});

    connect(window, &TfmBaseMDI::childClosed, this, &TfmMain::OnChildClosed);
    connect(window, &TfmBaseMDI::childCaptionChanged, this, &TfmMain::OnChildCaptionChanged);
    // A window deleted without being closed is forgotten too.
    connect(sub, &QObject::destroyed, this, [this, window] {
        Forget(window);
        RemoveTab(window);
    });

    const int index = tsMain_->addTab(window->windowIcon(), window->windowTitle());
    tsMain_->setTabData(index, QVariant::fromValue<QObject *>(window));
    PlaceNewWindow(sub);
    sub->show();
    mdiArea_->setActiveSubWindow(sub);
    tsMain_->setCurrentIndex(index);
    UpdateTabPanel();
    UpdateActions();
    return window;
}

void TfmMain::PlaceNewWindow(QMdiSubWindow *sub) const
{
    // A cascade: each new window a step below and right of the previous one, back to
    // the corner when it would leave the visible area.
    const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 6;
    const QSize area = mdiArea_->viewport()->size();
    const QSize size = sub->sizeHint().expandedTo(sub->minimumSizeHint());
    const int fit = std::max(
        1, std::min((area.width() - size.width()) / step, (area.height() - size.height()) / step) + 1);
    const int others = static_cast<int>(children_.size()) - 1;
    const int k = std::max(0, others) % fit;
    sub->resize(size);
    sub->move(k * step, k * step);
}

TfmBaseMDI *TfmMain::NewConfiguration(DeviceTag tag)
{
    currentDeviceType_ = tag;
    return CreateDeviceWindow(tag, false);
}

bool TfmMain::DispatchConfig(json::Json root, DeviceTag startTag)
{
    const auto tag = FindRootKey(root, startTag);
    if (!tag)
        return false;
    TfmBaseMDI *window = CreateDeviceWindow(*tag, true);
    QString message;
    if (!window->LoadConfigJson(std::move(root), message))
        UserDialogs::ShowError(this, message);
    setCurrentDeviceType(*tag);
    return true;
}

bool TfmMain::OpenConfigFile(const QString &path)
{
    QString error;
    auto root = ReadConfigFile(path, &error);
    if (!root) {
        UserDialogs::ShowError(this, error);
        return false;
    }
    if (!DispatchConfig(std::move(*root), kNoDevice)) {
        UserDialogs::ShowError(
            this,
            QStringLiteral("Файл «%1» не содержит конфигурации ни одного из известных устройств.").arg(path));
        return false;
    }
    return true;
}

bool TfmMain::SaveConfigFile(const QString &path)
{
    TfmBaseMDI *window = activeDeviceWindow();
    return window && SaveWindowToFile(*window, path);
}

bool TfmMain::SaveWindowToFile(TfmBaseMDI &window, const QString &path)
{
    window.FinishEditing();
    const auto root = window.GetConfigJson();
    if (!root)
        return false;
    QString error;
    if (!WriteConfigFile(path, *root, &error)) {
        UserDialogs::ShowError(this, error);
        return false;
    }
    window.MarkUnmodified();
    return true;
}

bool TfmMain::SaveWindowInteractive(TfmBaseMDI &window)
{
    const QString path = UserDialogs::ChooseFileToSave(
        this, {QStringLiteral("Сохранить конфигурацию в..."), kFileFilter, QStringLiteral("vt5"), {}});
    return !path.isEmpty() && SaveWindowToFile(window, path);
}

void TfmMain::OpenConfigInteractive()
{
    const QString path = UserDialogs::ChooseFileToOpen(
        this, {QStringLiteral("Открыть конфигурацию..."), kFileFilter, QStringLiteral("vt5"), {}});
    if (!path.isEmpty())
        OpenConfigFile(path);
}

void TfmMain::SaveConfigInteractive()
{
    if (TfmBaseMDI *window = activeDeviceWindow())
        SaveWindowInteractive(*window);
}

void TfmMain::ShowSettings()
{
    if (!settings_)
        return;
    TfmSettings dialog(this);
    dialog.LoadFrom(*settings_);
    if (UserDialogs::Exec(dialog) != QDialog::Accepted)
        return;
    dialog.StoreTo(*settings_);
    if (!settings_->Modified())
        return;
    QString error;
    if (!settings_->Save(&error))
        UserDialogs::ShowError(this, error);
}

void TfmMain::ShowAbout()
{
    TfmAbout about(this);
    UserDialogs::Exec(about);
}

bool TfmMain::CloseAll()
{
    // One window kept open (its question answered "Отмена") stops the others too.
    for (TfmBaseMDI *window : deviceWindows())
        if (QMdiSubWindow *sub = SubWindowOf(window); sub && !sub->close())
            return false;
    currentDeviceType_ = kNoDevice;
    return true;
}

void TfmMain::HandleCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return;
    const QString &first = arguments.constFirst();
    if (first == QLatin1String("/as")) {
        QFile icon(QStringLiteral(":/icons/vantor5.svg"));
        const QByteArray iconSvg = icon.open(QIODevice::ReadOnly) ? icon.readAll() : QByteArray();
        const FileAssociation association(QCoreApplication::applicationFilePath(), iconSvg);
        if (association.IsAssociated())
            return;
        QString error;
        if (!association.RegisterAssociation(&error))
            UserDialogs::ShowError(this,
                                   QStringLiteral("Не удалось зарегистрировать тип файлов *.vt5: ") + error);
        return;
    }
    if (QFileInfo(first).isFile())
        OpenConfigFile(first);
}

int TfmMain::LoadModelPlugins(const QString &programFolder)
{
    return vantor::LoadModelPlugins(programFolder, [this](const PluginLoadError &error) {
        UserDialogs::ShowError(this, error.Text(), QString::fromUtf8(kPluginErrorCaption), true);
    });
}

void TfmMain::RelayToChildren(qintptr wParam, qintptr lParam)
{
    for (TfmBaseMDI *window : deviceWindows()) {
        const QPointer<TfmBaseMDI> target(window);
        QMetaObject::invokeMethod(
            window,
            [target, wParam, lParam] {
                if (target)
                    target->relayedMessage(wParam, lParam);
            },
            Qt::QueuedConnection);
    }
}

// ---------------------------------------------------------------------------
// Following the active window, tabs and captions

void TfmMain::RetitleFromActive()
{
    if (TfmBaseMDI *window = activeDeviceWindow())
        setWindowTitle(QStringLiteral("%1 - %2").arg(ApplicationTitle(), window->windowTitle()));
}

void TfmMain::OnSubWindowActivated(QMdiSubWindow *sub)
{
    UpdateActions();
    if (!tracking_ || !sub)
        return; // not a device window: nothing changes
    TfmBaseMDI *window = WindowOfSub(sub);
    if (!window)
        return;
    setWindowTitle(QStringLiteral("%1 - %2").arg(ApplicationTitle(), window->windowTitle()));
    setCurrentDeviceType(FindDeviceType(window->deviceTag()) ? window->deviceTag() : kNoDevice);
    const int index = TabIndexOf(window);
    if (index >= 0)
        tsMain_->setCurrentIndex(index);
}

bool TfmMain::RemoveTab(const TfmBaseMDI *window)
{
    const int index = TabIndexOf(window);
    if (index < 0)
        return false; // unknown or already removed
    tsMain_->removeTab(index);
    UpdateTabPanel();
    return true;
}

void TfmMain::OnChildClosed(TfmBaseMDI *window)
{
    Forget(window);
    if (!RemoveTab(window))
        return;
    if (children_.empty()) {
        // No device window left: the caption must not name a closed window.
        setWindowTitle(ApplicationTitle());
        currentDeviceType_ = kNoDevice;
    }
    UpdateActions();
    QMetaObject::invokeMethod(this, &TfmMain::UpdateActions, Qt::QueuedConnection);
}

void TfmMain::OnChildCaptionChanged(TfmBaseMDI *window)
{
    const int index = TabIndexOf(window);
    if (index < 0)
        return;
    tsMain_->setTabText(index, window->windowTitle());
    RetitleFromActive();
}

void TfmMain::OnTabCloseRequested(int index)
{
    if (TfmBaseMDI *window = WindowOfTab(index))
        if (QMdiSubWindow *sub = SubWindowOf(window))
            sub->close();
}

void TfmMain::OnTabSelected(int index)
{
    if (index < 0)
        return;
    if (TfmBaseMDI *window = WindowOfTab(index))
        if (QMdiSubWindow *sub = SubWindowOf(window))
            if (mdiArea_->currentSubWindow() != sub)
                mdiArea_->setActiveSubWindow(sub);
}

} // namespace vantor
