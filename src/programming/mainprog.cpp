#include "programming/mainprog.h"

#include "app/Settings.h"
#include "app/UserDialogs.h"
#include "app/pr_sets.h"
#include "link/SerialPorts.h"
#include "link/pr_usb.h"
#include "programming/pr_logFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <climits>

namespace vantor::programming {

namespace {

// "Показывать все" is remembered until the program ends.
bool g_showAllPorts = false;

constexpr int kUsbRefreshMs = 750;

QString OneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

TMainFormSettings *FormSettings()
{
    TProgSettings *settings = TProgSettings::Current();
    return settings ? &settings->MainForm() : nullptr;
}

} // namespace

TMainProgFrm::TMainProgFrm(int deviceTag, int mode, std::string input, QWidget *parent)
    : QDialog(parent), tag_(deviceTag), mode_(mode)
{
    setObjectName(QStringLiteral("MainProgFrm"));
    clock_.start();
    if (const TMainFormSettings *form = FormSettings())
        options_.lastDir = form->LastDir();
    // Modes 1 and 3 keep their own copy of what they write.
    session_ = std::make_unique<TProgSession>(tag_, mode_, std::move(input), options_);
    log_ = new TLogForm(this);
    BuildControls();
    WireSession();

    switch (mode_) {
    case kModeRead:
        setWindowTitle(QStringLiteral("Считывание конфигурации"));
        btnCommand_->setText(QStringLiteral("Прочитать"));
        break;
    case kModeFirmware:
        setWindowTitle(QStringLiteral("Базовый программатор"));
        btnCommand_->setText(QStringLiteral("Обновить"));
        break;
    default:
        setWindowTitle(QStringLiteral("Запись конфигурации"));
        btnCommand_->setText(QStringLiteral("Записать"));
        break;
    }
    UpdateControls();
}

TMainProgFrm::~TMainProgFrm()
{
    tmrUsbRefresh_->stop();
    // The session's last words (its disconnect) must not reach the controls being torn down.
    TProgSession &s = *session_;
    s.OnChanged = nullptr;
    s.OnStatus = nullptr;
    s.OnLog = nullptr;
    s.OnProgress = nullptr;
    s.Ask = nullptr;
    s.OnError = nullptr;
    s.ChooseFirmwareFile = nullptr;
    s.ChooseSoundSavePath = nullptr;
    s.OnFinished = nullptr;
    session_.reset();
}

// ---------------------------------------------------------------------------
// Controls

void TMainProgFrm::BuildControls()
{
    pgcConnection_ = new QTabWidget;
    pgcConnection_->setObjectName(QStringLiteral("pgcConnection"));
    pgcConnection_->addTab(BuildUsbPage(), QStringLiteral("USB"));
    pgcConnection_->addTab(BuildComPage(), QStringLiteral("COM"));
    // Only the serial page is offered; the USB page stays built for the day it is.
    pgcConnection_->setCurrentIndex(kPageCom);
    pgcConnection_->setTabVisible(kPageUsb, false);
    pgcConnection_->tabBar()->hide();
    pgcConnection_->setDocumentMode(true);
    FitPages();

    gbControl_ = new QGroupBox(QStringLiteral(" Управление "));
    gbControl_->setObjectName(QStringLiteral("gbControl"));
    btnConnect_ = new QPushButton(QStringLiteral("Подключить"));
    btnConnect_->setObjectName(QStringLiteral("btnConnect"));
    btnDisconnect_ = new QPushButton(QStringLiteral("Отключить"));
    btnDisconnect_->setObjectName(QStringLiteral("btnDisconnect"));
    btnCommand_ = new QPushButton;
    btnCommand_->setObjectName(QStringLiteral("btnCommand"));
    btnCommand_->setDefault(true);
    btnShowLog_ = new QPushButton(QStringLiteral("Показать лог"));
    btnShowLog_->setObjectName(QStringLiteral("btnShowLog"));
    btnShowLog_->setCheckable(true);
    chkSelectSerial_ = new QCheckBox(QStringLiteral("Подключиться к устройству с серийным номером :"));
    chkSelectSerial_->setObjectName(QStringLiteral("chkSelectSerial"));
    edSerial_ = new QSpinBox;
    edSerial_->setObjectName(QStringLiteral("edSerial"));
    edSerial_->setRange(0, 65535);
    edSerial_->setMinimumWidth(90);
    auto *controlLayout = new QGridLayout(gbControl_);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {btnConnect_, btnDisconnect_, btnCommand_})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btnShowLog_);
    controlLayout->addLayout(buttons, 0, 0, 1, 3);
    controlLayout->addWidget(chkSelectSerial_, 1, 0);
    controlLayout->addWidget(edSerial_, 1, 1);
    controlLayout->setColumnStretch(2, 1);

    gbService_ = new QGroupBox(QStringLiteral("Сервис"));
    gbService_->setObjectName(QStringLiteral("gbService"));
    auto *lblSerial = new QLabel(QStringLiteral("S/N:"));
    lblSerial->setObjectName(QStringLiteral("lblSerialNumber"));
    edtSerialNumber_ = new QLineEdit;
    edtSerialNumber_->setObjectName(QStringLiteral("edtSerialNumber"));
    edtSerialNumber_->setReadOnly(true);
    edtSerialNumber_->setMinimumWidth(160);
    lblSerial->setBuddy(edtSerialNumber_);
    btnSetSerial_ = new QPushButton(QStringLiteral("Установить серийный номер"));
    btnSetSerial_->setObjectName(QStringLiteral("btnSetSerial"));
    btnSetSerial_->setVisible(false); // not offered in any mode
    auto *serviceLayout = new QHBoxLayout(gbService_);
    serviceLayout->addWidget(lblSerial);
    serviceLayout->addWidget(edtSerialNumber_);
    serviceLayout->addWidget(btnSetSerial_);
    serviceLayout->addStretch();

    pbProgress_ = new QProgressBar;
    pbProgress_->setObjectName(QStringLiteral("pbProgress"));
    pbProgress_->setRange(0, 100);
    pbProgress_->setValue(0);
    pbProgress_->setFormat(QStringLiteral("%p %"));

    // One status line: the message, and the amount and speed of a running transfer.
    sbStatus_ = new QStatusBar;
    sbStatus_->setObjectName(QStringLiteral("sbStatus"));
    sbStatus_->setSizeGripEnabled(true);
    lblStatus_ = new QLabel;
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setMinimumWidth(0);
    lblStatus_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblTransfer_ = new QLabel;
    lblTransfer_->setObjectName(QStringLiteral("lblTransfer"));
    lblTransfer_->setVisible(false);
    sbStatus_->addWidget(lblStatus_, 1);
    sbStatus_->addPermanentWidget(lblTransfer_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pgcConnection_);
    layout->addWidget(gbControl_);
    layout->addWidget(gbService_);
    layout->addWidget(pbProgress_);
    layout->addStretch();
    layout->addWidget(sbStatus_);
    layout->setContentsMargins(9, 9, 9, 0);

    tmrUsbRefresh_ = new QTimer(this);
    tmrUsbRefresh_->setObjectName(QStringLiteral("tmrUsbRefresh"));
    tmrUsbRefresh_->setInterval(kUsbRefreshMs);
    connect(tmrUsbRefresh_, &QTimer::timeout, this, [this] {
        if (pgcConnection_->currentIndex() != kPageUsb)
            return;
        const TMainFormSettings *form = FormSettings();
        const bool autoUpdate = form ? form->AutoUpdateDevList() : chkAutoUpdate_->isChecked();
        if (session_->ConnectionState() == link::kStateDisconnected && !session_->IsConnecting() &&
            autoUpdate)
            RefreshUsbDevices();
        else
            UpdateControls();
    });

    connect(pgcConnection_, &QTabWidget::currentChanged, this, &TMainProgFrm::OnPageChanged);
    connect(btnConnect_, &QPushButton::clicked, this, &TMainProgFrm::ConnectDevice);
    connect(btnDisconnect_, &QPushButton::clicked, this, &TMainProgFrm::DisconnectDevice);
    connect(btnCommand_, &QPushButton::clicked, this, &TMainProgFrm::RunCommand);
    connect(btnShowLog_, &QPushButton::toggled, this, [this](bool down) { log_->setVisible(down); });
    connect(log_, &TLogForm::hidden, this, [this] { btnShowLog_->setChecked(false); });
    connect(chkSelectSerial_, &QCheckBox::toggled, edSerial_, &QWidget::setEnabled);
    edSerial_->setEnabled(chkSelectSerial_->isChecked());

    resize(std::max(600, sizeHint().width()), sizeHint().height());
}

