#include "app/main_window/time_edit.h"

#include "app/main_window/window_fonts.h"
#include "app/window_logic/time_places.h"

namespace vimbrel {

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
    return timeTextOfShown(displayText().toStdString());
}

void TimeEdit::setTimeText(const std::string& text)
{
    // The mask takes its blank character in the text it is given as an empty
    // place.
    setText(QString::fromStdString(shownOfTimeText(text)));
}

} // namespace vimbrel
