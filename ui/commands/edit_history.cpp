#include "ui/commands/edit_history.h"

#include <utility>

namespace quorvel {

namespace {

std::size_t PixelBytesOf(const SetSide& side) {
    std::size_t bytes = 0;
    for (const Sprite& sprite : side.sprites) {
        bytes += sprite.pixels.size();
    }
    return bytes;
}

}  // namespace

std::size_t EditStep::PixelBytes() const {
    return PixelBytesOf(before) + PixelBytesOf(after);
}

EditHistory::EditHistory(std::size_t stepLimit, std::size_t pixelBudget)
    : stepLimit_(stepLimit), pixelBudget_(pixelBudget) {}

void EditHistory::Clear() {
    steps_.clear();
    position_ = 0;
    pixelBytes_ = 0;
    dropped_ = 0;
    saved_ = 0;
}

void EditHistory::Push(EditStep step) {
    while (steps_.size() > position_) {
        pixelBytes_ -= steps_.back().PixelBytes();
        steps_.pop_back();
    }
    // A saved point among the dropped steps can no longer be reached.
    if (saved_ && *saved_ > dropped_ + position_) {
        saved_.reset();
    }
    pixelBytes_ += step.PixelBytes();
    steps_.push_back(std::move(step));
    ++position_;
    Trim();
}

void EditHistory::Trim() {
    while (steps_.size() > 1 && (steps_.size() > stepLimit_ || pixelBytes_ > pixelBudget_)) {
        pixelBytes_ -= steps_.front().PixelBytes();
        steps_.pop_front();
        --position_;
        ++dropped_;
    }
}

const EditStep& EditHistory::Undo() {
    --position_;
    return steps_[position_];
}

const EditStep& EditHistory::Redo() {
    return steps_[position_++];
}

void EditHistory::MarkSaved() {
    saved_ = dropped_ + position_;
}

bool EditHistory::AtSavedPoint() const {
    return saved_ && *saved_ == dropped_ + position_;
}

}  // namespace quorvel
