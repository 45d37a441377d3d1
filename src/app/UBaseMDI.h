#pragma once
// The base of every device configuration window.
//
// A device window lives in a QMdiSubWindow of the main window and talks to it only
// through the two virtual operations below and the signals. Device windows derive
// from it, build their document in GetConfigJson and read one in LoadConfigJson,
// calling the base's LoadConfigJson at the end of a successful load.
//
// Unsaved work is never dropped silently: the window remembers its document as last
// loaded or saved, and closing it with a different document asks whether to save.

#include "app/DeviceTypes.h"
#include "json/JsonText.h"

#include <QWidget>

#include <functional>
#include <optional>

namespace vantor {

class TfmBaseMDI : public QWidget {
    Q_OBJECT

public:
    // Smallest size of a device window, frame excluded.
    static constexpr int kMinimumWidth = 750;
    static constexpr int kMinimumHeight = 540;

    explicit TfmBaseMDI(DeviceTag tag, QWidget *parent = nullptr);
    ~TfmBaseMDI() override;

    // The device type this window edits; 0 for a window of no device.
    DeviceTag deviceTag() const { return tag_; }

    // A new document whose single member, named by the device's root key, holds the
    // window's configuration; the caller owns it. Nothing when the window has
    // nothing to save or send (the base has nothing).
    virtual std::optional<json::Json> GetConfigJson();

    // Fills the window from a document. On failure returns false with the reason in
    // message (Russian, shown to the user by the caller); the window keeps whatever
    // it had loaded. The base keeps the document and returns true.
    virtual bool LoadConfigJson(json::Json root, QString &message);

    // The document of the last successful load, kept until the window closes.
    const std::optional<json::Json> &keptConfig() const { return kept_; }

    // Stores what an open cell editor of this window, or a spin box that takes its
    // value only when left, holds (the editor stays open), so that saving, writing to a device or closing
    // takes what the engineer sees even when the command leaves the focus where it is (a shortcut, a tool
    // button).
    void FinishEditing();

    // Takes the current document as the saved one (after creation, load and save).
    void MarkUnmodified();
    // True when the current document differs from the saved one. A window with
    // nothing to save is never modified.
    virtual bool IsModified();

    // Saves the window's document for the question on close (the main window asks
    // for a file); returns false when nothing was saved.
    using SaveHandler = std::function<bool(TfmBaseMDI &)>;
    void setSaveHandler(SaveHandler handler) { saveHandler_ = std::move(handler); }

    // A message relayed by the main window to every device window; delivered
    // through the event loop, never during the sender's call.
    virtual void relayedMessage(qintptr wParam, qintptr lParam);

signals:
    // Emitted once, when the window has accepted to close (the main window removes
    // its tab). Its QMdiSubWindow is deleted afterwards.
    void childClosed(vantor::TfmBaseMDI *window);
    // Emitted whenever the window's caption changes (the tab text follows it).
    void childCaptionChanged(vantor::TfmBaseMDI *window);

protected:
    // Asks about unsaved changes ("Да" saves, "Нет" drops them, "Отмена" keeps the
    // window open). Subclasses that may refuse to close for reasons of their own
    // override this, ignore the event to stay open, and call the base otherwise.
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    DeviceTag tag_;
    std::optional<json::Json> kept_;
    std::optional<json::Json> saved_;
    SaveHandler saveHandler_;
    bool closedSent_ = false;
};

} // namespace vantor
