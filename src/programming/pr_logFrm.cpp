#include "programming/pr_logFrm.h"

#include "app/FileIo.h"
#include "app/UserDialogs.h"
#include "app/pr_sets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vantor::programming {

TLogForm::TLogForm(QWidget *owner)
    : QWidget(owner, Qt::Window), mmoLog_(new QPlainTextEdit),
      chkLog_(new QCheckBox(QStringLiteral("Вести лог"))),
      btnClear_(new QPushButton(QStringLiteral("Очистить"))),
      btnSave_(new QPushButton(QStringLiteral("Сохранить"))),
      btnClose_(new QPushButton(QStringLiteral("Закрыть")))
{
    setObjectName(QStringLiteral("LogForm"));
    setWindowTitle(QStringLiteral("Лог"));
    mmoLog_->setObjectName(QStringLiteral("mmoLog"));
    chkLog_->setObjectName(QStringLiteral("chkLog"));
    btnClear_->setObjectName(QStringLiteral("btnClear"));
    btnSave_->setObjectName(QStringLiteral("btnSave"));
    btnClose_->setObjectName(QStringLiteral("btnClose"));

    // Hex dumps line up in a fixed-width font; long lines scroll instead of wrapping.
    mmoLog_->setReadOnly(true);
    mmoLog_->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmoLog_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mmoLog_->setUndoRedoEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkLog_);
    buttons->addStretch();
    buttons->addWidget(btnClear_);
    buttons->addWidget(btnSave_);
    buttons->addWidget(btnClose_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mmoLog_, 1);
    layout->addLayout(buttons);

    chkLog_->setChecked(Logging());
    connect(chkLog_, &QCheckBox::toggled, this, &TLogForm::SetLogging);
    connect(btnClear_, &QPushButton::clicked, this, &TLogForm::Clear);
    connect(btnSave_, &QPushButton::clicked, this, &TLogForm::SaveInteractive);
    connect(btnClose_, &QPushButton::clicked, this, &QWidget::close);
    resize(760, 420);
}

TLogForm::~TLogForm() = default;

bool TLogForm::Logging() const
{
    if (TProgSettings *settings = TProgSettings::Current())
        return settings->MainForm().Log();
    return logging_;
}

void TLogForm::SetLogging(bool on)
{
    logging_ = on;
    if (TProgSettings *settings = TProgSettings::Current())
        settings->MainForm().SetLog(on);
    if (chkLog_->isChecked() != on)
        chkLog_->setChecked(on);
}

void TLogForm::Log(qint64 ms, const QString &text)
{
    if (!Logging())
        return;
    // Follow the end only when the reader is there, so scrolling back to read stays put.
    QScrollBar *bar = mmoLog_->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    mmoLog_->appendPlainText(QStringLiteral("[%1] %2").arg(ms).arg(text));
    if (atEnd)
        bar->setValue(bar->maximum());
}

QString TLogForm::Text() const
{
    return mmoLog_->toPlainText();
}

void TLogForm::Clear()
{
    mmoLog_->clear();
}

bool TLogForm::SaveInteractive()
{
    const QString path = UserDialogs::ChooseFileToSave(
        this, {QStringLiteral("Сохранить лог"), QStringLiteral("Text (*.txt)"), QStringLiteral("txt"), {}});
    if (path.isEmpty())
        return false;
    QString text = Text();
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    QString error;
    if (!WriteFileAtomically(path, text.toStdString(), &error)) {
        UserDialogs::ShowError(this, error);
        return false;
    }
    return true;
}

void TLogForm::closeEvent(QCloseEvent *event)
{
    event->accept(); // hidden, never destroyed: the programmer window owns it
    emit hidden();
}

} // namespace vantor::programming
