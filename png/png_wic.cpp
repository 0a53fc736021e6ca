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

#include <algorithm>
#include <climits>
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

// Words for the codes the component gives, for faults DescribeDamage does not find in the
// file's structure. The codes for unreadable data are all worded as libspng words the one fault
// left once the structure is sound: one in the compressed pixels.
std::string Reason(HRESULT hr) {
    struct Known {
        HRESULT code;
        const char* words;
    };
    static constexpr Known kKnown[] = {
        {WINCODEC_ERR_UNKNOWNIMAGEFORMAT, "IDAT stream error"},
        {WINCODEC_ERR_BADHEADER, "IDAT stream error"},
        {WINCODEC_ERR_BADIMAGE, "IDAT stream error"},
        {WINCODEC_ERR_BADSTREAMDATA, "IDAT stream error"},
        {E_FAIL, "IDAT stream error"},
        {WINCODEC_ERR_STREAMREAD, "end of stream"},
        {WINCODEC_ERR_FRAMEMISSING, "no image in the file"},
        {WINCODEC_ERR_BADMETADATAHEADER, "invalid ancillary chunk"},
        {WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT, "unsupported pixel format"},
        {WINCODEC_ERR_PALETTEUNAVAILABLE, "missing palette (PLTE)"},
        {WINCODEC_ERR_IMAGESIZEOUTOFRANGE, "invalid image size"},
        {WINCODEC_ERR_VALUEOUTOFRANGE, "a value out of range"},
        {WINCODEC_ERR_UNSUPPORTEDOPERATION, "unsupported operation"},
        {WINCODEC_ERR_COMPONENTNOTFOUND, "no PNG codec installed"},
        {E_OUTOFMEMORY, "not enough memory"},
        {E_INVALIDARG, "invalid argument"},
    };
    for (const Known& known : kKnown) {
        if (known.code == hr) {
            return known.words;
        }
    }
    return "an unexpected failure in the Windows Imaging Component";
}

// The component's codes say less than libspng's reasons, so the file's structure is looked at
// first, for the same words the Linux build gives.
Failure Damaged(HRESULT hr, std::span<const std::uint8_t> file) {
    if (hr == E_OUTOFMEMORY) {
        throw std::bad_alloc();  // worded as every other allocation that fails
    }
    const std::string fault = detail::DescribeDamage(file);
    return Failure{"its PNG data is damaged (" + (fault.empty() ? Reason(hr) : fault) + ")"};
}

HRESULT CreateFactory(Com<IWICImagingFactory>& factory) {
    return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                            IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
}

