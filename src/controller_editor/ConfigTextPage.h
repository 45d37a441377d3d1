#pragma once
// The page "Конфигурация": the document as JSON text, read-only and highlighted, with
// "Проверить текущую конфигурацию" (show what the window would save now), "Открыть"
// (load a "*.json" document into the window) and "Сохранить" (write the shown text).

#include "controller_editor/VantorEditorPage.h"
#include "json/JsonText.h"

#include <functional>
#include <optional>

class QPlainTextEdit;
class QPushButton;

namespace vantor {

class ConfigTextPage : public VantorEditorPage {
    Q_OBJECT

public:
    // The window's two document operations.
    using Writer = std::function<std::optional<json::Json>()>;
    using Reader = std::function<bool(json::Json root, QString &message)>;

    ConfigTextPage(TVantorConfig &config, Writer writer, Reader reader, QWidget *parent = nullptr);

    void Refresh() override {}

    // Shows a document in the indented layout.
    void ShowDocument(const json::Json &root);
    QString Text() const;

    void CheckConfiguration();
    void OpenConfiguration();
    void SaveConfiguration();

signals:
    // A document was opened into the window ("Открыть").
    void documentLoaded();

private:
    Writer writer_;
    Reader reader_;
    QPlainTextEdit *edJson_;
};

} // namespace vantor
