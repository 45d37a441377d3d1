#include "app/UBaseMDI.h"

#include <QCloseEvent>
#include <QEvent>

namespace vantor {

TfmBaseMDI::TfmBaseMDI(DeviceTag tag, QWidget *parent) : QWidget(parent), tag_(tag)
{
    setObjectName(QStringLiteral("fmBaseMDI"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    const QString name = DeviceName(tag);
    setWindowTitle(name.isEmpty() ? QStringLiteral("Новая конфигурация") : name);
}

TfmBaseMDI::~TfmBaseMDI() = default;

std::optional<json::Json> TfmBaseMDI::GetConfigJson()
{
    return std::nullopt;
}

bool TfmBaseMDI::LoadConfigJson(json::Json root, QString &message)
{
    message.clear();
    kept_ = std::move(root);
    return true;
}

void TfmBaseMDI::relayedMessage(qintptr, qintptr)
{}

void TfmBaseMDI::closeEvent(QCloseEvent *event)
{
    event->accept();
    kept_.reset();
    if (!closedSent_) {
        closedSent_ = true;
        emit childClosed(this);
    }
}

void TfmBaseMDI::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange)
        emit childCaptionChanged(this);
    QWidget::changeEvent(event);
}

} // namespace vantor
