#include "app/MainDeviceActions.h"

#include "app/DeviceTransfer.h"
#include "app/UBaseMDI.h"
#include "app/UMain.h"

#include <QAction>
#include <QMenu>

namespace vantor {

namespace {

// "actNewPelmar" -> "Pelmar": the part of the action names that names the device.
QString DeviceWord(const DeviceType &type)
{
    return QString::fromLatin1(type.actionName).mid(6);
}

} // namespace

MainDeviceActions::MainDeviceActions(TfmMain &main) : QObject(&main), main_(main)
{
    setObjectName(QStringLiteral("deviceActions"));
    QMenu *menu = main_.deviceMenu();

    for (const DeviceType &type : DeviceTypes()) {
        const DeviceTag tag = type.tag;
        const QString name = QString::fromUtf8(type.name);
        const QString word = DeviceWord(type);
        QAction *write =
            Make(QStringLiteral("actDevConf%1Write").arg(word), QStringLiteral("Записать конфигурацию"),
                 QStringLiteral("Записать конфигурацию ") + name);
        write->setData(tag);
        connect(write, &QAction::triggered, this, &MainDeviceActions::WriteActive);
        writeActions_.emplace_back(tag, write);
        QAction *read =
            Make(QStringLiteral("actDevConf%1Read").arg(word), QStringLiteral("Прочитать конфигурацию"),
                 QStringLiteral("Прочитать конфигурацию ") + name);
        read->setData(tag);
        connect(read, &QAction::triggered, this, [this, tag] { Read(tag); });

        auto *sub = menu->addMenu(name);
        sub->setObjectName(QStringLiteral("miDev") + word);
        sub->menuAction()->setStatusTip(name);
        if (const auto *newAction = main_.findChild<QAction *>(QString::fromLatin1(type.actionName)))
            sub->setIcon(newAction->icon());
        sub->addAction(write);
        sub->addAction(read);
    }
    menu->addSeparator();

    // The generic pair (any device) belongs to no menu.
    QAction *readAny = Make(QStringLiteral("actDevConfRead"), QStringLiteral("Прочитать конфигурацию"),
                            QStringLiteral("Прочитать конфигурацию"));
    readAny->setData(kNoDevice);
    connect(readAny, &QAction::triggered, this, [this] { Read(kNoDevice); });
    QAction *writeAny = Make(QStringLiteral("actDevConfWrite"), QStringLiteral("Записать конфигурацию"),
                             QStringLiteral("Записать конфигурацию"));
    writeAny->setData(kNoDevice);
    connect(writeAny, &QAction::triggered, this, &MainDeviceActions::WriteActive);
    writeActions_.emplace_back(kNoDevice, writeAny);

    QAction *firmware = Make(QStringLiteral("actDevRefirmware"), QStringLiteral("Обновить прошивку"),
                             QStringLiteral("Обновить прошивку"));
    connect(firmware, &QAction::triggered, this, &MainDeviceActions::UpdateFirmware);
    menu->addAction(firmware);
    QAction *fromFile = Make(QStringLiteral("actFlashFromFile"), QStringLiteral("Записать из файла"),
                             QStringLiteral("Записать из файла"));
    connect(fromFile, &QAction::triggered, this, &MainDeviceActions::WriteFromFile);
    menu->addAction(fromFile);

    // The menu shows the rules as they stand when it opens.
    connect(menu, &QMenu::aboutToShow, this, &MainDeviceActions::Update);
    Update();
}

QAction *MainDeviceActions::Make(const QString &name, const QString &caption, const QString &hint)
{
    auto *action = new QAction(caption, &main_);
    action->setObjectName(name);
    action->setStatusTip(hint);
    action->setToolTip(hint);
    action->setProperty("category", QStringLiteral("Dev"));
    return action;
}

void MainDeviceActions::Update()
{
    const TfmBaseMDI *active = main_.activeDeviceWindow();
    const DeviceTag current = main_.currentDeviceType();
    for (const auto &[tag, action] : writeActions_) {
        const bool enabled = active && FindDeviceType(current) &&
                             (tag == kNoDevice || (active->deviceTag() == tag && current == tag));
        action->setEnabled(enabled);
    }
}

void MainDeviceActions::Read(DeviceTag tag)
{
    main_.setCurrentDeviceType(tag);
    std::optional<json::Json> root;
    {
        ActiveWindowTrackingPause pause(&main_);
        root = ReadConfigurationFromDevice(&main_, tag);
    }
    // Routed with the tracking attached again, so the window it lands in becomes the
    // active one in every respect (caption, tab, current device type).
    if (root)
        main_.DispatchConfig(std::move(*root), tag);
    Update();
}

void MainDeviceActions::WriteActive()
{
    TfmBaseMDI *window = main_.activeDeviceWindow();
    const DeviceTag tag = main_.currentDeviceType();
    if (!window || !FindDeviceType(tag))
        return;
    ActiveWindowTrackingPause pause(&main_);
    window->FinishEditing();
    const auto root = window->GetConfigJson();
    if (!root)
        return; // a window without an editor has nothing to write
    WriteConfigurationToDevice(&main_, tag, *root);
}

void MainDeviceActions::UpdateFirmware()
{
    UpdateDeviceFirmware(&main_);
}

void MainDeviceActions::WriteFromFile()
{
    WriteFileToDeviceInteractive(&main_);
}

} // namespace vantor
