#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// The hand editor's multi-level undo and redo: the waveform as it was before each completed
// change (a stroke, "Undo", "Undo tool"), the oldest forgotten beyond the limit. Undoing hands
// back the waveform to show and keeps the one it replaces for redo; a new change forgets what
// could be redone.
class HandUndoHistory {
public:
    using Points = std::vector<std::uint8_t>;

    // 200 levels of a 16384-point waveform keep about 3 MB.
    static constexpr std::size_t DefaultLevels = 200;

    explicit HandUndoHistory(std::size_t levels = DefaultLevels) : levels_(levels) {}

    // A change took `before` to `after`; nothing is kept when they are equal.
    void changed(const Points& before, const Points& after);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoLevels() const { return undo_.size(); }

    // The waveform before the last change, or nothing; `current` is kept for redo.
    std::optional<Points> undo(const Points& current);
    // The waveform that the last undo replaced, or nothing; `current` is kept for undo.
    std::optional<Points> redo(const Points& current);

    void clear();

private:
    std::size_t levels_;
    std::deque<Points> undo_;
    std::deque<Points> redo_;
};
