#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../waves/TempFolder.h"
#include "platform/InstanceMarkers.h"

TEST(InstanceMarkersTest, SecondCopyFindsTheInstanceMarkerAndHoldsNone) {
    TempFolder folder;
    InstanceMarkers first(folder.path());
    InstanceMarkers second(folder.path());
    EXPECT_TRUE(first.takeInstanceMarker());
    EXPECT_FALSE(second.takeInstanceMarker());
    EXPECT_FALSE(second.holdsInstanceMarker());
    first.releaseInstanceMarker();
    EXPECT_TRUE(second.takeInstanceMarker()) << "a released marker is free again";
}

TEST(InstanceMarkersTest, SlotsAreTakenInOrderAndTheLastIsKeptWhenAllAreTaken) {
    TempFolder folder;
    InstanceMarkers other(folder.path());
    EXPECT_EQ(other.takeSlotMarker(), 0);
    InstanceMarkers copy(folder.path());
    EXPECT_EQ(copy.takeSlotMarker(), 1) << "another program holds slot 0";
    EXPECT_EQ(copy.heldSlot(), 1);

    std::vector<std::unique_ptr<InstanceMarkers>> crowd;
    for (int n = 2; n < InstanceMarkers::SlotCount; ++n) {
        crowd.push_back(std::make_unique<InstanceMarkers>(folder.path()));
        EXPECT_EQ(crowd.back()->takeSlotMarker(), n);
    }
    InstanceMarkers late(folder.path());
    EXPECT_EQ(late.takeSlotMarker(), 9);
    EXPECT_EQ(late.heldSlot(), -1) << "slot 9 belongs to another program";
}

TEST(InstanceMarkersTest, PortIsFreedOnlyWhenNoOtherProgramHoldsASlot) {
    TempFolder folder;
    InstanceMarkers other(folder.path());
    InstanceMarkers copy(folder.path());
    other.takeSlotMarker();
    copy.takeSlotMarker();
    EXPECT_FALSE(copy.releaseSlotMarker()) << "the other program still uses the port";
    EXPECT_EQ(copy.heldSlot(), -1);
    EXPECT_TRUE(other.releaseSlotMarker()) << "the last one frees the port";
}

TEST(InstanceMarkersTest, MarkersOfADeadProcessDoNotCount) {
    TempFolder folder;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceMarkers dying(folder.path());
        const bool took = dying.takeInstanceMarker() && dying.takeSlotMarker() == 0;
        _exit(took ? 0 : 1);  // ends without letting the markers go
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "KELVO_Q745_SW"));
    EXPECT_TRUE(std::filesystem::exists(folder / "KELVO_SW_0"));

    InstanceMarkers next(folder.path());
    EXPECT_TRUE(next.takeInstanceMarker());
    EXPECT_EQ(next.takeSlotMarker(), 0);
}

TEST(InstanceMarkersTest, AnUnusableFolderCountsAsHeld) {
    InstanceMarkers markers("/proc/self/no-such-folder");
    EXPECT_FALSE(markers.takeInstanceMarker());
    EXPECT_FALSE(markers.releaseSlotMarker()) << "never frees the port on a guess";
}
