#pragma once
// TLogForm ("Лог"): the programmer's log. Every status message and the hex dumps of the
// traffic arrive as "[ms] text" lines while "Вести лог" is on (the setting Log of the
// programmer settings). "Очистить", "Сохранить" (a text file) and "Закрыть"; closing
// only hides the window, and the programmer window is told so (hidden()).
//
// One log window belongs to each programmer window and lives as long as it.

#include <QWidget>

#include <cstdint>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace vantor::programming {

class TLogForm : public QWidget {
    Q_OBJECT

public:
    explicit TLogForm(QWidget *owner = nullptr);
    ~TLogForm() override;

    // Adds "[ms] text" when logging is on; nothing otherwise.
    void Log(qint64 ms, const QString &text);
    // Whether lines are kept ("Вести лог"); the setting Log when there are settings.
    bool Logging() const;
    void SetLogging(bool on);

    // The lines as they stand, one per line.
    QString Text() const;
    void Clear();
    // Asks for a text file and writes the lines to it; false when cancelled or failed
    // (the failure is shown).
    bool SaveInteractive();

signals:
    // The window was closed ("Закрыть" or its frame): it is hidden now.
    void hidden();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPlainTextEdit *mmoLog_;
    QCheckBox *chkLog_;
    QPushButton *btnClear_;
    QPushButton *btnSave_;
    QPushButton *btnClose_;
    bool logging_ = true; // without programmer settings
};

} // namespace vantor::programming
