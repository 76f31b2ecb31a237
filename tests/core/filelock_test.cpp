// The operating-system layer's advisory whole-file lock (flock, LockFileEx):
// locks of two opens of one file meet, and neither blocks reading or writing.
#include <gtest/gtest.h>

#include "framework/file.h"
#include "tests/support/testfiles.h"

namespace {

TEST(FileLock, AnExclusiveLockKeepsOutEveryOtherLockButNotReadsOrWrites) {
    TempDir dir;
    WriteFileBytes(dir / "a.bfp", {1, 2, 3, 4});
    fw::File first(dir / "a.bfp", fw::File::Mode::read);
    fw::File second(dir / "a.bfp", fw::File::Mode::read);
    ASSERT_TRUE(first.Lock(fw::os::LockKind::exclusive, false));
    EXPECT_FALSE(second.Lock(fw::os::LockKind::exclusive, false));
    EXPECT_FALSE(second.Lock(fw::os::LockKind::shared, false));
    // Advisory: the bytes stay readable and writable by anyone.
    uint8_t bytes[4] = {};
    EXPECT_EQ(second.Read(bytes, 4), 4u);
    EXPECT_EQ(bytes[3], 4);
    fw::File writer(dir / "a.bfp", fw::File::Mode::readWrite);
    writer.Write("x", 1);
    writer.Close();

    first.Unlock();
    EXPECT_TRUE(second.Lock(fw::os::LockKind::shared, false));
    EXPECT_TRUE(first.Lock(fw::os::LockKind::shared, false));
    EXPECT_FALSE(fw::File(dir / "a.bfp", fw::File::Mode::read).Lock(fw::os::LockKind::exclusive, false));
    // Closing ends a lock.
    first.Close();
    second.Close();
    fw::File third(dir / "a.bfp", fw::File::Mode::read);
    EXPECT_TRUE(third.Lock(fw::os::LockKind::exclusive, false));
}

}  // namespace
