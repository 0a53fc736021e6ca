#include "ui/commands/window_menu.h"

namespace quorvel {

namespace {

struct KeyBinding {
    Key key;
    unsigned modifiers;
    EditCommand command;
};

constexpr KeyBinding kKeys[] = {
    {Key::Z, kControl, EditCommand::Undo},
    {Key::Y, kControl, EditCommand::Redo},
    {Key::Z, kControl | kShift, EditCommand::Redo},
    {Key::Up, kAlt, EditCommand::MoveSpriteUp},
    {Key::Down, kAlt, EditCommand::MoveSpriteDown},
    {Key::R, kControl, EditCommand::ReplaceSprite},
    {Key::A, kControl | kShift, EditCommand::AddPictures},
    {Key::C, kControl, EditCommand::CopyImage},
    {Key::V, kControl, EditCommand::PasteImage},
};

}  // namespace

void RunEditCommand(WindowCommands& commands, EditCommand command) {
    switch (command) {
        case EditCommand::None:
            break;
        case EditCommand::Undo:
            commands.OnUndo();
            break;
        case EditCommand::Redo:
            commands.OnRedo();
            break;
        case EditCommand::MoveSpriteUp:
            commands.OnMoveSpriteUp();
            break;
        case EditCommand::MoveSpriteDown:
            commands.OnMoveSpriteDown();
            break;
        case EditCommand::ReplaceSprite:
            commands.OnReplaceSprite();
            break;
        case EditCommand::AddPictures:
            commands.OnAddPictures();
            break;
        case EditCommand::CopyImage:
            commands.OnCopyImage();
            break;
        case EditCommand::PasteImage:
            commands.OnPasteImage();
            break;
    }
}

bool CanRunEditCommand(const WindowCommands& commands, EditCommand command) {
    switch (command) {
        case EditCommand::Undo:
            return commands.CanUndo();
        case EditCommand::Redo:
            return commands.CanRedo();
        default:
            return command != EditCommand::None;
    }
}

bool RunEditKey(WindowCommands& commands, Key key, unsigned modifiers, bool listHasFocus) {
    if (key == Key::Delete && modifiers == kNoModifier && listHasFocus) {
        commands.OnDeleteSprite();
        return true;
    }
    for (const KeyBinding& binding : kKeys) {
        if (binding.key == key && binding.modifiers == modifiers) {
            RunEditCommand(commands, binding.command);
            return true;
        }
    }
    return false;
}

}  // namespace quorvel
