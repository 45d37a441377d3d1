#pragma once
// Colours JSON text: member names, string values, numbers, literals, brackets.

#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace vantor::editor {

class JsonHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit JsonHighlighter(QTextDocument *document);

protected:
    void highlightBlock(const QString &text) override;

private:
    QRegularExpression token_;
    QTextCharFormat name_, string_, number_, literal_, bracket_;
};

} // namespace vantor::editor
