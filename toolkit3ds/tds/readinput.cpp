#include "toolkit3ds/tds/commands.h"
#include "toolkit3ds/toolkit3ds.h"

Database3ds* ReadInput(const char* path) {
    File3ds* file = OpenFile3ds(path, "r");
    Database3ds* database = nullptr;
    if (!ErrorPending3ds()) {
        NewDatabase3ds(&database);
    }
    if (!ErrorPending3ds()) {
        ReadDatabase3ds(file, database);
    }
    return database;
}
