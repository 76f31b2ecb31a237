#include "commands.h"
#include "toolkit3ds.h"

// Every chunk is read once before OUT is opened, so a damaged IN leaves OUT
// (which may be IN itself) untouched.
int CopyFile(const char* in, const char* out) {
    Database3ds* database = ReadInput(in);
    if (!ErrorPending3ds()) {
        ReadEveryChunkData3ds(database->top);
    }
    File3ds* target = nullptr;
    if (!ErrorPending3ds()) {
        target = OpenFile3ds(out, "w");
    }
    if (!ErrorPending3ds()) {
        WriteDatabase3ds(target, database);
    }
    if (!ErrorPending3ds()) {
        CloseAllFiles3ds();
    }
    const int status = ErrorPending3ds() ? 1 : 0;
    ReleaseDatabase3ds(&database);
    return status;
}
