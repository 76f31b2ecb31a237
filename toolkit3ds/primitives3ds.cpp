#include "toolkit3ds/primitives3ds.h"

#include "toolkit3ds/stream3ds.h"

namespace detail3ds {

bool ReadBytesSlow(unsigned char* out, std::size_t count) {
    ParkCurrent();
    const bool done = currentFile != nullptr && StreamRead3ds(*currentFile, out, count);
    ResumeCurrent();
    if (!done) {
        PushError3ds(ERR_READING_FILE);
    }
    return done;
}

bool WriteBytesSlow(const unsigned char* in, std::size_t count) {
    ParkCurrent();
    const bool done = currentFile != nullptr && StreamWrite3ds(*currentFile, in, count);
    ResumeCurrent();
    if (!done) {
        PushError3ds(ERR_WRITING_FILE);
    }
    return done;
}

}  // namespace detail3ds

void ReadBytes3ds(std::size_t count, void* buffer) {
    if (count > 0) {
        detail3ds::TakeRaw(static_cast<unsigned char*>(buffer), count);
    }
}

void WriteBytes3ds(std::size_t count, const void* buffer) {
    if (count > 0) {
        detail3ds::PutRaw(static_cast<const unsigned char*>(buffer), count);
    }
}

void ReadChunkHeader3ds(std::uint32_t* tag, std::uint32_t* length) {
    if (tag == nullptr || length == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    *tag = ReadWord3ds();
    if (ErrorPending3ds()) {
        return;
    }
    *length = ReadDword3ds();
}

void WriteChunkHeader3ds(std::uint32_t tag, std::uint32_t length) {
    WriteWord3ds(static_cast<std::uint16_t>(tag));
    WriteDword3ds(length);
}

void PatchChunkLength3ds(std::int64_t start, std::int64_t end) {
    SeekFile3ds(start + 2);
    WriteDword3ds(static_cast<std::uint32_t>(end - start));
    SeekFile3ds(end);
}
