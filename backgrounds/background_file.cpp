#include "backgrounds/background_file.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/read_reported.h"
#include "core/result.h"
#include "core/save_encoded.h"
#include "core/window_services.h"
#include "pictures/picture_file.h"
#include "pictures/picture_size.h"
#include "sprites/background.h"
#include "sprites/sprite_file.h"

namespace quorvel {

namespace {

// The picture in the game palette, refused by its stored size before anything is decoded.
std::optional<IndexedImage> ReadWholePicture(const std::string& pictureName, ConversionMode mode,
                                             BlackHandling black) {
    std::optional<FileView> file = ViewFileOrReport(pictureName);
    if (!file) {
        return std::nullopt;
    }
    const Result<PictureSize> size = ReadPictureSize(file->bytes());
    if (!size) {
        ShowFileError(CannotRead(pictureName, size.error()));
        return std::nullopt;
    }
    if (const Status fits = CheckBackgroundSize(size.value().width, size.value().height); !fits) {
        ShowFileError(CannotUse(pictureName, fits.error()));
        return std::nullopt;
    }
    Result<IndexedImage> image = DecodePicture(file->bytes(), mode, black);
    if (!ReportIfCutShort(*file, pictureName)) {
        return std::nullopt;
    }
    if (!image) {
        ShowFileError(CannotRead(pictureName, image.error()));
        return std::nullopt;
    }
    return std::move(image).value();
}

}  // namespace

std::optional<SpriteSet> ReadBackgroundPicture(const std::string& pictureName, ConversionMode mode,
                                               BlackHandling black) {
    const std::optional<IndexedImage> image = ReadWholePicture(pictureName, mode, black);
    if (!image) {
        return std::nullopt;
    }
    Result<SpriteSet> tiles = CutBackground(*image);
    if (!tiles) {
        ShowFileError(CannotUse(pictureName, tiles.error()));
        return std::nullopt;
    }
    return std::move(tiles).value();
}

std::optional<IndexedImage> ReadBackgroundFile(const std::string& spriteName) {
    const std::optional<SpriteSet> tiles = ReadSpriteFile(spriteName);
    if (!tiles) {
        return std::nullopt;
    }
    Result<IndexedImage> image = StitchBackground(*tiles);
    if (!image) {
        ShowFileError(CannotUse(spriteName, image.error()));
        return std::nullopt;
    }
    return std::move(image).value();
}

bool MakeBackgroundFile(const std::string& pictureName, const std::string& spriteName,
                        ConversionMode mode, BlackHandling black) {
    // Written straight from the picture: the same file as its tiles would make.
    const std::optional<IndexedImage> image = ReadWholePicture(pictureName, mode, black);
    if (!image) {
        return false;
    }
    const Result<EncodedPieces> file = BackgroundFilePieces(*image);
    if (!file) {
        ShowFileError(CannotUse(pictureName, file.error()));
        return false;
    }
    return SaveEncodedFile(spriteName, file);
}

bool ExportBackgroundPicture(const std::string& spriteName, const std::string& pictureName) {
    const std::optional<IndexedImage> image = ReadBackgroundFile(spriteName);
    return image && SaveImageAsPicture(*image, pictureName);
}

}  // namespace quorvel
