#include "controller_editor/JsonHighlighter.h"

namespace vantor::editor {

JsonHighlighter::JsonHighlighter(QTextDocument *document)
    : QSyntaxHighlighter(document),
      // A string (with escapes), optionally followed by a colon (then it is a member
      // name), a number, a literal, or a bracket.
      token_(QStringLiteral(
          R"(("(?:[^"\\]|\\.)*")(\s*:)?|(-?\d+(?:\.\d+)?(?:[eE][+-]?\d+)?)|\b(true|false|null)\b|([\[\]{}]))"))
{
    name_.setForeground(QColor(0x1a, 0x4f, 0x9c));
    string_.setForeground(QColor(0x2e, 0x7d, 0x32));
    number_.setForeground(QColor(0xad, 0x3b, 0x00));
    literal_.setForeground(QColor(0x6a, 0x1b, 0x9a));
    literal_.setFontWeight(QFont::Bold);
    bracket_.setForeground(QColor(0x60, 0x6a, 0x74));
}

void JsonHighlighter::highlightBlock(const QString &text)
{
    auto it = token_.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength(1) > 0)
            setFormat(match.capturedStart(1), match.capturedLength(1),
                      match.capturedLength(2) > 0 ? name_ : string_);
        else if (match.capturedLength(3) > 0)
            setFormat(match.capturedStart(3), match.capturedLength(3), number_);
        else if (match.capturedLength(4) > 0)
            setFormat(match.capturedStart(4), match.capturedLength(4), literal_);
        else if (match.capturedLength(5) > 0)
            setFormat(match.capturedStart(5), match.capturedLength(5), bracket_);
    }
}

} // namespace vantor::editor
