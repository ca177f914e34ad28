#include "viewer/pictures/win32/gdi_metafile.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/whole_file.h"
#include "viewer/pictures/byte_reader.h"
#include "viewer/pictures/fill_cost.h"
#include "viewer/pictures/metafile_size.h"
#include "viewer/pictures/picture_limits.h"

namespace vimbrel::gdi {
namespace {

constexpr double kScreenDpi = 96;
constexpr double kPlainLongestSide = 2048;
constexpr uint32_t kPlaceableKey = 0x9ac6cdd7;
constexpr size_t kPlaceableSize = 22;
constexpr uint32_t kEmfSignature = 0x464d4520; // " EMF"
constexpr size_t kMaxFileBytes = size_t(256) << 20;

// WMF record functions and mapping modes that decide a plain WMF's frame.
constexpr uint16_t kSetWindowOrg = 0x020b;
constexpr uint16_t kSetWindowExt = 0x020c;
constexpr uint16_t kSetMapMode = 0x0103;

struct Frame
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// An enhanced metafile handle that goes with its object.
struct Metafile
{
    HENHMETAFILE handle = nullptr;
    ~Metafile()
    {
        if (handle != nullptr) {
            ::DeleteEnhMetaFile(handle);
        }
    }
};

bool isEmf(std::span<const uint8_t> file)
{
    ByteReader in(file);
    const uint32_t type = in.u32();
    in.skip(36);
    return type == 1 && in.u32() == kEmfSignature && !in.failed();
}

// Millimetres per logical unit of the fixed mapping modes; 0 for the others.
double millimetresPerUnit(int mapMode)
{
    switch (mapMode) {
    case MM_LOMETRIC:
        return 0.1;
    case MM_HIMETRIC:
        return 0.01;
    case MM_LOENGLISH:
        return 0.254;
    case MM_HIENGLISH:
        return 0.0254;
    case MM_TWIPS:
        return 25.4 / 1440;
    default:
        return 0;
    }
}

// The first window a plain WMF sets up, and the mapping mode set before it;
// the window's scale to pixels comes with it.
std::optional<Frame> plainWindow(std::span<const uint8_t> file, double& pixelsPerUnit)
{
    ByteReader in(file);
    in.seek(18); // the header
    std::optional<double> originX;
    std::optional<double> originY;
    std::optional<double> extentX;
    std::optional<double> extentY;
    int mapMode = MM_TEXT;
    while (!in.failed() && in.remaining() >= 6 && !(originX && extentX)) {
        const size_t start = in.position();
        const uint32_t words = in.u32();
        const uint16_t function = in.u16();
        if (words < 3 || function == 0) {
            break;
        }
        if (function == kSetWindowOrg && !originX) {
            originY = in.i16();
            originX = in.i16();
        } else if (function == kSetWindowExt && !extentX) {
            extentY = in.i16();
            extentX = in.i16();
        } else if (function == kSetMapMode && !extentX) {
            mapMode = in.u16();
        }
        if (!in.seek(start + size_t(words) * 2)) {
            break;
        }
    }
    if (!extentX) {
        return std::nullopt;
    }
    Frame frame{originX.value_or(0), originY.value_or(0), std::abs(*extentX), std::abs(*extentY)};
    if (*extentX < 0) {
        frame.left += *extentX;
    }
    if (*extentY < 0) {
        frame.top += *extentY;
    }
    pixelsPerUnit = 1;
    if (const double mm = millimetresPerUnit(mapMode); mm > 0) {
        pixelsPerUnit = mm * kScreenDpi / 25.4;
    } else if (const double longest = std::max(frame.width, frame.height);
               longest > kPlainLongestSide) {
        pixelsPerUnit = kPlainLongestSide / longest;
    }
    return frame;
}

// The picture's size in pixels under the rules above, with the metafile
// GDI plays for it.
bool prepare(std::span<const uint8_t> file, Metafile& metafile, int& width, int& height,
             bool& edgesIncluded)
{
    double w = 0;
    double h = 0;
    edgesIncluded = false;
    if (isEmf(file)) {
        metafile.handle = ::SetEnhMetaFileBits(UINT(file.size()), file.data());
        ENHMETAHEADER header = {};
        if (metafile.handle == nullptr ||
            ::GetEnhMetaFileHeader(metafile.handle, sizeof header, &header) == 0) {
            return false;
        }
        const RECTL& frame = header.rclFrame;
        if (frame.right > frame.left && frame.bottom > frame.top) {
            // Hundredths of a millimetre, edges included: the frame's first
            // and last edges fall on the picture's first and last pixels.
            w = metafile_size::emfSide(double(frame.right) - frame.left);
            h = metafile_size::emfSide(double(frame.bottom) - frame.top);
            edgesIncluded = true;
        } else {
            const double perMmX = header.szlMillimeters.cx > 0
                                      ? double(header.szlDevice.cx) / header.szlMillimeters.cx
                                      : kScreenDpi / 25.4;
            const double perMmY = header.szlMillimeters.cy > 0
                                      ? double(header.szlDevice.cy) / header.szlMillimeters.cy
                                      : kScreenDpi / 25.4;
            const RECTL& bounds = header.rclBounds;
            w = std::round((double(bounds.right) - bounds.left + 1) * kScreenDpi / 25.4 / perMmX);
            h = std::round((double(bounds.bottom) - bounds.top + 1) * kScreenDpi / 25.4 / perMmY);
        }
    } else {
        ByteReader in(file);
        METAFILEPICT picture = {MM_ANISOTROPIC, 0, 0, nullptr};
        std::span<const uint8_t> records = file;
        if (in.u32() == kPlaceableKey) {
            in.u16(); // handle
            const double left = in.i16();
            const double top = in.i16();
            const double right = in.i16();
            const double bottom = in.i16();
            const uint16_t inch = in.u16();
            const double unitsPerInch = inch == 0 ? 1440 : inch;
            if (in.failed() || file.size() <= kPlaceableSize) {
                return false;
            }
            w = std::round(std::abs(right - left) * kScreenDpi / unitsPerInch);
            h = std::round(std::abs(bottom - top) * kScreenDpi / unitsPerInch);
            // The frame in hundredths of a millimetre.
            picture.xExt = LONG(std::lround(std::abs(right - left) * 2540 / unitsPerInch));
            picture.yExt = LONG(std::lround(std::abs(bottom - top) * 2540 / unitsPerInch));
            records = file.subspan(kPlaceableSize);
        } else {
            double pixelsPerUnit = 1;
            if (const auto window = plainWindow(file, pixelsPerUnit)) {
                w = std::round(window->width * pixelsPerUnit);
                h = std::round(window->height * pixelsPerUnit);
                picture.xExt = LONG(std::lround(w * 2540 / kScreenDpi));
                picture.yExt = LONG(std::lround(h * 2540 / kScreenDpi));
            }
        }
        metafile.handle = ::SetWinMetaFileBits(UINT(records.size()), records.data(), nullptr,
                                               picture.xExt > 0 ? &picture : nullptr);
        if (metafile.handle == nullptr) {
            return false;
        }
        if (w == 0 || h == 0) {
            // Without a window the drawing's own bounds frame the picture.
            ENHMETAHEADER header = {};
            if (::GetEnhMetaFileHeader(metafile.handle, sizeof header, &header) == 0) {
                return false;
            }
            w = double(header.rclBounds.right) - header.rclBounds.left + 1;
            h = double(header.rclBounds.bottom) - header.rclBounds.top + 1;
        }
    }
    if (!std::isfinite(w) || !std::isfinite(h) || w < 1 || h < 1) {
        return false;
    }
    // A picture larger than a screen shows comes out at a size it does.
    const double fit = metafile_size::fitFactor(w, h);
    w = std::max(1.0, std::floor(w * fit + 0.5));
    h = std::max(1.0, std::floor(h * fit + 0.5));
    if (!picture_limits::fits(int64_t(w), int64_t(h))) {
        return false;
    }
    width = int(w);
    height = int(h);
    return true;
}

// The points of a record of points (polygons, lines, curves) as the record
// holds them, in logical units; `counts` the figures' point counts. False
// for other records and for damaged ones.
bool pointsOf(const ENHMETARECORD& record, std::vector<POINT>& points, std::vector<DWORD>& counts)
{
    bool small = false;
    bool several = false;
    switch (record.iType) {
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        small = true;
        break;
    case EMR_POLYPOLYGON16:
    case EMR_POLYPOLYLINE16:
        small = several = true;
        break;
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
        break;
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE:
        several = true;
        break;
    default:
        return false;
    }
    ByteReader in(std::span(reinterpret_cast<const uint8_t*>(&record), record.nSize));
    in.skip(8 + 16); // type, size, bounds
    const uint32_t figures = several ? in.u32() : 1;
    const uint32_t total = in.u32();
    if (in.failed() || !in.has(figures, 4)) {
        return false;
    }
    counts.assign(figures, total);
    for (uint32_t i = 0; several && i < figures; ++i) {
        counts[i] = in.u32();
    }
    if (!in.has(total, small ? 4 : 8)) {
        return false;
    }
    points.resize(total);
    for (POINT& point : points) {
        point.x = small ? in.i16() : int32_t(in.u32());
        point.y = small ? in.i16() : int32_t(in.u32());
    }
    return !in.failed();
}

// GDI's work on one record: every record costs a little; a record of points
// costs what its shape costs the raster engine, mapped to the picture's
// pixels as the record is played.
double recordWork(HDC dc, const ENHMETARECORD& record, int height)
{
    std::vector<POINT> points;
    std::vector<DWORD> counts;
    if (!pointsOf(record, points, counts) || points.empty() ||
        !::LPtoDP(dc, points.data(), int(points.size()))) {
        return 64;
    }
    const bool filled = record.iType == EMR_POLYGON || record.iType == EMR_POLYGON16 ||
                        record.iType == EMR_POLYPOLYGON || record.iType == EMR_POLYPOLYGON16;
    fill_cost::Edges edges(height);
    size_t first = 0;
    for (const DWORD count : counts) {
        const size_t end = std::min(points.size(), first + count);
        for (size_t i = first + 1; i < end; ++i) {
            edges.add(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
        }
        if (filled && end > first + 1) {
            edges.add(points[end - 1].x, points[end - 1].y, points[first].x, points[first].y);
        }
        first = end;
    }
    return 64 + (filled ? edges.fillWork() : 0) + edges.strokeWork(1);
}

struct Playing
{
    DrawBudget& budget;
    int height;
    bool stopped = false;
};

int CALLBACK playRecord(HDC dc, HANDLETABLE* objects, const ENHMETARECORD* record, int count,
                        LPARAM context)
{
    auto* playing = reinterpret_cast<Playing*>(context);
    if (!playing->budget.spend(recordWork(dc, *record, playing->height))) {
        playing->stopped = true;
        return 0; // ends the enumeration
    }
    ::PlayEnhMetaFileRecord(dc, objects, record, UINT(count));
    return 1;
}

// PlayEnhMetaFile record by record, so that the budget is asked between any
// two of them.
bool playWithin(HDC dc, HENHMETAFILE metafile, const RECT& frame, DrawBudget& budget)
{
    Playing playing{budget, int(frame.bottom - frame.top)};
    const bool played = ::EnumEnhMetaFile(dc, metafile, &playRecord, &playing, &frame) != 0;
    return played && !playing.stopped;
}

} // namespace

Raster drawMetafile(std::span<const uint8_t> file, DrawBudget& budget)
{
    if (file.size() < 18 || file.size() > 0xFFFFFFFFu) {
        return {};
    }
    Metafile metafile;
    int width = 0;
    int height = 0;
    bool edgesIncluded = false;
    if (!prepare(file, metafile, width, height, edgesIncluded)) {
        return {};
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    const HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Raster raster;
    if (dc != nullptr && bitmap != nullptr && bits != nullptr) {
        const HGDIOBJ old = ::SelectObject(dc, bitmap);
        const RECT all = {0, 0, width, height};
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        // An EMF's frame has both edges on pixels: it plays onto the
        // rectangle from the first to the last.
        const RECT played = {0, 0, width - (edgesIncluded ? 1 : 0),
                             height - (edgesIncluded ? 1 : 0)};
        const bool drawn = playWithin(dc, metafile.handle, played, budget);
        ::GdiFlush();
        if (drawn) {
            raster = Raster::make(width, height, Raster::Format::Rgb888);
            const auto* in = static_cast<const uint8_t*>(bits);
            for (int y = 0; y < height && !raster.isNull(); ++y) {
                uint8_t* out = raster.row(y);
                for (int x = 0; x < width; ++x, in += 4, out += 3) {
                    out[0] = in[2];
                    out[1] = in[1];
                    out[2] = in[0];
                }
            }
        }
        ::SelectObject(dc, old);
    }
    if (bitmap != nullptr) {
        ::DeleteObject(bitmap);
    }
    if (dc != nullptr) {
        ::DeleteDC(dc);
    }
    return raster;
}

Raster loadMetafile(const std::string& path, DrawBudget& budget)
{
    // A pipe or device under a metafile's name is refused, never waited on.
    const WholeFile whole = readWholeFile(path, kMaxFileBytes);
    if (whole.state != WholeFile::State::Read) {
        return {};
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(whole.bytes.data());
    return drawMetafile(std::span(bytes, whole.bytes.size()), budget);
}

} // namespace vimbrel::gdi
