// Test fixture: a fresh program directory with DATA\ and CONTROL\ under the temporary folder,
// removed again after the test, for tests of the file access (on Windows and natively).
#pragma once
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

class ProgramDirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                (std::string("ring_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "DATA");
        std::filesystem::create_directories(root_ / "CONTROL");
        dir_ = root_.string() + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    std::filesystem::path File(const std::string &name) const { return root_ / name; }
    void WriteBytes(const std::string &name, const std::string &bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string &name) const {
        std::ifstream in(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path root_;
    std::string dir_; // program directory with its trailing separator
};
