#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// A fresh folder per test for the files a test writes; removed afterwards.
class TestFolder {
public:
    TestFolder() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "_" + test->name();
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::temp_directory_path() /
                ("q745_import_" + name + "_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path write(const std::string& name, std::string_view content) const {
        std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
        return file;
    }
    std::filesystem::path write(const std::string& name,
                                const std::vector<std::uint8_t>& content) const {
        return write(
            name, std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
    }

private:
    std::filesystem::path path_;
};
