// One of the processes of the device-lock test: initialises the virtual instrument, waits until
// its partners are ready too, then runs register sequences (with the waits inside them that
// give another process the time to step in) until the given time is up, five rounds at least.
//   q745drv_lock_worker BARRIER_FOLDER PARTNERS MILLISECONDS
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "q745drv.h"

namespace fs = std::filesystem;

namespace {

bool waitForPartners(const fs::path& folder, int partners) {
    std::ofstream(folder / ("ready-" + std::to_string(::getpid())));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        int ready = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            ready += entry.path().filename().string().starts_with("ready-") ? 1 : 0;
        if (ready >= partners) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "Usage: %s BARRIER_FOLDER PARTNERS MILLISECONDS\n", argv[0]);
        return 2;
    }
    const int result = InitHardware(0);
    if (result != 1000) {
        std::fprintf(stderr, "InitHardware: %d\n", result);
        return 2;
    }
    if (!waitForPartners(argv[1], std::atoi(argv[2]))) {
        std::fprintf(stderr, "The partners did not come\n");
        return 3;
    }
    const std::vector<std::uint8_t> raw(512, 100);
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(argv[3]));
    int rounds = 0;
    for (; rounds < 5 || std::chrono::steady_clock::now() < end; ++rounds) {
        SetEPBOn(1);
        SetLevel(0, rounds & 4095);
        SetWaveForm(raw.data(), 0, static_cast<int32_t>(raw.size()), 0, 1);
        SetTriggerMode(rounds & 1);
    }
    std::printf("%d rounds\n", rounds);
    return 0;
}