Failure Unavailable(HRESULT hr) {
    return Failure{"the Windows Imaging Component is not available (" + Reason(hr) + ")"};
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

// The decoder's objects for one file. The stream reads the caller's bytes in place.
struct OpenPicture {
    std::span<const std::uint8_t> file;
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
};

HRESULT OpenFirstFrame(OpenPicture& open) {
    HRESULT hr = open.factory->CreateStream(open.stream.Out());
    if (SUCCEEDED(hr)) {
        hr = open.stream->InitializeFromMemory(const_cast<BYTE*>(open.file.data()),
                                               static_cast<DWORD>(open.file.size()));
    }
    if (SUCCEEDED(hr)) {
        hr = open.factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, open.decoder.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = open.decoder->Initialize(open.stream.get(), WICDecodeMetadataCacheOnDemand);
    }
    if (SUCCEEDED(hr)) {
        hr = open.decoder->GetFrame(0, open.frame.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = open.frame->GetSize(&open.width, &open.height);
    }
    if (SUCCEEDED(hr)) {
        hr = open.frame->GetPixelFormat(&open.format);
    }
    return hr;
}

// Pixels are copied in tiles of at most this many bytes, whole rows where a row fits, so that
// no picture needs a second buffer of its own size, however its sides are shaped.
constexpr std::size_t kTileBytes = std::size_t{1} << 20;

// The rectangles one tile covers: as many whole rows as fit, or part of one row.
struct TileShape {
    std::uint32_t columns;
    std::uint32_t rows;
};

// Never more columns or rows than the picture has, and never more than kTileBytes: each
// factor is bounded before it is multiplied.
TileShape ShapeTiles(std::uint32_t width, std::uint32_t height, std::size_t pixelBytes) {
    const std::size_t fitColumns = std::max<std::size_t>(1, kTileBytes / pixelBytes);
    const auto columns = static_cast<std::uint32_t>(std::min<std::size_t>(width, fitColumns));
    const std::size_t fitRows = std::max<std::size_t>(1, kTileBytes / (columns * pixelBytes));
    const auto rows = static_cast<std::uint32_t>(std::min<std::size_t>(height, fitRows));
    return TileShape{columns, rows};
}

// Calls `use(tile, x, y, columns, rows)` for each tile of `source` in order, the tile's rows
// `columns * pixelBytes` bytes apart.
template <typename Use>
HRESULT ForEachTile(IWICBitmapSource* source, std::uint32_t width, std::uint32_t height,
                    std::size_t pixelBytes, Use use) {
    const TileShape shape = ShapeTiles(width, height, pixelBytes);
    const std::size_t stride = std::size_t{shape.columns} * pixelBytes;
    std::vector<std::uint8_t> tile(stride * shape.rows);
    for (std::uint32_t y = 0; y < height; y += shape.rows) {
        const std::uint32_t rows = std::min(shape.rows, height - y);
        for (std::uint32_t x = 0; x < width; x += shape.columns) {
            const std::uint32_t columns = std::min(shape.columns, width - x);
            const WICRect rect{static_cast<INT>(x), static_cast<INT>(y), static_cast<INT>(columns),
                               static_cast<INT>(rows)};
            if (const HRESULT hr =
                    source->CopyPixels(&rect, static_cast<UINT>(stride),
                                       static_cast<UINT>(stride * rows), tile.data());
                FAILED(hr)) {
                return hr;
            }
            use(tile.data(), stride, x, y, columns, rows);
        }
    }
    return S_OK;
}

// One row of a tile as red, green, blue, alpha. With `wideChannels` 16-bit samples,
// little-endian in memory, of which the high byte of each is the second; without (0), the
// converter's blue, green, red, alpha.
void RowToRgba(const std::uint8_t* in, std::uint8_t* out, std::uint32_t columns,
               unsigned wideChannels) {
    if (wideChannels == 0) {
        for (std::uint32_t c = 0; c < columns; ++c, in += 4, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = in[3];
        }
        return;
    }
    const unsigned channels = wideChannels;
    for (std::uint32_t c = 0; c < columns; ++c, in += 2 * channels, out += 4) {
        out[0] = in[1];
        out[1] = channels >= 3 ? in[3] : in[1];
        out[2] = channels >= 3 ? in[5] : in[1];
        out[3] = channels == 4 ? in[7] : 255;
    }
}

// What the RGBA rows are copied from: the frame itself for 16-bit samples, otherwise the
// converter to blue, green, red, alpha for everything of 8 bits or fewer.
HRESULT RgbaSource(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, unsigned wideChannels,
                   Com<IWICFormatConverter>& converter, IWICBitmapSource*& source) {
    source = frame;
    if (wideChannels != 0) {
        return S_OK;
    }
    HRESULT hr = factory->CreateFormatConverter(converter.Out());
    if (SUCCEEDED(hr)) {
        hr = converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom);
    }
    source = converter.get();
    return hr;
}

HRESULT DecodeRgba(const OpenPicture& open, DecodedPicture& picture) {
    const unsigned channels = WideChannels(open.format);
    Com<IWICFormatConverter> converter;
    IWICBitmapSource* source = nullptr;
    if (const HRESULT hr =
            RgbaSource(open.factory.get(), open.frame.get(), channels, converter, source);
        FAILED(hr)) {
        return hr;
    }
    const std::size_t outStride = std::size_t{4} * picture.width;
    auto take = [&](const std::uint8_t* tile, std::size_t stride, std::uint32_t x, std::uint32_t y,
                    std::uint32_t columns, std::uint32_t rows) {
        for (std::uint32_t r = 0; r < rows; ++r) {
            RowToRgba(tile + r * stride,
                      picture.pixels.data() + (std::size_t{y} + r) * outStride + 4 * x, columns,
                      channels);
        }
    };
    return ForEachTile(source, picture.width, picture.height,
                       channels != 0 ? std::size_t{2} * channels : 4, take);
}

// The frame's palette, WICColor 0xAARRGGBB, as red, green, blue, alpha.
HRESULT CopyPalette(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                    DecodedPicture& picture) {
    Com<IWICPalette> palette;
    HRESULT hr = factory->CreatePalette(palette.Out());
    if (SUCCEEDED(hr)) {
        hr = frame->CopyPalette(palette.get());
    }
    WICColor colours[256] = {};
    UINT count = 0;
    if (SUCCEEDED(hr)) {
        hr = palette->GetColors(256, colours, &count);
    }
    if (FAILED(hr)) {
        return hr;
    }
    picture.paletteEntries = std::min<UINT>(count, 256);
    for (UINT i = 0; i < picture.paletteEntries; ++i) {
        picture.palette[4 * i + 0] = static_cast<std::uint8_t>(colours[i] >> 16);
        picture.palette[4 * i + 1] = static_cast<std::uint8_t>(colours[i] >> 8);
        picture.palette[4 * i + 2] = static_cast<std::uint8_t>(colours[i]);
        picture.palette[4 * i + 3] = static_cast<std::uint8_t>(colours[i] >> 24);
    }
    return S_OK;
}

// Indexes as the frame packs them, spread to a byte each afterwards. The packed rows take at
// most the 256 MiB the picture may take decoded, so their size fits the 32-bit count.
Result<DecodedPicture> DecodePaletted(const OpenPicture& open, unsigned depth,
                                      DecodedPicture picture) {
    picture.layout = PixelLayout::Paletted;
    if (const HRESULT hr = CopyPalette(open.factory.get(), open.frame.get(), picture); FAILED(hr)) {
        return Damaged(hr, open.file);
    }
    const std::size_t stride = (std::size_t{picture.width} * depth + 7) / 8;
    if (stride * picture.height > UINT_MAX) {
        return Failure{"its rows are too large for the Windows Imaging Component"};
    }
    picture.pixels.resize(stride * picture.height);
    if (const HRESULT hr =
            open.frame->CopyPixels(nullptr, static_cast<UINT>(stride),
                                   static_cast<UINT>(picture.pixels.size()), picture.pixels.data());
        FAILED(hr)) {
        return Damaged(hr, open.file);
    }
    if (depth < 8) {
        detail::UnpackIndexes(picture.pixels, picture.width, picture.height, depth);
    }
    return picture;
}

Result<DecodedPicture> Decode(std::span<const std::uint8_t> file) {
    if (file.size() > UINT_MAX) {
        return Failure{"the file is larger than 4 GiB"};
    }
    const ComScope com;
    OpenPicture open;
    open.file = file;
    if (const HRESULT hr = CreateFactory(open.factory); FAILED(hr)) {
        return Unavailable(hr);
    }
    if (const HRESULT hr = OpenFirstFrame(open); FAILED(hr)) {
        return Damaged(hr, file);
    }
    if (DecodedBytes(open.width, open.height) >
        kLargestDecodedBytes) {  // a header the check missed
        return Failure{"its pixels would take more than 256 MiB decoded"};
    }
    DecodedPicture picture;
    picture.width = open.width;
    picture.height = open.height;
    if (const unsigned depth = IndexedDepth(open.format); depth != 0) {
        return DecodePaletted(open, depth, std::move(picture));
    }
    picture.pixels.resize(static_cast<std::size_t>(DecodedBytes(open.width, open.height)));
    if (const HRESULT hr = DecodeRgba(open, picture); FAILED(hr)) {
        return Damaged(hr, file);
    }
    return picture;
}

// The encoder's objects for one file, written to a stream in memory.
struct NewPicture {
    Com<IWICImagingFactory> factory;
    Com<IStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
};

// An 8-bit paletted frame of the image's size; `format` says what the encoder agreed to.
HRESULT CreateFrame(const IndexedImage& image, NewPicture& out, WICPixelFormatGUID& format) {
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, out.stream.Out());
    if (SUCCEEDED(hr)) {
        hr = out.factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, out.encoder.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = out.encoder->Initialize(out.stream.get(), WICBitmapEncoderNoCache);
    }
    if (SUCCEEDED(hr)) {
        hr = out.encoder->CreateNewFrame(out.frame.Out(), out.options.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = out.frame->Initialize(out.options.get());
    }
    if (SUCCEEDED(hr)) {
        hr = out.frame->SetSize(image.width, image.height);
    }
    format = GUID_WICPixelFormat8bppIndexed;
    if (SUCCEEDED(hr)) {
        hr = out.frame->SetPixelFormat(&format);
    }
    return hr;
}

// The game colours, index 0 transparent (alpha 0), the rest opaque.
HRESULT SetGamePalette(NewPicture& out) {
    WICColor colours[kPaletteEntries];
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        colours[i] = (i == 0 ? 0u : 0xFF000000u) | kGameColours[i];
    }
    Com<IWICPalette> palette;
    HRESULT hr = out.factory->CreatePalette(palette.Out());
    if (SUCCEEDED(hr)) {
        hr = palette->InitializeCustom(colours, kPaletteEntries);
    }
    if (SUCCEEDED(hr)) {
        hr = out.frame->SetPalette(palette.get());
    }
    return hr;
}