QWidget *TMainProgFrm::BuildComPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsCOM"));
    auto *label = new QLabel(QStringLiteral("Порт:"));
    cbbPort_ = new QComboBox;
    cbbPort_->setObjectName(QStringLiteral("cbbPort"));
    cbbPort_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbbPort_->setMinimumContentsLength(24);
    label->setBuddy(cbbPort_);
    btnRefreshCom_ = new QPushButton(style()->standardIcon(QStyle::SP_BrowserReload), QString());
    btnRefreshCom_->setObjectName(QStringLiteral("btnRefreshCOM"));
    btnRefreshCom_->setToolTip(QStringLiteral("Обновить список портов"));
    chkShowAll_ = new QCheckBox(QStringLiteral("Показывать все"));
    chkShowAll_->setObjectName(QStringLiteral("chkShowAll"));
    chkShowAll_->setChecked(g_showAllPorts);

    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 4); // in line with the groups below
    layout->addWidget(label);
    layout->addWidget(cbbPort_, 1);
    layout->addWidget(btnRefreshCom_);
    layout->addWidget(chkShowAll_);

    connect(btnRefreshCom_, &QPushButton::clicked, this, &TMainProgFrm::RefreshPorts);
    connect(chkShowAll_, &QCheckBox::toggled, this, [this](bool on) {
        g_showAllPorts = on;
        RefreshPorts();
    });
    connect(cbbPort_, &QComboBox::activated, this, &TMainProgFrm::OnPortPicked);
    return page;
}

