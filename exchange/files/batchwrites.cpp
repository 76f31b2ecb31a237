#include "exchange/files/batchwrites.h"

#include "framework/file.h"
#include "toolkit3ds/file3ds.h"

namespace {

// Batches nest (Export All of the file runs each bank's); the outermost
// syncs.
int depth = 0;

}  // namespace

BatchOfWrites::BatchOfWrites(std::filesystem::path folder) : folder_(std::move(folder)) {
    if (depth++ == 0) SetSyncOnClose3ds(false);
}

BatchOfWrites::~BatchOfWrites() {
    if (--depth > 0) return;
    SetSyncOnClose3ds(true);
    fw::SyncFileSystemOf(folder_);
}

bool BatchOfWrites::UnderWay() { return depth > 0; }
