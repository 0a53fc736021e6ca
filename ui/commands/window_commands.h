#pragma once
// Every command of the main window, written once for both windows. A window builds its
// controls, maps its buttons, keys and menu items to these, and realises WindowPort; the rest
// happens here. The commands also keep the user's two choices (conversion method and black
// handling) and the sprite set's undo history.

#include <cstdint>
#include <functional>
#include <string>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "ui/commands/edit_history.h"
#include "ui/commands/window_port.h"

namespace quorvel {

class WindowCommands {
  public:
    // Serves the core's window services (core/window_services.h) through `window` for as long
    // as this object lives.
    explicit WindowCommands(WindowPort& window);
    ~WindowCommands();
    WindowCommands(const WindowCommands&) = delete;
    WindowCommands& operator=(const WindowCommands&) = delete;

    WindowPort& Window() { return window_; }
    ConversionMode conversionMode() const { return mode_; }

    // The four file buttons.
    void OnLoadBitmap();
    void OnSaveBitmap();
    void OnLoadSprites();
    void OnSaveSprites();
    // A file dropped on the window, loaded as the "Load" for its kind would load it chosen: a
    // .bmp or .png as a picture, a .spr as a sprite file; anything else is refused.
    void OpenDroppedFile(const ChosenFile& file);
    // Whether the window may close: true unless sprites are unsaved and the user says No.
    bool MayClose();

    // The window menu's room-background commands.
    void OnMakeBackground();
    void OnExportBackground();

    // The window menu's sheet and palette commands. Importing a sheet is one undo step.
    void OnImportSheet();
    void OnExportSheet();
    void OnExportPalette();

    // The sprite buttons and the Edit menu. Every change to the set is one undo step.
    void OnAddSprite();
    void OnInsertSprite();
    void OnDeleteSprite();
    void OnCopySpriteToImage();
    void OnMoveSpriteUp();
    void OnMoveSpriteDown();
    void OnReplaceSprite();
    void OnAddPictures();
    void OnUndo();
    void OnRedo();
    void OnCopyImage();
    void OnPasteImage();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }

    // ConversionMode into the radio group.
    void RefreshChoice();

  private:
    // Which part of the set a change may touch: `sprites` sprites from `first` on, and the list
    // lines from `first` to the end, unless the change keeps the count (then only as many lines
    // as sprites).
    struct EditSpan {
        std::uint32_t first = 0;
        std::uint32_t sprites = 0;
        bool keepsCount = false;
    };
    // Runs `change` and, when it changed the set (it says so), records it as one step.
    void RecordEdit(EditSpan span, const std::function<bool()>& change);
    SetSide Capture(std::uint32_t first, std::uint32_t sprites, std::uint32_t lines) const;
    void Restore(std::uint32_t first, const SetSide& shown, const SetSide& wanted);
    // Where inserted sprites go: before the selected one, or after the last.
    EditSpan InsertionSpan() const;

    void ReadChoice();  // the radio group and the keep-black item into the two choices
    bool MayDiscardSprites();
    // Runs `operation` on the file's bare name from within its folder.
    using FileOperation = std::function<void(const std::string& name)>;
    void RunInFolder(const ChosenFile& file, FileAction action, const FileOperation& operation);
    // Asks for a file of `kind` and, unless the user cancels, runs `operation` on it.
    void WithChosenFile(FileKind kind, FileAction action, const FileOperation& operation);
    void LoadPictureFrom(const ChosenFile& file);
    void LoadSpritesFrom(const ChosenFile& file);

    WindowPort& window_;
    ConversionMode mode_ = ConversionMode::Nearest;
    BlackHandling black_ = BlackHandling::AsSearched;
    EditHistory history_;
};

// The commands whose window the core's services act on; set by WindowCommands. Stopping
// concerns only `commands`: a newer window keeps the services.
void ServeWindowServices(WindowCommands* commands);
void StopServingWindowServices(const WindowCommands* commands);

}  // namespace quorvel
