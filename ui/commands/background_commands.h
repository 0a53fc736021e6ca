#pragma once
// The window menu's two room-background commands, as both windows run them. Each step asks for
// one file and reads or writes it from the file's own folder, so that messages name it as the
// user chose it. The picture is read before the target is asked for, so that a picture of the
// wrong size is refused at once. Neither command touches the current image, the sprite set,
// the list or the labels.

#include <functional>
#include <string>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/file_access.h"

namespace quorvel {

// A window's way to one file: shows its dialog for `kind` and `action` and, when the user chose
// a file, enters the file's folder and runs `operation` on its bare name (UTF-8); a folder that
// cannot be entered is reported as the file failing to open.
using ChosenFileStep =
    std::function<void(FileKind kind, FileAction action,
                       const std::function<void(const std::string& name)>& operation)>;

// A picture into a background sprite file: the picture to read, reduced whole by `mode` and
// `black`, then the sprite file to save.
void RunMakeBackground(const ChosenFileStep& step, ConversionMode mode, BlackHandling black);

// A background sprite file into one picture: the sprite file to read, then the picture to save
// (a PNG file when its name ends in ".png", a bitmap otherwise).
void RunExportBackground(const ChosenFileStep& step);

}  // namespace quorvel
