#pragma once
// The undo history of the sprite set. Every change to the set replaces a run of sprites that
// starts at some index by another run, and rewrites a run of list lines from the same index;
// a step keeps both sides, so that undo and redo put back exactly what was there. Only the
// changed sprites are kept, so a step of a large set costs no more than the sprites it touched.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

struct Sprite {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

// One side of a step: the sprites and list lines from the step's first index on, and the
// selected line (-1 for none).
struct SetSide {
    std::vector<Sprite> sprites;
    std::vector<std::string> lines;
    std::int32_t selection = -1;
};

struct EditStep {
    std::uint32_t first = 0;
    SetSide before;
    SetSide after;

    std::size_t PixelBytes() const;
};

class EditHistory {
  public:
    // Steps are kept while their pixels fit in `pixelBudget` bytes, and at most `stepLimit` of
    // them; the oldest go first, the newest is always kept.
    explicit EditHistory(std::size_t stepLimit = 1000, std::size_t pixelBudget = 256u << 20);

    // Starts a new history whose only point counts as saved.
    void Clear();
    // Adds a step after the current point, dropping every step that could have been redone.
    void Push(EditStep step);

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    // The step to undo or redo, moving the current point over it; call only when allowed.
    const EditStep& Undo();
    const EditStep& Redo();

    void MarkSaved();
    // Whether the current point is the one last saved (or loaded).
    bool AtSavedPoint() const;

  private:
    void Trim();

    std::size_t stepLimit_;
    std::size_t pixelBudget_;
    std::deque<EditStep> steps_;
    std::size_t position_ = 0;                // steps before the current point
    std::size_t pixelBytes_ = 0;              // of all steps
    std::uint64_t dropped_ = 0;               // steps trimmed from the front since the last Clear
    std::optional<std::uint64_t> saved_ = 0;  // counted from the first step ever pushed
};

}  // namespace quorvel
