#include <gtest/gtest.h>

#include <random>

#include "RecordingMessages.h"
#include "ScopeFileBuilders.h"
#include "TestFolder.h"
#include "import/Q726DataFile.h"
#include "import/R210DataFile.h"
#include "import/ScopeFileRecognition.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes toBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// One random damage of a valid file: flipped, dropped, inserted or repeated bytes, a cut end,
// or a number text replaced by an extreme one.
Bytes mutate(Bytes bytes, std::mt19937& random) {
    auto pick = [&random](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size == 0 ? 0 : size - 1)(random);
    };
    static const std::vector<std::string> extremes = {"99999999999999999999",
                                                      "-2147483649",
                                                      "2147483647",
                                                      "-1",
                                                      "1e308",
                                                      "nan",
                                                      "",
                                                      "35000",
                                                      "35001",
                                                      "=",
                                                      "\n--- begin ---\n",
                                                      "\n[channel_b]\n",
                                                      "\nSettingsEnd\n",
                                                      "\nChannel B samples:\n",
                                                      "\xff\xfe\x00"};
    const int kind = std::uniform_int_distribution<int>(0, 5)(random);
    if (bytes.empty()) return bytes;
    const std::size_t at = pick(bytes.size());
    switch (kind) {
        case 0:
            bytes[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            break;
        case 1:
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 2:
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         static_cast<std::uint8_t>(random()));
            break;
        case 3:
            bytes.resize(at);
            break;
        case 4: {
            const std::size_t length = std::min<std::size_t>(pick(64) + 1, bytes.size() - at);
            Bytes copy(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size())),
                         copy.begin(), copy.end());
            break;
        }
        default: {
            // Replace a run of digits with an extreme text.
            std::size_t start = at;
            while (start < bytes.size() && !(bytes[start] >= '0' && bytes[start] <= '9'))
                ++start;
            std::size_t end = start;
            while (end < bytes.size() && bytes[end] >= '0' && bytes[end] <= '9')
                ++end;
            const std::string& text = extremes[pick(extremes.size())];
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                        bytes.begin() + static_cast<std::ptrdiff_t>(end));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(start), text.begin(),
                         text.end());
        }
    }
    return bytes;
}

// Reads a damaged file as the import command does: either a sound result or the one message.
void readAsTheImportDoes(const std::filesystem::path& file, std::size_t fileSize) {
    RecordingMessages messages;
    bool ok = false;
    std::size_t samples = 0;
    switch (recogniseScopeFile(file)) {
        case ScopeFileKind::CannotOpen:
            FAIL() << "written file cannot be opened";
            break;
        case ScopeFileKind::R210: {
            TR210DataFile data;
            ok = data.load(file, messages);
            if (ok) {
                ASSERT_GE(data.channelCount(), 1);
                if (data.channelCount() == 2) {
                    ASSERT_EQ(data.samples(0).size(), data.samples(1).size());
                }
                samples = data.samples(0).size() + data.samples(1).size();
                (void)data.sampleRate();
                (void)data.range(0);
                (void)data.range(1);
            }
            break;
        }
        case ScopeFileKind::Q726: {
            Q726FileResult result;
            ok = readQ726File(file, messages, result);
            if (ok) {
                ASSERT_FALSE(result.samplesA.empty());
                ASSERT_FALSE(result.samplesB.empty());
                ASSERT_NE(result.rangeA, -1);
                ASSERT_NE(result.sampleRate, -1);
                samples = result.samplesA.size() + result.samplesB.size();
            }
            break;
        }
    }
    ASSERT_LE(samples, fileSize);
    if (ok) {
        ASSERT_TRUE(messages.calls.empty());
    } else {
        ASSERT_EQ(messages.texts(), std::vector<std::string>{"Neplatny subor: " + file.string()});
    }
}

}  // namespace

TEST(ScopeFilesRobustness, DamagedFilesGiveAResultOrTheInvalidFileMessage) {
    const std::vector<Bytes> originals = {
        toBytes(r210Text("DeviceType: 213\r\nTimeBaseValue: 4\r\nDensityChannelA: 2\r\n"
                         "GroundChannelA: 127,5\r\n",
                         ramp(40), ramp(40, 3))),
        toBytes(r210Text("DensityChannelB: 9\n", {}, ramp(30), "\n")),
        q726Bytes(kQ726Header, rampBytes(50), rampBytes(50, 100)),
        q726Bytes("range_a=1\nrange_b=2\ntimebase=3\n", rampBytes(7), rampBytes(11), "\n"),
    };
    TestFolder folder;
    std::mt19937 random(2024);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = originals[static_cast<std::size_t>(round) % originals.size()];
        const int damages = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < damages; ++i)
            bytes = mutate(std::move(bytes), random);
        const auto file = folder.write("damaged.dat", bytes);
        readAsTheImportDoes(file, bytes.size());
        if (HasFatalFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
        if (recogniseScopeFile(file) != ScopeFileKind::CannotOpen) ++accepted;
    }
    EXPECT_EQ(accepted, 3000);
}

TEST(ScopeFilesRobustness, BinaryGarbageIsAnInvalidFile) {
    TestFolder folder;
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        Bytes bytes(static_cast<std::size_t>(random() % 2000));
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(random());
        const auto file = folder.write("garbage.bin", bytes);
        readAsTheImportDoes(file, bytes.size());
        if (HasFatalFailure()) return;
    }
}
