#include <cstdlib>
#include <cstring>

#include "tests/toolkit3ds/support.h"

class PrimitivesTest : public ToolkitTest {
protected:
    File3ds* OpenReading(const ByteVector& bytes) {
        File3ds* file = OpenFile3ds(WriteBytes("in.3ds", bytes).c_str(), "r");
        SetCurrentFile3ds(file);
        return file;
    }
    File3ds* OpenWriting() {
        File3ds* file = OpenFile3ds(PathOf("out.3ds").c_str(), "w");
        SetCurrentFile3ds(file);
        return file;
    }
    ByteVector Written() {
        CloseAllFiles3ds();
        return ReadAll(PathOf("out.3ds"));
    }
};

TEST_F(PrimitivesTest, ValuesAreLittleEndian) {
    OpenReading({0x3E, 0x3D, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x80, 0x3F, 0x80});
    EXPECT_EQ(ReadWord3ds(), 0x3D3E);
    EXPECT_EQ(ReadShort3ds(), -2);
    EXPECT_EQ(ReadDword3ds(), 0x12345678U);
    EXPECT_EQ(ReadFloat3ds(), 1.0F);
    EXPECT_EQ(ReadSignedByte3ds(), -128);
    EXPECT_FALSE(ErrorPending3ds());

    OpenWriting();
    WriteDword3ds(3);
    WriteLong3ds(-2);
    WriteFloat3ds(-2.5F);
    WriteShort3ds(0x0102);
    WriteByte3ds(0xAB);
    EXPECT_EQ(Written(), (ByteVector{3, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0x20, 0xC0, 2, 1, 0xAB}));
}

TEST_F(PrimitivesTest, ShortReadAtEndGivesZeroAndAnError) {
    OpenReading({0x11, 0x22, 0x33});
    EXPECT_EQ(ReadWord3ds(), 0x2211);
    EXPECT_EQ(ReadDword3ds(), 0U);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_READING_FILE});
    ClearErrors3ds();
    EXPECT_EQ(ReadByte3ds(), 0x33);
    EXPECT_EQ(ReadFloat3ds(), 0.0F);
    EXPECT_TRUE(ErrorPending3ds());
}

TEST_F(PrimitivesTest, NoCurrentFileOrWrongDirectionFails) {
    SetCurrentFile3ds(nullptr);
    ReadByte3ds();
    WriteByte3ds(1);
    EXPECT_EQ(Errors(), (std::vector<ErrorCode3ds>{ERR_READING_FILE, ERR_WRITING_FILE}));
    ClearErrors3ds();
    OpenWriting();
    ReadWord3ds();
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_READING_FILE});
}

