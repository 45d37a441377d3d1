#include "controller_editor/ConfigTextPage.h"

#include "app/FileIo.h"
#include "app/UserDialogs.h"
#include "controller_editor/JsonHighlighter.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {
namespace {

FileDialogOptions JsonFileOptions(const QString &title)
{
    FileDialogOptions options;
    options.title = title;
    options.filter = QStringLiteral("Файлы конфигурации Vantor5 (*.json)");
    options.defaultSuffix = QStringLiteral("json");
    return options;
}

} // namespace

ConfigTextPage::ConfigTextPage(TVantorConfig &config, Writer writer, Reader reader, QWidget *parent)
    : VantorEditorPage(config, parent), writer_(std::move(writer)), reader_(std::move(reader))
{
    setObjectName(QStringLiteral("tsConfig"));
    edJson_ = new QPlainTextEdit(this);
    edJson_->setObjectName(QStringLiteral("edJson"));
    edJson_->setReadOnly(true);
    edJson_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edJson_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edJson_->setTabStopDistance(4 * edJson_->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    new editor::JsonHighlighter(edJson_->document());

    auto *check = new QPushButton(QStringLiteral("Проверить текущую конфигурацию"), this);
    check->setObjectName(QStringLiteral("btnCheckConfig"));
    auto *open = new QPushButton(QStringLiteral("Открыть"), this);
    open->setObjectName(QStringLiteral("btnOpenConfig"));
    auto *save = new QPushButton(QStringLiteral("Сохранить"), this);
    save->setObjectName(QStringLiteral("btnSaveConfig"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(check);
    buttons->addStretch();
    buttons->addWidget(open);
    buttons->addWidget(save);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(edJson_, 1);

    connect(check, &QPushButton::clicked, this, &ConfigTextPage::CheckConfiguration);
    connect(open, &QPushButton::clicked, this, &ConfigTextPage::OpenConfiguration);
    connect(save, &QPushButton::clicked, this, &ConfigTextPage::SaveConfiguration);
}

void ConfigTextPage::ShowDocument(const json::Json &root)
{
    QString text = QString::fromStdString(json::RenderIndented(root));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edJson_->setPlainText(text);
}

QString ConfigTextPage::Text() const
{
    return edJson_->toPlainText();
}

void ConfigTextPage::CheckConfiguration()
{
    if (const auto root = writer_())
        ShowDocument(*root);
}

void ConfigTextPage::OpenConfiguration()
{
    FileDialogOptions options = JsonFileOptions(QStringLiteral("Открыть конфигурацию..."));
    const QString path = UserDialogs::ChooseFileToOpen(this, options);
    if (path.isEmpty())
        return;
    QString error;
    const auto text = ReadWholeFile(path, &error);
    if (!text) {
        UserDialogs::ShowError(this, error);
        return;
    }
    json::ParseError parseError;
    auto root = json::ParseObject(*text, &parseError);
    if (!root) {
        UserDialogs::ShowError(this, QStringLiteral("Файл «%1» не является конфигурацией в формате JSON "
                                                    "(строка %2, позиция %3: %4).")
                                         .arg(QFileInfo(path).fileName())
                                         .arg(parseError.line)
                                         .arg(parseError.column)
                                         .arg(QString::fromStdString(parseError.reason)));
        return;
    }
    QString message;
    if (!reader_(std::move(*root), message)) {
        UserDialogs::ShowError(this, message);
        return;
    }
    emit documentLoaded();
}

void ConfigTextPage::SaveConfiguration()
{
    if (Text().isEmpty())
        CheckConfiguration(); // nothing shown yet: save what the window holds
    const QString path =
        UserDialogs::ChooseFileToSave(this, JsonFileOptions(QStringLiteral("Сохранить конфигурацию...")));
    if (path.isEmpty())
        return;
    // The text as shown, in UTF-8, which "Открыть" reads back. The view shows line
    // breaks as LF; documents use CR LF.
    QString text = Text();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QString error;
    if (!WriteFileAtomically(path, text.toStdString(), &error))
        UserDialogs::ShowError(this, error);
}

} // namespace vantor
