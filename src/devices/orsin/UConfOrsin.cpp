#include "devices/orsin/UConfOrsin.h"

#include "app/DeviceButtons.h"
#include "app/widgets/InPlaceViews.h"
#include "app/widgets/Ipv4Edit.h"
#include "devices/orsin/OrsinOutputMenu.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vantor {

using orsin::TDevice;

namespace {

enum GridColumn { kPortColumn, kOutputColumn };
enum Page { kMainPage, kEthernetPage, kServerPage };

QFormLayout *NewForm()
{
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return form;
}

} // namespace

TfmConfOrsin::TfmConfOrsin(QWidget *parent) : TfmBaseMDI(kOrsinTag, parent)
{
    setObjectName(QStringLiteral("fmConfOrsin"));
    setWindowTitle(QStringLiteral("Контроллер видеофиксации"));

    auto *top = new QHBoxLayout;
    top->addStretch();
    btnRead_ = new QPushButton(QStringLiteral("Прочитать"));
    btnRead_->setObjectName(QStringLiteral("btnRead"));
    btnWrite_ = new QPushButton(QStringLiteral("Записать"));
    btnWrite_->setObjectName(QStringLiteral("btnWrite"));
    top->addWidget(btnRead_);
    top->addWidget(btnWrite_);
    BindDeviceButtons(*this, btnRead_, btnWrite_);

    pgcMain_ = new QTabWidget;
    pgcMain_->setObjectName(QStringLiteral("pgcMain"));
    pgcMain_->addTab(CreateMainPage(), QStringLiteral("Главная"));
    pgcMain_->addTab(CreateEthernetPage(), QStringLiteral("Ethernet"));
    pgcMain_->addTab(CreateServerPage(), QStringLiteral("Server"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pgcMain_, 1);

    pmOutputs_ = new orsin::OrsinOutputMenu(this);
    connect(pmOutputs_, &orsin::OrsinOutputMenu::outputChosen, this, &TfmConfOrsin::OnOutputChosen);

    RefreshControls();
    MarkUnmodified();
}

TfmConfOrsin::~TfmConfOrsin()
{
    edMacAddress_->removeEventFilter(this);
}

QWidget *TfmConfOrsin::CreateMainPage()
{
    tsMain_ = new QWidget;
    tsMain_->setObjectName(QStringLiteral("tsMain"));

    ports_ = new QStandardItemModel(0, 2, this);
    ports_->setHorizontalHeaderLabels({QStringLiteral("Порт"), QStringLiteral("Выход")});
    auto *grid = new widgets::InPlaceTableView;
    grid_ = grid;
    grid_->setObjectName(QStringLiteral("StringGrid"));
    grid_->setModel(ports_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(kPortColumn, QHeaderView::Fixed);
    grid_->horizontalHeader()->resizeSection(kPortColumn, 60);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setMinimumWidth(240);
    grid_->setMaximumWidth(320);
    connect(grid_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { OpenOutputMenu(index.row()); });

    edControllersCount_ = new QSpinBox;
    edControllersCount_->setObjectName(QStringLiteral("edControllersCount"));
    edControllersCount_->setRange(1, TDevice::kMaxControllers);
    edOutputCount_ = new QSpinBox;
    edOutputCount_->setObjectName(QStringLiteral("edOutputCount"));
    edOutputCount_->setRange(1, TDevice::kMaxPorts);
    for (QSpinBox *spin : {edControllersCount_, edOutputCount_})
        spin->setMinimumWidth(80);
    btnConfApply_ = new QPushButton(QStringLiteral("Применить"));
    btnConfApply_->setObjectName(QStringLiteral("btnConfApply"));
    connect(btnConfApply_, &QPushButton::clicked, this, &TfmConfOrsin::Apply);

    auto *configuration = new QGroupBox(QStringLiteral(" Конфигурация "));
    configuration->setObjectName(QStringLiteral("gbConfiguration"));
    auto *form = NewForm();
    form->addRow(QStringLiteral("Кол-во контроллеров :"), edControllersCount_);
    form->addRow(QStringLiteral("Кол-во выходов:"), edOutputCount_);
    auto *configurationLayout = new QVBoxLayout(configuration);
    configurationLayout->addLayout(form);
    auto *applyRow = new QHBoxLayout;
    applyRow->addStretch();
    applyRow->addWidget(btnConfApply_);
    configurationLayout->addLayout(applyRow);

    cbEthernet_ = new QCheckBox(QStringLiteral("Ethernet"));
    cbEthernet_->setObjectName(QStringLiteral("cbEthernet"));
    connect(cbEthernet_, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_)
            return;
        device_.Ethernet = on;
        UpdateTabs();
    });
    cbServer_ = new QCheckBox(QStringLiteral("Server"));
    cbServer_->setObjectName(QStringLiteral("cbServer"));
    connect(cbServer_, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_)
            return;
        device_.Server = on;
        UpdateTabs();
    });
    auto *extra = new QGroupBox(QStringLiteral(" Дополнительные параметры "));
    extra->setObjectName(QStringLiteral("gbExtra"));
    auto *extraLayout = new QVBoxLayout(extra);
    extraLayout->addWidget(cbEthernet_);
    extraLayout->addWidget(cbServer_);

    auto *side = new QVBoxLayout;
    side->addWidget(configuration);
    side->addWidget(extra);
    side->addStretch();

    auto *layout = new QHBoxLayout(tsMain_);
    layout->addWidget(grid_, 1);
    layout->addLayout(side);
    layout->addStretch(1);
    return tsMain_;
}

