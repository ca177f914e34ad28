#pragma once

#include <span>

#include "app/window_logic/control.h"

namespace vimbrel::win32 {

// The kinds of control the main window's pages are made of.
enum class Kind
{
    Group,
    Radio,
    Check,
    Label,
    Edit,
    TimeEdit,
    Spin,      // a number edit with arrows beside it
    ArrowSpin, // the same, changed by its arrows only
    Memo,
    Button,
    RaisedFrame,
    SunkenFrame,
};

// The small pictures of the buttons, from the system's stock icons.
enum class Glyph
{
    None,
    Show,
    Version,
    Help,
    Folder,
    Execute,
    Undo
};

// One control of a page: where it sits (in pixels at 96 dots per inch,
// within its page), what it says and how it starts.
struct PlacedControl
{
    int id;
    Kind kind;
    const char* caption;
    TabPage page;
    int x, y, width, height;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    Glyph glyph = Glyph::None;
    bool startsGroup = false; // the first radio button of its group
};

// The controls of the pages 表示, 機能 and その他, in their tab order.
std::span<const PlacedControl> pageControls();

// The buttons of the bar across the top.
struct BarButton
{
    int id;
    const char* caption;
    Glyph glyph;
};
std::span<const BarButton> barButtons();

// The tabs in their order, with their captions.
struct TabCaption
{
    TabPage page;
    const char* caption;
};
std::span<const TabCaption> tabs();

} // namespace vimbrel::win32
