#pragma once

#include <string>

#include <QLineEdit>

namespace vimbrel {

// An interval box: three digit places, a fixed point and one digit place,
// empty places shown blank. Its text is the four digit places without the
// point, an empty place as a space and the empty places at the end dropped,
// so that "  10" shows as "  1.0" and means one second.
class TimeEdit : public QLineEdit
{
public:
    explicit TimeEdit(QWidget* parent = nullptr);

    // The four places as the settings and the Show command read them.
    std::string timeText() const;
    // Fills the places from such a text; a character that is not a digit
    // leaves its place empty, and characters past the fourth are dropped.
    void setTimeText(const std::string& text);
};

} // namespace vimbrel
