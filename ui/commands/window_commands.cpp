#include "ui/commands/window_commands.h"

#include <optional>
#include <string>

#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/label_texts.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "ui/commands/background_commands.h"

namespace quorvel {

WindowCommands::WindowCommands(WindowPort& window) : window_(window) {
    ServeWindowServices(this);
}

WindowCommands::~WindowCommands() {
    StopServingWindowServices(this);
}

void WindowCommands::RefreshChoice() {
    window_.CheckMode(mode_);
}

void WindowCommands::ReadChoice() {
    mode_ = window_.CheckedMode();
    black_ = window_.KeepBlackItem();
}

bool WindowCommands::MayDiscardSprites() {
    return !HasUnsavedSprites() || window_.AskYesNo(DiscardUnsavedSpritesQuestion());
}

bool WindowCommands::MayClose() {
    return MayDiscardSprites();
}

// The file functions take a bare name once the file's folder is the working folder, so that
// later relative names resolve there too and messages name the file as the user chose it.
void WindowCommands::RunInFolder(const ChosenFile& file, FileAction action,
                                 const FileOperation& operation) {
    if (window_.EnterFolder(file.folder)) {
        operation(file.name);
    } else {
        window_.ShowFileError(action == FileAction::Open ? CannotOpenForRead(file.name)
                                                         : CannotOpenForWrite(file.name));
    }
}

void WindowCommands::WithChosenFile(FileKind kind, FileAction action,
                                    const FileOperation& operation) {
    if (const std::optional<ChosenFile> file = window_.ChooseFile(kind, action)) {
        RunInFolder(*file, action, operation);
    }
}

void WindowCommands::LoadPictureFrom(const ChosenFile& file) {
    RunInFolder(file, FileAction::Open,
                [this](const std::string& name) { LoadPictureFile(name, mode_, black_); });
    // Also after a rejected file, then showing the unchanged image.
    const IndexedImage& image = CurrentImage();
    window_.SetImageLabel(ImageLabelFor(image.width, image.height));
    RefreshChoice();
}

void WindowCommands::LoadSpritesFrom(const ChosenFile& file) {
    RunInFolder(file, FileAction::Open, [this](const std::string& name) {
        if (LoadSpriteFile(name)) {
            history_.Clear();
        }
    });
    window_.SetCountLabel(CountLabel(CurrentSpriteSet().count));
}

void WindowCommands::OnLoadBitmap() {
    ReadChoice();
    if (const std::optional<ChosenFile> file =
            window_.ChooseFile(FileKind::Picture, FileAction::Open)) {
        LoadPictureFrom(*file);
    }
}

void WindowCommands::OnSaveBitmap() {
    WithChosenFile(FileKind::Picture, FileAction::Save, SavePictureFile);
}

void WindowCommands::OnLoadSprites() {
    if (!MayDiscardSprites()) {
        return;
    }
    if (const std::optional<ChosenFile> file =
            window_.ChooseFile(FileKind::Sprite, FileAction::Open)) {
        LoadSpritesFrom(*file);
    }
}

void WindowCommands::OnSaveSprites() {
    WithChosenFile(FileKind::Sprite, FileAction::Save, [this](const std::string& name) {
        if (SaveSpriteFile(name)) {
            history_.MarkSaved();
        }
    });
}

void WindowCommands::OpenDroppedFile(const ChosenFile& file) {
    const std::optional<FileKind> kind = KindOfFileName(file.name);
    if (!kind) {
        window_.ShowFileError(CannotLoadKind(file.name));
    } else if (*kind == FileKind::Picture) {
        ReadChoice();
        LoadPictureFrom(file);
    } else if (MayDiscardSprites()) {
        LoadSpritesFrom(file);
    }
}

void WindowCommands::OnMakeBackground() {
    ReadChoice();
    RunMakeBackground(
        [this](FileKind kind, FileAction action, const FileOperation& operation) {
            WithChosenFile(kind, action, operation);
        },
        mode_, black_);
}

void WindowCommands::OnExportBackground() {
    RunExportBackground([this](FileKind kind, FileAction action, const FileOperation& operation) {
        WithChosenFile(kind, action, operation);
    });
}

}  // namespace quorvel
