#include "pictures/picture_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "core/colour_reduction.h"
#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/file_names.h"
#include "core/game_palette.h"
#include "core/read_reported.h"
#include "core/save_encoded.h"
#include "core/window_services.h"
#include "pictures/png_while_decoding.h"

namespace quorvel {

namespace {

bool EntryIsOpaque(const png::DecodedPicture& picture, std::size_t i) {
    return picture.palette[4 * i + 3] >= kOpaqueAlpha;
}

// Entry 0 is left out, as for bitmaps: a picture in the game palette may carry any colour
// there. Alpha is not compared: a transparent entry makes its pixels 0 when taken over.
bool CarriesGamePalette(const png::DecodedPicture& picture) {
    if (picture.paletteEntries != kPaletteEntries) {
        return false;
    }
    for (std::size_t i = 1; i < kPaletteEntries; ++i) {
        const std::uint32_t colour = std::uint32_t{picture.palette[4 * i]} << 16 |
                                     std::uint32_t{picture.palette[4 * i + 1]} << 8 |
                                     picture.palette[4 * i + 2];
        if (colour != kGameColours[i]) {
            return false;
        }
    }
    return true;
}

IndexedImage TakeOver(const png::DecodedPicture& picture) {
    std::array<std::uint8_t, 256> index;
    for (std::size_t i = 0; i < index.size(); ++i) {
        index[i] = !EntryIsOpaque(picture, i) ? 0
                   : (i >= 1 && i <= 10)      ? kWhiteIndex
                                              : static_cast<std::uint8_t>(i);
    }
    IndexedImage image;
    image.width = static_cast<std::uint32_t>(ConvertedWidth(picture.width));
    image.height = picture.height;
    image.pixels.resize(std::size_t{image.width} * image.height);
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        const std::uint8_t* in = picture.pixels.data() + std::size_t{y} * picture.width;
        std::uint8_t* out = image.pixels.data() + std::size_t{y} * image.width;
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            out[x] = index[in[x]];
        }
    }
    return image;
}

Result<IndexedImage> FromPaletted(const png::DecodedPicture& picture, ConversionMode mode,
                                  BlackHandling black) {
    const auto entries = std::min<std::uint32_t>(picture.paletteEntries, kPaletteEntries);
    if (entries < kPaletteEntries && std::any_of(picture.pixels.begin(), picture.pixels.end(),
                                                 [&](std::uint8_t i) { return i >= entries; })) {
        return Failure{"a pixel refers to a colour its palette does not have"};
    }
    if (CarriesGamePalette(picture)) {
        return TakeOver(picture);
    }
    bool anyTransparent = false;
    for (std::size_t i = 0; i < entries; ++i) {
        anyTransparent = anyTransparent || !EntryIsOpaque(picture, i);
    }
    if (!anyTransparent) {
        // The paletted reduction, in the bitmap palette's layout: blue, green, red, 0.
        std::array<std::uint8_t, kBitmapPaletteBytes> palette{};
        for (std::size_t i = 0; i < entries; ++i) {
            palette[4 * i + 0] = picture.palette[4 * i + 2];
            palette[4 * i + 1] = picture.palette[4 * i + 1];
            palette[4 * i + 2] = picture.palette[4 * i + 0];
        }
        const PalettedRows rows{picture.pixels.data(), static_cast<std::ptrdiff_t>(picture.width),
                                picture.width, picture.height, palette.data()};
        return ReduceToGamePalette(rows, mode, black);
    }
    // Some pixels are transparent: every pixel as its palette entry's colour and alpha.
    std::vector<std::uint8_t> rgba(picture.pixels.size() * 4);
    for (std::size_t p = 0; p < picture.pixels.size(); ++p) {
        std::memcpy(rgba.data() + 4 * p, picture.palette.data() + 4 * picture.pixels[p], 4);
    }
    const RgbaRows rows{rgba.data(), static_cast<std::ptrdiff_t>(4 * std::size_t{picture.width}),
                        picture.width, picture.height};
    return ReduceToGamePalette(rows, mode, black);
}

