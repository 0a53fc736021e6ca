// Creatures sprite files (".spr").
//
// Layout, all numbers little-endian, no magic number, no version, no alignment:
//
//   offset      size  field
//   0           2     N, the number of sprites
//   2 + 8i      4     offset of sprite i's pixels from the start of the file (i = 0 .. N-1)
//   6 + 8i      2     width of sprite i
//   8 + 8i      2     height of sprite i
//   offset_i    w×h   pixels of sprite i: game-palette indexes, rows top to bottom, no padding
//
// The directory ends at byte 2 + 8N. We write the pixel blocks right after it, back to back
// in sprite order, so offset_0 = 2 + 8N and offset_{i+1} = offset_i + w_i × h_i. Other
// writers need not: we read each block from its stated offset, so blocks may come in any
// order or overlap.

#include "sprites/sprite_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/label_texts.h"
#include "core/little_endian.h"
#include "core/read_reported.h"
#include "core/save_encoded.h"
#include "core/window_services.h"

namespace quorvel {

namespace {

constexpr std::uint64_t kCountBytes = 2;
constexpr std::uint64_t kEntryBytes = 8;
constexpr std::uint64_t kMaxField16 = 0xFFFF;
constexpr std::uint64_t kMaxOffset = 0xFFFFFFFF;

// Blocks shared by several sprites are decoded once per sprite, so the decoded pixels may
// exceed the file's own size. Beyond this much extra a file is refused, so that a small file
// pointing thousands of sprites at one large block cannot exhaust memory. Files whose blocks
// do not overlap (every file we write) never come near it.
constexpr std::uint64_t kSharedPixelAllowance = std::uint64_t{256} << 20;

std::uint64_t DirectoryEnd(std::uint64_t count) {
    return kCountBytes + kEntryBytes * count;
}

// Copies the blocks out of a file whose directory has been checked against it.
SpriteSet CopySprites(std::span<const std::uint8_t> file, std::uint64_t count) {
    SpriteSet set;
    set.count = static_cast<std::uint32_t>(count);
    set.widths.reserve(count);
    set.heights.reserve(count);
    set.images.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = DirectoryEnd(i);
        const std::uint64_t offset = ReadU32(file, entry);
        const std::uint16_t width = ReadU16(file, entry + 4);
        const std::uint16_t height = ReadU16(file, entry + 6);
        const std::uint64_t blockBytes = std::uint64_t{width} * height;
        set.widths.push_back(width);
        set.heights.push_back(height);
        if (blockBytes == 0) {
            set.images.emplace_back();
        } else {
            const auto block = file.subspan(offset, blockBytes);
            set.images.emplace_back(block.begin(), block.end());
        }
    }
    return set;
}

}  // namespace

Result<SpriteSet> DecodeSpriteFile(std::span<const std::uint8_t> file) {
    const std::uint64_t size = file.size();
    if (size < kCountBytes) {
        return Failure{"the file ends before its sprite count"};
    }
    const std::uint64_t count = ReadU16(file, 0);
    if (DirectoryEnd(count) > size) {
        return Failure{"the file ends inside its directory of " + std::to_string(count) +
                       " sprites"};
    }

    // Check the whole directory before allocating any pixels.
    std::uint64_t decodedBytes = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = DirectoryEnd(i);
        const std::uint64_t offset = ReadU32(file, entry);
        const std::uint64_t blockBytes =
            std::uint64_t{ReadU16(file, entry + 4)} * ReadU16(file, entry + 6);
        // An empty block reads nothing wherever it is said to start.
        if (blockBytes != 0 && (offset > size || blockBytes > size - offset)) {
            return Failure{"the pixels of sprite " + std::to_string(i) + " lie outside the file"};
        }
        decodedBytes += blockBytes;
    }
    if (decodedBytes > size + kSharedPixelAllowance) {
        return Failure{"its sprites share pixel blocks so often that they would take " +
                       std::to_string(decodedBytes) + " bytes"};
    }
    try {
        return CopySprites(file, count);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for its sprites"};
    }
}

