#include "sprites/sprite_editing.h"

#include <cstdint>

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

// Puts a copy of the current image into the set at `position`.
void InsertCurrentImage(SpriteSet& set, std::uint32_t position) {
    const IndexedImage& image = CurrentImage();
    set.widths.insert(set.widths.begin() + position, image.width);
    set.heights.insert(set.heights.begin() + position, image.height);
    set.images.insert(set.images.begin() + position, image.pixels);  // copies the pixels
    ++set.count;
    set.changedSinceSaved = true;
}

// The window after a sprite was added or inserted: count label, radio group, preview.
void ShowGrownSet(const SpriteSet& set) {
    SetCountLabel(CountLabel(set.count));
    RefreshChoice();
    RequestRepaint();
}

void AppendCurrentImage() {
    SpriteSet& set = CurrentSpriteSet();
    const std::uint32_t n = set.count;
    InsertCurrentImage(set, n);
    AppendLine(SpriteLine(n, set.widths[n], set.heights[n], LineForm::WithoutColon));
    ShowGrownSet(set);
}

}  // namespace

void AddSprite() {
    if (!CurrentImage().HasArea()) {
        return;
    }
    AppendCurrentImage();
}

void InsertSprite() {
    if (!CurrentImage().HasArea()) {
        return;
    }
    const std::int64_t selected = SelectedSprite();
    if (selected < 0) {
        AppendCurrentImage();
        return;
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
}

void DeleteSprite() {
    SpriteSet& set = CurrentSpriteSet();
    const std::int64_t selected = SelectedSprite();
    if (selected < 0 || set.count == 0 || selected >= set.count) {
        return;
    }
    const std::uint32_t s = static_cast<std::uint32_t>(selected);
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
}

void CopySpriteToImage() {
    const SpriteSet& set = CurrentSpriteSet();
    const std::int64_t selected = SelectedSprite();
    if (selected < 0 || selected >= set.count) {
        return;
    }
    const std::uint32_t s = static_cast<std::uint32_t>(selected);
    IndexedImage& image = CurrentImage();
    image.width = set.widths[s];
    image.height = set.heights[s];
    image.pixels = set.images[s];  // a copy: the sprite keeps its own buffer
    SetImageLabel(ImageSizeLabel(image.width, image.height));
    RefreshChoice();
    RequestRepaint();
}

}  // namespace quorvel
