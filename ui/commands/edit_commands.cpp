// The commands that change the sprite set, each recorded as one undo step, and undo and redo.

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/label_texts.h"
#include "core/natural_order.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_set.h"
#include "ui/commands/window_commands.h"

namespace quorvel {

namespace {

// The selected line as a sprite index, or nothing.
std::optional<std::uint32_t> SelectedSprite(const WindowPort& window) {
    const std::int32_t selected = window.SelectedLine();
    if (selected < 0 || static_cast<std::uint32_t>(selected) >= CurrentSpriteSet().count) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(selected);
}

}  // namespace

SetSide WindowCommands::Capture(std::uint32_t first, std::uint32_t sprites,
                                std::uint32_t lines) const {
    const SpriteSet& set = CurrentSpriteSet();
    SetSide side;
    side.sprites.reserve(sprites);
    for (std::uint32_t i = first; i < first + sprites; ++i) {
        side.sprites.push_back({set.widths[i], set.heights[i], set.images[i]});
    }
    side.lines.reserve(lines);
    for (std::uint32_t i = first; i < first + lines; ++i) {
        side.lines.push_back(window_.LineText(static_cast<std::int32_t>(i)));
    }
    side.selection = window_.SelectedLine();
    return side;
}

void WindowCommands::RecordEdit(EditSpan span, const std::function<bool()>& change) {
    const std::uint32_t countBefore = CurrentSpriteSet().count;
    const auto linesOf = [&span](std::uint32_t count) {
        return span.keepsCount ? span.sprites : count - span.first;
    };
    EditStep step;
    step.first = span.first;
    step.before = Capture(span.first, span.sprites, linesOf(countBefore));
    if (!change()) {
        return;
    }
    const std::uint32_t countAfter = CurrentSpriteSet().count;
    step.after = Capture(span.first, span.sprites + countAfter - countBefore, linesOf(countAfter));
    history_.Push(std::move(step));
}

// Puts the set, the lines, the selection and the count label back as `wanted` has them, where
// they are now as `shown` has them.
void WindowCommands::Restore(std::uint32_t first, const SetSide& shown, const SetSide& wanted) {
    SpriteSet& set = CurrentSpriteSet();
    const auto at = [first](auto& sequence) { return sequence.begin() + first; };
    const std::size_t removed = shown.sprites.size();
    set.widths.erase(at(set.widths), at(set.widths) + removed);
    set.heights.erase(at(set.heights), at(set.heights) + removed);
    set.images.erase(at(set.images), at(set.images) + removed);
    for (std::size_t i = wanted.sprites.size(); i-- > 0;) {
        const Sprite& sprite = wanted.sprites[i];
        set.widths.insert(at(set.widths), sprite.width);
        set.heights.insert(at(set.heights), sprite.height);
        set.images.insert(at(set.images), sprite.pixels);
    }
    set.count = static_cast<std::uint32_t>(set.widths.size());

    // A step that changes the count covers every line from `first` to the end.
    const std::size_t common = std::min(shown.lines.size(), wanted.lines.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (shown.lines[i] != wanted.lines[i]) {
            window_.ReplaceLine(static_cast<std::int32_t>(first + i), wanted.lines[i]);
        }
    }
    for (std::size_t i = common; i < shown.lines.size(); ++i) {
        window_.DeleteLine(static_cast<std::int32_t>(first + common));
    }
    for (std::size_t i = common; i < wanted.lines.size(); ++i) {
        window_.AppendLine(wanted.lines[i]);
    }
    window_.SelectLine(wanted.selection);
    window_.SetCountLabel(CountLabel(set.count));
    set.changedSinceSaved = !history_.AtSavedPoint();
}

void WindowCommands::OnUndo() {
    if (history_.CanUndo()) {
        const EditStep& step = history_.Undo();
        Restore(step.first, step.after, step.before);
    }
}

void WindowCommands::OnRedo() {
    if (history_.CanRedo()) {
        const EditStep& step = history_.Redo();
        Restore(step.first, step.before, step.after);
    }
}

WindowCommands::EditSpan WindowCommands::InsertionSpan() const {
    const std::optional<std::uint32_t> selected = SelectedSprite(window_);
    return {selected ? *selected : CurrentSpriteSet().count, 0, false};
}

void WindowCommands::OnAddSprite() {
    RecordEdit({CurrentSpriteSet().count, 0, false}, AddSprite);
}

void WindowCommands::OnInsertSprite() {
    RecordEdit(InsertionSpan(), InsertSprite);
}

void WindowCommands::OnDeleteSprite() {
    if (const std::optional<std::uint32_t> selected = SelectedSprite(window_)) {
        RecordEdit({*selected, 1, false}, DeleteSprite);
    }
}

void WindowCommands::OnCopySpriteToImage() {
    CopySpriteToImage();
}

void WindowCommands::OnMoveSpriteUp() {
    if (const std::optional<std::uint32_t> selected = SelectedSprite(window_); selected > 0u) {
        RecordEdit({*selected - 1, 2, true}, [] { return MoveSprite(MoveDirection::Up); });
    }
}

void WindowCommands::OnMoveSpriteDown() {
    const std::optional<std::uint32_t> selected = SelectedSprite(window_);
    if (selected && *selected + 1 < CurrentSpriteSet().count) {
        RecordEdit({*selected, 2, true}, [] { return MoveSprite(MoveDirection::Down); });
    }
}

void WindowCommands::OnReplaceSprite() {
    if (const std::optional<std::uint32_t> selected = SelectedSprite(window_)) {
        RecordEdit({*selected, 1, true}, ReplaceSprite);
    }
}

// All or nothing: every picture is read before the set changes, in the order in which `pack`
// takes a folder's pictures.
void WindowCommands::OnAddPictures() {
    ReadChoice();
    std::vector<ChosenFile> files = window_.ChoosePictures();
    if (files.empty()) {
        return;
    }
    if (!window_.EnterFolder(files.front().folder)) {
        window_.ShowFileError(CannotOpenForRead(files.front().name));
        return;
    }
    std::sort(files.begin(), files.end(),
              [](const ChosenFile& a, const ChosenFile& b) { return NaturalLess(a.name, b.name); });
    std::vector<IndexedImage> images;
    for (const ChosenFile& file : files) {
        std::optional<IndexedImage> image = ReadPictureFile(file.name, mode_, black_);
        if (!image) {
            return;
        }
        images.push_back(std::move(*image));
    }
    RecordEdit(InsertionSpan(), [&images] { return InsertImages(std::move(images)); });
}

}  // namespace quorvel
