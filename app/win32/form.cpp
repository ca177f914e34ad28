#include "app/win32/form.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/win32/control_ids.h"
#include "app/win32/dpi.h"
#include "app/win32/form_layout.h"
#include "app/win32/glyphs.h"
#include "app/win32/time_edit.h"
#include "app/win32/window_class.h"
#include "app/window_logic/main_window_logic.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::win32 {
namespace {

constexpr wchar_t kPageClass[] = L"VimbrelPage";

// A page hands what its controls report to the main window, which holds
// the behaviour.
LRESULT CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ::SendMessageW(::GetParent(page), message, wParam, lParam);
    default:
        return ::DefWindowProcW(page, message, wParam, lParam);
    }
}

HWND makeChild(Form& form, DWORD exStyle, const wchar_t* windowClass, const std::string& caption,
               DWORD style, HWND parent, int id, int x, int y, int width, int height)
{
    HWND control = ::CreateWindowExW(
        exStyle, windowClass, widen(caption).c_str(), WS_CHILD | style, x, y, width, height, parent,
        reinterpret_cast<HMENU>(INT_PTR(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (id != kStaticId) {
        form.byId[id] = control;
    }
    form.placed.push_back({control, x, y, width, height});
    return control;
}

void setGlyph(Form& form, HWND button, Glyph glyph)
{
    if (HICON icon = glyphIcon(glyph, dpiOf(form.window))) {
        form.icons.push_back(icon);
        ::SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, LPARAM(icon));
    }
}

// A spin box: a number edit and the arrows that step it, in its range.
void makeSpin(Form& form, const PlacedControl& placed, HWND page, DWORD visible)
{
    const bool arrowsOnly = placed.kind == Kind::ArrowSpin;
    HWND edit = makeChild(form, WS_EX_CLIENTEDGE, L"EDIT", placed.caption,
                          visible | WS_TABSTOP | WS_GROUP | ES_NUMBER | ES_RIGHT |
                              (arrowsOnly ? ES_READONLY : 0),
                          page, placed.id, placed.x, placed.y, placed.width - 17, placed.height);
    ::SendMessageW(edit, EM_LIMITTEXT, 4, 0);
    const int arrowsId =
        placed.id == idOf(Control::SpinKeta) ? kSpinKetaArrowsId : kSpinFCntArrowsId;
    HWND arrows = makeChild(form, 0, UPDOWN_CLASSW, "",
                            visible | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, page,
                            arrowsId, placed.x + placed.width - 17, placed.y, 17, placed.height);
    ::SendMessageW(arrows, UDM_SETBUDDY, WPARAM(edit), 0);
    const SpinRange range = spinRange(Control(placed.id - kControlIdBase));
    ::SendMessageW(arrows, UDM_SETRANGE32, WPARAM(range.minimum), LPARAM(range.maximum));
    ::SendMessageW(arrows, UDM_SETPOS32, 0, LPARAM(std::stoi(placed.caption)));
    form.byId[arrowsId] = arrows;
}

void makePageControl(Form& form, const PlacedControl& placed)
{
    HWND page = form.page(placed.page);
    const DWORD visible = placed.visible ? WS_VISIBLE : 0;
    // Every control but the radio buttons after the first of their group
    // starts a group of the dialog manager, so that the arrow keys move only
    // within a radio group.
    const DWORD group = placed.kind == Kind::Radio && !placed.startsGroup ? 0 : WS_GROUP;
    HWND control = nullptr;
    switch (placed.kind) {
    case Kind::Group:
        control = makeChild(form, 0, L"BUTTON", placed.caption, visible | BS_GROUPBOX | WS_GROUP,
                            page, placed.id, placed.x, placed.y, placed.width, placed.height);
        break;
    case Kind::Radio:
        control =
            makeChild(form, 0, L"BUTTON", placed.caption,
                      visible | BS_AUTORADIOBUTTON | group | (placed.startsGroup ? WS_TABSTOP : 0),
                      page, placed.id, placed.x, placed.y, placed.width, placed.height);
        break;
    case Kind::Check:
        control = makeChild(form, 0, L"BUTTON", placed.caption,
                            visible | BS_AUTOCHECKBOX | WS_TABSTOP | group, page, placed.id,
                            placed.x, placed.y, placed.width, placed.height);
        break;
    case Kind::Label:
        control = makeChild(form, 0, L"STATIC", placed.caption,
                            visible | SS_LEFTNOWORDWRAP | SS_NOPREFIX | group, page, placed.id,
                            placed.x, placed.y, placed.width, placed.height);
        break;
    case Kind::Edit:
    case Kind::TimeEdit:
        control = makeChild(form, WS_EX_CLIENTEDGE, L"EDIT", placed.caption,
                            visible | WS_TABSTOP | group | ES_AUTOHSCROLL, page, placed.id,
                            placed.x, placed.y, placed.width, placed.height);
        if (placed.kind == Kind::TimeEdit) {
            makeTimeEdit(control);
            setTimeText(control, placed.caption);
        }
        break;
    case Kind::Spin:
    case Kind::ArrowSpin:
        makeSpin(form, placed, page, visible);
        return;
    case Kind::Memo:
        control = makeChild(form, WS_EX_CLIENTEDGE, L"EDIT", placed.caption,
                            visible | WS_TABSTOP | group | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN,
                            page, placed.id, placed.x, placed.y, placed.width, placed.height);
        break;
    case Kind::Button:
        control = makeChild(form, 0, L"BUTTON", placed.caption,
                            visible | BS_PUSHBUTTON | WS_TABSTOP | group, page, placed.id, placed.x,
                            placed.y, placed.width, placed.height);
        setGlyph(form, control, placed.glyph);
        break;
    case Kind::RaisedFrame:
    case Kind::SunkenFrame:
        control =
            makeChild(form, placed.kind == Kind::SunkenFrame ? WS_EX_STATICEDGE : 0, L"STATIC", "",
                      visible | (placed.kind == Kind::RaisedFrame ? SS_ETCHEDFRAME : 0), page,
                      placed.id, placed.x, placed.y, placed.width, placed.height);
        break;
    }
    if (placed.checked) {
        ::SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
    }
    if (!placed.enabled) {
        ::EnableWindow(control, FALSE);
    }
}

} // namespace

HWND Form::control(int id) const
{
    const auto found = byId.find(id);
    return found != byId.end() ? found->second : nullptr;
}

void buildForm(Form& form, HWND window)
{
    form.window = window;
    registerWindowClass(kPageClass, pageProc);
    int left = 2;
    for (const BarButton& placed : barButtons()) {
        HWND button = makeChild(form, 0, L"BUTTON", placed.caption,
                                WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, window,
                                placed.id, left, 1, 57, 22);
        setGlyph(form, button, placed.glyph);
        left += 57;
    }
    form.tabs = ::CreateWindowExW(0, WC_TABCONTROLW, L"",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_BOTTOM |
                                      TCS_MULTILINE | TCS_FOCUSNEVER,
                                  0, 0, 0, 0, window, reinterpret_cast<HMENU>(INT_PTR(kPageId)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    form.byId[kPageId] = form.tabs;
    int index = 0;
    for (const TabCaption& tab : tabs()) {
        std::wstring caption = widen(tab.caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        ::SendMessageW(form.tabs, TCM_INSERTITEMW, WPARAM(index++), LPARAM(&item));
        form.pages[size_t(tab.page)] = ::CreateWindowExW(
            WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0,
            0, window, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    form.tree = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_EDITLABELS | TVS_SHOWSELALWAYS, 0,
        0, 0, 0, form.page(TabPage::Path), reinterpret_cast<HMENU>(INT_PTR(kTreeDriveId)),
        ::GetModuleHandleW(nullptr), nullptr);
    form.byId[kTreeDriveId] = form.tree;
    for (const PlacedControl& placed : pageControls()) {
        makePageControl(form, placed);
    }
    form.status = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                    window, reinterpret_cast<HMENU>(INT_PTR(kStatusId)),
                                    ::GetModuleHandleW(nullptr), nullptr);
    form.byId[kStatusId] = form.status;
    // The panels exist before their texts can be set; layoutForm sizes them.
    const int parts[] = {30, 80, 110, -1};
    ::SendMessageW(form.status, SB_SETPARTS, 4, LPARAM(parts));
    ::SendMessageW(form.status, SB_SETTEXTW, 0 | SBT_NOBORDERS, LPARAM(L"\t\tFile"));
    ::SendMessageW(form.status, SB_SETTEXTW, 2 | SBT_NOBORDERS, LPARAM(L"\t\tPath"));
    form.hints = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    showOnlyPage(form, TabPage::Path);
}

void applyFonts(Form& form, UINT dpi)
{
    HFONT oldFont = form.font;
    HFONT oldFixed = form.fixedFont;
    form.font = makeWindowFont(12, dpi);
    form.fixedFont = makeWindowFont(15, dpi, true);
    for (const Form::Placed& placed : form.placed) {
        ::SendMessageW(placed.control, WM_SETFONT, WPARAM(form.font), FALSE);
    }
    for (Control time : {Control::EditTime1, Control::EditTime2, Control::EditTime3}) {
        ::SendMessageW(form.control(idOf(time)), WM_SETFONT, WPARAM(form.fixedFont), FALSE);
    }
    for (HWND other : {form.tabs, form.tree, form.status}) {
        ::SendMessageW(other, WM_SETFONT, WPARAM(form.font), FALSE);
    }
    ::DeleteObject(oldFont);
    ::DeleteObject(oldFixed);
    ::InvalidateRect(form.window, nullptr, TRUE);
}

void layoutForm(Form& form, UINT dpi)
{
    RECT client{};
    ::GetClientRect(form.window, &client);
    for (const Form::Placed& placed : form.placed) {
        ::SetWindowPos(placed.control, nullptr, scaled(placed.x, dpi), scaled(placed.y, dpi),
                       scaled(placed.width, dpi), scaled(placed.height, dpi),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The status bar sizes itself to the bottom; its panels: "File", the
    // count, "Path", and the folder in what is left.
    ::SendMessageW(form.status, WM_SIZE, 0, 0);
    RECT statusRect{};
    ::GetWindowRect(form.status, &statusRect);
    const int statusHeight = statusRect.bottom - statusRect.top;
    const int parts[] = {scaled(30, dpi), scaled(80, dpi), scaled(110, dpi), -1};
    ::SendMessageW(form.status, SB_SETPARTS, 4, LPARAM(parts));

    const int barHeight = scaled(kBarHeight, dpi);
    const int tabsHeight = std::max(0, int(client.bottom) - barHeight - statusHeight);
    ::SetWindowPos(form.tabs, HWND_BOTTOM, 0, barHeight, client.right, tabsHeight, SWP_NOACTIVATE);
    RECT display{0, barHeight, client.right, barHeight + tabsHeight};
    ::SendMessageW(form.tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&display));
    for (HWND page : form.pages) {
        ::SetWindowPos(page, HWND_TOP, display.left, display.top, display.right - display.left,
                       display.bottom - display.top, SWP_NOACTIVATE);
    }
    // The tree fills its page inside a margin of 10 pixels.
    const int margin = scaled(10, dpi);
    ::SetWindowPos(form.tree, nullptr, margin, margin,
                   std::max(0, int(display.right - display.left) - 2 * margin),
                   std::max(0, int(display.bottom - display.top) - 2 * margin),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(form.tree, TVM_SETINDENT, WPARAM(scaled(19, dpi)), 0);
}

void showOnlyPage(Form& form, TabPage shown)
{
    ::SendMessageW(form.tabs, TCM_SETCURSEL, WPARAM(shown), 0);
    for (size_t i = 0; i < form.pages.size(); ++i) {
        ::ShowWindow(form.pages[i], i == size_t(shown) ? SW_SHOW : SW_HIDE);
    }
}

void releaseForm(Form& form)
{
    for (HICON icon : form.icons) {
        ::DestroyIcon(icon);
    }
    form.icons.clear();
    ::DeleteObject(form.font);
    ::DeleteObject(form.fixedFont);
    form.font = form.fixedFont = nullptr;
}

} // namespace vimbrel::win32
