#include "ui/commands/background_commands.h"

#include <optional>

#include "backgrounds/background_file.h"
#include "core/indexed_image.h"
#include "core/save_encoded.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"

namespace quorvel {

void RunMakeBackground(const ChosenFileStep& step, ConversionMode mode, BlackHandling black) {
    std::optional<SpriteSet> tiles;
    step(FileKind::Picture, FileAction::Open,
         [&](const std::string& name) { tiles = ReadBackgroundPicture(name, mode, black); });
    if (tiles) {
        step(FileKind::Sprite, FileAction::Save,
             [&](const std::string& name) { SaveEncodedFile(name, SpriteFilePieces(*tiles)); });
    }
}

void RunExportBackground(const ChosenFileStep& step) {
    std::optional<IndexedImage> picture;
    step(FileKind::Sprite, FileAction::Open,
         [&](const std::string& name) { picture = ReadBackgroundFile(name); });
    if (picture) {
        step(FileKind::Picture, FileAction::Save,
             [&](const std::string& name) { SaveImageAsPicture(*picture, name); });
    }
}

}  // namespace quorvel
