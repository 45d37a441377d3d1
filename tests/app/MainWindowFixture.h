#pragma once
// A main window on a temporary home folder, with scripted dialogs, for window tests.

#include "app/ConfigFile.h"
#include "app/DeviceWindows.h"
#include "app/MdiTabStrip.h"
#include "app/Settings.h"
#include "app/UBaseMDI.h"
#include "app/UMain.h"
#include "app/UserDialogs.h"

#include "TempHome.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <memory>

namespace vantor::test {

// A device window whose document is what it was given (or an empty one of its
// device), which the test may edit. It refuses documents holding "reject" in their
// device member, as real device windows refuse bad documents.
class DocumentWindow : public TfmBaseMDI {
public:
    explicit DocumentWindow(DeviceTag tag, QWidget *parent = nullptr) : TfmBaseMDI(tag, parent)
    {
        document_[std::string(FindDeviceType(tag)->rootKey)] = json::Json::object();
    }

    std::optional<json::Json> GetConfigJson() override { return document_; }
    json::Json &document() { return document_; }

    bool LoadConfigJson(json::Json root, QString &message) override
    {
        const std::string key(FindDeviceType(deviceTag())->rootKey);
        if (!root.contains(key) || root[key].contains("reject")) {
            message = QStringLiteral("Некорректная конфигурация");
            return false;
        }
        document_ = root;
        return TfmBaseMDI::LoadConfigJson(std::move(root), message);
    }

private:
    json::Json document_;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto settings = std::make_unique<TSettings>(SettingsFile());
        main_ = std::make_unique<TfmMain>(std::move(settings), PlacementFile());
        main_->show();
    }
    void TearDown() override
    {
        main_.reset();
        Flush();
    }

    QString SettingsFile() const { return home_.path() + QStringLiteral("/vantor5.xml"); }
    QString PlacementFile() const { return home_.path() + QStringLiteral("/ViewSchema.xml"); }
    QString Path(const char *name) const { return home_.path() + QLatin1Char('/') + QString::fromUtf8(name); }

    // Runs what was posted: closed windows are deleted, queued calls delivered.
    static void Flush()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void WriteDocument(const char *name, const char *document)
    {
        const auto root = json::ParseObject(document);
        ASSERT_TRUE(root) << document;
        ASSERT_TRUE(WriteConfigFile(Path(name), *root));
    }

    int WindowCount() const { return static_cast<int>(main_->deviceWindows().size()); }

    TempHome home_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TfmMain> main_;
};

} // namespace vantor::test
