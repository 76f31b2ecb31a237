// Zero-terminated 8-bit strings in files and the toolkit's heap copies of
// them. Heap strings come from malloc and are released with free.
#pragma once

#include <cstdint>

// A heap copy, or null when the text is null or memory runs out.
char* DuplicateString3ds(const char* text);
// Length of an argument string that must end within `bound`; pushes
// ERR_INVALID_ARG (null) or ERR_STRING_TOO_LONG and gives 0 otherwise.
int BoundedStringLength3ds(const char* text, int bound);

// Reads up to `maximum` bytes, the zero included; no zero among them is
// ERR_READING_FILE.
void ReadString3ds(char* buffer, std::uint32_t maximum);
// A heap string of at most `maximum` characters, owned by the caller.
void ReadStringAlloc3ds(char** out, std::uint32_t maximum);
// A heap string read up to its zero, which must come within `limit` bytes
// (else ERR_READING_FILE); only as much memory as the text takes.
void ReadTextWithin3ds(char** out, std::int64_t limit);
// Like ReadString3ds, then consumes the rest of the field.
void ReadFixedString3ds(char* buffer, std::uint32_t fieldLength);
// A fixed field of maximum + 1 bytes into a heap string.
void ReadFixedStringAlloc3ds(char** out, std::uint32_t maximum);

// The characters and one zero byte; a null text writes the empty string.
void WriteString3ds(const char* text);
// The characters, then zeros up to the field length; a longer text is
// written whole.
void WriteFixedString3ds(const char* text, std::uint32_t fieldLength);
