// What a save finds when it looks at the file it read or wrote before.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <functional>

#include "base/FileStamp.h"
#include "support/TestFiles.h"

namespace {

void SetModified(const QString& path, qint64 seconds, long nanoseconds) {
  const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

}  // namespace

TEST(FileStampTest, ChangesAreFoundAndTouchesAreNotWholeSecondTimesIncluded) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("site.VRD"));
  const QByteArray mine = "file-version:01.01.00.00\r\n1\r\n";
  struct Case {
    const char* what;
    std::function<void()> meanwhile;
    DiskChange expected;
  };
  const Case cases[] = {
      {"nothing", [] {}, DiskChange::kNone},
      {"times touched", [&] { SetModified(path, 1700000000, 123); }, DiskChange::kNone},
      {"the same bytes written again", [&] { WriteBytes(path, mine); }, DiskChange::kNone},
      {"rewritten, same size, old time put back",
       [&] {
         struct stat before {};
         ::stat(QFile::encodeName(path).constData(), &before);
         QByteArray other = mine;
         other[other.size() - 3] = '2';
         WriteBytes(path, other);
         SetModified(path, before.st_mtim.tv_sec, before.st_mtim.tv_nsec);
       },
       DiskChange::kChanged},
      {"grown", [&] { WriteBytes(path, mine + "x\r\n"); }, DiskChange::kChanged},
      {"deleted", [&] { QFile::remove(path); }, DiskChange::kDeleted},
  };
  for (const Case& c : cases) {
    WriteBytes(path, mine);
    const FileStamp remembered = FileStamp::Of(path, mine);
    c.meanwhile();
    FileStamp now;
    EXPECT_EQ(CheckFile(path, remembered, &now), c.expected) << c.what;
    // Whatever was found is what the next look compares with.
    if (c.expected != DiskChange::kDeleted) {
      FileStamp again;
      EXPECT_EQ(CheckFile(path, now, &again), DiskChange::kNone) << c.what;
      EXPECT_EQ(again, now) << c.what;
    }
  }

  // Whole-second times: the bytes are checked too.
  WriteBytes(path, "AAAA");
  SetModified(path, 1700000000, 0);
  const FileStamp remembered = FileStamp::Of(path, "AAAA");
  FileStamp now;
  EXPECT_EQ(CheckFile(path, remembered, &now), DiskChange::kNone);
  // A file system of whole seconds that kept the status as it was: only
  // the bytes tell.
  FileStamp lying = remembered;
  lying.hash = HashOfBytes("BBBB");
  EXPECT_EQ(CheckFile(path, lying, &now), DiskChange::kChanged);
}
