// Shared fixture of the record tests: a fresh toolkit and a new mesh-file
// database per test, checks of the error list, and a compact picture of
// chunk trees.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/toolkit3ds/support.h"
#include "toolkit3ds/toolkit3ds.h"

class RecordsTest : public ToolkitTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static void ExpectNoErrors() { EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{}); }
    static void ExpectErrors(std::initializer_list<ErrorCode3ds> codes) {
        EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>(codes));
    }

    // Writes db to the file, then reads the file into read (kept open until
    // the test ends).
    void WriteAndReadBack(const std::string& name);

    Database3ds* db = nullptr;
    Database3ds* read = nullptr;
};

// The tags of a chunk's subtree in hex, children in braces:
// "4100{4110 4160 4165 4120{4130}}".
std::string TreeOf(const Chunk3ds* chunk);
// The same for the children of a chunk only, separated by spaces.
std::string ChildrenOf(const Chunk3ds* chunk);

// The first direct child of the tag, or null.
Chunk3ds* ChildOf(const Chunk3ds* parent, std::uint32_t tag);

// The data record of a chunk, read if needed.
template <typename Record>
Record* DataOf(Chunk3ds* chunk) {
    return static_cast<Record*>(ReadChunkData3ds(chunk));
}

// The value of the CHUNK_PERCENT under a parent's child of the tag.
int PercentUnder(const Chunk3ds* parent, std::uint32_t tag);
