#pragma once
// The Navet configuration window ("Конфигурация Navet").
//
// The window owns a NavetConfig; each control stores its value there as it changes,
// and loading a document refreshes every control from it.

#include "app/UBaseMDI.h"
#include "devices/navet/NavetConfig.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;

namespace vantor {

namespace widgets {
class InPlaceTableView;
}

class TfmConfNavet : public TfmBaseMDI {
    Q_OBJECT

public:
    explicit TfmConfNavet(QWidget *parent = nullptr);
    ~TfmConfNavet() override;

    std::optional<json::Json> GetConfigJson() override;
    bool LoadConfigJson(json::Json root, QString &message) override;

    const navet::NavetConfig &config() const { return config_; }

private:
    void BuildControls();
    QGroupBox *CreateRadioGroup(const char *name, const QString &caption, const QStringList &items,
                                QButtonGroup *&buttons, int *field);
    widgets::InPlaceTableView *CreateGrid(const char *name, QStandardItemModel *&model,
                                          const QStringList &headers);
    void RefreshControls();

    navet::NavetConfig config_;
    bool refreshing_ = false;

    QLineEdit *edProjectName_ = nullptr;
    QLabel *lblID_ = nullptr;
    QLineEdit *edID_ = nullptr;
    QComboBox *cbTimeZone_ = nullptr;
    QButtonGroup *rbType_ = nullptr;
    QButtonGroup *rbRole_ = nullptr;
    QStandardItemModel *currents_ = nullptr;
    QStandardItemModel *phases_ = nullptr;
    QPushButton *btnRead_ = nullptr;
    QPushButton *btnWrite_ = nullptr;
};

} // namespace vantor
