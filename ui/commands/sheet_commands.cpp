// The window menu's exchange with paint programs: a sheet of frames in as new sprites, the
// sprite set out as a sheet, and the game palette out as a palette file.

#include <optional>
#include <utility>
#include <vector>

#include "palettes/palette_file.h"
#include "sheets/sheet_files.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_set.h"
#include "ui/commands/window_commands.h"

namespace quorvel {

namespace {

// The layout the picture's surroundings give (the JSON file beside it, or its key colour), or
// the grid the user gives; nothing when the user cancels.
std::optional<SheetLayout> LayoutOf(const std::string& pictureName, WindowPort& window) {
    switch (GuessSheetLayout(pictureName)) {
        case SheetGuess::Description:
            return SheetLayout{SheetLayoutKind::Description};
        case SheetGuess::Key:
            return SheetLayout{SheetLayoutKind::Key};
        case SheetGuess::AskGrid:
            break;
    }
    const std::optional<SheetGrid> grid = window.AskSheetGrid();
    if (!grid) {
        return std::nullopt;
    }
    SheetLayout layout{SheetLayoutKind::Grid};
    layout.columns = grid->columns;
    layout.rows = grid->rows;
    return layout;
}

}  // namespace

// Every frame, reduced by the window's two choices, goes in where "Add Pictures" puts pictures,
// all in one step or none; the current image stays as it is.
void WindowCommands::OnImportSheet() {
    ReadChoice();
    WithChosenFile(FileKind::Picture, FileAction::Open, [this](const std::string& name) {
        const std::optional<SheetLayout> layout = LayoutOf(name, window_);
        if (!layout) {
            return;
        }
        std::optional<std::vector<IndexedImage>> frames =
            ReadSheetFile(name, layout, mode_, black_);
        if (frames) {
            RecordEdit(InsertionSpan(), [&frames] { return InsertImages(std::move(*frames)); });
        }
    });
}

void WindowCommands::OnExportSheet() {
    WithChosenFile(FileKind::Picture, FileAction::Save, [](const std::string& name) {
        WriteSheetFiles(CurrentSpriteSet(), name, std::nullopt, false);
    });
}

void WindowCommands::OnExportPalette() {
    WithChosenFile(FileKind::Palette, FileAction::Save, SavePaletteFile);
}

}  // namespace quorvel
