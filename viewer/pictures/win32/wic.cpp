#include <windows.h>

#include <wincodec.h>

#include "platform/win32/com_pointer.h"
#include "viewer/pictures/picture_limits.h"
#include "viewer/pictures/sampling_plan.h"
#include "viewer/pictures/win32/wic.h"

namespace vimbrel::wic {
namespace {

using win32::Com;

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

Com<IWICImagingFactory> imagingFactory()
{
    Com<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(factory.put())))) {
        factory.p = nullptr;
    }
    return factory;
}

// The EXIF orientation (1-8) the frame's metadata gives, by the system's
// name for it or the TIFF tag; 1 where there is none.
int orientationOf(IWICBitmapFrameDecode* frame)
{
    Com<IWICMetadataQueryReader> reader;
    if (FAILED(frame->GetMetadataQueryReader(reader.put()))) {
        return 1;
    }
    for (const wchar_t* name :
         {L"System.Photo.Orientation", L"/ifd/{ushort=274}", L"/app1/ifd/{ushort=274}"}) {
        PROPVARIANT value;
        ::PropVariantInit(&value);
        if (SUCCEEDED(reader->GetMetadataByName(name, &value))) {
            const int orientation = value.vt == VT_UI2   ? value.uiVal
                                    : value.vt == VT_UI4 ? int(value.ulVal)
                                                         : 0;
            ::PropVariantClear(&value);
            if (orientation >= 1 && orientation <= 8) {
                return orientation;
            }
        }
    }
    return 1;
}

// The picture as Argb32, and the orientation to show it by.
Raster decodeFrame(std::span<const std::uint8_t> file, Container container, int& orientation)
{
    orientation = 1;
    if (file.empty() || file.size() > 0xFFFFFFFFu) {
        return {};
    }
    const ComThread com;
    const Com<IWICImagingFactory> factory = imagingFactory();
    if (factory.p == nullptr) {
        return {};
    }
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()),
                                            static_cast<DWORD>(file.size())))) {
        return {};
    }
    // The extension decides the format of a bitmap or icon, as it does for
    // every picture; other pictures go to whichever codec knows them.
    const HRESULT created =
        container == Container::Any
            ? factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                               decoder.put())
            : factory->CreateDecoder(GUID_ContainerFormatIco, nullptr, decoder.put());
    if (FAILED(created) ||
        (container != Container::Any &&
         FAILED(decoder->Initialize(stream.p, WICDecodeMetadataCacheOnDemand))) ||
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
    orientation = orientationOf(frame.p);
    // BGRA bytes are the native 0xAARRGGBB of a little-endian machine.
    Raster raster = Raster::make(int(width), int(height), Raster::Format::Argb32);
    if (raster.isNull() || FAILED(converter->CopyPixels(nullptr, UINT(raster.stride),
                                                        static_cast<UINT>(raster.bytes.size()),
                                                        raster.bytes.data()))) {
        return {};
    }
    return raster;
}

} // namespace

Raster decodeKeepingAlpha(std::span<const std::uint8_t> file, Container container)
{
    int orientation = 1;
    return decodeFrame(file, container, orientation);
}

Raster decode(std::span<const std::uint8_t> file, Container container)
{
    return onWhite(decodeKeepingAlpha(file, container));
}

Raster decodeTurned(std::span<const std::uint8_t> file)
{
    int orientation = 1;
    const Raster stored = onWhite(decodeFrame(file, Container::Any, orientation));
    if (stored.isNull() || orientation == 1) {
        return stored;
    }
    // At the picture's own size, the plan of the small images keeps every
    // pixel and puts it where the orientation says.
    const bool swap = orientationSwapsSides(orientation);
    const int width = swap ? stored.height : stored.width;
    const int height = swap ? stored.width : stored.height;
    Raster turned = Raster::make(width, height, Raster::Format::Rgb888);
    if (turned.isNull()) {
        return {};
    }
    const SamplingPlan plan(stored.width, stored.height, orientation, width, height);
    for (const SamplingPlan::Row& row : plan.rows()) {
        plan.apply(row, stored.row(row.storedRow), turned.bytes.data());
    }
    return turned;
}

std::optional<std::vector<std::uint8_t>> png(const Raster& picture)
{
    if (picture.isNull() || picture.format != Raster::Format::Rgb888) {
        return std::nullopt;
    }
    const ComThread com;
    const Com<IWICImagingFactory> factory = imagingFactory();
    if (factory.p == nullptr) {
        return std::nullopt;
    }
    // WIC's PNG encoder takes BGR rows.
    std::vector<BYTE> bgr(picture.bytes.size());
    for (size_t i = 0; i + 2 < bgr.size(); i += 3) {
        bgr[i] = picture.bytes[i + 2];
        bgr[i + 1] = picture.bytes[i + 1];
        bgr[i + 2] = picture.bytes[i];
    }
    Com<IStream> memory;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, memory.put())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(memory.p, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) ||
        FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(UINT(picture.width), UINT(picture.height))) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
        FAILED(frame->WritePixels(UINT(picture.height), UINT(picture.stride),
                                  static_cast<UINT>(bgr.size()), bgr.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
        return std::nullopt;
    }
    HGLOBAL global = nullptr;
    if (FAILED(::GetHGlobalFromStream(memory.p, &global))) {
        return std::nullopt;
    }
    STATSTG facts = {};
    memory->Stat(&facts, STATFLAG_NONAME);
    const auto* bytes = static_cast<const std::uint8_t*>(::GlobalLock(global));
    if (bytes == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> file(bytes, bytes + facts.cbSize.QuadPart);
    ::GlobalUnlock(global);
    return file;
}

} // namespace vimbrel::wic
