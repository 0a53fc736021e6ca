#include <algorithm>
#include <array>
#include <vector>

#include "core/channel_tables.h"
#include "core/colour_reduction.h"
#include "core/nearest_index.h"
#include "core/reduction_threads.h"
#include "core/source_pixels.h"
#include "core/vector_paths.h"

namespace quorvel {

namespace {

// Only RGBA rows have transparent pixels.
template <typename Source>
[[gnu::always_inline]] inline bool IsOpaque(const Source& source, const std::uint8_t* row,
                                            std::uint32_t x) {
    if constexpr (requires { source.Opaque(row, x); }) {
        return source.Opaque(row, x);
    }
    return true;
}

// Each pixel's error e goes 7/16 right, 5/16 below-left, 3/16 below and 1/16 below-right, every
// share an arithmetic shift right by 4 (rounding toward minus infinity).
//
// The error rows are kept in one array of width + 2 elements, element x + 1 for pixel x, so
// that the neighbours x - 1 and x + 1 of every pixel have one; what falls on the two outer
// elements is never read. It holds the current row to the right of the pixel being matched
// and the next row to its left: pixel x reads element x + 1 of the current row, which is
// then free to take the next row's shares for the pixel below (3/16 of this pixel and 1/16
// of the one before, carried since then); element x, below-left, then receives its last
// share, 5/16. The share to the right is carried to the next pixel. Integer sums do not
// depend on their order, so the result is that of separate current and next rows, and the
// rows never need clearing.
#if QUORVEL_SSE2

// The three channels side by side in 16-bit lanes, in the order of a 24-bit pixel's bytes:
// blue, green, red, then a lane that stays 0. Everything fits 16 bits: colours and clamped
// values are 0..255, errors -252..255, and an element's shares add up to less than 9/16 of
// one error plus 7/16 of another.
struct Error {
    std::int16_t lanes[4] = {};
};
using Lanes = __m128i;

[[gnu::always_inline]] inline Lanes Load(const Error& e) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(e.lanes));
}
[[gnu::always_inline]] inline void Store(Error& e, Lanes v) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(e.lanes), v);
}
// (k × e) >> 4 in every lane.
template <std::int16_t k>
[[gnu::always_inline]] inline Lanes Share(Lanes e) {
    return _mm_srai_epi16(_mm_mullo_epi16(e, _mm_set1_epi16(k)), 4);
}

// The source pixels as lanes.
class TrueColourSource {
  public:
    explicit TrueColourSource(const TrueColourRows& rows) : reader_{rows} {}
    const std::uint8_t* Row(std::uint32_t y) const { return reader_.Row(y); }
    Lanes ColourAt(const std::uint8_t* row, std::uint32_t x) const {
        const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
        return _mm_insert_epi16(_mm_cvtsi32_si128(p[0] | p[1] << 16), p[2], 2);
    }

  private:
    detail::TrueColourReader reader_;
};

class PalettedSource {
  public:
    explicit PalettedSource(const PalettedRows& rows) : reader_(rows) {
        for (std::size_t i = 0; i < colours_.size(); ++i) {
            const detail::Colour c = reader_.Entry(i);
            colours_[i] = {{static_cast<std::int16_t>(c.blue), static_cast<std::int16_t>(c.green),
                            static_cast<std::int16_t>(c.red), 0}};
        }
    }
    const std::uint8_t* Row(std::uint32_t y) const { return reader_.Row(y); }
    Lanes ColourAt(const std::uint8_t* row, std::uint32_t x) const {
        return Load(colours_[row[x]]);
    }

  private:
    detail::PalettedReader reader_;
    std::array<Error, 256> colours_;
};

class RgbaSource {
  public:
    explicit RgbaSource(const RgbaRows& rows) : reader_{rows} {}
    const std::uint8_t* Row(std::uint32_t y) const { return reader_.Row(y); }
    Lanes ColourAt(const std::uint8_t* row, std::uint32_t x) const {
        const std::uint8_t* p = row + 4 * static_cast<std::size_t>(x);
        return _mm_insert_epi16(_mm_cvtsi32_si128(p[2] | p[1] << 16), p[0], 2);
    }
    bool Opaque(const std::uint8_t* row, std::uint32_t x) const { return reader_.Opaque(row, x); }
    ArrivingRows* Arriving() const { return reader_.rows.arriving; }

