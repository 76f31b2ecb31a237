#include <filesystem>

#include "tests/toolkit3ds/support.h"

using FileTableTest = ToolkitTest;

TEST_F(FileTableTest, MissingFileGivesOpeningError) {
    EXPECT_EQ(OpenFile3ds(PathOf("absent.3ds").c_str(), "r"), nullptr);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_OPENING_FILE});
    // The failed open leaves nothing behind that a later open could find.
    EXPECT_EQ(FileByName3ds(PathOf("absent.3ds").c_str()), nullptr);
    ClearErrors3ds();
    EXPECT_EQ(OpenFile3ds(PathOf("absent.3ds").c_str(), "rb"), nullptr);
}

TEST_F(FileTableTest, ModeStrings) {
    const std::string path = WriteBytes("a.3ds", {1, 2, 3});
    EXPECT_EQ(OpenFile3ds(path.c_str(), "ab+"), nullptr);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_INIT_FAILED});
    ClearErrors3ds();

    EXPECT_EQ(OpenFile3ds(path.c_str(), "0123456789012345678901234567890123w"), nullptr);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_STRING_TOO_LONG});
    ClearErrors3ds();

    EXPECT_EQ(OpenFile3ds(nullptr, "r"), nullptr);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_INVALID_ARG});
    ClearErrors3ds();

    File3ds* file = OpenFile3ds(path.c_str(), "+rw");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->mode, FILE_MODE_READ3ds);
    EXPECT_EQ(ReadAll(path).size(), 3U);  // not truncated, so not opened for writing
}

TEST_F(FileTableTest, SameNameSameModeGivesTheSameFile) {
    const std::string path = WriteBytes("a.3ds", {1, 2, 3});
    File3ds* first = OpenFile3ds(path.c_str(), "r");
    File3ds* second = OpenFile3ds(path.c_str(), "rb");
    EXPECT_EQ(first, second);
    EXPECT_EQ(FileByIndex3ds(0), first);
    EXPECT_EQ(FileByIndex3ds(1), nullptr);
    EXPECT_FALSE(ErrorPending3ds());
}

TEST_F(FileTableTest, WritingANameBeingReadMovesTheReaderAside) {
    const std::string path = WriteBytes("model.3ds", {10, 11, 12, 13, 14, 15});
    File3ds* reader = OpenFile3ds(path.c_str(), "r");
    SetCurrentFile3ds(reader);
    EXPECT_EQ(ReadByte3ds(), 10);
    EXPECT_EQ(ReadByte3ds(), 11);

    File3ds* writer = OpenFile3ds(path.c_str(), "w");
    ASSERT_NE(writer, nullptr);
    ASSERT_FALSE(ErrorPending3ds());
    const std::string aside = reader->name;
    EXPECT_NE(aside, path);
    EXPECT_EQ(std::filesystem::path(aside).parent_path(), std::filesystem::path(path).parent_path());
    EXPECT_EQ(reader->temporary, 1);
    EXPECT_EQ(FileByName3ds(path.c_str()), writer);

    SetCurrentFile3ds(writer);
    WriteByte3ds(99);
    SetCurrentFile3ds(reader);
    EXPECT_EQ(FilePosition3ds(), 2);
    EXPECT_EQ(ReadByte3ds(), 12);
    SeekFile3ds(5);
    EXPECT_EQ(ReadByte3ds(), 15);

    CloseFile3ds(reader);
    EXPECT_FALSE(std::filesystem::exists(aside));
    CloseFile3ds(writer);
    EXPECT_EQ(ReadAll(path), ByteVector{99});
    EXPECT_FALSE(ErrorPending3ds());
}

TEST_F(FileTableTest, MoveAsideWorksWithoutAFolderInTheName) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    WriteBytes("plain.3ds", {7});
    File3ds* reader = OpenFile3ds("plain.3ds", "r");
    OpenFile3ds("plain.3ds", "w");
    EXPECT_FALSE(ErrorPending3ds());
    EXPECT_EQ(std::string(reader->name).find_first_of("/\\"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder_ / reader->name));
    CloseAllFiles3ds();
    std::filesystem::current_path(previous);
}

