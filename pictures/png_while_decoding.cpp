#include "pictures/png_while_decoding.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include "core/colour_reduction.h"
#include "core/worker_threads.h"
#include "pictures/picture_size.h"
#include "png/png_codec.h"

namespace quorvel {

namespace {

// Below this many pixels the picture is decoded whole, then reduced: a second thread would
// cost more than it saves.
constexpr std::uint64_t kOverlapFrom = 256 * 1024;
// The ring: small enough to stay in the processors' caches between the two threads.
constexpr std::size_t kRingBytes = std::size_t{1} << 20;

constexpr std::uint32_t kEveryRow = std::numeric_limits<std::uint32_t>::max();

// Decodes every row into its slot as soon as the reduction has handed the slot back.
Status DecodeRows(png::RowDecoder& decoder, const RgbaRows& rows) {
    ArrivingRows& arriving = *rows.arriving;
    for (std::uint32_t y = 0; y < rows.height; ++y) {
        if (y >= arriving.slots) {
            arriving.released.WaitFor(y - arriving.slots + 1);
        }
        auto* slot = const_cast<std::uint8_t*>(rows.top) +
                     static_cast<std::ptrdiff_t>(y % arriving.slots) * rows.stride;
        if (Status row = decoder.NextRow(slot); !row) {
            arriving.abandoned.store(true, std::memory_order_release);
            arriving.decoded.Publish(kEveryRow);
            return row;
        }
        arriving.decoded.Publish(y + 1);
    }
    return Success();
}

}  // namespace

std::optional<Result<IndexedImage>> ReduceWhileDecoding(std::span<const std::uint8_t> file,
                                                        ConversionMode mode, BlackHandling black,
                                                        unsigned threads) {
    if (threads == kThreadsBySize) {
        // From the header alone: a small picture opens no decoder here.
        const Result<PictureSize> size = ReadPictureSize(file);
        threads =
            size ? ThreadsFor(std::uint64_t{size.value().width} * size.value().height, kOverlapFrom)
                 : 1;
    }
    if (threads < 2) {
        return std::nullopt;
    }
    const std::unique_ptr<png::RowDecoder> decoder = png::OpenRowDecoder(file);
    if (!decoder) {
        return std::nullopt;
    }
    const std::size_t rowBytes = 4 * std::size_t{decoder->Width()};
    ArrivingRows arriving;
    arriving.slots = static_cast<std::uint32_t>(std::min<std::size_t>(
        std::max<std::size_t>(kRingBytes / rowBytes, 2 * ArrivingRows::kBatchRows),
        decoder->Height()));
    std::vector<std::uint8_t> ring(rowBytes * arriving.slots);
    const RgbaRows rows{ring.data(), static_cast<std::ptrdiff_t>(rowBytes), decoder->Width(),
                        decoder->Height(), &arriving};

    std::optional<IndexedImage> image;
    std::exception_ptr failure;
    std::thread reducer;
    try {
        reducer = std::thread([&] {
            try {
                image = ReduceToGamePalette(rows, mode, black, 1);
            } catch (...) {
                failure = std::current_exception();
            }
            arriving.released.Publish(kEveryRow);  // the decoder never waits for a slot now
        });
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    Status decoded = DecodeRows(*decoder, rows);
    reducer.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (decoded) {
        decoded = decoder->Finish();
    }
    if (!decoded) {
        return Failure{decoded.error()};
    }
    return std::move(*image);
}

}  // namespace quorvel