  private:
    detail::RgbaReader reader_;
};

struct RowState {
    const std::uint8_t* source;
    std::uint8_t* out;
    Lanes right;       // 7/16 of the previous pixel's error
    Lanes belowRight;  // 1/16 of the previous pixel's error, for the pixel below this one
};

// The game palette's colours by index, as lanes.
using GameColours = std::array<Error, 256>;

GameColours MakeGameColours() {
    const ChannelTables& t = GetChannelTables();
    GameColours colours;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = {{static_cast<std::int16_t>(t.blue[i]), static_cast<std::int16_t>(t.green[i]),
                       static_cast<std::int16_t>(t.red[i]), 0}};
    }
    return colours;
}

template <BlackHandling kBlack, typename Source>
[[gnu::always_inline]] inline void DitherPixel(const Source& source, const GameColours& game,
                                               const detail::ColourCells& cells, RowState& row,
                                               Error* rowErrors, std::uint32_t x) {
    Error& here = rowErrors[x + 1];
    // A transparent pixel keeps index 0 and has no error: what was owed to it is dropped and
    // its neighbours get nothing from it.
    Lanes e = _mm_setzero_si128();
    if (IsOpaque(source, row.source, x)) {
        const Lanes sum =
            _mm_add_epi16(_mm_add_epi16(source.ColourAt(row.source, x), Load(here)), row.right);
        const Lanes value =
            _mm_min_epi16(_mm_max_epi16(sum, _mm_setzero_si128()), _mm_set1_epi16(255));
        const NearestMatch match =
            FindNearestIndex(cells, _mm_extract_epi16(value, 2), _mm_extract_epi16(value, 1),
                             _mm_extract_epi16(value, 0));
        row.out[x] = WrittenIndex<kBlack>(match.index);

        // The clamped value minus the chosen entry's colour: the differences the search
        // reports. An exact match has all three 0 and so spreads nothing.
        e = _mm_sub_epi16(value, Load(game[match.index]));
    }
    row.right = Share<7>(e);
    Error& belowLeft = rowErrors[x];
    Store(belowLeft, _mm_add_epi16(Load(belowLeft), Share<5>(e)));
    Store(here, _mm_add_epi16(Share<3>(e), row.belowRight));
    row.belowRight = _mm_srai_epi16(e, 4);
}

#else

struct Error {
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;
};

constexpr std::int32_t ClampChannel(std::int32_t v) {
    return std::clamp(v, 0, 255);
}

struct TrueColourSource : detail::TrueColourReader {
    explicit TrueColourSource(const TrueColourRows& source) : TrueColourReader{source} {}
};
struct RgbaSource : detail::RgbaReader {
    explicit RgbaSource(const RgbaRows& source) : RgbaReader{source} {}
    ArrivingRows* Arriving() const { return rows.arriving; }
};
using PalettedSource = detail::PalettedReader;

struct RowState {
    const std::uint8_t* source;
    std::uint8_t* out;
    Error right;       // 7/16 of the previous pixel's error
    Error belowRight;  // 1/16 of the previous pixel's error, for the pixel below this one
};

struct GameColours {};  // the differences come with the match

GameColours MakeGameColours() {
    return {};
}

template <BlackHandling kBlack, typename Source>
[[gnu::always_inline]] inline void DitherPixel(const Source& source, const GameColours&,
                                               const detail::ColourCells& cells, RowState& row,
                                               Error* rowErrors, std::uint32_t x) {
    Error& here = rowErrors[x + 1];
    // A transparent pixel keeps index 0 and has no error: what was owed to it is dropped and
    // its neighbours get nothing from it.
    Error e;
    if (IsOpaque(source, row.source, x)) {
        const detail::Colour c = source.At(row.source, x);
        const std::int32_t red = ClampChannel(c.red + here.red + row.right.red);
        const std::int32_t green = ClampChannel(c.green + here.green + row.right.green);
        const std::int32_t blue = ClampChannel(c.blue + here.blue + row.right.blue);
        const NearestMatch match = FindNearestIndex(cells, red, green, blue);
        row.out[x] = WrittenIndex<kBlack>(match.index);

        // The differences are the clamped value minus the chosen entry's colour; an exact
        // match has all three 0 and so spreads nothing.
        e = {match.dRed, match.dGreen, match.dBlue};
    }
    row.right = {(7 * e.red) >> 4, (7 * e.green) >> 4, (7 * e.blue) >> 4};
    Error& belowLeft = rowErrors[x];
    belowLeft.red += (5 * e.red) >> 4;
    belowLeft.green += (5 * e.green) >> 4;
    belowLeft.blue += (5 * e.blue) >> 4;
    here = {((3 * e.red) >> 4) + row.belowRight.red, ((3 * e.green) >> 4) + row.belowRight.green,
            ((3 * e.blue) >> 4) + row.belowRight.blue};
    row.belowRight = {e.red >> 4, e.green >> 4, e.blue >> 4};
}

