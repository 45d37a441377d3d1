#pragma once
// The page "Схема": the intersection drawing (SVG) kept in the configuration,
// rendered into the picture at the picture's size (350 × 350 at first, growing with
// the window), "Загрузить" to take a drawing from a file, and the button
// "TntButton1", which runs one automatic step of the controller model.

#include "controller_editor/VantorEditorPage.h"

class QPushButton;

namespace vantor {

class SchemeView;

class SchemePage : public VantorEditorPage {
    Q_OBJECT

public:
    explicit SchemePage(TVantorConfig &config, QWidget *parent = nullptr);

    void Refresh() override;
    // "Загрузить": asks for a drawing and takes it when it is a valid SVG file.
    void LoadScheme();
    // Whether the configuration's drawing is shown (false: none, or not valid SVG).
    bool HasPicture() const;

signals:
    // "TntButton1" was pressed.
    void modelTestRequested();

private:
    SchemeView *imgScheme_;
    QPushButton *btnLoadScheme_;
    QPushButton *tntButton1_;
};

} // namespace vantor
