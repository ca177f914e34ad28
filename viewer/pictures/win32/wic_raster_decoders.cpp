#include <windows.h>

#include <wincodec.h>

#include "viewer/pictures/picture_limits.h"
#include "viewer/pictures/raster_decoders.h"

namespace vimbrel {
namespace {

// Releases a COM interface when it goes.
template <typename Interface> struct Com
{
    Interface* p = nullptr;
    ~Com()
    {
        if (p != nullptr) {
            p->Release();
        }
    }
    Interface** put() { return &p; }
    Interface* operator->() const { return p; }
};

// COM for the calling thread as long as the decode runs; the workers of a
// small-image run are threads of their own.
struct ComThread
{
    HRESULT result = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ~ComThread()
    {
        if (SUCCEEDED(result)) {
            ::CoUninitialize();
        }
    }
};

// The frame of `decoder` with the most pixels (an icon holds several sizes).
UINT largestFrame(IWICBitmapDecoder* decoder)
{
    UINT count = 0;
    decoder->GetFrameCount(&count);
    UINT best = 0;
    unsigned long long bestPixels = 0;
    for (UINT i = 0; i < count && i < 64; ++i) {
        Com<IWICBitmapFrameDecode> frame;
        UINT width = 0;
        UINT height = 0;
        if (SUCCEEDED(decoder->GetFrame(i, frame.put())) &&
            SUCCEEDED(frame->GetSize(&width, &height)) &&
            static_cast<unsigned long long>(width) * height > bestPixels) {
            bestPixels = static_cast<unsigned long long>(width) * height;
            best = i;
        }
    }
    return best;
}

// Decodes with the system's codec of `container` (BMP or ICO) and lays
// transparent parts on white.
Raster decodeWith(std::span<const std::uint8_t> file, const GUID& container)
{
    if (file.empty() || file.size() > 0xFFFFFFFFu) {
        return {};
    }
    const ComThread com;
    Com<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(factory.put())))) {
        return {};
    }
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()),
                                            static_cast<DWORD>(file.size()))) ||
        FAILED(factory->CreateDecoder(container, nullptr, decoder.put())) ||
        FAILED(decoder->Initialize(stream.p, WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(largestFrame(decoder.p), frame.put())) ||
        FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0, WICBitmapPaletteTypeCustom))) {
        return {};
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > UINT(picture_limits::kMaxSide) || height > UINT(picture_limits::kMaxSide) ||
        std::int64_t(width) * height > picture_limits::kMaxPixels) {
        return {};
    }
    std::vector<BYTE> bgra(size_t(width) * height * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgra.size()),
                                     bgra.data()))) {
        return {};
    }
    Raster raster = Raster::make(int(width), int(height), Raster::Format::Rgb888);
    if (raster.isNull()) {
        return {};
    }
    for (UINT y = 0; y < height; ++y) {
        const BYTE* in = bgra.data() + size_t(y) * width * 4;
        std::uint8_t* out = raster.row(int(y));
        for (UINT x = 0; x < width; ++x, in += 4, out += 3) {
            const int alpha = in[3];
            const int white = 255 * (255 - alpha);
            out[0] = static_cast<std::uint8_t>((in[2] * alpha + white + 127) / 255);
            out[1] = static_cast<std::uint8_t>((in[1] * alpha + white + 127) / 255);
            out[2] = static_cast<std::uint8_t>((in[0] * alpha + white + 127) / 255);
        }
    }
    return raster;
}

Raster decodeBitmap(std::span<const std::uint8_t> file)
{
    return decodeWith(file, GUID_ContainerFormatBmp);
}

Raster decodeIcon(std::span<const std::uint8_t> file)
{
    return decodeWith(file, GUID_ContainerFormatIco);
}

} // namespace

const RasterDecoders& platformRasterDecoders()
{
    static const RasterDecoders decoders{decodeBitmap, decodeIcon};
    return decoders;
}

} // namespace vimbrel
