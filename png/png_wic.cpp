// The PNG codec on the Windows Imaging Component (WIC), present on every Windows since Vista.
//
// Exact samples, without colour conversion: paletted pictures are read as their indexes with
// the palette taken straight from the frame (alpha from tRNS included); 16-bit pictures in
// the decoder's own 16-bit formats, whose high bytes are taken here; everything else through
// a converter to 32-bit BGRA, which for 8-bit and lower depths only scales and reorders.

#include <windows.h>
// The GUIDs of the component, defined in this file.
#include <initguid.h>
#include <wincodec.h>

#include <climits>
#include <cstdio>
#include <new>
#include <string>

#include "core/game_palette.h"
#include "png/png_codec.h"
#include "png/png_shared.h"

namespace quorvel::png {

namespace {

// An owned COM interface pointer.
template <typename T>
class Com {
  public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p_ != nullptr) {
            p_->Release();
        }
    }
    T** Out() { return &p_; }
    T* get() const { return p_; }
    T* operator->() const { return p_; }

  private:
    T* p_ = nullptr;
};

// COM on the calling thread for one decode or encode. A thread the window has already
// initialised in another mode keeps its mode; WIC works in either.
class ComScope {
  public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT result_;
};

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

Failure Damaged(HRESULT hr) {
    return Failure{"its PNG data is damaged (error " + Hex(hr) + ")"};
}

// Unpacked depth of an indexed WIC format, or 0.
unsigned IndexedDepth(const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormat1bppIndexed)
        return 1;
    if (format == GUID_WICPixelFormat2bppIndexed)
        return 2;
    if (format == GUID_WICPixelFormat4bppIndexed)
        return 4;
    if (format == GUID_WICPixelFormat8bppIndexed)
        return 8;
    return 0;
}

// The 16-bit formats the PNG decoder gives, with their channels per pixel, or 0.
unsigned WideChannels(const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormat16bppGray)
        return 1;
    if (format == GUID_WICPixelFormat48bppRGB)
        return 3;
    if (format == GUID_WICPixelFormat64bppRGBA)
        return 4;
    return 0;
}

// Rows copied in bands, so that a 16-bit picture needs no second full-size buffer.
constexpr std::uint32_t kBandRows = 64;

HRESULT CopyRows(IWICBitmapSource* source, std::uint32_t width, std::uint32_t y, std::uint32_t rows,
                 std::size_t stride, std::uint8_t* out) {
    const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(rows)};
    return source->CopyPixels(&rect, static_cast<UINT>(stride), static_cast<UINT>(stride * rows),
                              out);
}

HRESULT DecodeWide(IWICBitmapSource* frame, unsigned channels, DecodedPicture& picture) {
    const std::size_t stride = std::size_t{2} * channels * picture.width;
    std::vector<std::uint8_t> band(stride * kBandRows);
    for (std::uint32_t y = 0; y < picture.height; y += kBandRows) {
        const std::uint32_t rows = std::min(kBandRows, picture.height - y);
        if (const HRESULT hr = CopyRows(frame, picture.width, y, rows, stride, band.data());
            FAILED(hr)) {
            return hr;
        }
        for (std::uint32_t r = 0; r < rows; ++r) {
            const std::uint8_t* in = band.data() + r * stride;
            std::uint8_t* out = picture.pixels.data() + (std::size_t{y} + r) * 4 * picture.width;
            for (std::uint32_t x = 0; x < picture.width; ++x, in += 2 * channels, out += 4) {
                // Samples are little-endian in memory: the high byte is the second.
                const std::uint8_t first = in[1];
                out[0] = first;
                out[1] = channels >= 3 ? in[3] : first;
                out[2] = channels >= 3 ? in[5] : first;
                out[3] = channels == 4 ? in[7] : 255;
            }
        }
    }
    return S_OK;
}

