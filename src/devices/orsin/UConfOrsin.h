#pragma once
// The Orsin-3 configuration window ("Контроллер видеофиксации").
//
// Tab "Главная": the port grid (a click on a row opens the output menu), the
// controller and port counts taken by "Применить", and the switches of the
// Ethernet and server settings, whose tabs show only while they are on. The window
// owns the TDevice; controls store into it as they change (address fields when
// they are left), and loading a document refreshes every control from it.

#include "app/UBaseMDI.h"
#include "devices/orsin/OrsinConfig.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStandardItemModel;
class QTabWidget;
class QTableView;

namespace vantor {

namespace widgets {
class Ipv4Edit;
}
namespace orsin {
class OrsinOutputMenu;
}

class TfmConfOrsin : public TfmBaseMDI {
    Q_OBJECT

public:
    explicit TfmConfOrsin(QWidget *parent = nullptr);
    ~TfmConfOrsin() override;

    std::optional<json::Json> GetConfigJson() override;
    bool LoadConfigJson(json::Json root, QString &message) override;

    const orsin::TDevice &device() const { return device_; }
    orsin::OrsinOutputMenu *outputMenu() const { return pmOutputs_; }

    // Opens the output menu for a port (0-based), under its row, as a click does.
    void OpenOutputMenu(int port);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *CreateMainPage();
    QWidget *CreateEthernetPage();
    QWidget *CreateServerPage();

    void Apply();
    void OnOutputChosen(int globalIndex);
    void TakeMacText();
    void UpdateTabs();
    void UpdateAddressFields();
    void RebuildGrid();
    void RefreshGrid();
    void RefreshControls();

    orsin::TDevice device_;
    int menuPort_ = -1;
    bool refreshing_ = false;

    QTabWidget *pgcMain_ = nullptr;
    QWidget *tsMain_ = nullptr;
    QWidget *tsEthernet_ = nullptr;
    QWidget *tsServer_ = nullptr;
    QTableView *grid_ = nullptr;
    QStandardItemModel *ports_ = nullptr;
    orsin::OrsinOutputMenu *pmOutputs_ = nullptr;
    QSpinBox *edControllersCount_ = nullptr;
    QSpinBox *edOutputCount_ = nullptr;
    QPushButton *btnConfApply_ = nullptr;
    QCheckBox *cbEthernet_ = nullptr;
    QCheckBox *cbServer_ = nullptr;
    QLineEdit *edMacAddress_ = nullptr;
    QPushButton *btnRandomMac_ = nullptr;
    widgets::Ipv4Edit *edIP_ = nullptr;
    widgets::Ipv4Edit *edGate_ = nullptr;
    widgets::Ipv4Edit *edMask_ = nullptr;
    QCheckBox *cbDHCP_ = nullptr;
    QCheckBox *cbPing_ = nullptr;
    QSpinBox *edPort_ = nullptr;
    QPushButton *btnRead_ = nullptr;
    QPushButton *btnWrite_ = nullptr;
};

} // namespace vantor
