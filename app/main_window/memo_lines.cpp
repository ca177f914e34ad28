#include "app/main_window/memo_lines.h"

#include <QPlainTextEdit>

#include "platform/byte_text.h"

namespace vimbrel {

std::vector<std::string> memoLines(const QPlainTextEdit* memo)
{
    std::vector<std::string> lines;
    const QString text = memo->toPlainText();
    if (text.isEmpty()) {
        return lines;
    }
    for (const QString& line : text.split(QChar('\n'))) {
        lines.push_back(line.toStdString());
    }
    if (text.endsWith(QChar('\n'))) {
        lines.pop_back();
    }
    return lines;
}

void setMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines)
{
    QStringList text;
    for (const std::string& line : lines) {
        text.push_back(QString::fromStdString(line));
    }
    memo->setPlainText(text.join(QChar('\n')));
}

void removeBlankLines(QPlainTextEdit* memo)
{
    std::vector<std::string> lines = memoLines(memo);
    const size_t before = lines.size();
    for (size_t i = lines.size(); i-- > 0;) {
        if (text::trimControls(lines[i]).empty()) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    if (lines.size() != before) {
        setMemoLines(memo, lines);
    }
}

} // namespace vimbrel
