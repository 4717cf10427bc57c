// JPEG and PNG through the Windows Imaging Component: a decoder of the named format on a stream over
// the caller's bytes (never copied), the frame's declared size handed to the caller before anything
// is decoded, a scaler for reduced JPEG decodes, a format converter to the runtime's layouts.

#include "platform/picture_codecs.h"
#include "platform/win32/win32.h"

#include <wincodec.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace platform {
namespace {

// Owns one reference of a COM interface.
template <typename T> class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer()
    {
        if (m_pointer)
            m_pointer->Release();
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    T* get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    T** put() { return &m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

private:
    T* m_pointer = nullptr;
};

// COM on this thread for as long as the decode takes, unless the thread already has it.
class ComScope {
public:
    ComScope()
        : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
    {
    }
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    // A thread already in the other apartment model can still create the factory.
    bool usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

// The reduced scale, as the Linux build's DCT scaling picks it: halve while both sides still cover
// the shown size twice over, down to 1/8.
unsigned reduction_for(std::uint32_t width, std::uint32_t height, int shown_width, int shown_height)
{
    unsigned denominator = 1;
    if (shown_width <= 0 || shown_height <= 0)
        return denominator;
    while (denominator < 8 && width / (denominator * 2) >= static_cast<unsigned>(shown_width) &&
           height / (denominator * 2) >= static_cast<unsigned>(shown_height))
        denominator *= 2;
    return denominator;
}

std::uint32_t divide_rounding_up(std::uint32_t value, unsigned denominator)
{
    return static_cast<std::uint32_t>((std::uint64_t{value} + denominator - 1) / denominator);
}

void reverse_rows(std::uint8_t* pixels, std::size_t row_bytes, std::uint32_t rows)
{
    std::uint8_t* top = pixels;
    std::uint8_t* bottom = pixels + (static_cast<std::size_t>(rows) - 1) * row_bytes;
    while (top < bottom) {
        std::swap_ranges(top, top + row_bytes, bottom);
        top += row_bytes;
        bottom -= row_bytes;
    }
}

}  // namespace

PictureCodecStatus decode_with_system_codec(PictureCodec codec, std::span<const std::uint8_t> bytes, int shown_width,
                                            int shown_height, const PictureCodecBuffer& buffer)
{
    if (bytes.empty() || bytes.size() > UINT_MAX)
        return PictureCodecStatus::Corrupt;
    ComScope com;
    if (!com.usable())
        return PictureCodecStatus::NoCodec;
    ComPointer<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))))
        return PictureCodecStatus::NoCodec;

    // The stream reads the caller's bytes where they are; WIC never writes through it.
    ComPointer<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
        return PictureCodecStatus::Corrupt;
    ComPointer<IWICBitmapDecoder> decoder;
    const GUID& container = codec == PictureCodec::Jpeg ? GUID_ContainerFormatJpeg : GUID_ContainerFormatPng;
    if (FAILED(factory->CreateDecoder(container, nullptr, decoder.put())))
        return PictureCodecStatus::NoCodec;
    if (FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)))
        return PictureCodecStatus::Corrupt;
    ComPointer<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put())))
        return PictureCodecStatus::Corrupt;

    PictureCodecSize size;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0)
        return PictureCodecStatus::Corrupt;
    size.natural_width = width;
    size.natural_height = height;
    size.width = width;
    size.height = height;

    // Only greyscale and three-component JPEGs are shown, as on Linux: WIC would convert CMYK.
    WICPixelFormatGUID source_format{};
    if (FAILED(frame->GetPixelFormat(&source_format)))
        return PictureCodecStatus::Corrupt;
    if (codec == PictureCodec::Jpeg && (IsEqualGUID(source_format, GUID_WICPixelFormat32bppCMYK) ||
                                        IsEqualGUID(source_format, GUID_WICPixelFormat64bppCMYK)))
        return PictureCodecStatus::Unsupported;

    IWICBitmapSource* source = frame.get();
    ComPointer<IWICBitmapScaler> scaler;
    if (codec == PictureCodec::Jpeg) {
        unsigned denominator = reduction_for(width, height, shown_width, shown_height);
        if (denominator > 1) {
            size.width = divide_rounding_up(width, denominator);
            size.height = divide_rounding_up(height, denominator);
            // Fant's interpolation averages every source pixel under an output pixel.
            if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
                FAILED(scaler->Initialize(source, size.width, size.height, WICBitmapInterpolationModeFant)))
                return PictureCodecStatus::Corrupt;
            source = scaler.get();
        }
    }
    ComPointer<IWICFormatConverter> converter;
    const GUID& wanted = codec == PictureCodec::Jpeg ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat32bppBGRA;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(
            converter->Initialize(source, wanted, WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return PictureCodecStatus::Corrupt;

    // The caller checks the size against its caps before anything is decoded.
    std::uint8_t* pixels = buffer(size);
    if (!pixels)
        return PictureCodecStatus::Refused;
    std::size_t bytes_per_pixel = codec == PictureCodec::Jpeg ? 3 : 4;
    std::size_t row_bytes = size.width * bytes_per_pixel;
    std::size_t total = row_bytes * size.height;
    if (row_bytes > UINT_MAX || total > UINT_MAX)
        return PictureCodecStatus::Refused;
    if (FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(row_bytes), static_cast<UINT>(total), pixels)))
        return PictureCodecStatus::Corrupt;
    if (codec == PictureCodec::Jpeg)
        reverse_rows(pixels, row_bytes, size.height);
    return PictureCodecStatus::Decoded;
}

}  // namespace platform
