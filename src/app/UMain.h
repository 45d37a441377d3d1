#pragma once
// The main window: one child window per open configuration, the device-type
// dispatch of new, open and save, the tab strip of open windows, menus, toolbar and
// status bar.

#include "app/DeviceTypes.h"
#include "app/Settings.h"
#include "app/XmlAppStorage.h"
#include "json/JsonText.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace vantor {

class MainDeviceActions;
class MdiTabStrip;
class TfmBaseMDI;

class TfmMain : public QMainWindow {
    Q_OBJECT

public:
    // settings: the connection settings of the run (owned from now on; saved when the
    // window closes; may be null). placementFile: where the window placement is kept
    // ("ViewSchema.xml"; empty: not kept).
    explicit TfmMain(std::unique_ptr<TSettings> settings = nullptr, const QString &placementFile = {},
                     QWidget *parent = nullptr);
    ~TfmMain() override;

    static QString ApplicationTitle();

    QMdiArea *mdiArea() const { return mdiArea_; }
    MdiTabStrip *tabStrip() const { return tsMain_; }
    QWidget *tabPanel() const { return pTabs_; }
    QToolBar *mainToolBar() const { return tbMain_; }
    // The new-configuration popup (one item per device type).
    QMenu *newConfigurationMenu() const { return pmDevice_; }
    // The "Устройство" menu: the device actions put their items here.
    QMenu *deviceMenu() const { return miDevice_; }
    TSettings *settings() const { return settings_.get(); }

    // The tag of the active device window (0 when none or not recognised).
    DeviceTag currentDeviceType() const { return currentDeviceType_; }
    void setCurrentDeviceType(DeviceTag tag);
    // The device actions of the "Устройство" menu (read, write, firmware, from file).
    MainDeviceActions *deviceActions() const { return deviceActions_; }

    // The open device windows, oldest first, and the active one.
    QList<TfmBaseMDI *> deviceWindows() const;
    TfmBaseMDI *activeDeviceWindow() const;

    // With reuse, brings the most recently used window of the tag's class to the
    // front when there is one; otherwise creates a window, shows it, adds its tab
    // and selects it.
    TfmBaseMDI *CreateDeviceWindow(DeviceTag tag, bool reuse);
    // A new window of the tag (never reuses); the current device type becomes tag.
    TfmBaseMDI *NewConfiguration(DeviceTag tag);

    // Routes a configuration document to the window of the first device whose root
    // key it holds, trying tags from startTag on (0 for files, the device's tag for
    // a device read). Returns false when no key was found (nothing happens then).
    // A window that rejects the document shows its reason in an error box.
    bool DispatchConfig(json::Json root, DeviceTag startTag);

    // Opens a configuration file (*.vt5); a file that cannot be used is reported in
    // an error box. Returns true when a window received the document.
    bool OpenConfigFile(const QString &path);
    // Saves the active window's document to a configuration file. Returns false and
    // writes nothing when no window is open or the window has nothing to save; a
    // write failure is reported in an error box.
    bool SaveConfigFile(const QString &path);
    bool SaveWindowToFile(TfmBaseMDI &window, const QString &path);
    // Asks for a file and saves the window's document to it; false when cancelled
    // or failed.
    bool SaveWindowInteractive(TfmBaseMDI &window);

    // Asks for a file (through UserDialogs) and opens or saves it.
    void OpenConfigInteractive();
    void SaveConfigInteractive();
    void ShowSettings();
    void ShowAbout();

    // Closes every device window (each with unsaved changes asks first); the current
    // device type becomes 0. False when the engineer kept a window open.
    bool CloseAll();

    // The command line after the program name: "/as" registers the file
    // association when it is not already registered to this program; a path of an
    // existing file opens it; anything else is ignored.
    void HandleCommandLine(const QStringList &arguments);

    // Loads the block-model plug-ins of the program's folder into the registry;
    // each plug-in that fails is reported in its own error box and skipped.
    // Returns the number of models loaded.
    int LoadModelPlugins(const QString &programFolder);

    // Delivers a message to every open device window through the event loop.
    void RelayToChildren(qintptr wParam, qintptr lParam);

    // Turns the following of the active window on or off (off while a modal device
    // dialog runs, so that its activation changes nothing).
    void setActiveWindowTracking(bool on) { tracking_ = on; }
    bool activeWindowTracking() const { return tracking_; }

    // The text of a status bar panel (0 hints, 1 free, 2 version).
    QString statusText(int panel) const;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateActions();
    void RebuildWindowMenu();

    void OnSubWindowActivated(QMdiSubWindow *window);
    void OnChildClosed(TfmBaseMDI *window);
    void OnChildCaptionChanged(TfmBaseMDI *window);
    void OnTabCloseRequested(int index);
    void OnTabSelected(int index);
    void RetitleFromActive();

    int TabIndexOf(const TfmBaseMDI *window) const;
    TfmBaseMDI *WindowOfTab(int index) const;
    QMdiSubWindow *SubWindowOf(const TfmBaseMDI *window) const;
    TfmBaseMDI *WindowOfSub(const QMdiSubWindow *sub) const;
    void Forget(const void *windowOrSub);
    void UpdateTabPanel();
    void PlaceNewWindow(QMdiSubWindow *sub) const;
    bool RemoveTab(const TfmBaseMDI *window);

    void RestorePlacement();
    void SavePlacement();

    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<XmlAppStorage> placement_;
    QMdiArea *mdiArea_;
    QWidget *pTabs_;
    MdiTabStrip *tsMain_;
    QToolBar *tbMain_ = nullptr;
    QMenu *pmDevice_ = nullptr;
    QMenu *miDevice_ = nullptr;
    QMenu *miWindows_ = nullptr;
    MainDeviceActions *deviceActions_ = nullptr;
    QLabel *statusPanels_[3] = {};
    QMap<QString, QAction *> actions_;

    // The open device windows in creation order, with their sub-windows.
    struct ChildWindow {
        TfmBaseMDI *window;
        QMdiSubWindow *sub;
    };
    std::vector<ChildWindow> children_;

    DeviceTag currentDeviceType_ = kNoDevice;
    bool tracking_ = true;
    bool placementRestored_ = false;
};

} // namespace vantor
