#pragma once
// TMainProgFrm: the modal programmer window, where the engineer meets a device. A view
// over one programming session (TProgSession): the port list, "Подключить" and
// "Отключить", the command button of the mode, the progress bar with the amount and
// speed of the running transfer, the status line and the log window.
//
//   TMainProgFrm programmer(tag, kModeWrite, compactJson, parent);
//   UserDialogs::Exec(programmer);
//   ... mode 0: programmer.WorkStream() holds the JSON text read (may be empty).
//
// Closing (or destroying) the window disconnects. Closing while an operation runs asks
// first, because a write cut short leaves the device with a damaged configuration.

#include "programming/ProgSession.h"
#include "programming/TransferMeter.h"

#include <QDialog>
#include <QElapsedTimer>

#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace vantor::link {
struct TItemInfo;
}

namespace vantor::programming {

class TLogForm;

class TMainProgFrm : public QDialog {
    Q_OBJECT

public:
    // Pages of the connection page control.
    enum Page { kPageUsb = 0, kPageCom = 1 };

    // deviceTag 0..6 (0: any device), mode 0..3 (ProgMode), input: the JSON text to
    // write (modes 1 and 3; the window keeps its own copy).
    TMainProgFrm(int deviceTag, int mode, std::string input = {}, QWidget *parent = nullptr);
    ~TMainProgFrm() override;

    int DeviceTag() const { return tag_; }
    int Mode() const { return mode_; }

    // Mode 0: the JSON text read from the device (Sollo-4: with the paths of the sound
    // files fetched); empty when nothing was read.
    std::string WorkStream() const;
    // The outcome of the last operation, if one ended.
    const std::optional<Outcome> &LastOutcome() const { return outcome_; }

    // The choices the next "Подключить" starts from. Port, select-by-serial, tries and
    // delay are filled in from the controls and the settings when it is pressed; the
    // rest (timings, traffic in the log) may be changed by the caller beforehand.
    ProgOptions &Options() { return options_; }

    TProgSession &Session() { return *session_; }
    TLogForm &LogForm() { return *log_; }

    // The buttons' actions.
    void ConnectDevice();    // "Подключить"
    void DisconnectDevice(); // "Отключить"
    void RunCommand();       // "Прочитать" / "Записать" / "Обновить"
    void RefreshPorts();     // the refresh button of the page shown
    void RefreshUsbDevices();

    // Text of the status line and of the transfer panel beside it.
    QString StatusText() const;
    QString TransferText() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildControls();
    QWidget *BuildComPage();
    QWidget *BuildUsbPage();
    void WireSession();
    void UpdateControls();
    void FitPages();
    void OnPageChanged(int index);
    void OnPortPicked(int index);
    void OnProgress(qint64 done, qint64 total);
    void OnFinished(const Outcome &outcome);
    void ShowStatus(const QString &text);
    void Log(qint64 ms, const QString &text);
    bool ConfirmClose();
    void RestorePlacement();
    void SavePlacement();

    int tag_;
    int mode_;
    ProgOptions options_;
    std::unique_ptr<TProgSession> session_;
    TLogForm *log_;
    std::optional<Outcome> outcome_;
    std::vector<link::TUSBDevice> usbDevices_;
    std::vector<link::TItemInfo> ports_;
    bool usbLibraryFailed_ = false;
    bool refreshingUsb_ = false;
    bool closing_ = false;
    bool shown_ = false;
    TransferMeter meter_;
    QElapsedTimer clock_;

    QTabWidget *pgcConnection_;
    QListWidget *lstDevs_;
    QLabel *lblDevs_;
    QLabel *lblUsbVersion_;
    QPushButton *btnRefreshUsb_;
    QCheckBox *chkAutoUpdate_;
    QComboBox *cbbPort_;
    QPushButton *btnRefreshCom_;
    QCheckBox *chkShowAll_;
    QGroupBox *gbControl_;
    QPushButton *btnConnect_;
    QPushButton *btnDisconnect_;
    QPushButton *btnCommand_;
    QPushButton *btnShowLog_;
    QCheckBox *chkSelectSerial_;
    QSpinBox *edSerial_;
    QGroupBox *gbService_;
    QLineEdit *edtSerialNumber_;
    QPushButton *btnSetSerial_;
    QProgressBar *pbProgress_;
    QStatusBar *sbStatus_;
    QLabel *lblStatus_;
    QLabel *lblTransfer_;
    QTimer *tmrUsbRefresh_;
};

} // namespace vantor::programming
