#include "generators/HandUndoHistory.h"

void HandUndoHistory::changed(const Points& before, const Points& after) {
    if (before == after || levels_ == 0) return;
    undo_.push_back(before);
    if (undo_.size() > levels_) undo_.pop_front();
    redo_.clear();
}

std::optional<HandUndoHistory::Points> HandUndoHistory::undo(const Points& current) {
    if (undo_.empty()) return std::nullopt;
    Points earlier = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(current);
    return earlier;
}

std::optional<HandUndoHistory::Points> HandUndoHistory::redo(const Points& current) {
    if (redo_.empty()) return std::nullopt;
    Points later = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(current);
    return later;
}

void HandUndoHistory::clear() {
    undo_.clear();
    redo_.clear();
}