TEST_F(FileTableTest, ReadingANameBeingWrittenClosesTheWriter) {
    const std::string path = PathOf("b.3ds");
    File3ds* writer = OpenFile3ds(path.c_str(), "w");
    SetCurrentFile3ds(writer);
    WriteWord3ds(0x4D4D);
    File3ds* reader = OpenFile3ds(path.c_str(), "r");
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(FileByName3ds(path.c_str()), reader);
    EXPECT_EQ(CurrentFile3ds(), nullptr);
    SetCurrentFile3ds(reader);
    EXPECT_EQ(ReadWord3ds(), 0x4D4D);
}

TEST_F(FileTableTest, TableHoldsTwoHundredFiftyTwoFilesAndReusesFreedSlots) {
    // Without a buffer each the test stays small.
    SetFileBufferSize3ds(0);
    const std::string path = WriteBytes("shared.3ds", {1});
    std::vector<File3ds*> files;
    for (int i = 0; i < kFileTableSize3ds; ++i) {
        files.push_back(OpenFile3ds(PathOf(std::string(1, 'w').append(std::to_string(i))).c_str(), "w"));
        ASSERT_NE(files.back(), nullptr) << i;
        EXPECT_EQ(files.back()->index, i);
    }
    EXPECT_EQ(OpenFile3ds(path.c_str(), "r"), nullptr);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_TOO_MANY_FILES});
    ClearErrors3ds();

    CloseFile3ds(files[5]);
    EXPECT_FALSE(FileIsOpen3ds(5));
    File3ds* again = OpenFile3ds(path.c_str(), "r");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->index, 5);
    EXPECT_EQ(FileByIndex3ds(5), again);
    EXPECT_EQ(FileTableHighWaterMark3ds(), kFileTableSize3ds);
    EXPECT_FALSE(FileIsOpen3ds(255));

    CloseAllFiles3ds();
    EXPECT_EQ(FileTableHighWaterMark3ds(), 0);
    EXPECT_EQ(FileByIndex3ds(0), nullptr);
}

TEST_F(FileTableTest, SelectingAnUnusedSlotKeepsTheCurrentFile) {
    File3ds* file = OpenFile3ds(PathOf("c.3ds").c_str(), "w");
    SetCurrentFile3ds(file);
    SelectFileByIndex3ds(7);
    EXPECT_EQ(CurrentFile3ds(), file);
    EXPECT_EQ(CurrentFileIndex3ds(), 0);
    EXPECT_EQ(CurrentStream3ds(), file->stream);
}

// Buffer sizes that make the writer seek back over flushed bytes, and none.
TEST_F(FileTableTest, AFileOnABufferHoldsWhatTheDiskFileWouldAndTouchesNoDisk) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    const ByteVector onDisk = WriteDatabase(database_);
    for (const std::int32_t bufferSize : {0, 7, 1 << 20}) {
        SetFileBufferSize3ds(bufferSize);
        std::vector<unsigned char> bytes{9, 9, 9};
        File3ds* writer = OpenMemoryFile3ds(bytes, "w");
        ASSERT_NE(writer, nullptr);
        WriteDatabase3ds(writer, database_);
        CloseFile3ds(writer);
        EXPECT_EQ(bytes, onDisk) << "buffer of " << bufferSize;

        File3ds* reader = OpenMemoryFile3ds(bytes, "r");
        EXPECT_EQ(FileSize3ds(reader), static_cast<std::int64_t>(onDisk.size()));
        Database3ds* copy = nullptr;
        NewDatabase3ds(&copy);
        ReadDatabase3ds(reader, copy);
        std::vector<unsigned char> again;  // the copy's data is read from the reader as it is written
        WriteDatabase3ds(OpenMemoryFile3ds(again, "w"), copy);
        CloseAllFiles3ds();
        ReleaseDatabase3ds(&copy);
        EXPECT_EQ(again, onDisk);
        EXPECT_FALSE(ErrorPending3ds());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}