TEST_F(PrimitivesTest, SmallBuffersSeekAndRefillAcrossTheirEdges) {
    SetFileBufferSize3ds(5);
    ByteVector bytes;
    for (int i = 0; i < 40; ++i) {
        AppendWord(bytes, static_cast<std::uint16_t>(i * 257));
    }
    OpenReading(bytes);
    SeekFile3ds(3);
    EXPECT_EQ(ReadWord3ds(), 0x0201);
    SeekFile3ds(4);
    for (int i = 2; i < 40; ++i) {
        EXPECT_EQ(ReadWord3ds(), i * 257);
    }
    SeekFile3ds(20);
    EXPECT_EQ(FilePosition3ds(), 20);
    std::uint8_t block[30];
    ReadBytes3ds(sizeof block, block);
    EXPECT_EQ(std::memcmp(block, bytes.data() + 20, sizeof block), 0);
    EXPECT_EQ(FilePosition3ds(), 50);
    EXPECT_FALSE(ErrorPending3ds());

    OpenWriting();
    for (int i = 0; i < 40; ++i) {
        WriteWord3ds(static_cast<std::uint16_t>(i * 257));
    }
    PatchChunkLength3ds(0, 6);
    WriteBytes3ds(8, "ABCDEFGH");
    ByteVector expected = bytes;
    const ByteVector patched = {6, 0, 0, 0, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
    std::copy(patched.begin(), patched.end(), expected.begin() + 2);
    EXPECT_EQ(Written(), expected);
}

TEST_F(PrimitivesTest, UnbufferedFilesWorkToo) {
    SetFileBufferSize3ds(0);
    OpenReading({1, 0, 2, 0});
    SeekFile3ds(2);
    EXPECT_EQ(ReadWord3ds(), 2);
    OpenWriting();
    WriteChunkHeader3ds(0x4D4D, 0);
    WriteWord3ds(7);
    PatchChunkLength3ds(0, FilePosition3ds());
    EXPECT_EQ(Written(), (ByteVector{0x4D, 0x4D, 8, 0, 0, 0, 7, 0}));
}

TEST_F(PrimitivesTest, PatchChunkLengthWritesTheDistanceAndReturns) {
    OpenWriting();
    WriteBytes3ds(150, ByteVector(150, 0xEE).data());
    PatchChunkLength3ds(100, 150);
    EXPECT_EQ(FilePosition3ds(), 150);
    const ByteVector bytes = Written();
    ASSERT_EQ(bytes.size(), 150U);
    EXPECT_EQ(ByteVector(bytes.begin() + 100, bytes.begin() + 108), (ByteVector{0xEE, 0xEE, 50, 0, 0, 0, 0xEE, 0xEE}));
}

TEST_F(PrimitivesTest, ChunkHeaders) {
    OpenReading({0x4D, 0x4D, 6, 0, 0, 0, 0x02});
    std::uint32_t tag = 0;
    std::uint32_t length = 0;
    ReadChunkHeader3ds(&tag, &length);
    EXPECT_EQ(tag, 0x4D4DU);
    EXPECT_EQ(length, 6U);
    tag = length = 1;
    ReadChunkHeader3ds(&tag, &length);
    EXPECT_EQ(tag, 0U);
    EXPECT_EQ(length, 1U);  // stopped after the failed tag
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_READING_FILE});
}

TEST_F(PrimitivesTest, StringsStopAtTheirZeroOrTheirLimit) {
    OpenReading({'a', 'b', 'c', 0, 'x', 'y', 'z', 'q', 'r', 's', 't', 'u', 'v', 'w', 'o', 0});
    char buffer[16];
    ReadString3ds(buffer, 11);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(FilePosition3ds(), 4);
    ReadString3ds(buffer, 11);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_READING_FILE});
    ClearErrors3ds();

    SeekFile3ds(4);
    char* text = nullptr;
    ReadStringAlloc3ds(&text, 11);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "xyzqrstuvwo");
    std::free(text);
    text = nullptr;
    SeekFile3ds(4);
    ReadStringAlloc3ds(&text, 10);
    EXPECT_EQ(text, nullptr);
    EXPECT_TRUE(ErrorPending3ds());
}

TEST_F(PrimitivesTest, FixedStringsFillTheirField) {
    OpenWriting();
    WriteFixedString3ds("abc", 6);
    WriteFixedString3ds("abc", 2);
    WriteString3ds("de");
    WriteString3ds(nullptr);
    EXPECT_EQ(Written(), (ByteVector{'a', 'b', 'c', 0, 0, 0, 'a', 'b', 'c', 'd', 'e', 0, 0}));

    ByteVector field = {'n', 'a', 'm', 'e', 0, 'j', 'u', 'n', 'k', 0, 0, 7};
    OpenReading(field);
    char* name = nullptr;
    ReadFixedStringAlloc3ds(&name, 10);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "name");
    std::free(name);
    EXPECT_EQ(FilePosition3ds(), 11);

    char buffer[4];
    SeekFile3ds(0);
    ReadFixedString3ds(buffer, 4);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_READING_FILE});
}

TEST_F(PrimitivesTest, ArgumentStrings) {
    EXPECT_EQ(BoundedStringLength3ds("rb", 30), 2);
    EXPECT_EQ(BoundedStringLength3ds(nullptr, 30), 0);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_INVALID_ARG});
    ClearErrors3ds();
    const std::string longText(40, 'x');
    EXPECT_EQ(BoundedStringLength3ds(longText.c_str(), 30), 0);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_STRING_TOO_LONG});

    char* copy = DuplicateString3ds("Box01");
    EXPECT_STREQ(copy, "Box01");
    std::free(copy);
    EXPECT_EQ(DuplicateString3ds(nullptr), nullptr);
}
