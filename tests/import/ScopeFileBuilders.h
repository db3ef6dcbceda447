#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Small valid oscilloscope files for the tests.

inline std::string r210Text(const std::string& settings, const std::vector<int>& a,
                            const std::vector<int>& b, const std::string& lineEnd = "\r\n") {
    std::string text = settings + "SettingsEnd" + lineEnd;
    if (!a.empty()) {
        text += "Channel A samples:" + lineEnd;
        for (int v : a)
            text += std::to_string(v) + lineEnd;
    }
    if (!b.empty()) {
        text += "Channel B samples:" + lineEnd;
        for (int v : b)
            text += std::to_string(v) + lineEnd;
    }
    return text;
}

inline std::vector<std::uint8_t> q726Bytes(const std::string& header,
                                           const std::vector<std::uint8_t>& a,
                                           const std::vector<std::uint8_t>& b,
                                           const std::string& trailer = "\r\n[end]\r\n") {
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    auto append = [&bytes](const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
    };
    append("[channel_a]\r\nlength=" + std::to_string(a.size()) + "\r\n--- begin ---\r\n");
    bytes.insert(bytes.end(), a.begin(), a.end());
    append("\r\n[channel_b]\r\nlength=" + std::to_string(b.size()) + "\r\n--- begin ---\r\n");
    bytes.insert(bytes.end(), b.begin(), b.end());
    append(trailer);
    return bytes;
}

inline const std::string kQ726Header = "range_a=3\r\nrange_b=8\r\ntimebase=12\r\n";

inline std::vector<int> ramp(int count, int start = 0) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back((start + i) % 256);
    return values;
}

inline std::vector<std::uint8_t> rampBytes(int count, int start = 0) {
    std::vector<std::uint8_t> values;
    for (int v : ramp(count, start))
        values.push_back(static_cast<std::uint8_t>(v));
    return values;
}