QWidget *TMainProgFrm::BuildUsbPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsUSB"));
    int vid = TUSBSettings::kDefaultVID, pid = TUSBSettings::kDefaultPID;
    if (const TProgSettings *settings = TProgSettings::Current()) {
        vid = settings->USB().VID();
        pid = settings->USB().PID();
    }
    lblDevs_ = new QLabel(link::UsbListLabel(std::uint16_t(vid), std::uint16_t(pid)));
    lblDevs_->setObjectName(QStringLiteral("lblDevs"));
    lstDevs_ = new QListWidget;
    lstDevs_->setObjectName(QStringLiteral("lstDevs"));
    lblUsbVersion_ = new QLabel;
    lblUsbVersion_->setObjectName(QStringLiteral("lblUsbVersion"));
    btnRefreshUsb_ = new QPushButton(QStringLiteral("Обновить список"));
    btnRefreshUsb_->setObjectName(QStringLiteral("btnRefreshUSB"));
    chkAutoUpdate_ = new QCheckBox(QStringLiteral("Автообновление списка устройств"));
    chkAutoUpdate_->setObjectName(QStringLiteral("chkAutoUpdate"));
    const TMainFormSettings *form = FormSettings();
    chkAutoUpdate_->setChecked(form ? form->AutoUpdateDevList() : true);
    btnRefreshUsb_->setVisible(!chkAutoUpdate_->isChecked());

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkAutoUpdate_);
    bottom->addStretch();
    bottom->addWidget(btnRefreshUsb_);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(lblDevs_);
    layout->addWidget(lstDevs_, 1);
    layout->addWidget(lblUsbVersion_);
    layout->addLayout(bottom);

    connect(btnRefreshUsb_, &QPushButton::clicked, this, &TMainProgFrm::RefreshUsbDevices);
    connect(chkAutoUpdate_, &QCheckBox::toggled, this, [this](bool on) {
        if (TMainFormSettings *settings = FormSettings())
            settings->SetAutoUpdateDevList(on);
        btnRefreshUsb_->setVisible(!on);
        if (on && pgcConnection_->currentIndex() == kPageUsb)
            tmrUsbRefresh_->start();
        else
            tmrUsbRefresh_->stop();
    });
    connect(lstDevs_, &QListWidget::currentRowChanged, this, [this] { UpdateControls(); });
    return page;
}