Result<DecodedPicture> Decode(std::span<const std::uint8_t> file) {
    if (file.size() > UINT_MAX) {
        return Failure{"the file is larger than 4 GiB"};
    }
    const ComScope com;
    Com<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
    if (FAILED(hr)) {
        return Failure{"the Windows Imaging Component is not available (error " + Hex(hr) + ")"};
    }
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    hr = factory->CreateStream(stream.Out());
    if (SUCCEEDED(hr)) {
        hr = stream->InitializeFromMemory(const_cast<BYTE*>(file.data()),
                                          static_cast<DWORD>(file.size()));
    }
    if (SUCCEEDED(hr)) {
        hr = factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand);
    }
    if (SUCCEEDED(hr)) {
        hr = decoder->GetFrame(0, frame.Out());
    }
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr)) {
        hr = frame->GetSize(&width, &height);
    }
    WICPixelFormatGUID format{};
    if (SUCCEEDED(hr)) {
        hr = frame->GetPixelFormat(&format);
    }
    if (FAILED(hr)) {
        return Damaged(hr);
    }
    if (DecodedBytes(width, height) > kLargestDecodedBytes) {  // a header the check missed
        return Failure{"its pixels would take more than 256 MiB decoded"};
    }
    DecodedPicture picture;
    picture.width = width;
    picture.height = height;

    if (const unsigned depth = IndexedDepth(format); depth != 0) {
        Com<IWICPalette> palette;
        hr = factory->CreatePalette(palette.Out());
        if (SUCCEEDED(hr)) {
            hr = frame->CopyPalette(palette.get());
        }
        WICColor colours[256] = {};
        UINT count = 0;
        if (SUCCEEDED(hr)) {
            hr = palette->GetColors(256, colours, &count);
        }
        const std::size_t stride = (std::size_t{width} * depth + 7) / 8;
        if (SUCCEEDED(hr) && stride * height > UINT_MAX) {
            return Failure{"its rows are too large for the Windows Imaging Component"};
        }
        if (SUCCEEDED(hr)) {
            picture.pixels.resize(stride * height);
            hr = frame->CopyPixels(nullptr, static_cast<UINT>(stride),
                                   static_cast<UINT>(stride * height), picture.pixels.data());
        }
        if (FAILED(hr)) {
            return Damaged(hr);
        }
        picture.layout = PixelLayout::Paletted;
        picture.paletteEntries = count;
        for (UINT i = 0; i < count && i < 256; ++i) {  // WICColor is 0xAARRGGBB
            picture.palette[4 * i + 0] = static_cast<std::uint8_t>(colours[i] >> 16);
            picture.palette[4 * i + 1] = static_cast<std::uint8_t>(colours[i] >> 8);
            picture.palette[4 * i + 2] = static_cast<std::uint8_t>(colours[i]);
            picture.palette[4 * i + 3] = static_cast<std::uint8_t>(colours[i] >> 24);
        }
        if (depth < 8) {
            detail::UnpackIndexes(picture.pixels, width, height, depth);
        }
        return picture;
    }

    picture.pixels.resize(std::size_t{4} * width * height);
    if (const unsigned channels = WideChannels(format); channels != 0) {
        hr = DecodeWide(frame.get(), channels, picture);
        return FAILED(hr) ? Result<DecodedPicture>(Damaged(hr)) : Result<DecodedPicture>(picture);
    }
    Com<IWICFormatConverter> converter;
    hr = factory->CreateFormatConverter(converter.Out());
    if (SUCCEEDED(hr)) {
        hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    }
    if (SUCCEEDED(hr)) {
        // At most 256 MiB, so the sizes fit the interface's 32-bit counts.
        hr = converter->CopyPixels(nullptr, 4 * width, static_cast<UINT>(picture.pixels.size()),
                                   picture.pixels.data());
    }
    if (FAILED(hr)) {
        return Damaged(hr);
    }
    for (std::size_t p = 0; p < picture.pixels.size(); p += 4) {
        std::swap(picture.pixels[p], picture.pixels[p + 2]);  // blue, green, red → red, green, blue
    }
    return picture;
}

Result<std::vector<std::uint8_t>> Encode(const IndexedImage& image) {
    const ComScope com;
    Com<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
    Com<IStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    Com<IWICPalette> palette;
    if (SUCCEEDED(hr)) {
        hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->CreateNewFrame(frame.Out(), options.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Initialize(options.get());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetSize(image.width, image.height);
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
    if (SUCCEEDED(hr)) {
        hr = frame->SetPixelFormat(&format);
    }
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat8bppIndexed) {
        return Failure{"the PNG encoder cannot write 8-bit paletted pictures"};
    }
    // The game colours, index 0 transparent (alpha 0), the rest opaque.
    WICColor colours[kPaletteEntries];
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        colours[i] = (i == 0 ? 0u : 0xFF000000u) | kGameColours[i];
    }
    if (SUCCEEDED(hr)) {
        hr = factory->CreatePalette(palette.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = palette->InitializeCustom(colours, kPaletteEntries);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetPalette(palette.get());
    }
    // In bands, so that no call's byte count exceeds its 32-bit parameter.
    const std::uint32_t bandRows = std::max<std::uint32_t>(1, (1u << 30) / image.width);
    for (std::uint32_t y = 0; SUCCEEDED(hr) && y < image.height; y += bandRows) {
        const std::uint32_t rows = std::min(bandRows, image.height - y);
        hr = frame->WritePixels(
            rows, image.width, image.width * rows,
            const_cast<BYTE*>(image.pixels.data()) + std::size_t{y} * image.width);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Commit();
    }
    STATSTG stat{};
    if (SUCCEEDED(hr)) {
        hr = stream->Stat(&stat, STATFLAG_NONAME);
    }
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(hr)) {
        hr = GetHGlobalFromStream(stream.get(), &memory);
    }
    if (FAILED(hr)) {
        return Failure{"the PNG encoder failed (error " + Hex(hr) + ")"};
    }
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
    std::vector<std::uint8_t> file(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return file;
}

}  // namespace

Result<DecodedPicture> detail::DecodeFile(std::span<const std::uint8_t> file) {
    return Decode(file);
}

Result<std::vector<std::uint8_t>> detail::EncodeFile(const IndexedImage& image) {
    return Encode(image);
}

}  // namespace quorvel::png
