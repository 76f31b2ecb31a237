// Shared helpers of the toolkit tests: a fresh toolkit state and a private
// folder per test, and ways to look at files and at the error list.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "toolkit3ds.h"

using ByteVector = std::vector<std::uint8_t>;

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string PathOf(const std::string& name) const;
    std::string WriteBytes(const std::string& name, const ByteVector& bytes) const;
    static ByteVector ReadAll(const std::string& path);
    // Codes of the error list, oldest first.
    static std::vector<ErrorCode3ds> Errors();
    // What ReportErrors3ds writes.
    static std::string Report();

    std::filesystem::path folder_;
};

// Little-endian building blocks for expected file bytes.
void AppendWord(ByteVector& out, std::uint16_t value);
void AppendDword(ByteVector& out, std::uint32_t value);
void AppendFloat(ByteVector& out, float value);
void AppendText(ByteVector& out, const std::string& text);  // with its zero byte
// A whole chunk: header with the right length, then the body.
ByteVector Chunk(std::uint16_t tag, const ByteVector& body);
ByteVector Concat(std::initializer_list<ByteVector> parts);
