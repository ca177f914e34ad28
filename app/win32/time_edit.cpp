#include "app/win32/time_edit.h"

#include <commctrl.h>

#include "app/window_logic/time_places.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;

std::string shownText(HWND edit)
{
    wchar_t buffer[16] = {};
    ::GetWindowTextW(edit, buffer, 16);
    std::string shown = narrow(buffer);
    shown.resize(5, ' ');
    return shown;
}

void show(HWND edit, const std::string& shown, int caret)
{
    ::SetWindowTextW(edit, widen(shown).c_str());
    ::SendMessageW(edit, EM_SETSEL, WPARAM(caret), LPARAM(caret));
}

int caretOf(HWND edit)
{
    DWORD start = 0;
    ::SendMessageW(edit, EM_GETSEL, WPARAM(&start), 0);
    return int(start);
}

// The place a key typed at `caret` fills: the point is stepped over.
int placeAt(int caret)
{
    return caret == kTimePointPosition ? caret + 1 : caret;
}

// A digit or a blank fills the place at the caret and moves it on; Back
// empties the place before it; Delete the place at it.
bool typeInto(HWND edit, wchar_t key)
{
    std::string shown = shownText(edit);
    const int caret = caretOf(edit);
    if ((key >= L'0' && key <= L'9') || key == L' ') {
        const int place = placeAt(caret);
        if (place > 4) {
            return false;
        }
        shown[size_t(place)] = char(key);
        show(edit, shown, placeAt(place + 1));
        return true;
    }
    if (key == L'\b') {
        int place = caret - 1;
        if (place == kTimePointPosition) {
            --place;
        }
        if (place < 0) {
            return false;
        }
        shown[size_t(place)] = ' ';
        show(edit, shown, place);
        return true;
    }
    return false;
}

LRESULT CALLBACK timeEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR)
{
    switch (message) {
    case WM_CHAR:
        if (wParam == L'\t' || wParam == L'\r' || wParam == 27) {
            break; // for the dialog manager
        }
        if (!typeInto(edit, wchar_t(wParam))) {
            ::MessageBeep(MB_OK);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_DELETE) {
            std::string shown = shownText(edit);
            const int place = placeAt(caretOf(edit));
            if (place <= 4) {
                shown[size_t(place)] = ' ';
                show(edit, shown, place);
            }
            return 0;
        }
        break;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
        return 0; // the places keep their shape
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(edit, timeEditProc, kSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

void makeTimeEdit(HWND edit)
{
    ::SendMessageW(edit, EM_LIMITTEXT, 5, 0);
    ::SetWindowSubclass(edit, timeEditProc, kSubclassId, 0);
}

std::string timeText(HWND edit)
{
    return timeTextOfShown(shownText(edit));
}

void setTimeText(HWND edit, const std::string& text)
{
    ::SetWindowTextW(edit, widen(shownOfTimeText(text)).c_str());
}

} // namespace vimbrel::win32
