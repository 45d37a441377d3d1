#include "controller_editor/SchemePage.h"

#include "app/FileIo.h"
#include "app/UserDialogs.h"
#include "controller/VantorConfig.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace vantor {

// The picture of the drawing. The SVG text is rendered into an image of the view's
// size whenever the text or the size changes; painting only copies that image.
class SchemeView : public QWidget {
public:
    explicit SchemeView(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("imgScheme"));
        setMinimumSize(350, 350);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    void SetText(const QByteArray &svg)
    {
        if (svg == text_ && (svg.isEmpty() || !image_.isNull()))
            return; // rendered already
        text_ = svg;
        Render();
    }
    bool HasPicture() const { return !image_.isNull(); }
    const QImage &Image() const { return image_; }

protected:
    void resizeEvent(QResizeEvent *) override { Render(); }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!image_.isNull()) {
            painter.drawImage(0, 0, image_);
            return;
        }
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter,
                         text_.isEmpty() ? QStringLiteral("[Нет схемы]")
                                         : QStringLiteral("[Схема не распознана]"));
    }

private:
    void Render()
    {
        image_ = QImage();
        if (!text_.isEmpty()) {
            QSvgRenderer renderer(text_);
            if (renderer.isValid()) {
                image_ = QImage(size(), QImage::Format_RGB32);
                image_.fill(Qt::white);
                renderer.setAspectRatioMode(Qt::KeepAspectRatio);
                QPainter painter(&image_);
                painter.setRenderHint(QPainter::Antialiasing);
                renderer.render(&painter);
            }
        }
        update();
    }

    QByteArray text_;
    QImage image_;
};

namespace {

QByteArray SchemeText(const TVantorConfig &config)
{
    QByteArray text;
    for (const std::string &line : config.Scheme) {
        text.append(line.data(), static_cast<qsizetype>(line.size()));
        text.append('\n');
    }
    return text;
}

std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

} // namespace

SchemePage::SchemePage(TVantorConfig &config, QWidget *parent) : VantorEditorPage(config, parent)
{
    setObjectName(QStringLiteral("tsScheme"));
    imgScheme_ = new SchemeView(this);
    btnLoadScheme_ = new QPushButton(QStringLiteral("Загрузить"), this);
    btnLoadScheme_->setObjectName(QStringLiteral("btnLoadScheme"));
    tntButton1_ = new QPushButton(QStringLiteral("TntButton1"), this);
    tntButton1_->setObjectName(QStringLiteral("TntButton1"));
    tntButton1_->setToolTip(QStringLiteral("Один шаг модели контроллера в автоматическом режиме"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnLoadScheme_);
    buttons->addStretch();
    buttons->addWidget(tntButton1_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(imgScheme_, 1);

    connect(btnLoadScheme_, &QPushButton::clicked, this, &SchemePage::LoadScheme);
    connect(tntButton1_, &QPushButton::clicked, this, &SchemePage::modelTestRequested);
    Refresh();
}

void SchemePage::Refresh()
{
    imgScheme_->SetText(SchemeText(config_));
}

bool SchemePage::HasPicture() const
{
    return imgScheme_->HasPicture();
}

void SchemePage::LoadScheme()
{
    FileDialogOptions options;
    options.title = QStringLiteral("Выберите схему...");
    options.filter = QStringLiteral("Схемы перекрестков (*.svg)");
    options.defaultSuffix = QStringLiteral("svg");
    const QString path = UserDialogs::ChooseFileToOpen(this, options);
    if (path.isEmpty())
        return;
    QString error;
    const auto text = ReadWholeFile(path, &error);
    if (!text) {
        UserDialogs::ShowError(this, error);
        return;
    }
    // The drawing the configuration has stays unless the new one can be shown.
    if (!QSvgRenderer(QByteArray::fromStdString(*text)).isValid()) {
        UserDialogs::ShowError(
            this,
            QStringLiteral("Файл «%1» не является схемой в формате SVG.").arg(QFileInfo(path).fileName()));
        return;
    }
    config_.Scheme = SplitLines(*text);
    Refresh();
    emit configurationEdited();
}

} // namespace vantor
