#include "sprites/sprite_editing.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "core/indexed_image.h"
#include "core/label_texts.h"
#include "core/window_services.h"
#include "sprites/sprite_set.h"

// The list mirrors the set line for line, so a selected line index is also a sprite index.
// Each operation rewrites only the lines whose numbers change and leaves the others in the
// form they already have (a loaded file's lines carry a colon, the lines written here do not).

namespace quorvel {

namespace {

std::int32_t LineIndex(std::uint32_t spriteIndex) {
    return static_cast<std::int32_t>(spriteIndex);
}

// The selected line as a sprite index, or -1 when nothing is selected.
std::int64_t SelectedSprite() {
    return GetSelectedLine();
}

// Replaces the lines from `first` to the end (`oldLineCount` lines in all) with freshly
// numbered lines for sprites `first` to count - 1.
void RewriteLinesFrom(const SpriteSet& set, std::uint32_t first, std::uint32_t oldLineCount) {
    for (std::uint32_t i = first; i < oldLineCount; ++i) {
        DeleteLine(LineIndex(first));
    }
    for (std::uint32_t i = first; i < set.count; ++i) {
        AppendLine(SpriteLine(i, set.widths[i], set.heights[i], LineForm::WithoutColon));
    }
}

// Puts `image` into the set at `position`.
void InsertImage(SpriteSet& set, std::uint32_t position, IndexedImage image) {
    set.widths.insert(set.widths.begin() + position, image.width);
    set.heights.insert(set.heights.begin() + position, image.height);
    set.images.insert(set.images.begin() + position, std::move(image.pixels));
    ++set.count;
    set.changedSinceSaved = true;
}

// Puts a copy of the current image into the set at `position`.
void InsertCurrentImage(SpriteSet& set, std::uint32_t position) {
    InsertImage(set, position, CurrentImage());  // copies the pixels
}

// Rewrites the line of sprite `index` in the form without colon.
void RewriteLine(const SpriteSet& set, std::uint32_t index) {
    ReplaceLine(LineIndex(index),
                SpriteLine(index, set.widths[index], set.heights[index], LineForm::WithoutColon));
}

// The window after a sprite was added or inserted: count label, radio group, preview.
void ShowGrownSet(const SpriteSet& set) {
    SetCountLabel(CountLabel(set.count));
    RefreshChoice();
    RequestRepaint();
}

bool AppendCurrentImage() {
    SpriteSet& set = CurrentSpriteSet();
    const std::uint32_t n = set.count;
    InsertCurrentImage(set, n);
    AppendLine(SpriteLine(n, set.widths[n], set.heights[n], LineForm::WithoutColon));
    ShowGrownSet(set);
    return true;
}

// The selected line as a sprite index, or nothing when no sprite is selected.
std::optional<std::uint32_t> SelectedIndex(const SpriteSet& set) {
    const std::int64_t selected = SelectedSprite();
    if (selected < 0 || selected >= set.count) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(selected);
}

}  // namespace

bool AddSprite() {
    if (!CurrentImage().HasArea()) {
        return false;
    }
    return AppendCurrentImage();
}

bool InsertSprite() {
    if (!CurrentImage().HasArea()) {
        return false;
    }
    const std::int64_t selected = SelectedSprite();
    if (selected < 0) {
        return AppendCurrentImage();
    }
    SpriteSet& set = CurrentSpriteSet();
    const std::uint32_t n = set.count;
    // A selection past the last sprite cannot arise while the list mirrors the set; inserting
    // after the last sprite is the nearest sensible reading of it.
    const std::uint32_t s = selected < n ? static_cast<std::uint32_t>(selected) : n;
    InsertCurrentImage(set, s);
    RewriteLinesFrom(set, s, n);
    SelectLine(LineIndex(s));
    ShowGrownSet(set);
    return true;
}

bool DeleteSprite() {
    SpriteSet& set = CurrentSpriteSet();
    const std::optional<std::uint32_t> selected = SelectedIndex(set);
    if (!selected) {
        return false;
    }
    const std::uint32_t s = *selected;
    const std::uint32_t n = set.count;
    set.widths.erase(set.widths.begin() + s);
    set.heights.erase(set.heights.begin() + s);
    set.images.erase(set.images.begin() + s);
    --set.count;
    set.changedSinceSaved = true;
    RewriteLinesFrom(set, s, n);
    if (set.count > 0) {
        SelectLine(LineIndex(s < set.count ? s : set.count - 1));
    }
    SetCountLabel(CountLabel(set.count));
    RefreshChoice();
    return true;
}

bool CopySpriteToImage() {
    const SpriteSet& set = CurrentSpriteSet();
    const std::optional<std::uint32_t> selected = SelectedIndex(set);
    if (!selected) {
        return false;
    }
    const std::uint32_t s = *selected;
    IndexedImage& image = CurrentImage();
    image.width = set.widths[s];
    image.height = set.heights[s];
    image.pixels = set.images[s];  // a copy: the sprite keeps its own buffer
    SetImageLabel(ImageSizeLabel(image.width, image.height));
    RefreshChoice();
    RequestRepaint();
    return true;
}

bool MoveSprite(MoveDirection direction) {
    SpriteSet& set = CurrentSpriteSet();
    const std::optional<std::uint32_t> selected = SelectedIndex(set);
    const bool up = direction == MoveDirection::Up;
    if (!selected || (up && *selected == 0) || (!up && *selected + 1 >= set.count)) {
        return false;
    }
    const std::uint32_t from = *selected;
    const std::uint32_t to = up ? from - 1 : from + 1;
    std::swap(set.widths[from], set.widths[to]);
    std::swap(set.heights[from], set.heights[to]);
    std::swap(set.images[from], set.images[to]);
    set.changedSinceSaved = true;
    RewriteLine(set, from);
    RewriteLine(set, to);
    SelectLine(LineIndex(to));
    SetCountLabel(CountLabel(set.count));
    RefreshChoice();
    return true;
}

bool ReplaceSprite() {
    SpriteSet& set = CurrentSpriteSet();
    const std::optional<std::uint32_t> selected = SelectedIndex(set);
    const IndexedImage& image = CurrentImage();
    if (!selected || !image.HasArea()) {
        return false;
    }
    const std::uint32_t s = *selected;
    set.widths[s] = image.width;
    set.heights[s] = image.height;
    set.images[s] = image.pixels;  // a copy: the current image keeps its own buffer
    set.changedSinceSaved = true;
    RewriteLine(set, s);
    SelectLine(LineIndex(s));
    SetCountLabel(CountLabel(set.count));
    RefreshChoice();
    RequestRepaint();
    return true;
}

bool InsertImages(std::vector<IndexedImage> images) {
    if (images.empty()) {
        return false;
    }
    SpriteSet& set = CurrentSpriteSet();
    const std::uint32_t n = set.count;
    const std::optional<std::uint32_t> selected = SelectedIndex(set);
    const std::uint32_t s = selected ? *selected : n;
    for (std::size_t i = 0; i < images.size(); ++i) {
        InsertImage(set, s + static_cast<std::uint32_t>(i), std::move(images[i]));
    }
    RewriteLinesFrom(set, s, n);
    if (selected) {
        SelectLine(LineIndex(s));
    }
    ShowGrownSet(set);
    return true;
}

}  // namespace quorvel