// In bands, so that no call's byte count exceeds its 32-bit parameter; then both commits.
HRESULT WriteRows(const IndexedImage& image, NewPicture& out) {
    const std::uint32_t bandRows = std::max<std::uint32_t>(1, (1u << 30) / image.width);
    HRESULT hr = S_OK;
    for (std::uint32_t y = 0; SUCCEEDED(hr) && y < image.height; y += bandRows) {
        const std::uint32_t rows = std::min(bandRows, image.height - y);
        hr = out.frame->WritePixels(
            rows, image.width, image.width * rows,
            const_cast<BYTE*>(image.pixels.data()) + std::size_t{y} * image.width);
    }
    if (SUCCEEDED(hr)) {
        hr = out.frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = out.encoder->Commit();
    }
    return hr;
}

// The stream's bytes, copied out of its memory.
HRESULT TakeBytes(IStream* stream, std::vector<std::uint8_t>& file) {
    STATSTG stat{};
    HRESULT hr = stream->Stat(&stat, STATFLAG_NONAME);
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(hr)) {
        hr = GetHGlobalFromStream(stream, &memory);
    }
    if (FAILED(hr)) {
        return hr;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
    if (bytes == nullptr) {
        return E_FAIL;
    }
    file.assign(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return S_OK;
}

Failure EncoderFailed(HRESULT hr) {
    if (hr == E_OUTOFMEMORY) {
        throw std::bad_alloc();
    }
    return Failure{"the PNG encoder failed (" + Reason(hr) + ")"};
}

Result<std::vector<std::uint8_t>> Encode(const IndexedImage& image) {
    const ComScope com;
    NewPicture out;
    if (const HRESULT hr = CreateFactory(out.factory); FAILED(hr)) {
        return Unavailable(hr);
    }
    WICPixelFormatGUID format{};
    HRESULT hr = CreateFrame(image, out, format);
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat8bppIndexed) {
        return Failure{"the PNG encoder cannot write 8-bit paletted pictures"};
    }
    if (SUCCEEDED(hr)) {
        hr = SetGamePalette(out);
    }
    if (SUCCEEDED(hr)) {
        hr = WriteRows(image, out);
    }
    std::vector<std::uint8_t> file;
    if (SUCCEEDED(hr)) {
        hr = TakeBytes(out.stream.get(), file);
    }
    if (FAILED(hr)) {
        return EncoderFailed(hr);
    }
    return file;
}

