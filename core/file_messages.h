#pragma once
// The texts of the message boxes about files (and of the command line's messages about
// files), composed in one place.

#include <string>

namespace quorvel {

std::string CannotOpenForRead(const std::string& fileName);   // "Unable to open NAME for read."
std::string CannotOpenForWrite(const std::string& fileName);  // "Unable to open NAME for write."
// "Unable to read NAME: REASON."
std::string CannotRead(const std::string& fileName, const std::string& reason);
std::string CannotWrite(const std::string& fileName);  // "Unable to write NAME."
// "Unable to write NAME: REASON."
std::string CannotWrite(const std::string& fileName, const std::string& reason);
// "Unable to use NAME: REASON.", for a file that reads well but cannot serve the purpose it
// was chosen for.
std::string CannotUse(const std::string& fileName, const std::string& reason);
// "Unable to load NAME: only Windows bitmaps (.bmp), PNG pictures (.png) and Creatures sprite
// files (.spr) can be loaded.": a file of another kind was dropped on the window.
std::string CannotLoadKind(const std::string& fileName);

// "Unable to paste the picture: REASON.", for a picture on the clipboard that cannot be read.
std::string CannotPaste(const std::string& reason);

// Asked before closing the window or loading a sprite file would drop unsaved sprites.
std::string DiscardUnsavedSpritesQuestion();

}  // namespace quorvel