QWidget *TfmConfOrsin::CreateEthernetPage()
{
    tsEthernet_ = new QWidget;
    tsEthernet_->setObjectName(QStringLiteral("tsEthernet"));

    edMacAddress_ = new QLineEdit;
    edMacAddress_->setObjectName(QStringLiteral("edMacAddress"));
    // Upper-case hexadecimal pairs; only hexadecimal digits can be typed.
    edMacAddress_->setInputMask(QStringLiteral(">HH:HH:HH:HH:HH:HH;_"));
    edMacAddress_->installEventFilter(this);
    connect(edMacAddress_, &QLineEdit::returnPressed, this, &TfmConfOrsin::TakeMacText);
    // A complete address is stored as it is typed, so saving or writing while the
    // field still has the focus takes what it shows; leaving it tidies the text.
    connect(edMacAddress_, &QLineEdit::textChanged, this, [this] {
        if (refreshing_ || !edMacAddress_->hasAcceptableInput())
            return;
        const auto parsed = orsin::ParseMacText(edMacAddress_->text());
        if (parsed.status == orsin::ParsedAddress<6>::kTaken)
            device_.Mac = parsed.bytes;
    });
    btnRandomMac_ = new QPushButton(QStringLiteral(" + "));
    btnRandomMac_->setObjectName(QStringLiteral("BtnRandomMAc"));
    btnRandomMac_->setToolTip(QStringLiteral("Случайный MAC-адрес"));
    btnRandomMac_->setFixedWidth(32);
    connect(btnRandomMac_, &QPushButton::clicked, this, [this] {
        device_.Mac = TDevice::RandomMac();
        edMacAddress_->setText(orsin::MacText(device_.Mac));
    });
    auto *mac = new QHBoxLayout;
    mac->addWidget(edMacAddress_);
    mac->addWidget(btnRandomMac_);

    auto addressField = [this](const char *name, std::array<std::uint8_t, 4> TDevice::*field) {
        auto *edit = new widgets::Ipv4Edit;
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMinimumWidth(140);
        connect(edit, &widgets::Ipv4Edit::addressEdited, this, [this, edit, field] {
            if (!refreshing_)
                device_.*field = edit->address();
        });
        // Complete addresses are stored as they are typed (see the MAC field); an
        // incomplete one left behind gives way to the last address, stored again.
        connect(edit, &QLineEdit::textChanged, this, [this, edit, field](const QString &text) {
            if (refreshing_)
                return;
            if (const auto address = widgets::Ipv4Edit::ParseAddress(text))
                device_.*field = *address;
        });
        return edit;
    };
    edIP_ = addressField("edIP", &TDevice::Ip);
    edGate_ = addressField("edGate", &TDevice::Gateway);
    edMask_ = addressField("edMask", &TDevice::Mask);
    edMacAddress_->setMinimumWidth(140);

    auto *settings = new QGroupBox(QStringLiteral(" Настройки Ethernet "));
    settings->setObjectName(QStringLiteral("gbEthernet"));
    auto *form = NewForm();
    form->addRow(QStringLiteral("MAC Адрес :"), mac);
    form->addRow(QStringLiteral("IP Адрес :"), edIP_);
    form->addRow(QStringLiteral("Шлюз :"), edGate_);
    form->addRow(QStringLiteral("Маска подсети :"), edMask_);

    cbDHCP_ = new QCheckBox(QStringLiteral("Разрешить DHCP"));
    cbDHCP_->setObjectName(QStringLiteral("cbDHCP"));
    connect(cbDHCP_, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_)
            return;
        device_.Dhcp = on;
        UpdateAddressFields();
    });
    cbPing_ = new QCheckBox(QStringLiteral("Разрешить Ping"));
    cbPing_->setObjectName(QStringLiteral("cbPing"));
    connect(cbPing_, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            device_.Ping = on;
    });
    auto *more = new QGroupBox(QStringLiteral("Дополнительные настройки"));
    more->setObjectName(QStringLiteral("gbMore"));
    auto *moreLayout = new QVBoxLayout(more);
    moreLayout->addWidget(cbDHCP_);
    moreLayout->addWidget(cbPing_);

    auto *settingsLayout = new QVBoxLayout(settings);
    settingsLayout->addLayout(form);
    settingsLayout->addWidget(more);

    auto *layout = new QVBoxLayout(tsEthernet_);
    auto *row = new QHBoxLayout;
    row->addWidget(settings);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch();
    return tsEthernet_;
}