#endif

// Rows are dithered in bands of four, each row two pixels behind the one above it. Each pixel
// waits for the one before it in its row (the error to the right), so a single row is one
// long chain of dependent steps and leaves the processor mostly idle; the other rows of the
// band are independent chains that fill it. A row only ever reads elements of the shared
// array that the row above has finished with: its pixel x needs that row's pixels up to
// x + 1, which were done two steps earlier; and in any one step the rows work on elements
// two apart, so none writes what another reads or writes in that step.
constexpr std::uint32_t kBandRows = 4;
constexpr std::uint32_t kLag = 2;

// With several threads the bands form a wavefront: each band follows the band above it, run
// by another thread, through the same error array. Its first row may dither pixel x once the
// band above has finished pixel x + 1 of its last row; by then that row works on elements
// past x + 1, and its rows above are further ahead still, so the two bands never touch the
// same element at once. A band publishes its last row's finished pixels after every chunk of
// steps, and waits for the band above before each chunk.
constexpr std::uint32_t kChunkSteps = 64;

struct BandLinks {
    Progress* above = nullptr;  // the band above, when another thread dithers it
    Progress* own = nullptr;    // this band's, when a thread below may wait for it
};

template <std::uint32_t kRows, BlackHandling kBlack, typename Source>
void DitherBand(const Source& source, const GameColours& game, RowState* rows, Error* rowErrors,
                std::uint32_t width, BandLinks links) {
    const detail::ColourCells& cells = detail::ThreadCells();
    // At step t, row r dithers pixel t - kLag·r, if there is one.
    const std::uint32_t steps = width + kLag * (kRows - 1);
    auto step = [&](std::uint32_t t) {
        for (std::uint32_t r = 0; r < kRows; ++r) {
            if (t >= kLag * r && t - kLag * r < width) {
                DitherPixel<kBlack>(source, game, cells, rows[r], rowErrors, t - kLag * r);
            }
        }
    };
    auto fullStep = [&](std::uint32_t t) {
        for (std::uint32_t r = 0; r < kRows; ++r) {
            DitherPixel<kBlack>(source, game, cells, rows[r], rowErrors, t - kLag * r);
        }
    };
    // Alone, the band runs in one chunk.
    const std::uint32_t chunk = links.above || links.own ? kChunkSteps : steps;
    for (std::uint32_t t = 0; t < steps;) {
        const std::uint32_t end = std::min(steps, t + chunk);
        if (links.above) {
            links.above->WaitFor(std::min(end + 1, width));
        }
        if (t == 0) {
            rowErrors[0] = {};  // never read; cleared so that it cannot grow without bound
        }
        // Every row has a pixel at the steps from kLag·(kRows - 1) to the width.
        const std::uint32_t inner = std::min(end, width);
        for (; t < end && t < kLag * (kRows - 1); ++t) {
            step(t);
        }
        for (; t < inner; ++t) {
            fullStep(t);
        }
        for (; t < end; ++t) {
            step(t);
        }
        if (links.own) {
            const std::uint32_t lastRowDone = end - std::min(end, kLag * (kRows - 1));
            links.own->Publish(std::min(lastRowDone, width));
        }
    }
}

template <BlackHandling kBlack, typename Source>
class BandDitherer {
  public:
    BandDitherer(const Source& source, IndexedImage& image, std::uint32_t width,
                 std::uint32_t height)
        : source_(source),
          image_(image),
          width_(width),
          height_(height),
          game_(MakeGameColours()),
          errors_(static_cast<std::size_t>(width) + 2) {}

    std::uint32_t Bands() const { return (height_ + kBandRows - 1) / kBandRows; }