void TMainProgFrm::WireSession()
{
    TProgSession &s = *session_;
    s.OnChanged = [this] { UpdateControls(); };
    s.OnStatus = [this](const QString &text) { ShowStatus(text); };
    s.OnLog = [this](qint64 ms, const QString &text) { Log(ms, text); };
    s.OnProgress = [this](qint64 done, qint64 total) { OnProgress(done, total); };
    s.Ask = [this](Question, const QString &text) {
        return UserDialogs::Ask(this, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
               QMessageBox::Yes;
    };
    s.OnError = [this](const QString &text) { UserDialogs::ShowError(this, text); };
    s.ChooseFirmwareFile = [this](const QString &lastDir) {
        const QString path = UserDialogs::ChooseFileToOpen(
            this, {QStringLiteral("Выберите файл прошивки"), QStringLiteral("Morvane firmware file (*.mff)"),
                   QStringLiteral("mff"), lastDir});
        if (!path.isEmpty())
            if (TMainFormSettings *settings = FormSettings())
                settings->SetLastDir(QFileInfo(path).absolutePath());
        return path;
    };
    s.ChooseSoundSavePath = [this](int index, const QString &name) {
        const QString suffix = QFileInfo(name).suffix();
        FileDialogOptions options{QStringLiteral("Сохранить звуковой файл №%1").arg(index + 1),
                                  suffix.isEmpty()
                                      ? QStringLiteral("Все файлы (*)")
                                      : QStringLiteral("Звуковой файл (*.%1);;Все файлы (*)").arg(suffix),
                                  suffix,
                                  {}};
        options.fileName = name;
        return UserDialogs::ChooseFileToSave(this, options);
    };
    s.OnFinished = [this](const Outcome &outcome) { OnFinished(outcome); };
}

void TMainProgFrm::UpdateControls()
{
    const TProgSession &s = *session_;
    const std::uint8_t state = s.ConnectionState();
    const bool connecting = s.IsConnecting();
    const bool disconnected = state == link::kStateDisconnected && !connecting;
    const bool usbPage = pgcConnection_->currentIndex() == kPageUsb;

    btnRefreshCom_->setEnabled(disconnected);
    btnRefreshUsb_->setEnabled(disconnected && !usbLibraryFailed_);
    const bool picked = usbPage ? lstDevs_->currentRow() >= 0 : cbbPort_->currentIndex() >= 0;
    btnConnect_->setEnabled(disconnected && picked);
    // Also while connecting: the engineer must be able to stop a connect loop, and to
    // leave a connection whose session could not be set up.
    btnDisconnect_->setEnabled(connecting || state == link::kStateConnecting ||
                               state == link::kStateConnected);
    btnCommand_->setEnabled(s.CanRunCommand());
    btnSetSerial_->setEnabled(s.CanRunCommand());
    pgcConnection_->setEnabled(!s.IsBusy());
    const bool portFree = !(state == link::kStateConnected && s.IsConnected()) && !connecting;
    cbbPort_->setEnabled(portFree);
    chkShowAll_->setEnabled(portFree);
    lstDevs_->setEnabled(portFree);
    if (edtSerialNumber_->text() != s.SerialNumber())
        edtSerialNumber_->setText(s.SerialNumber());
}

// ---------------------------------------------------------------------------
// Lists

void TMainProgFrm::RefreshPorts()
{
    if (pgcConnection_->currentIndex() == kPageUsb) {
        RefreshUsbDevices();
        return;
    }
    ports_ = link::ListSerialPorts(g_showAllPorts);
    const QSignalBlocker block(cbbPort_);
    cbbPort_->clear();
    for (const link::TItemInfo &port : ports_) {
        cbbPort_->addItem(port.display);
        cbbPort_->setItemData(cbbPort_->count() - 1, port.address, Qt::ToolTipRole);
    }
    cbbPort_->setCurrentIndex(link::SelectPort(ports_));
    if (ports_.empty())
        ShowStatus(link::NoPortsText());
    UpdateControls();
}

void TMainProgFrm::RefreshUsbDevices()
{
    if (refreshingUsb_)
        return;
    refreshingUsb_ = true;
    int vid = TUSBSettings::kDefaultVID, pid = TUSBSettings::kDefaultPID;
    if (const TProgSettings *settings = TProgSettings::Current()) {
        vid = settings->USB().VID();
        pid = settings->USB().PID();
    }
    // Keep the engineer's choice across the automatic refreshes.
    const QString chosen = lstDevs_->currentRow() >= 0 && lstDevs_->currentRow() < int(usbDevices_.size())
                               ? usbDevices_[std::size_t(lstDevs_->currentRow())].caption
                               : QString();
    try {
        if (lblUsbVersion_->text().isEmpty())
            lblUsbVersion_->setText(link::UsbVersionText());
        usbDevices_ = link::ListUsbDevices(std::uint16_t(vid), std::uint16_t(pid));
    } catch (const link::EUSBModuleException &e) {
        usbDevices_.clear();
        usbLibraryFailed_ = true;
        tmrUsbRefresh_->stop(); // one box, not one every 750 ms
        lstDevs_->clear();
        refreshingUsb_ = false;
        UpdateControls();
        UserDialogs::ShowError(this, e.Text());
        return;
    }
    lstDevs_->setUpdatesEnabled(false);
    {
        const QSignalBlocker block(lstDevs_);
        lstDevs_->clear();
        int select = link::AutoSelectUsbDevice(usbDevices_);
        for (std::size_t i = 0; i < usbDevices_.size(); ++i) {
            lstDevs_->addItem(link::UsbDeviceItemText(i, usbDevices_[i]));
            if (!chosen.isEmpty() && usbDevices_[i].caption == chosen)
                select = int(i);
        }
        lstDevs_->setCurrentRow(select);
    }
    lstDevs_->setUpdatesEnabled(true);
    refreshingUsb_ = false;
    UpdateControls();
}

void TMainProgFrm::FitPages()
{
    // The page control takes the size of the page shown, not of the largest page.
    for (int i = 0; i < pgcConnection_->count(); ++i) {
        QWidget *page = pgcConnection_->widget(i);
        if (i == pgcConnection_->currentIndex())
            page->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
        else
            page->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    }
    pgcConnection_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    pgcConnection_->updateGeometry();
}

void TMainProgFrm::OnPageChanged(int index)
{
    FitPages();
    options_.connectType = index == kPageUsb ? link::kConnectUsb : link::kConnectSerial;
    if (index == kPageUsb) {
        RefreshUsbDevices();
        if (chkAutoUpdate_->isChecked() && !usbLibraryFailed_)
            tmrUsbRefresh_->start();
    } else {
        tmrUsbRefresh_->stop();
        RefreshPorts();
    }
    UpdateControls();
}

void TMainProgFrm::OnPortPicked(int index)
{
    if (index >= 0 && index < int(ports_.size()))
        link::RememberPort(ports_[std::size_t(index)].name);
    UpdateControls();
}

// ---------------------------------------------------------------------------
// Commands

void TMainProgFrm::ConnectDevice()
{
    if (!btnConnect_->isEnabled())
        return;
    if (pgcConnection_->currentIndex() == kPageUsb) {
        const int row = lstDevs_->currentRow();
        if (row < 0 || row >= int(usbDevices_.size()))
            return;
        options_.connectType = link::kConnectUsb;
        options_.usbDevice = usbDevices_[std::size_t(row)];
    } else {
        const int index = cbbPort_->currentIndex();
        if (index < 0 || index >= int(ports_.size()))
            return;
        options_.connectType = link::kConnectSerial;
        options_.port = ports_[std::size_t(index)].address;
        options_.portCaption = ports_[std::size_t(index)].name; // as the list names it
    }
    if (const TSettings *settings = TSettings::Current()) {
        options_.comIntervalDelay = settings->ComIntervalDelay();
        options_.comConnectTryCount = settings->ComConnectTryCount();
    }
    if (chkSelectSerial_->isChecked())
        options_.selectSerial = std::uint16_t(edSerial_->value());
    else
        options_.selectSerial.reset();
    if (const TMainFormSettings *form = FormSettings())
        options_.lastDir = form->LastDir();
    session_->SetOptions(options_);
    session_->Connect(); // runs the event loop while it waits between tries
}

void TMainProgFrm::DisconnectDevice()
{
    session_->Disconnect();
}

void TMainProgFrm::RunCommand()
{
    if (!session_->CanRunCommand())
        return;
    outcome_.reset();
    session_->RunCommand();
}

// ---------------------------------------------------------------------------
// What the session reports

void TMainProgFrm::ShowStatus(const QString &text)
{
    lblStatus_->setStyleSheet(QString());
    lblStatus_->setText(OneLine(text));
    lblStatus_->setToolTip(text);
}

void TMainProgFrm::Log(qint64 ms, const QString &text)
{
    log_->Log(ms, OneLine(text));
}

void TMainProgFrm::OnProgress(qint64 done, qint64 total)
{
    if (total <= 0) {
        pbProgress_->setRange(0, 100);
        pbProgress_->setValue(0);
        meter_.Reset();
        lblTransfer_->clear();
        lblTransfer_->setVisible(false);
        return;
    }
    // The bar counts in units that fit an int.
    int shift = 0;
    while ((total >> shift) > INT_MAX)
        ++shift;
    pbProgress_->setRange(0, int(total >> shift));
    pbProgress_->setValue(int(std::min(done, total) >> shift));
    meter_.Update(done, total, clock_.elapsed());
    lblTransfer_->setText(meter_.Text());
    lblTransfer_->setVisible(true);
}

void TMainProgFrm::OnFinished(const Outcome &outcome)
{
    outcome_ = outcome;
    // The last word stays readable: green when the device holds what was meant.
    if (!outcome.message.isEmpty()) {
        lblStatus_->setText(OneLine(outcome.message));
        lblStatus_->setToolTip(outcome.message);
    }
    lblStatus_->setStyleSheet(outcome.ok ? QStringLiteral("color: #1b6e20;")
                                         : QStringLiteral("color: #b71c1c;"));
    UpdateControls();
    // A read is handed back at once; a Sollo-4 read waits for the engineer to close,
    // so the sound files fetched can be looked at first.
    if (mode_ == kModeRead && outcome.ok && tag_ != 5)
        accept();
}

QString TMainProgFrm::StatusText() const
{
    return lblStatus_->text();
}

QString TMainProgFrm::TransferText() const
{
    return lblTransfer_->isVisibleTo(sbStatus_) ? lblTransfer_->text() : QString();
}

std::string TMainProgFrm::WorkStream() const
{
    return mode_ == kModeRead ? session_->WorkStream() : std::string();
}

// ---------------------------------------------------------------------------
// Showing and closing

void TMainProgFrm::showEvent(QShowEvent *event)
{
    if (!shown_) {
        shown_ = true;
        RestorePlacement();
        if (pgcConnection_->currentIndex() == kPageUsb)
            OnPageChanged(kPageUsb);
        else
            RefreshPorts();
    }
    edSerial_->setEnabled(chkSelectSerial_->isChecked());
    UpdateControls();
    QDialog::showEvent(event);
}

bool TMainProgFrm::ConfirmClose()
{
    if (!session_->IsOperationActive())
        return true;
    return UserDialogs::Ask(this,
                            QStringLiteral("Операция с устройством ещё не завершена.\n"
                                           "Прервать её и закрыть окно?"),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void TMainProgFrm::done(int result)
{
    if (closing_)
        return;
    if (!ConfirmClose())
        return;
    closing_ = true;
    tmrUsbRefresh_->stop();
    session_->Disconnect();
    SavePlacement();
    log_->hide();
    QDialog::done(result);
    closing_ = false;
}

void TMainProgFrm::RestorePlacement()
{
    const TMainFormSettings *form = FormSettings();
    if (!form || form->Width() < 200 || form->Height() < 150)
        return;
    const QRect saved(form->Left(), form->Top(), form->Width(), form->Height());
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(saved)) {
            resize(saved.size());
            move(saved.topLeft());
            break;
        }
    if (form->Maximized())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TMainProgFrm::SavePlacement()
{
    TMainFormSettings *form = FormSettings();
    if (!form || !isVisible())
        return;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    form->SetLeft(normal.left());
    form->SetTop(normal.top());
    form->SetWidth(normal.width());
    form->SetHeight(normal.height());
    form->SetMaximized(isMaximized());
    form->SetConnectType(options_.connectType);
}

} // namespace vantor::programming
