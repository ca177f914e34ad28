#include "app/win32/win32_controls.h"

#include <commctrl.h>

#include <vector>

#include "app/win32/control_ids.h"
#include "app/win32/dpi.h"
#include "app/win32/time_edit.h"
#include "app/window_logic/window_placement.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::win32 {
namespace {

// The radio groups, each a run of neighbouring controls.
struct RadioGroup
{
    Control first;
    Control last;
};
constexpr RadioGroup kRadioGroups[] = {{Control::RdoFile, Control::RdoPic},
                                       {Control::RdoFNon, Control::RdoFETC},
                                       {Control::RdoAsc, Control::RdoDesc},
                                       {Control::RdoSumType1, Control::RdoSumType2},
                                       {Control::RdoNormal, Control::RdoMax}};

const RadioGroup* groupOf(Control control)
{
    for (const RadioGroup& group : kRadioGroups) {
        if (control >= group.first && control <= group.last) {
            return &group;
        }
    }
    return nullptr;
}

std::string windowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(window, text.data(), length + 1)));
    return narrow(text);
}

bool isTimeEdit(Control control)
{
    return control == Control::EditTime1 || control == Control::EditTime2 ||
           control == Control::EditTime3;
}

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM screens)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info)) {
        const RECT& area = info.rcWork;
        reinterpret_cast<std::vector<WindowBounds>*>(screens)->push_back(
            {area.left, area.top, area.right - area.left, area.bottom - area.top});
    }
    return TRUE;
}

// The timer of the status bar that ends a note.
constexpr UINT_PTR kStatusNoteTimer = 1;

void CALLBACK endStatusNote(HWND status, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(status, timer);
    ::SendMessageW(status, SB_SIMPLE, FALSE, 0);
}

} // namespace

Win32Controls::Win32Controls(Form& form, FolderTreeView& tree) : mForm(form), mTree(tree) {}

HWND Win32Controls::handle(Control control) const
{
    if (control == Control::TabOther) {
        return mForm.page(TabPage::Other);
    }
    return mForm.control(idOf(control));
}

bool Win32Controls::isChecked(Control control) const
{
    return ::SendMessageW(handle(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Controls::setChecked(Control control, bool checked)
{
    const RadioGroup* group = groupOf(control);
    if (group == nullptr) {
        ::SendMessageW(handle(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    if (!checked) {
        return; // a radio button is unchecked by checking another
    }
    for (int other = int(group->first); other <= int(group->last); ++other) {
        ::SendMessageW(handle(Control(other)), BM_SETCHECK,
                       other == int(control) ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

std::string Win32Controls::text(Control control) const
{
    if (control == Control::StatusNote) {
        const bool shown = ::SendMessageW(mForm.status, SB_ISSIMPLE, 0, 0) != 0;
        const auto found = mStatusTexts.find(control);
        return shown && found != mStatusTexts.end() ? found->second : std::string();
    }
    if (control == Control::StatusCount || control == Control::StatusPath) {
        const auto found = mStatusTexts.find(control);
        return found != mStatusTexts.end() ? found->second : std::string();
    }
    if (isTimeEdit(control)) {
        return timeText(handle(control));
    }
    return windowText(handle(control));
}

void Win32Controls::setText(Control control, const std::string& text)
{
    if (control == Control::StatusNote) {
        // The bar shows the note alone for a while, then its panels again.
        mStatusTexts[control] = text;
        ::SendMessageW(mForm.status, SB_SIMPLE, text.empty() ? FALSE : TRUE, 0);
        if (!text.empty()) {
            ::SendMessageW(mForm.status, SB_SETTEXTW, SB_SIMPLEID, LPARAM(widen(text).c_str()));
            ::SetTimer(mForm.status, kStatusNoteTimer, kStatusNoteMilliseconds, &endStatusNote);
        }
    } else if (control == Control::StatusCount || control == Control::StatusPath) {
        mStatusTexts[control] = text;
        const WPARAM part = control == Control::StatusCount ? 1 : 3;
        ::SendMessageW(mForm.status, SB_SETTEXTW, part, LPARAM(widen(text).c_str()));
    } else if (isTimeEdit(control)) {
        setTimeText(handle(control), text);
    } else {
        ::SetWindowTextW(handle(control), widen(text).c_str());
    }
}

void Win32Controls::setValue(Control control, int value)
{
    const int arrows = control == Control::SpinKeta ? kSpinKetaArrowsId : kSpinFCntArrowsId;
    ::SendMessageW(mForm.control(arrows), UDM_SETPOS32, 0, LPARAM(value));
}

std::vector<std::string> Win32Controls::lines(Control control) const
{
    const std::string text = windowText(handle(control));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

void Win32Controls::setLines(Control control, const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += (i > 0 ? "\r\n" : "") + lines[i];
    }
    ::SetWindowTextW(handle(control), widen(text).c_str());
}

void Win32Controls::setEnabled(Control control, bool enabled)
{
    ::EnableWindow(handle(control), enabled ? TRUE : FALSE);
}

void Win32Controls::setHint(Control control, const std::string& hint)
{
    std::wstring text = widen(hint);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = mForm.window;
    tool.uId = UINT_PTR(handle(control));
    tool.lpszText = text.data();
    // The tool is made anew with the new text.
    ::SendMessageW(mForm.hints, TTM_DELTOOLW, 0, LPARAM(&tool));
    ::SendMessageW(mForm.hints, TTM_ADDTOOLW, 0, LPARAM(&tool));
}

TabPage Win32Controls::currentPage() const
{
    const LRESULT selected = ::SendMessageW(mForm.tabs, TCM_GETCURSEL, 0, 0);
    return selected >= 0 && selected <= int(TabPage::Other) ? TabPage(selected) : TabPage::Path;
}

void Win32Controls::showPage(TabPage page)
{
    showOnlyPage(mForm, page);
}

WindowBounds Win32Controls::bounds() const
{
    // A minimised or maximised window keeps the place it comes back to.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT rect{};
    if (::IsIconic(mForm.window) || ::IsZoomed(mForm.window)) {
        ::GetWindowPlacement(mForm.window, &placement);
        rect = placement.rcNormalPosition;
    } else {
        ::GetWindowRect(mForm.window, &rect);
    }
    // The size is kept at 96 dpi, as the Linux window keeps it in its
    // device-independent pixels, so that the window has the same size on
    // every screen; the place is the screen's.
    const UINT dpi = dpiOf(mForm.window);
    return {rect.left, rect.top, unscaled(rect.right - rect.left, dpi),
            unscaled(rect.bottom - rect.top, dpi)};
}

void Win32Controls::setBounds(const WindowBounds& stored)
{
    std::vector<WindowBounds> screens;
    ::EnumDisplayMonitors(nullptr, nullptr, addWorkArea, LPARAM(&screens));
    const UINT dpi = dpiOf(mForm.window);
    const WindowBounds shown = placementOnScreens(
        {stored.left, stored.top, scaled(stored.width, dpi), scaled(stored.height, dpi)}, screens);
    ::SetWindowPos(mForm.window, nullptr, shown.left, shown.top, shown.width, shown.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace vimbrel::win32
