#pragma once

#include <string>
#include <vector>

class QPlainTextEdit;

namespace vimbrel {

// The lines of a multi-line box as a list: an empty box has no lines, and a
// line break at the very end opens no line of its own.
std::vector<std::string> memoLines(const QPlainTextEdit* memo);
void setMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines);

// Removes the lines that hold nothing but blanks, from the last to the first;
// the other lines stay as they are.
void removeBlankLines(QPlainTextEdit* memo);

} // namespace vimbrel
