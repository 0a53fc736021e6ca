#pragma once
// The items the program adds to the window menu, and the keys of the Edit submenu's commands,
// as both windows show and take them. After the system's own items come, each group after a
// separator: "Keep Black Visible"; the Edit submenu; the two background commands; the sheet
// and palette commands; About. A
// window builds its Edit submenu from kEditMenu, greys items as CanRunEditCommand says, and
// hands each key press to RunEditKey before its controls see it. Mnemonics are unique within
// each level of the menu, the system's items included.

#include <span>

#include "ui/commands/window_commands.h"

namespace quorvel {

enum class EditCommand {
    None,  // a separator in the menu
    Undo,
    Redo,
    MoveSpriteUp,
    MoveSpriteDown,
    ReplaceSprite,
    AddPictures,
    CopyImage,
    PasteImage,
};

struct EditMenuItem {
    EditCommand command;
    const char* text;  // with its key after a tab
};

inline constexpr const char* kKeepBlackItem = "Keep &Black Visible";
inline constexpr const char* kEditMenuText = "Edi&t";
inline constexpr const char* kMakeBackgroundItem = "Make Back&ground File...";
inline constexpr const char* kExportBackgroundItem = "&Export Background Picture...";
inline constexpr const char* kImportSheetItem = "&Import Sheet...";
inline constexpr const char* kExportSheetItem = "Export S&heet...";
inline constexpr const char* kExportPaletteItem = "Export &Palette...";
inline constexpr const char* kAboutItem = "&About quorvel...";

inline constexpr EditMenuItem kEditMenu[] = {
    {EditCommand::Undo, "&Undo\tCtrl+Z"},
    {EditCommand::Redo, "&Redo\tCtrl+Y"},
    {EditCommand::None, ""},
    {EditCommand::MoveSpriteUp, "Move Sprite U&p\tAlt+Up"},
    {EditCommand::MoveSpriteDown, "Move Sprite &Down\tAlt+Down"},
    {EditCommand::ReplaceSprite, "Replace &Sprite\tCtrl+R"},
    {EditCommand::None, ""},
    {EditCommand::AddPictures, "&Add Pictures...\tCtrl+Shift+A"},
    {EditCommand::None, ""},
    {EditCommand::CopyImage, "&Copy Image\tCtrl+C"},
    {EditCommand::PasteImage, "Paste &Image\tCtrl+V"},
};

// The keys, named apart from any toolkit; each window translates its own key codes.
enum class Key { Other, Up, Down, Delete, A, C, R, V, Y, Z };
enum Modifier : unsigned { kNoModifier = 0, kControl = 1, kShift = 2, kAlt = 4 };

void RunEditCommand(WindowCommands& commands, EditCommand command);
bool CanRunEditCommand(const WindowCommands& commands, EditCommand command);

// Runs the command bound to `key` with exactly `modifiers` held, and says whether there was one.
// Delete runs "Delete Sprite" only while the sprite list has the focus.
bool RunEditKey(WindowCommands& commands, Key key, unsigned modifiers, bool listHasFocus);

}  // namespace quorvel
