// Shared helpers of the toolkit tests: a fresh toolkit state and a private
// folder per test, and ways to look at files and at the error list.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "toolkit3ds/toolkit3ds.h"

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

    // Reads the bytes, written to a new file, into the test's database; the
    // file stays open for reading data later.
    Database3ds* ReadDatabase(const ByteVector& bytes);
    // Writes a database to a new file and gives its bytes.
    ByteVector WriteDatabase(Database3ds* database, const std::string& name = "out.3ds");

    std::filesystem::path folder_;
    Database3ds* database_ = nullptr;  // released after the test
    int inputs_ = 0;
};

// Little-endian building blocks for expected file bytes.
void AppendWord(ByteVector& out, std::uint16_t value);
void AppendDword(ByteVector& out, std::uint32_t value);
void AppendFloat(ByteVector& out, float value);
void AppendText(ByteVector& out, const std::string& text);  // with its zero byte
// A whole chunk: header with the right length, then the body.
ByteVector Chunk(std::uint16_t tag, const ByteVector& body);
ByteVector Concat(std::initializer_list<ByteVector> parts);
