#include "toolkit3ds/recordnames3ds.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

size_t BoundedLength(const char* text, size_t max) { return size_t(std::find(text, text + max, '\0') - text); }

}  // namespace

void CopyBoundedName3ds(char* field, const char* text, size_t max) {
    size_t length = BoundedLength(text, max);
    std::memcpy(field, text, length);
    field[length] = '\0';
}

void SetNameField3ds(char* field, const char* text, size_t max) {
    if (field == nullptr || text == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    CopyBoundedName3ds(field, text, max);
}

char* DuplicateBoundedName3ds(const char* field, size_t max) {
    std::string name(field, BoundedLength(field, max));
    char* copy = DuplicateString3ds(name.c_str());
    if (copy == nullptr) PushError3ds(ERR_NO_MEM);
    return copy;
}
