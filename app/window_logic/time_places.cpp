#include "app/window_logic/time_places.h"

namespace vimbrel {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string timeTextOfShown(std::string_view shown)
{
    std::string text;
    for (int place : kTimePlaces) {
        const char c = place < int(shown.size()) ? shown[size_t(place)] : ' ';
        text.push_back(isDigit(c) ? c : ' ');
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

std::string shownOfTimeText(std::string_view text)
{
    std::string shown = "   . ";
    for (size_t i = 0; i < 4 && i < text.size(); ++i) {
        if (isDigit(text[i])) {
            shown[size_t(kTimePlaces[i])] = text[i];
        }
    }
    return shown;
}

} // namespace vimbrel
