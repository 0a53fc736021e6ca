#include "core/file_messages.h"

namespace quorvel {

std::string CannotOpenForRead(const std::string& fileName) {
    return "Unable to open " + fileName + " for read.";
}

std::string CannotOpenForWrite(const std::string& fileName) {
    return "Unable to open " + fileName + " for write.";
}

std::string CannotRead(const std::string& fileName, const std::string& reason) {
    return "Unable to read " + fileName + ": " + reason + ".";
}

std::string CannotWrite(const std::string& fileName) {
    return "Unable to write " + fileName + ".";
}

std::string CannotWrite(const std::string& fileName, const std::string& reason) {
    return "Unable to write " + fileName + ": " + reason + ".";
}

std::string CannotUse(const std::string& fileName, const std::string& reason) {
    return "Unable to use " + fileName + ": " + reason + ".";
}

std::string CannotLoadKind(const std::string& fileName) {
    return "Unable to load " + fileName +
           ": only Windows bitmaps (.bmp), PNG pictures (.png) and Creatures sprite files (.spr) "
           "can be loaded.";
}

std::string CannotPaste(const std::string& reason) {
    return "Unable to paste the picture: " + reason + ".";
}

std::string DiscardUnsavedSpritesQuestion() {
    return "The sprite set has changes that are not saved. Discard them?";
}

}  // namespace quorvel
