#pragma once
// The "GPRS" and "Ethernet" tabs of the Pelmar-3 window: the protocol's own settings,
// the centre's server ("Параметры сервера") and the registration servers (TfrmReg).

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vantor {

class PelmarConfig;
struct PelmarServer;
class TfrmReg;

// "Параметры сервера": address (no ':' — it separates the port in the document),
// port 1..65535, "Фиксированный адрес".
class PelmarServerFields : public QObject {
    Q_OBJECT

public:
    PelmarServerFields(const char *addressName, const char *portName, const char *fixName, QWidget *parent);
    QWidget *Group();
    void Refresh(const PelmarServer &server);
    void Store(PelmarServer &server) const;

signals:
    void edited();

private:
    QLineEdit *address_;
    QSpinBox *port_;
    QCheckBox *fix_;
};

class PelmarGprsPage : public QWidget {
    Q_OBJECT

public:
    explicit PelmarGprsPage(PelmarConfig &config, QWidget *parent = nullptr);
    void Refresh();
    TfrmReg *regs() const { return frmRegGPRS_; }

signals:
    void edited();

private:
    void Edited();

    PelmarConfig &config_;
    bool loading_ = false;
    QLineEdit *edPIN_;
    QLineEdit *edAPN_;
    QLineEdit *edLogin_;
    QLineEdit *edPassword_;
    PelmarServerFields *server_;
    TfrmReg *frmRegGPRS_;
};

class PelmarEthernetPage : public QWidget {
    Q_OBJECT

public:
    explicit PelmarEthernetPage(PelmarConfig &config, QWidget *parent = nullptr);
    void Refresh();
    TfrmReg *regs() const { return frmRegEthernet_; }

signals:
    void edited();

private:
    void Edited();
    // DHCP leaves the own address, gateway and mask to the network.
    void ApplyDhcp();

    PelmarConfig &config_;
    bool loading_ = false;
    QLineEdit *edMAC_;
    QPushButton *btnRandMac_;
    QCheckBox *cbUseDHCP_;
    QLineEdit *edSelfIP_;
    QLineEdit *edGateIP_;
    QLineEdit *edMask_;
    QCheckBox *cbCanPing_;
    PelmarServerFields *server_;
    TfrmReg *frmRegEthernet_;
};

} // namespace vantor
