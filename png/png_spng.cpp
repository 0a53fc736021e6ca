// The PNG codec on libspng, which checks every chunk, length and checksum of the file itself.
// Paletted pictures are decoded to their indexes (SPNG_FMT_PNG, unpacked here for depths below
// 8), so that a picture in the game palette can be taken over index for index; every other
// colour type to 8-bit RGBA with the tRNS chunk applied and no gamma correction.

#include <spng.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "core/game_palette.h"
#include "png/png_codec.h"
#include "png/png_shared.h"

namespace quorvel::png {

namespace {

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

Failure Damaged(int error) {
    return Failure{std::string("its PNG data is damaged (") + spng_strerror(error) + ")"};
}

// Ancillary chunks are kept in memory by the decoder (text decompressed); they are never
// needed here, so they may not take more than this.
constexpr std::size_t kChunkCacheLimit = std::size_t{8} << 20;

// The decoder stops reading at the end of the compressed pixels; the chunks after them up to
// IEND are read as well, so that a checksum broken there, or a file cut short, is noticed.
Result<DecodedPicture> CheckRest(spng_ctx* ctx, DecodedPicture picture) {
    if (const int error = spng_decode_chunks(ctx); error != 0) {
        return Damaged(error);
    }
    return picture;
}

Result<DecodedPicture> DecodePaletted(spng_ctx* ctx, DecodedPicture picture, unsigned depth) {
    spng_plte plte{};
    if (const int error = spng_get_plte(ctx, &plte); error != 0) {
        return Damaged(error);
    }
    spng_trns trns{};
    const bool hasTrns = spng_get_trns(ctx, &trns) == 0;
    picture.layout = PixelLayout::Paletted;
    picture.paletteEntries = plte.n_entries;
    for (std::uint32_t i = 0; i < plte.n_entries && i < 256; ++i) {
        picture.palette[4 * i + 0] = plte.entries[i].red;
        picture.palette[4 * i + 1] = plte.entries[i].green;
        picture.palette[4 * i + 2] = plte.entries[i].blue;
        picture.palette[4 * i + 3] =
            hasTrns && i < trns.n_type3_entries ? trns.type3_alpha[i] : 255;
    }
    std::size_t size = 0;
    if (const int error = spng_decoded_image_size(ctx, SPNG_FMT_PNG, &size); error != 0) {
        return Damaged(error);
    }
    picture.pixels.resize(size);
    if (const int error = spng_decode_image(ctx, picture.pixels.data(), size, SPNG_FMT_PNG, 0);
        error != 0) {
        return Damaged(error);
    }
    if (depth < 8) {
        detail::UnpackIndexes(picture.pixels, picture.width, picture.height, depth);
    }
    return CheckRest(ctx, std::move(picture));
}

Result<DecodedPicture> Decode(std::span<const std::uint8_t> file) {
    const Context ctx(spng_ctx_new(0));
    if (!ctx) {
        throw std::bad_alloc();
    }
    spng_set_chunk_limits(ctx.get(), kChunkCacheLimit, kChunkCacheLimit);
    spng_set_png_buffer(ctx.get(), file.data(), file.size());
    spng_ihdr ihdr{};
    if (const int error = spng_get_ihdr(ctx.get(), &ihdr); error != 0) {
        return Damaged(error);
    }
    DecodedPicture picture;
    picture.width = ihdr.width;
    picture.height = ihdr.height;
    if (ihdr.color_type == SPNG_COLOR_TYPE_INDEXED) {
        return DecodePaletted(ctx.get(), std::move(picture), ihdr.bit_depth);
    }
    std::size_t size = 0;
    if (const int error = spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size); error != 0) {
        return Damaged(error);
    }
    picture.pixels.resize(size);
    if (const int error = spng_decode_image(ctx.get(), picture.pixels.data(), size, SPNG_FMT_RGBA8,
                                            SPNG_DECODE_TRNS);
        error != 0) {
        return Damaged(error);
    }
    return CheckRest(ctx.get(), std::move(picture));
}

// Progressive decoding: libspng inflates and unfilters one row a call.
class SpngRowDecoder final : public RowDecoder {
  public:
    SpngRowDecoder(Context ctx, std::uint32_t width, std::uint32_t height)
        : RowDecoder(width, height), ctx_(std::move(ctx)) {}