// The RGBA rows in bands of whole rows, one tile at a time, handed out a row a call.
class WicRowDecoder final : public RowDecoder {
  public:
    // False where the picture is paletted, unreadable, too large decoded, or so wide that a row
    // is not one tile.
    bool Open(std::span<const std::uint8_t> file) {
        open_.file = file;
        if (file.size() > UINT_MAX || FAILED(CreateFactory(open_.factory)) ||
            FAILED(OpenFirstFrame(open_)) ||
            DecodedBytes(open_.width, open_.height) > kLargestDecodedBytes ||
            IndexedDepth(open_.format) != 0) {
            return false;
        }
        SetSize(open_.width, open_.height);
        channels_ = WideChannels(open_.format);
        const std::size_t pixelBytes = channels_ != 0 ? std::size_t{2} * channels_ : 4;
        const TileShape shape = ShapeTiles(Width(), Height(), pixelBytes);
        if (shape.columns < Width() || FAILED(RgbaSource(open_.factory.get(), open_.frame.get(),
                                                         channels_, converter_, source_))) {
            return false;
        }
        bandRows_ = shape.rows;
        stride_ = std::size_t{Width()} * pixelBytes;
        band_.resize(stride_ * bandRows_);
        return true;
    }

    Status NextRow(std::uint8_t* row) override {
        if (next_ % bandRows_ == 0) {
            const std::uint32_t rows = std::min(bandRows_, Height() - next_);
            const WICRect rect{0, static_cast<INT>(next_), static_cast<INT>(Width()),
                               static_cast<INT>(rows)};
            if (const HRESULT hr =
                    source_->CopyPixels(&rect, static_cast<UINT>(stride_),
                                        static_cast<UINT>(stride_ * rows), band_.data());
                FAILED(hr)) {
                return Damaged(hr, open_.file);
            }
        }
        RowToRgba(band_.data() + (next_ % bandRows_) * stride_, row, Width(), channels_);
        ++next_;
        return Success();
    }

    // The component reads no further than the pixels, as for a whole picture.
    Status Finish() override { return Success(); }

  private:
    ComScope com_;  // first in, last out
    OpenPicture open_;
    Com<IWICFormatConverter> converter_;
    IWICBitmapSource* source_ = nullptr;
    unsigned channels_ = 0;
    std::uint32_t bandRows_ = 1;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> band_;
    std::uint32_t next_ = 0;
};

}  // namespace

std::unique_ptr<RowDecoder> OpenRowDecoder(std::span<const std::uint8_t> file) {
    // The header's sides first, as the whole decoding checks them.
    if (!HasPngSignature(file) || !detail::CheckStatedSize(file)) {
        return nullptr;
    }
    auto decoder = std::make_unique<WicRowDecoder>();
    if (!decoder->Open(file)) {
        return nullptr;
    }
    return decoder;
}

Result<DecodedPicture> detail::DecodeFile(std::span<const std::uint8_t> file) {
    return Decode(file);
}

Result<std::vector<std::uint8_t>> detail::EncodeFile(const IndexedImage& image) {
    return Encode(image);
}

}  // namespace quorvel::png