Result<std::vector<std::uint32_t>> SpriteFileOffsets(std::span<const std::uint32_t> widths,
                                                     std::span<const std::uint32_t> heights) {
    if (widths.size() != heights.size()) {
        return Failure{"the sprite set is inconsistent"};
    }
    const std::uint64_t count = widths.size();
    if (count > kMaxField16) {
        return Failure{"it would hold " + std::to_string(count) +
                       " sprites and a sprite file holds at most 65535"};
    }
    // Summed in 64 bits, so that a set too large for the 32-bit fields is caught rather than
    // wrapped.
    std::vector<std::uint32_t> offsets;
    offsets.reserve(count);
    std::uint64_t next = DirectoryEnd(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t width = widths[i];
        const std::uint64_t height = heights[i];
        if (width > kMaxField16 || height > kMaxField16) {
            return Failure{"sprite " + std::to_string(i) + " is " + SizeText(width, height) +
                           " pixels and a sprite file holds no side longer than 65535"};
        }
        if (next > kMaxOffset) {
            return Failure{"the pixels of sprite " + std::to_string(i) +
                           " would start beyond the 4 GiB a sprite file can address"};
        }
        offsets.push_back(static_cast<std::uint32_t>(next));
        next += width * height;
    }
    return offsets;
}

Result<EncodedPieces> SpriteFileHead(std::span<const std::uint32_t> widths,
                                     std::span<const std::uint32_t> heights) {
    Result<std::vector<std::uint32_t>> planned = SpriteFileOffsets(widths, heights);
    if (!planned) {
        return Failure{planned.error()};
    }
    const std::vector<std::uint32_t>& offsets = planned.value();
    const std::uint64_t count = widths.size();
    EncodedPieces file;
    try {
        file.head.assign(static_cast<std::size_t>(DirectoryEnd(count)), 0);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory to write a set this large"};
    }
    // The offsets' checks keep every value within its field.
    WriteU16(file.head.data(), static_cast<std::uint16_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint8_t* entry = file.head.data() + DirectoryEnd(i);
        WriteU32(entry, static_cast<std::uint32_t>(offsets[i]));
        WriteU16(entry + 4, static_cast<std::uint16_t>(widths[i]));
        WriteU16(entry + 6, static_cast<std::uint16_t>(heights[i]));
    }
    return file;
}

Result<EncodedPieces> SpriteFilePieces(const SpriteSet& set) {
    const std::uint64_t count = set.count;
    if (set.widths.size() != count || set.heights.size() != count || set.images.size() != count) {
        return Failure{"the sprite set is inconsistent"};
    }
    Result<EncodedPieces> file = SpriteFileHead(set.widths, set.heights);
    if (!file) {
        return file;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t blockBytes = std::uint64_t{set.widths[i]} * set.heights[i];
        if (set.images[i].size() != blockBytes) {
            return Failure{"sprite " + std::to_string(i) + " does not hold " +
                           SizeText(set.widths[i], set.heights[i]) + " pixels"};
        }
    }
    try {
        file.value().pieces.assign(set.images.begin(), set.images.end());
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory to write a set this large"};
    }
    return file;
}

Result<std::vector<std::uint8_t>> EncodeSpriteFile(const SpriteSet& set) {
    return JoinedFile(SpriteFilePieces(set),
                      "there is not enough memory to write a set this large");
}

std::optional<SpriteSet> ReadSpriteFile(const std::string& fileName) {
    const std::optional<FileView> file = ViewFileOrReport(fileName);
    if (!file) {
        return std::nullopt;
    }
    Result<SpriteSet> decoded = DecodeSpriteFile(file->bytes());
    if (!ReportIfCutShort(*file, fileName)) {
        return std::nullopt;
    }
    if (!decoded) {
        ShowFileError(CannotRead(fileName, decoded.error()));
        return std::nullopt;
    }
    return std::move(decoded).value();
}

bool LoadSpriteFile(const std::string& fileName) {
    std::optional<SpriteSet> read = ReadSpriteFile(fileName);
    if (!read) {
        return false;
    }
    SpriteSet& set = CurrentSpriteSet();
    set = std::move(*read);
    ClearLines();
    for (std::uint32_t i = 0; i < set.count; ++i) {
        AppendLine(SpriteLine(i, set.widths[i], set.heights[i], LineForm::WithColon));
    }
    RefreshChoice();
    return true;
}

bool SaveSpriteFile(const std::string& fileName) {
    SpriteSet& set = CurrentSpriteSet();
    if (set.count == 0) {
        return false;  // an empty set writes nothing, not even an empty file
    }
    if (!SaveEncodedFile(fileName, SpriteFilePieces(set))) {
        return false;
    }
    set.changedSinceSaved = false;
    return true;
}

}  // namespace quorvel