QWidget *TfmConfOrsin::CreateServerPage()
{
    tsServer_ = new QWidget;
    tsServer_->setObjectName(QStringLiteral("tsServer"));
    edPort_ = new QSpinBox;
    edPort_->setObjectName(QStringLiteral("edPort"));
    edPort_->setRange(1, 65535);
    edPort_->setMinimumWidth(100);
    connect(edPort_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!refreshing_)
            device_.ServerPort = static_cast<std::uint16_t>(value);
    });
    auto *form = NewForm();
    form->addRow(QStringLiteral("Порт прослушки :"), edPort_);
    auto *layout = new QVBoxLayout(tsServer_);
    layout->addLayout(form);
    layout->addStretch();
    return tsServer_;
}

bool TfmConfOrsin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edMacAddress_) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const QString text = key->text();
            const bool command =
                key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            // Printable characters other than hexadecimal digits are dropped; editing
            // and moving keys pass.
            if (!command && !text.isEmpty() && text.at(0).isPrint()) {
                const QChar c = text.at(0).toUpper();
                const bool hex = c.isDigit() || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
                if (!hex)
                    return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            TakeMacText();
        }
    }
    return TfmBaseMDI::eventFilter(watched, event);
}

void TfmConfOrsin::TakeMacText()
{
    if (refreshing_)
        return;
    const auto parsed = orsin::ParseMacText(edMacAddress_->text());
    if (parsed.status == orsin::ParsedAddress<6>::kTaken)
        device_.Mac = parsed.bytes;
    // An incomplete address gives the stored one back.
    edMacAddress_->setText(orsin::MacText(device_.Mac));
}

void TfmConfOrsin::OpenOutputMenu(int port)
{
    if (port < 0 || port >= ports_->rowCount())
        return;
    menuPort_ = port;
    grid_->selectRow(port);
    const QRect cell = grid_->visualRect(ports_->index(port, kOutputColumn));
    pmOutputs_->popup(grid_->viewport()->mapToGlobal(cell.bottomLeft()));
}

void TfmConfOrsin::OnOutputChosen(int globalIndex)
{
    if (menuPort_ < 0)
        return;
    device_.SetEntry(menuPort_, globalIndex < 0 ? TDevice::kUnassigned : globalIndex);
    RefreshGrid();
}

void TfmConfOrsin::Apply()
{
    // A new controller count drops the assignments to outputs that leave with it.
    device_.SetControllerCount(edControllersCount_->value());
    device_.SetPortCount(edOutputCount_->value());
    RefreshControls();
}

void TfmConfOrsin::UpdateTabs()
{
    pgcMain_->setTabVisible(kEthernetPage, device_.Ethernet);
    pgcMain_->setTabVisible(kServerPage, device_.Server);
    // "Главная" is a tab only while there is another one to switch to.
    pgcMain_->tabBar()->setVisible(device_.Ethernet || device_.Server);
    pgcMain_->setCurrentIndex(kMainPage);
}

void TfmConfOrsin::UpdateAddressFields()
{
    for (QWidget *field :
         {static_cast<QWidget *>(edIP_), static_cast<QWidget *>(edGate_), static_cast<QWidget *>(edMask_)})
        field->setEnabled(!device_.Dhcp);
}

void TfmConfOrsin::RebuildGrid()
{
    ports_->setRowCount(device_.PortCount());
    for (int port = 0; port < device_.PortCount(); ++port) {
        for (int column : {kPortColumn, kOutputColumn}) {
            auto *item = new QStandardItem;
            item->setEditable(false);
            if (column == kPortColumn) {
                item->setText(QString::number(port + 1));
                item->setTextAlignment(Qt::AlignCenter);
            }
            ports_->setItem(port, column, item);
        }
    }
    pmOutputs_->Rebuild(device_);
    RefreshGrid();
}

void TfmConfOrsin::RefreshGrid()
{
    for (int port = 0; port < ports_->rowCount(); ++port)
        ports_->item(port, kOutputColumn)->setText(device_.OutputText(port));
}

void TfmConfOrsin::RefreshControls()
{
    refreshing_ = true;
    edControllersCount_->setValue(device_.ControllerCount());
    edOutputCount_->setValue(device_.PortCount());
    cbEthernet_->setChecked(device_.Ethernet);
    cbServer_->setChecked(device_.Server);
    edMacAddress_->setText(orsin::MacText(device_.Mac));
    edIP_->setAddress(device_.Ip);
    edGate_->setAddress(device_.Gateway);
    edMask_->setAddress(device_.Mask);
    cbDHCP_->setChecked(device_.Dhcp);
    cbPing_->setChecked(device_.Ping);
    edPort_->setValue(device_.ServerPort);
    refreshing_ = false;
    UpdateTabs();
    UpdateAddressFields();
    RebuildGrid();
}

std::optional<json::Json> TfmConfOrsin::GetConfigJson()
{
    return orsin::GetConfigJson(device_);
}

bool TfmConfOrsin::LoadConfigJson(json::Json root, QString &message)
{
    const bool loaded = orsin::LoadConfigJson(device_, root, &message);
    RefreshControls();
    if (!loaded)
        return false;
    return TfmBaseMDI::LoadConfigJson(std::move(root), message);
}

} // namespace vantor
