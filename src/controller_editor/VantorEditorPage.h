#pragma once
// One page of the Vantor-5 window. Every page edits the window's TVantorConfig
// directly; the window asks the current page to refresh when it is opened, and
// routes the top bar's "+" and "–" buttons to it.

#include <QWidget>

class QMenu;

namespace vantor {

class TVantorConfig;

class VantorEditorPage : public QWidget {
    Q_OBJECT

public:
    VantorEditorPage(TVantorConfig &config, QWidget *parent = nullptr) : QWidget(parent), config_(config) {}

    // Shows the configuration as it is now (the page was opened, or a document was
    // loaded).
    virtual void Refresh() = 0;

    // "+": fills the menu shown below the button; a page that adds nothing leaves it
    // empty.
    virtual void FillAddMenu(QMenu &) {}
    // "–": pages that let the user choose what to delete fill the menu; the others
    // leave it empty and delete their selection in DeleteSelected.
    virtual void FillDeleteMenu(QMenu &) {}
    virtual void DeleteSelected() {}

    TVantorConfig &Config() const { return config_; }

signals:
    // The configuration changed in a way other pages show (names, counts, wiring).
    void configurationEdited();

protected:
    TVantorConfig &config_;
};

} // namespace vantor