constexpr char kNoMemory[] = "there is not enough memory for an image this large";

// A large PNG picture decoded through RGBA rows, reduced while it is decoded; nothing for the
// others, which are decoded whole first.
std::optional<Result<IndexedImage>> ReduceLargePng(std::span<const std::uint8_t> file,
                                                   ConversionMode mode, BlackHandling black) {
    try {
        return ReduceWhileDecoding(file, mode, black);
    } catch (const std::bad_alloc&) {
        return Result<IndexedImage>(Failure{kNoMemory});
    }
}

// Decodes the bytes of a picture file. A PNG picture decoded whole first lets go of `file`,
// when given, before the conversion allocates its image.
Result<IndexedImage> DecodeBytes(std::span<const std::uint8_t> bytes, ConversionMode mode,
                                 BlackHandling black, FileView* file) {
    if (!png::HasPngSignature(bytes)) {
        return DecodeBitmap(bytes, mode, black);
    }
    if (std::optional<Result<IndexedImage>> image = ReduceLargePng(bytes, mode, black)) {
        return std::move(*image);
    }
    const Result<png::DecodedPicture> picture = png::DecodePng(bytes);
    if (file != nullptr) {
        file->Release();
    }
    if (!picture) {
        return Failure{picture.error()};
    }
    return ConvertPngPicture(picture.value(), mode, black);
}

// The same for a file seen through `file`.
Result<IndexedImage> DecodeReadFile(FileView& file, ConversionMode mode, BlackHandling black) {
    return DecodeBytes(file.bytes(), mode, black, &file);
}

}  // namespace

Result<IndexedImage> ConvertPngPicture(const png::DecodedPicture& picture, ConversionMode mode,
                                       BlackHandling black) {
    try {
        if (picture.layout == png::PixelLayout::Paletted) {
            return FromPaletted(picture, mode, black);
        }
        const RgbaRows rows{picture.pixels.data(),
                            static_cast<std::ptrdiff_t>(4 * std::size_t{picture.width}),
                            picture.width, picture.height};
        return ReduceToGamePalette(rows, mode, black);
    } catch (const std::bad_alloc&) {
        return Failure{kNoMemory};
    }
}

Result<IndexedImage> DecodePicture(std::span<const std::uint8_t> file, ConversionMode mode,
                                   BlackHandling black) {
    return DecodeBytes(file, mode, black, nullptr);
}

bool LoadPictureFile(const std::string& fileName, ConversionMode mode, BlackHandling black) {
    return LoadImageFile(
        fileName, [mode, black](FileView& file) { return DecodeReadFile(file, mode, black); });
}

std::optional<IndexedImage> ReadPictureFile(const std::string& fileName, ConversionMode mode,
                                            BlackHandling black) {
    std::optional<FileView> file = ViewFileOrReport(fileName);
    if (!file) {
        return std::nullopt;
    }
    Result<IndexedImage> image = DecodeReadFile(*file, mode, black);
    if (!ReportIfCutShort(*file, fileName)) {
        return std::nullopt;
    }
    if (!image) {
        ShowFileError(CannotRead(fileName, image.error()));
        return std::nullopt;
    }
    return std::move(image).value();
}

bool NamesPngFile(std::string_view fileName) {
    return EndsWithNoCase(fileName, ".png");
}

Result<std::vector<std::uint8_t>> EncodePicture(const IndexedImage& image,
                                                std::string_view fileName) {
    return NamesPngFile(fileName) ? png::EncodeIndexedPng(image) : EncodeBitmap(image);
}

bool SavePictureFile(const std::string& fileName) {
    return SaveImageAsPicture(CurrentImage(), fileName);
}

bool SaveImageAsPicture(const IndexedImage& image, const std::string& fileName) {
    // A bitmap is written from the image's rows where they are, not copied into one buffer.
    return NamesPngFile(fileName) ? SaveEncodedFile(fileName, png::EncodeIndexedPng(image))
                                  : SaveEncodedFile(fileName, BitmapPieces(image));
}

}  // namespace quorvel