    Status NextRow(std::uint8_t* row) override {
        const int error = spng_decode_row(ctx_.get(), row, 4 * std::size_t{Width()});
        ++rows_;
        // The last row comes with the end of the image.
        if (error == 0 || (error == SPNG_EOI && rows_ == Height())) {
            return Success();
        }
        return Damaged(error);
    }

    Status Finish() override {
        if (const int error = spng_decode_chunks(ctx_.get()); error != 0) {
            return Damaged(error);
        }
        return Success();
    }

  private:
    Context ctx_;
    std::uint32_t rows_ = 0;
};

struct BufferFree {
    void operator()(void* p) const { std::free(p); }
};

}  // namespace

std::unique_ptr<RowDecoder> OpenRowDecoder(std::span<const std::uint8_t> file) {
    if (!HasPngSignature(file) || !detail::CheckStatedSize(file)) {
        return nullptr;
    }
    Context ctx(spng_ctx_new(0));
    if (!ctx) {
        throw std::bad_alloc();
    }
    spng_set_chunk_limits(ctx.get(), kChunkCacheLimit, kChunkCacheLimit);
    spng_set_png_buffer(ctx.get(), file.data(), file.size());
    spng_ihdr ihdr{};
    if (spng_get_ihdr(ctx.get(), &ihdr) != 0 || ihdr.color_type == SPNG_COLOR_TYPE_INDEXED ||
        ihdr.interlace_method != SPNG_INTERLACE_NONE ||
        spng_decode_image(ctx.get(), nullptr, 0, SPNG_FMT_RGBA8,
                          SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) != 0) {
        return nullptr;
    }
    return std::make_unique<SpngRowDecoder>(std::move(ctx), ihdr.width, ihdr.height);
}

Result<DecodedPicture> detail::DecodeFile(std::span<const std::uint8_t> file) {
    return Decode(file);
}

Result<std::vector<std::uint8_t>> detail::EncodeFile(const IndexedImage& image) {
    const Context ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx) {
        return Failure{"there is not enough memory to encode it"};
    }
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = image.width;
    ihdr.height = image.height;
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_INDEXED;
    spng_plte plte{};
    plte.n_entries = kPaletteEntries;
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        plte.entries[i].red = static_cast<std::uint8_t>(kGameColours[i] >> 16);
        plte.entries[i].green = static_cast<std::uint8_t>(kGameColours[i] >> 8);
        plte.entries[i].blue = static_cast<std::uint8_t>(kGameColours[i]);
    }
    // Index 0 is transparent in the game; the other entries stay opaque.
    spng_trns trns{};
    trns.n_type3_entries = 1;
    trns.type3_alpha[0] = 0;
    int error = spng_set_ihdr(ctx.get(), &ihdr);
    if (error == 0) {
        error = spng_set_plte(ctx.get(), &plte);
    }
    if (error == 0) {
        error = spng_set_trns(ctx.get(), &trns);
    }
    if (error == 0) {
        error = spng_encode_image(ctx.get(), image.pixels.data(), image.pixels.size(), SPNG_FMT_PNG,
                                  SPNG_ENCODE_FINALIZE);
    }
    std::size_t length = 0;
    const std::unique_ptr<void, BufferFree> buffer(
        error == 0 ? spng_get_png_buffer(ctx.get(), &length, &error) : nullptr);
    if (error != 0 || !buffer) {
        return Failure{std::string("the PNG encoder failed (") + spng_strerror(error) + ")"};
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer.get());
    return std::vector<std::uint8_t>(bytes, bytes + length);
}

}  // namespace quorvel::png
