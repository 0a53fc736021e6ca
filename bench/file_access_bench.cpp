// What large files cost to take in and to write out, apart from any decoding: a 48 MiB file
// (a 4096 × 4096 true-colour bitmap) read into a new buffer against mapped from the file cache,
// each page then touched once as a decoder would; and a 4096 × 4096 image saved as a bitmap
// from one buffer the size of the file against from its rows in pieces. The saves go to the
// null device, which takes no flush, so that only the encoder's memory and copies are timed.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/bitmap_writer.h"
#include "core/file_access.h"
#include "core/file_view.h"
#include "core/indexed_image.h"

namespace quorvel {
namespace {

constexpr std::size_t kFileBytes = std::size_t{48} << 20;
constexpr std::uint32_t kSide = 4096;

// The file, written once and so left in the file cache for every run.
const std::string& LargeFile() {
    static const std::string path = [] {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() / "quorvel-file-bench.bin";
        std::vector<char> bytes(kFileBytes);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<char>(i * 131 >> 7);
        }
        std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return file.string();
    }();
    return path;
}

std::uint64_t TouchEveryPage(std::span<const std::uint8_t> bytes) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 4096) {
        sum += bytes[i];
    }
    return sum;
}

void BM_ReadIntoNewBuffer(benchmark::State& state) {
    for (auto _ : state) {
        const FileReadResult file = ReadWholeFile(LargeFile());
        benchmark::DoNotOptimize(TouchEveryPage(file.bytes));
    }
}

void BM_MapFromFileCache(benchmark::State& state) {
    for (auto _ : state) {
        const FileViewResult file = ViewWholeFile(LargeFile());
        benchmark::DoNotOptimize(TouchEveryPage(file.view.bytes()));
    }
}

const IndexedImage& LargeImage() {
    static const IndexedImage image{kSide, kSide,
                                    std::vector<std::uint8_t>(std::size_t{kSide} * kSide, 57)};
    return image;
}

void BM_SaveFromOneBuffer(benchmark::State& state) {
    for (auto _ : state) {
        const Result<std::vector<std::uint8_t>> file = EncodeBitmap(LargeImage());
        benchmark::DoNotOptimize(WriteFileAtomically("/dev/null", file.value()));
    }
}

void BM_SaveFromRowsInPieces(benchmark::State& state) {
    for (auto _ : state) {
        const Result<EncodedPieces> file = BitmapPieces(LargeImage());
        benchmark::DoNotOptimize(WriteFileAtomically("/dev/null", file.value()));
    }
}

BENCHMARK(BM_ReadIntoNewBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFromFileCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFromOneBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFromRowsInPieces)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
