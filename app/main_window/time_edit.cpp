#include "app/main_window/time_edit.h"

#include "app/main_window/window_fonts.h"

namespace vimbrel {
namespace {

// Empty places show as blanks, as a person expects of a number box.
constexpr char kBlank = ' ';
// The display positions of the four digit places: the point stands at 3.
constexpr int kPlaces[] = {0, 1, 2, 4};

} // namespace

TimeEdit::TimeEdit(QWidget* parent) : QLineEdit(parent)
{
    // Every place may stay empty, so the places are optional digits ("0");
    // a required digit ("9") would only change what counts as acceptable.
    setInputMask("000.0; ");
    setMaxLength(5);
    setFont(fixedPitchFont(15));
    setTimeText("");
}

std::string TimeEdit::timeText() const
{
    const std::string shown = displayText().toStdString();
    std::string text;
    for (int place : kPlaces) {
        const char c = place < static_cast<int>(shown.size()) ? shown[place] : kBlank;
        text.push_back(c >= '0' && c <= '9' ? c : ' ');
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

void TimeEdit::setTimeText(const std::string& text)
{
    // The mask takes its blank character in the text it is given as an empty
    // place.
    std::string shown = "   . ";
    for (size_t i = 0; i < 4 && i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            shown[kPlaces[i]] = text[i];
        }
    }
    setText(QString::fromStdString(shown));
}

} // namespace vimbrel
