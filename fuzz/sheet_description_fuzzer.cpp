// Reads any input as a sheet description. A refusal gives a reason; what is read holds at most
// 65,535 frames without negative sizes. The frames are then checked against a small sheet and,
// when their canvases are small, cut from it: a refusal gives a reason, and every image has the
// size its frame asks for.

#include <string>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/colour_reduction.h"
#include "fuzz/fuzz_support.h"
#include "sheets/sheet_cutting.h"
#include "sheets/sheet_description.h"
#include "sheets/sheet_picture.h"

namespace {

// A 16 × 16 bitmap in the game palette.
const quorvel::SheetPicture& Sheet() {
    static const quorvel::SheetPicture sheet = [] {
        quorvel::IndexedImage image{16, 16, std::vector<std::uint8_t>(256)};
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            image.pixels[i] = static_cast<std::uint8_t>(i);
        }
        return std::move(quorvel::SheetPicture::Decode(quorvel::EncodeBitmap(image).value()))
            .value();
    }();
    return sheet;
}

// Canvases beyond this are only checked, not cut, to keep the search fast.
constexpr std::uint64_t kLargestCutPixels = std::uint64_t{1} << 20;

void CheckCut(const std::vector<quorvel::SheetFrame>& frames) {
    std::uint64_t pixels = 0;
    for (const quorvel::SheetFrame& f : frames) {
        pixels += static_cast<std::uint64_t>(f.canvasWidth + 3) *
                  static_cast<std::uint64_t>(f.canvasHeight);
    }
    if (pixels > kLargestCutPixels) {
        return;
    }
    const auto images = quorvel::CutFrames(Sheet(), frames, quorvel::ConversionMode::Dither,
                                           quorvel::BlackHandling::AsSearched);
    QUORVEL_FUZZ_CHECK(images.ok() && images.value().size() == frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const quorvel::SheetFrame& f = frames[i];
        const quorvel::IndexedImage& image = images.value()[i];
        const bool empty = f.width == 0 || f.height == 0;
        const std::int64_t width = empty ? f.width
                                         : static_cast<std::int64_t>(quorvel::ConvertedWidth(
                                               static_cast<std::uint32_t>(f.canvasWidth)));
        QUORVEL_FUZZ_CHECK(image.width == width &&
                           image.height == (empty ? f.height : f.canvasHeight) &&
                           image.pixels.size() == std::uint64_t{image.width} * image.height);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto frames = quorvel::ParseSheetDescription({data, size});
    if (!frames.ok()) {
        QUORVEL_FUZZ_CHECK(!frames.error().empty());
        return 0;
    }
    QUORVEL_FUZZ_CHECK(frames.value().size() <= quorvel::kMostSheetFrames);
    for (const quorvel::SheetFrame& f : frames.value()) {
        QUORVEL_FUZZ_CHECK(f.width >= 0 && f.height >= 0 && f.canvasWidth >= 0 &&
                           f.canvasHeight >= 0);
    }
    const quorvel::Status fit = quorvel::CheckFrames(Sheet(), frames.value());
    if (!fit.ok()) {
        QUORVEL_FUZZ_CHECK(!fit.error().empty());
        return 0;
    }
    CheckCut(frames.value());
    return 0;
}