    void Dither(std::uint32_t band, BandLinks links) {
        const std::uint32_t y = band * kBandRows;
        const std::uint32_t bandRows = std::min(kBandRows, height_ - y);
        RowState rows[kBandRows];
        for (std::uint32_t r = 0; r < bandRows; ++r) {
            rows[r] = RowState{};  // no error carried in from the left
            rows[r].source = source_.Row(y + r);
            rows[r].out = image_.pixels.data() + static_cast<std::size_t>(y + r) * image_.width;
        }
        Error* errors = errors_.data();
        switch (bandRows) {
            case 1:
                DitherBand<1, kBlack>(source_, game_, rows, errors, width_, links);
                break;
            case 2:
                DitherBand<2, kBlack>(source_, game_, rows, errors, width_, links);
                break;
            case 3:
                DitherBand<3, kBlack>(source_, game_, rows, errors, width_, links);
                break;
            default:
                DitherBand<kBandRows, kBlack>(source_, game_, rows, errors, width_, links);
                break;
        }
    }

  private:
    const Source& source_;
    IndexedImage& image_;
    std::uint32_t width_;
    std::uint32_t height_;
    const GameColours game_;
    std::vector<Error> errors_;
};

template <BlackHandling kBlack, typename Source>
IndexedImage DitherWith(const Source& source, std::uint32_t width, std::uint32_t height,
                        unsigned threads) {
    IndexedImage image = detail::MakeConvertedImage(width, height);
    if (width == 0 || height == 0) {
        return image;  // nothing to dither, and no band would wait for the one above
    }
    BandDitherer<kBlack, Source> ditherer(source, image, width, height);
    const std::uint32_t bands = ditherer.Bands();
    if constexpr (requires { source.Arriving(); }) {
        if (ArrivingRows* arriving = source.Arriving()) {
            // Each batch of bands as soon as its rows are there, their slots handed back right
            // after.
            static_assert(ArrivingRows::kBatchRows % kBandRows == 0);
            constexpr std::uint32_t kBatchBands = ArrivingRows::kBatchRows / kBandRows;
            for (std::uint32_t band = 0; band < bands; band += kBatchBands) {
                const std::uint32_t endBand = std::min(bands, band + kBatchBands);
                const std::uint32_t end = std::min(height, endBand * kBandRows);
                if (!arriving->WaitForRows(end)) {
                    break;
                }
                for (std::uint32_t b = band; b < endBand; ++b) {
                    ditherer.Dither(b, {});
                }
                arriving->released.Publish(end);
            }
            return image;
        }
    }
    if (threads <= 1 || bands <= 1) {
        for (std::uint32_t band = 0; band < bands; ++band) {
            ditherer.Dither(band, {});
        }
        return image;
    }
    // Bands are claimed in order, so the band a thread waits for is always already claimed
    // by a thread that is running: any number of threads finishes.
    std::vector<Progress> progress(bands);
    std::atomic<std::uint32_t> next{0};
    RunOnThreads(threads, [&] {
        for (std::uint32_t band = next.fetch_add(1, std::memory_order_relaxed); band < bands;
             band = next.fetch_add(1, std::memory_order_relaxed)) {
            ditherer.Dither(band, {band > 0 ? &progress[band - 1] : nullptr, &progress[band]});
        }
    });
    return image;
}

template <typename Source, typename Rows>
IndexedImage Dither(const Source& source, const Rows& rows, BlackHandling black,
                    unsigned requested) {
    const unsigned threads = detail::ReductionThreads(rows, requested, detail::kDitherThreadsFrom);
    return black == BlackHandling::KeepVisible
               ? DitherWith<BlackHandling::KeepVisible>(source, rows.width, rows.height, threads)
               : DitherWith<BlackHandling::AsSearched>(source, rows.width, rows.height, threads);
}

}  // namespace

IndexedImage DiffuseDither(const TrueColourRows& rows, BlackHandling black, unsigned threads) {
    return Dither(TrueColourSource(rows), rows, black, threads);
}

IndexedImage DiffuseDither(const PalettedRows& rows, BlackHandling black, unsigned threads) {
    return Dither(PalettedSource(rows), rows, black, threads);
}

IndexedImage DiffuseDither(const RgbaRows& rows, BlackHandling black, unsigned threads) {
    return Dither(RgbaSource(rows), rows, black, threads);
}

}  // namespace quorvel
