#pragma once
// The Rudex configuration window ("Контроллер электросчетчиков").
//
// The window owns a RudexConfig and binds its controls to it: each control stores
// its value in the configuration as it changes, and loading a document refreshes
// every control from the configuration.

#include "app/UBaseMDI.h"
#include "devices/rudex/RudexConfig.h"

#include <memory>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace vantor {

namespace widgets {
class IdentifierTableModel;
class InPlaceTreeView;
} // namespace widgets

class TfmConfRudex : public TfmBaseMDI {
    Q_OBJECT

public:
    explicit TfmConfRudex(QWidget *parent = nullptr);
    ~TfmConfRudex() override;

    std::optional<json::Json> GetConfigJson() override;
    bool LoadConfigJson(json::Json root, QString &message) override;

    const rudex::RudexConfig &config() const { return config_; }

private:
    class IdSource;

    void BuildControls();
    void RefreshControls();

    rudex::RudexConfig config_;
    std::unique_ptr<IdSource> idSource_;
    widgets::IdentifierTableModel *idModel_ = nullptr;

    QGroupBox *gbRudex_ = nullptr;
    QLineEdit *edName_ = nullptr;
    QLineEdit *edPass_ = nullptr;
    QCheckBox *cbDefaultPass_ = nullptr;
    widgets::InPlaceTreeView *vtIDs_ = nullptr;
    QPushButton *btnRead_ = nullptr;
    QPushButton *btnWrite_ = nullptr;
};

} // namespace vantor
