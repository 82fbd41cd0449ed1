// Every kept input (regressions, fixtures, seeds) replayed through every
// fuzz target: a target aborts on a broken property, a sanitizer build
// reports memory errors, and an input that hangs stops the test.
#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

#include "FuzzTargets.h"
#include "support/TestFiles.h"

namespace {

QStringList KeptInputs() {
  QStringList files;
  for (const QString& folder : {QStringLiteral(TEST_DATA_DIR), QStringLiteral(SOURCE_DIR "/fuzz/seeds"),
                                QStringLiteral(SOURCE_DIR "/samples"), QStringLiteral(SOURCE_DIR "/data")}) {
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files.append(it.next());
  }
  files.sort();
  return files;
}

}  // namespace

TEST(FuzzReplay, EveryKeptInputPassesEveryTarget) {
  const QStringList inputs = KeptInputs();
  ASSERT_GT(inputs.size(), 20);
  for (const QString& path : inputs) {
    const QByteArray bytes = ReadBytes(path);
    for (const FuzzTarget& target : FuzzTargets()) {
      SCOPED_TRACE(target.name);
      SCOPED_TRACE(path.toStdString());
      EXPECT_EQ(target.run(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())), 0);
    }
  }
}

TEST(FuzzReplay, TheHostileInputsAreKept) {
  // The inputs of the hostile-file fixes: each must stay in the replay.
  for (const char* name : {"strip_count_overflow.VRD", "strip_count_huge.VRD", "separators_reversed.VRD",
                           "key_sum_overflow.VRD", "separator_in_text.VRD", "count_top_of_int.VRD",
                           "long_key.VRD", "long_key.txt", "extreme.ini", "decimal_past_limit.txt"}) {
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(TEST_DATA_DIR "/hostile/") + name)) << name;
  }
  EXPECT_EQ(ReadBytes(QStringLiteral(TEST_DATA_DIR "/hostile/strip_count_overflow.VRD")).size(), 45);
}

TEST(FuzzReplay, EveryTargetHasItsFuzzerProgram) {
  // fuzz/CMakeLists.txt names the programs that scripts/fuzz and CI run.
  const QByteArray cmake = ReadBytes(QStringLiteral(SOURCE_DIR "/fuzz/CMakeLists.txt"));
  const qsizetype from = cmake.indexOf("set(LABELKOBO_FUZZ_TARGETS");
  ASSERT_GE(from, 0);
  const QList<QByteArray> listed =
      cmake.mid(from, cmake.indexOf(')', from) - from).simplified().split(' ').mid(1);
  QList<QByteArray> registered;
  for (const FuzzTarget& target : FuzzTargets()) registered.append(target.name);
  EXPECT_EQ(listed, registered);
}
