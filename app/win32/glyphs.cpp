#include "app/win32/glyphs.h"

#include <shellapi.h>

#include "app/win32/dpi.h"

namespace vimbrel::win32 {
namespace {

SHSTOCKICONID stockIconOf(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Show:
        return SIID_IMAGEFILES;
    case Glyph::Version:
        return SIID_INFO;
    case Glyph::Help:
        return SIID_HELP;
    case Glyph::Folder:
        return SIID_FOLDER;
    case Glyph::Execute:
        return SIID_RENAME;
    case Glyph::Undo:
        return SIID_RECYCLER;
    case Glyph::None:
        break;
    }
    return SIID_INVALID;
}

} // namespace

HICON glyphIcon(Glyph glyph, UINT dpi)
{
    const SHSTOCKICONID id = stockIconOf(glyph);
    if (id == SIID_INVALID) {
        return nullptr;
    }
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(::SHGetStockIconInfo(id, SHGSI_ICONLOCATION, &info))) {
        return nullptr;
    }
    // The icon from its file at the size the button shows, so that it stays
    // sharp at any dpi.
    HICON icon = nullptr;
    const int side = scaled(16, dpi);
    ::PrivateExtractIconsW(info.szPath, info.iIcon, side, side, &icon, nullptr, 1, 0);
    return icon;
}

} // namespace vimbrel::win32
