#include "BenchConnection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

std::vector<std::pair<int, int>> registerWrites(
    const std::vector<q745vi::InstrumentEvent>& events) {
    std::vector<std::pair<int, int>> writes;
    for (const auto& event : events) {
        if (event.kind == q745vi::EventKind::Write)
            writes.emplace_back(event.reg, static_cast<int>(event.value));
    }
    return writes;
}

std::vector<q745vi::InstrumentEvent> eventsOf(const std::vector<q745vi::InstrumentEvent>& events,
                                              q745vi::EventKind kind) {
    std::vector<q745vi::InstrumentEvent> chosen;
    for (const auto& event : events) {
        if (event.kind == kind) chosen.push_back(event);
    }
    return chosen;
}

std::vector<int> portWrites(const std::vector<q745vi::PortCycle>& cycles, std::uint32_t offset) {
    std::vector<int> values;
    for (const auto& cycle : cycles) {
        if (cycle.kind == q745vi::PortCycle::Kind::Write && cycle.offset == offset)
            values.push_back(static_cast<int>(cycle.value));
    }
    return values;
}

std::filesystem::path testLockFile() {
    static std::atomic<int> counter{0};
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string("q745-lock-") + std::to_string(::getpid()) + "-" +
                             (test != nullptr ? test->name() : "none") + "-" +
                             std::to_string(counter++);
    return std::filesystem::temp_directory_path() / name;
}
