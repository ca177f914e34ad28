#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <vector>

#include "app/window_logic/control.h"

namespace vimbrel::win32 {

// The main window's child windows: the button bar's buttons, the page
// control with a page window for each tab, the controls of the pages, the
// folder tree, the status bar and the hint window.
struct Form
{
    HWND window = nullptr;
    HWND tabs = nullptr;
    std::array<HWND, 4> pages{}; // in the order of TabPage
    HWND tree = nullptr;
    HWND status = nullptr;
    HWND hints = nullptr;
    std::map<int, HWND> byId;

    // Where a control sits at 96 dpi within its parent, for laying the
    // window out again when the dpi changes.
    struct Placed
    {
        HWND control;
        int x, y, width, height;
    };
    std::vector<Placed> placed;
    // Icons the buttons show, and the fonts; freed with the form.
    std::vector<HICON> icons;
    HFONT font = nullptr;
    HFONT fixedFont = nullptr;

    HWND control(int id) const;
    HWND page(TabPage page) const { return pages[size_t(page)]; }
};

// Builds every child of `window` in its place, with its caption and first
// state, in the tab order; the tree stays empty for its owner to fill.
void buildForm(Form& form, HWND window);

// Places the children for the window's client size and `dpi`, and gives
// them the window's fonts at that dpi.
void layoutForm(Form& form, UINT dpi);
void applyFonts(Form& form, UINT dpi);

// Shows the page of `page` and hides the others.
void showOnlyPage(Form& form, TabPage page);

// Frees the fonts and icons.
void releaseForm(Form& form);

// The height of the bar across the top, at 96 dpi.
inline constexpr int kBarHeight = 25;

} // namespace vimbrel::win32
