#include "sheets/sheet_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/file_names.h"
#include "core/read_reported.h"
#include "core/save_encoded.h"
#include "core/window_services.h"
#include "pictures/picture_file.h"
#include "sheets/grid_layout.h"
#include "sheets/key_layout.h"
#include "sheets/paired_save.h"
#include "sheets/sheet_cutting.h"
#include "sheets/sheet_description.h"
#include "sheets/sheet_description_writer.h"
#include "sheets/sheet_picture.h"
#include "sheets/sheet_stitching.h"
#include "sprites/sprite_file.h"

namespace quorvel {

namespace {

// The top-left square that marks a key-colour sheet for the window's guess.
constexpr std::uint32_t kKeySquare = 5;

bool FileExists(const std::string& name) {
    std::error_code error;
    return std::filesystem::exists(PathOfUtf8(name), error);
}

// Whether the name ends in ".json" in any case, as the description beside it would.
bool NamesDescription(const std::string& name) {
    return EndsWithNoCase(name, ".json");
}

std::optional<std::vector<SheetFrame>> ReadDescription(const std::string& jsonName) {
    const std::string tooLarge = "it is larger than 16 MiB, too large for a sheet description";
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(PathOfUtf8(jsonName), error);
    if (!error && size > kLargestSheetDescription) {
        ShowFileError(CannotRead(jsonName, tooLarge));
        return std::nullopt;
    }
    const std::optional<std::vector<std::uint8_t>> text = ReadFileOrReport(jsonName);
    if (!text) {
        return std::nullopt;
    }
    if (text->size() > kLargestSheetDescription) {
        ShowFileError(CannotRead(jsonName, tooLarge));
        return std::nullopt;
    }
    Result<std::vector<SheetFrame>> frames = ParseSheetDescription(*text);
    if (!frames) {
        ShowFileError(CannotRead(jsonName, frames.error()));
        return std::nullopt;
    }
    return std::move(frames).value();
}

std::optional<SheetPicture> ReadPicture(const std::string& pictureName) {
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileOrReport(pictureName);
    if (!bytes) {
        return std::nullopt;
    }
    Result<SheetPicture> picture = SheetPicture::Decode(std::move(*bytes));
    if (!picture) {
        ShowFileError(CannotRead(pictureName, picture.error()));
        return std::nullopt;
    }
    return std::move(picture).value();
}

Result<std::vector<SheetFrame>> LayoutFrames(const SheetPicture& picture,
                                             const SheetLayout& layout) {
    return layout.kind == SheetLayoutKind::Key ? KeyFrames(picture) : GridFrames(picture, layout);
}

// The frames of a picture: those described, or those the layout finds.
std::optional<std::vector<IndexedImage>> Cut(const std::string& pictureName,
                                             std::optional<std::vector<SheetFrame>> described,
                                             const SheetLayout& layout, ConversionMode mode,
                                             BlackHandling black) {
    const std::optional<SheetPicture> picture = ReadPicture(pictureName);
    if (!picture) {
        return std::nullopt;
    }
    Result<std::vector<SheetFrame>> frames =
        described ? Result<std::vector<SheetFrame>>(std::move(*described))
                  : LayoutFrames(*picture, layout);
    if (frames && frames.value().empty()) {
        frames = Failure{"it holds no frames"};
    }
    if (frames) {
        if (const Status fit = CheckFrames(*picture, frames.value()); !fit) {
            frames = Failure{fit.error()};
        }
    }
    if (!frames) {
        ShowFileError(CannotCut(pictureName, frames.error()));
        return std::nullopt;
    }
    Result<std::vector<IndexedImage>> images = CutFrames(*picture, frames.value(), mode, black);
    if (!images) {
        ShowFileError(CannotRead(pictureName, images.error()));
        return std::nullopt;
    }
    return std::move(images).value();
}

}  // namespace

std::optional<std::vector<IndexedImage>> ReadSheetFile(const std::string& pictureName,
                                                       const std::optional<SheetLayout>& layout,
                                                       ConversionMode mode, BlackHandling black) {
    const SheetLayout chosen = layout.value_or(SheetLayout{});
    std::optional<std::vector<SheetFrame>> described;
    if (chosen.kind == SheetLayoutKind::Description) {
        const std::string jsonName = DescriptionNameFor(pictureName);
        if (!layout && !FileExists(jsonName)) {
            ShowFileError(CannotCut(pictureName,
                                    "give --grid, --cell or --key, or put the "
                                    "sheet's JSON file beside it"));
            return std::nullopt;
        }
        described = ReadDescription(jsonName);
        if (!described) {
            return std::nullopt;
        }
    }
    return Cut(pictureName, std::move(described), chosen, mode, black);
}

bool CutSheetFile(const std::string& pictureName, const std::optional<SheetLayout>& layout,
                  ConversionMode mode, BlackHandling black, const std::string& spriteName) {
    std::optional<std::vector<IndexedImage>> images =
        ReadSheetFile(pictureName, layout, mode, black);
    if (!images) {
        return false;
    }
    SpriteSet set;
    for (IndexedImage& image : *images) {
        set.widths.push_back(image.width);
        set.heights.push_back(image.height);
        set.images.push_back(std::move(image.pixels));
    }
    set.count = static_cast<std::uint32_t>(set.images.size());
    return SaveEncodedFile(spriteName, SpriteFilePieces(set));
}

SheetGuess GuessSheetLayout(const std::string& pictureName) {
    if (FileExists(DescriptionNameFor(pictureName))) {
        return SheetGuess::Description;
    }
    FileReadResult file = ReadWholeFile(pictureName);
    if (file.problem != FileProblem::None) {
        return SheetGuess::AskGrid;
    }
    const Result<SheetPicture> picture = SheetPicture::Decode(std::move(file.bytes));
    if (!picture || picture.value().Width() < kKeySquare || picture.value().Height() < kKeySquare) {
        return SheetGuess::AskGrid;
    }
    const SheetColour corner = picture.value().At(0, 0);
    for (std::uint32_t y = 0; y < kKeySquare; ++y) {
        for (std::uint32_t x = 0; x < kKeySquare; ++x) {
            const SheetColour colour = picture.value().At(x, y);
            if (!colour.opaque || !colour.SameColour(corner)) {
                return SheetGuess::AskGrid;
            }
        }
    }
    return UsableKeyColour(corner) ? SheetGuess::Key : SheetGuess::AskGrid;
}

bool WriteSheetFiles(const SpriteSet& set, const std::string& pictureName,
                     std::optional<std::uint32_t> columns, bool key) {
    if (set.count == 0) {
        ShowFileError(CannotWrite(pictureName, "the sprite set holds no sprites"));
        return false;
    }
    if (!key && NamesDescription(pictureName)) {
        ShowFileError(CannotWrite(pictureName, "its JSON file would have the same name"));
        return false;
    }
    const Result<StitchedSheet> sheet = key ? StitchKeySheet(set) : StitchGrid(set, columns);
    if (!sheet) {
        ShowFileError(CannotWrite(pictureName, sheet.error()));
        return false;
    }
    const Result<std::vector<std::uint8_t>> picture =
        EncodePicture(sheet.value().picture, pictureName);
    if (key) {
        return SaveEncodedFile(pictureName, picture);
    }
    return SavePictureWithDescription(pictureName, picture, DescriptionNameFor(pictureName),
                                      DescribeSheet(sheet.value(), pictureName));
}

std::optional<std::uint32_t> StitchSpriteFile(const std::string& spriteName,
                                              const std::string& pictureName,
                                              std::optional<std::uint32_t> columns, bool key) {
    const std::optional<SpriteSet> set = ReadSpriteFile(spriteName);
    if (!set) {
        return std::nullopt;
    }
    if (set->count == 0) {
        ShowFileError("Unable to stitch " + spriteName + ": it holds no sprites.");
        return std::nullopt;
    }
    if (!WriteSheetFiles(*set, pictureName, columns, key)) {
        return std::nullopt;
    }
    return key ? CountSpritesWithoutPixels(*set) : 0;
}

}  // namespace quorvel
