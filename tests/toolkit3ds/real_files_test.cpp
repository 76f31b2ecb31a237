#include <algorithm>
#include <filesystem>
#include <set>

#include "tests/toolkit3ds/support.h"

namespace {

const std::filesystem::path kSamples = std::filesystem::path(PALLIX_TESTDATA_DIR) / "3ds";

struct Entry {
    int depth;
    std::uint32_t tag;
    ByteVector ownData;  // the bytes between the header and the first sub-chunk
};

// Chunks that writing sets or adds, and names that exist only in memory.
bool Compared(std::uint32_t tag) {
    return tag != CHUNK_FILE_VERSION && tag != CHUNK_SCENE_VERSION && tag != CHUNK_KEYFRAME_SECTION &&
           tag != CHUNK_KEYFRAME_HEADER && tag != CHUNK_PARENT_NAME;
}

// Where the chunk's first sub-chunk read from a file starts, or its end.
std::size_t OwnDataEnd(const Chunk3ds* chunk) {
    for (const Chunk3ds* child = chunk->child; child != nullptr; child = child->next) {
        if (child->position > chunk->position) {
            return child->position;
        }
    }
    return chunk->position + chunk->length;
}

std::vector<Entry> Flatten(Chunk3ds* top, const ByteVector& file) {
    std::vector<Entry> entries;
    WalkChunks3ds(top, [&](Chunk3ds* chunk, int depth) {
        if (Compared(chunk->tag)) {
            const std::size_t end = OwnDataEnd(chunk);
            entries.push_back({depth, chunk->tag, ByteVector(file.begin() + chunk->position + 6, file.begin() + end)});
        }
        return true;
    });
    return entries;
}

std::vector<std::filesystem::path> SoundFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSamples)) {
        const std::string extension = entry.path().extension().string();
        if ((extension == ".3ds" || extension == ".3DS" || entry.path().filename() == "testFormatDetection") &&
            entry.path().parent_path().filename() != "assimp-invalid") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class RealFilesTest : public ToolkitTest {
protected:
    // Reads a file, reads all its data, writes it and reads the result;
    // gives the chunks whose own data differ between the two.
    std::vector<std::uint32_t> RoundTrip(const std::filesystem::path& path) {
        const ByteVector original = ReadAll(path.string());
        Database3ds* db = ReadDatabase(original);
        ReadEveryChunkData3ds(db->top);
        EXPECT_FALSE(ErrorPending3ds()) << path << "\n" << Report();
        const std::vector<Entry> before = Flatten(db->top, original);
        const ByteVector written = WriteDatabase(db);
        EXPECT_FALSE(ErrorPending3ds()) << path << "\n" << Report();

        Database3ds* again = nullptr;
        NewDatabase3ds(&again);
        ReadDatabase3ds(OpenFile3ds(PathOf("out.3ds").c_str(), "r"), again);
        EXPECT_FALSE(ErrorPending3ds()) << path;
        const std::vector<Entry> after = Flatten(again->top, written);
        ReleaseDatabase3ds(&again);
        CloseAllFiles3ds();

        std::vector<std::uint32_t> differing;
        EXPECT_EQ(before.size(), after.size()) << path;
        for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
            EXPECT_EQ(before[i].depth, after[i].depth) << path << " chunk " << i;
            EXPECT_EQ(before[i].tag, after[i].tag) << path << " chunk " << i;
            if (before[i].ownData != after[i].ownData) {
                differing.push_back(before[i].tag);
            }
        }
        return differing;
    }
};

}  // namespace

TEST_F(RealFilesTest, SoundFilesSurviveAReadAndAWrite) {
    const auto files = SoundFiles();
    ASSERT_GE(files.size(), 20U);
    for (const auto& path : files) {
        EXPECT_TRUE(RoundTrip(path).empty()) << path;
    }
}

TEST_F(RealFilesTest, ACountShorterThanItsChunkKeepsTheRest) {
    // fels.3ds holds 386 vertex flag words without a count; the first word (7)
    // is taken for the count, and the rest of the chunk is kept beside it.
    Database3ds* db = ReadDatabase(ReadAll((kSamples / "assimp-bsd/fels.3ds").string()));
    Chunk3ds* flags = nullptr;
    FindChunk3ds(db->top, CHUNK_VERTEX_FLAGS, &flags);
    ASSERT_NE(flags, nullptr);
    const auto* record = static_cast<VertexFlagsData3ds*>(ReadChunkData3ds(flags));
    EXPECT_FALSE(ErrorPending3ds());
    EXPECT_EQ(record->count, 7);
    EXPECT_EQ(record->trailing.size, 772U - 2 - 7 * 2);
}

TEST_F(RealFilesTest, KeyframeNodesLearnTheirParents) {
    Database3ds* db = ReadDatabase(ReadAll((kSamples / "assimp-bsd/CameraRollAnimWithChildObject.3ds").string()));
    std::set<std::string> parents;
    WalkChunks3ds(db->top, [&](Chunk3ds* chunk, int) {
        if (chunk->tag == CHUNK_PARENT_NAME) {
            parents.insert(static_cast<StringData3ds*>(chunk->data)->text);
        }
        return true;
    });
    EXPECT_FALSE(parents.empty());
    RebuildObjectIndex3ds(db);
    ASSERT_EQ(db->objectIndex->count, 3U);
    EXPECT_STREQ(db->objectIndex->entries[2].name, "Box02");
    EXPECT_EQ(db->objectIndex->entries[2].chunk->tag, CHUNK_OBJECT);
}

TEST_F(RealFilesTest, MaterialsAreIndexedByName) {
    Database3ds* db = ReadDatabase(ReadAll((kSamples / "assimp-bsd/fels.3ds").string()));
    RebuildMaterialIndex3ds(db);
    ASSERT_EQ(db->materialIndex->count, 1U);
    EXPECT_STREQ(db->materialIndex->entries[0].name, "Default");
    EXPECT_EQ(db->materialIndex->entries[0].chunk->tag, CHUNK_MATERIAL);
}

TEST_F(RealFilesTest, DamagedFilesGiveErrorsNotCrashes) {
    ReadDatabase(ReadAll((kSamples / "assimp-invalid/empty.3ds").string()));
    EXPECT_EQ(Errors(), (std::vector<ErrorCode3ds>{ERR_READING_FILE, ERR_CREATING_DATABASE}));

    // Every cut of a real file either fails cleanly or reads what is there.
    const ByteVector whole = ReadAll((kSamples / "assimp-bsd/RotatingCube.3DS").string());
    for (std::size_t size = 0; size < whole.size(); size += 97) {
        ClearErrors3ds();
        Database3ds* db = ReadDatabase(ByteVector(whole.begin(), whole.begin() + size));
        if (!ErrorPending3ds()) {
            ReadEveryChunkData3ds(db->top);
        }
        EXPECT_TRUE(ErrorPending3ds()) << size;
        CloseAllFiles3ds();
    }
}
