#include "tests/toolkit3ds_records/records_test_support.h"

#include <cstdio>

void RecordsTest::SetUp() {
    ToolkitTest::SetUp();
    NewDatabase3ds(&db);
    CreateDatabase3ds(db, DatabaseKind3ds::MeshFile);
    ASSERT_FALSE(ErrorPending3ds());
}

void RecordsTest::TearDown() {
    ReleaseDatabase3ds(&db);
    ReleaseDatabase3ds(&read);
    ToolkitTest::TearDown();
}

void RecordsTest::WriteAndReadBack(const std::string& name) {
    const std::string path = PathOf(name);
    File3ds* out = OpenFile3ds(path.c_str(), "w");
    WriteDatabase3ds(out, db);
    CloseFile3ds(out);
    ASSERT_FALSE(ErrorPending3ds());
    File3ds* in = OpenFile3ds(path.c_str(), "r");
    NewDatabase3ds(&read);
    ReadDatabase3ds(in, read);
    ASSERT_FALSE(ErrorPending3ds());
}

std::string TreeOf(const Chunk3ds* chunk) {
    char tag[8];
    std::snprintf(tag, sizeof tag, "%04X", static_cast<unsigned>(chunk->tag));
    std::string text = tag;
    if (chunk->child != nullptr) text.append(1, '{').append(ChildrenOf(chunk)).append(1, '}');
    return text;
}

std::string ChildrenOf(const Chunk3ds* chunk) {
    std::string text;
    for (const Chunk3ds* child = chunk->child; child != nullptr; child = child->next) {
        if (!text.empty()) text += " ";
        text += TreeOf(child);
    }
    return text;
}

Chunk3ds* ChildOf(const Chunk3ds* parent, std::uint32_t tag) {
    Chunk3ds* found = nullptr;
    FindNextChunk3ds(parent->child, tag, &found);
    return found;
}

int PercentUnder(const Chunk3ds* parent, std::uint32_t tag) {
    Chunk3ds* container = ChildOf(parent, tag);
    if (container == nullptr) return -1;
    Chunk3ds* percent = ChildOf(container, CHUNK_PERCENT);
    return percent != nullptr ? DataOf<ShortData3ds>(percent)->value : -1;
}
