#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Markers between processes: the instance marker "KELVO_Q745_SW" of this program and the
// slot markers "KELVO_SW_0" .. "KELVO_SW_9" shared with the maker's other instrument programs.
// Each marker is a lock file held with an exclusive flock for as long as its holder lives; a
// marker "exists" while some live process holds it (a file left by a process that died does
// not count, as the kernel drops its lock).
class InstanceMarkers {
public:
    static constexpr int SlotCount = 10;

    // The folder of the lock files: $XDG_RUNTIME_DIR, else the temporary folder.
    static std::filesystem::path defaultFolder();

    explicit InstanceMarkers(std::filesystem::path folder = defaultFolder());
    ~InstanceMarkers();
    InstanceMarkers(const InstanceMarkers&) = delete;
    InstanceMarkers& operator=(const InstanceMarkers&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

    // Takes the instance marker. false when another copy holds it: this copy then holds none.
    bool takeInstanceMarker();
    void releaseInstanceMarker();
    bool holdsInstanceMarker() const { return instanceLock_ >= 0; }

    // Takes the first free slot marker and returns its number; when all ten are held by
    // others, 9 (and no marker is held).
    int takeSlotMarker();
    // The slot marker this copy holds, or -1.
    int heldSlot() const { return slotLock_ >= 0 ? slot_ : -1; }

    // At exit: lets the slot marker go and tells whether no other instrument program of the
    // maker holds a slot any more, so that the port may leave the instrument's bus mode.
    bool releaseSlotMarker();

    // Whether a live process holds the marker of that name.
    bool markerHeld(const std::string& name) const;

private:
    // The descriptor of the locked file, or -1 when the marker is held already (or the file
    // cannot be created, which counts as held so that nobody relies on it).
    int takeMarker(const std::string& name) const;

    std::filesystem::path folder_;
    int instanceLock_ = -1;
    int slotLock_ = -1;
    int slot_ = -1;
};

inline constexpr const char* InstanceMarkerName = "KELVO_Q745_SW";
inline constexpr const char* SlotMarkerPrefix = "KELVO_SW_";
