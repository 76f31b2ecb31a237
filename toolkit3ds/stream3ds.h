// The buffered byte stream under a File3ds: reads, writes and seeks through
// the file's own buffer, touching the C stream only for whole blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolkit3ds/file3ds.h"

// Prepares the buffer state of a freshly opened stream.
void StreamAttach3ds(File3ds& file);
// Both return false, and consume nothing, when fewer than `count` bytes
// could be moved.
bool StreamRead3ds(File3ds& file, unsigned char* out, std::size_t count);
bool StreamWrite3ds(File3ds& file, const unsigned char* in, std::size_t count);
void StreamSeek3ds(File3ds& file, std::int64_t offset);
bool StreamFlush3ds(File3ds& file);
std::int64_t StreamSize3ds(File3ds& file);
