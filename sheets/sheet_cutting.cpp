#include "sheets/sheet_cutting.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "core/colour_reduction.h"
#include "core/reduction_threads.h"
#include "core/worker_threads.h"

namespace quorvel {

namespace {

bool HasPixels(const SheetFrame& frame) {
    return frame.width != 0 && frame.height != 0;
}

bool Untrimmed(const SheetFrame& frame) {
    return frame.placeX == 0 && frame.placeY == 0 && frame.canvasWidth == frame.width &&
           frame.canvasHeight == frame.height;
}

// The bytes the frame's image takes.
std::uint64_t ImageBytes(const SheetFrame& frame) {
    return HasPixels(frame) ? ConvertedWidth(static_cast<std::uint32_t>(frame.canvasWidth)) *
                                  static_cast<std::uint64_t>(frame.canvasHeight)
                            : 0;
}

IndexedImage PlaceOnCanvas(const IndexedImage& cut, const SheetFrame& frame) {
    IndexedImage canvas;
    canvas.width =
        static_cast<std::uint32_t>(ConvertedWidth(static_cast<std::uint32_t>(frame.canvasWidth)));
    canvas.height = static_cast<std::uint32_t>(frame.canvasHeight);
    canvas.pixels.assign(std::size_t{canvas.width} * canvas.height, 0);
    const auto width = static_cast<std::size_t>(frame.width);
    for (std::uint32_t y = 0; y < cut.height; ++y) {
        std::memcpy(canvas.pixels.data() +
                        static_cast<std::size_t>(frame.placeY + y) * canvas.width +
                        static_cast<std::size_t>(frame.placeX),
                    cut.pixels.data() + std::size_t{y} * cut.width, width);
    }
    return canvas;
}

// One frame reduced, on its canvas.
Result<IndexedImage> CutFrame(const SheetPicture& picture, const SheetFrame& frame,
                              ConversionMode mode, BlackHandling black) {
    if (!HasPixels(frame)) {
        return IndexedImage{
            static_cast<std::uint32_t>(frame.width), static_cast<std::uint32_t>(frame.height), {}};
    }
    Result<IndexedImage> cut =
        picture.Reduce(static_cast<std::uint32_t>(frame.x), static_cast<std::uint32_t>(frame.y),
                       static_cast<std::uint32_t>(frame.width),
                       static_cast<std::uint32_t>(frame.height), mode, black);
    if (!cut || Untrimmed(frame)) {
        return cut;
    }
    return PlaceOnCanvas(cut.value(), frame);
}

}  // namespace

Status CheckFrames(const SheetPicture& picture, const std::vector<SheetFrame>& frames) {
    std::uint64_t bytes = 0;
    for (std::size_t n = 0; n < frames.size(); ++n) {
        const SheetFrame& f = frames[n];
        const std::string frame = "frame " + std::to_string(n);
        if (f.rotated) {
            return Failure{frame + " is rotated, which is not supported"};
        }
        if (f.x < 0 || f.y < 0 || f.x + f.width > picture.Width() ||
            f.y + f.height > picture.Height()) {
            return Failure{frame + " lies outside the picture"};
        }
        if (HasPixels(f) && (f.placeX < 0 || f.placeY < 0 || f.placeX + f.width > f.canvasWidth ||
                             f.placeY + f.height > f.canvasHeight)) {
            return Failure{frame + " does not fit its source size"};
        }
        bytes += ImageBytes(f);
        if (bytes > kLargestCutBytes) {
            return Failure{"its frames would take more than 256 MiB"};
        }
    }
    return Success();
}

Result<std::vector<IndexedImage>> CutFrames(const SheetPicture& picture,
                                            const std::vector<SheetFrame>& frames,
                                            ConversionMode mode, BlackHandling black) {
    try {
        // Frames are independent: threads take them in turn, each frame on one thread. A
        // failure is the first frame's that fails, as in order.
        std::uint64_t pixels = 0;
        for (const SheetFrame& frame : frames) {
            pixels += ImageBytes(frame);
        }
        std::vector<std::optional<Result<IndexedImage>>> cuts(frames.size());
        std::atomic<std::size_t> next{0};
        // The same sizes as for one picture decide whether threads pay.
        const std::uint64_t threadsFrom = mode == ConversionMode::Nearest
                                              ? detail::kNearestThreadsFrom
                                              : detail::kDitherThreadsFrom;
        RunOnThreads(frames.size() > 1 ? ThreadsFor(pixels, threadsFrom) : 1, [&] {
            for (std::size_t n = next++; n < frames.size(); n = next++) {
                cuts[n] = CutFrame(picture, frames[n], mode, black);
            }
        });
        std::vector<IndexedImage> images;
        images.reserve(frames.size());
        for (std::optional<Result<IndexedImage>>& cut : cuts) {
            if (!*cut) {
                return Failure{cut->error()};
            }
            images.push_back(std::move(*cut).value());
        }
        return images;
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for an image this large"};
    }
}

}  // namespace quorvel
