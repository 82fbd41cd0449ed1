// The user's templates: names, saving, importing and deleting in both
// layouts, with the shipped files left as they were (checked as files).
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "document/DocumentBuilder.h"
#include "document/StripDocument.h"
#include "document/Template.h"
#include "document/TemplateStore.h"
#include "TemplateSamples.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"

namespace {

const char kShipped[] = "Ｔｅ24ボタン.TPL";

// An installed tree (PREFIX/bin, PREFIX/share/labelkobo/templates holding a
// shipped template) and the user's data home; or the program folder layout.
struct StoreTest : ::testing::Test {
  QTemporaryDir root;
  FakePrompts prompts;
  QByteArray shippedBytes = ReadBytes(QStringLiteral(SOURCE_DIR "/data/") + kShipped);
  const QString type = QString::fromUtf8(kShipped).section('.', 0, 0);

  QString Installed() const { return root.filePath("prefix/share/labelkobo/templates"); }
  QString ProgramFolder() const { return root.filePath("program"); }
  TemplateStore InstalledStore() {
    QDir().mkpath(root.filePath("prefix/bin"));
    QDir().mkpath(Installed());
    WriteBytes(QDir(Installed()).filePath(kShipped), shippedBytes);
    return TemplateStore(FileLocations::ForExecutable(root.filePath("prefix/bin"), root.filePath("config"),
                                                      root.filePath("data")));
  }
  TemplateStore ProgramStore() {
    QDir().mkpath(ProgramFolder());
    WriteBytes(QDir(ProgramFolder()).filePath(kShipped), shippedBytes);
    return TemplateStore(FileLocations(ProgramFolder()));
  }
  QString Source(const char* name, const Lines& lines) {
    const QString path = root.filePath(QString::fromUtf8(name));
    QDir().mkpath(QFileInfo(path).path());
    WriteTemplate(path, lines);
    return path;
  }
};

}  // namespace

TEST(TemplateStoreNames, RefuseWhatCannotBeAFileNameOrAType) {
  for (const char* bad : {"", "  ", "a.b", "a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a|b", " a", "a\tb"}) {
    EXPECT_FALSE(TemplateStore::NameProblem(QString::fromUtf8(bad)).isEmpty()) << bad;
  }
  EXPECT_FALSE(TemplateStore::NameProblem(QStringLiteral("電話\u2603")).isEmpty());  // no Shift_JIS form
  EXPECT_TRUE(TemplateStore::NameProblem(QStringLiteral("site-A 12 標準Ｋａ特注")).isEmpty());
}

TEST_F(StoreTest, InstalledUsersTemplateHidesTheShippedOneUntilDeleted) {
  const TemplateStore store = InstalledStore();
  const QString shippedPath = QDir(Installed()).filePath(kShipped);
  EXPECT_EQ(FindTemplateFile(store.Locations().TemplateFolders(), type), shippedPath);

  // Saved under the shipped name: the user's copy, the shipped file untouched.
  EXPECT_FALSE(store.IsShippedName(type));
  ASSERT_TRUE(store.Save(type, JoinLines(TeTemplate())));
  const QString userPath = store.UserPath(type);
  EXPECT_TRUE(userPath.startsWith(root.filePath("data/labelkobo/templates")));
  EXPECT_EQ(FindTemplateFile(store.Locations().TemplateFolders(), type), userPath);
  EXPECT_EQ(ReadBytes(shippedPath), shippedBytes);

  // The shipped file cannot be deleted; the user's can, after a question naming it.
  EXPECT_FALSE(store.Remove(shippedPath));
  prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
  EXPECT_FALSE(store.Remove(userPath));
  EXPECT_TRUE(QFileInfo::exists(userPath));
  EXPECT_TRUE(store.Remove(userPath));
  EXPECT_TRUE(prompts.messages.last().text.contains(QDir::toNativeSeparators(userPath)));
  EXPECT_EQ(FindTemplateFile(store.Locations().TemplateFolders(), type), shippedPath);
  EXPECT_EQ(ReadBytes(shippedPath), shippedBytes);  // still there, as it was
}

TEST_F(StoreTest, ProgramFolderRefusesToWriteOverAShippedFile) {
  const TemplateStore store = ProgramStore();
  EXPECT_TRUE(store.IsShippedName(type));
  EXPECT_TRUE(store.IsShippedName(type.toLower()));
  EXPECT_FALSE(store.Save(type, JoinLines(TeTemplate())));
  EXPECT_FALSE(store.Import(Source(kShipped, TeTemplate())));
  EXPECT_FALSE(store.Remove(QDir(ProgramFolder()).filePath(kShipped)));
  EXPECT_EQ(ReadBytes(QDir(ProgramFolder()).filePath(kShipped)), shippedBytes);
  // Another name is the user's own.
  ASSERT_TRUE(store.Save(QStringLiteral("自作"), JoinLines(TeTemplate())));
  EXPECT_TRUE(store.HasUserTemplate(QStringLiteral("自作")));
}

TEST_F(StoreTest, ImportChecksFirstAndAsksBeforeReplacingTheUsersOwn) {
  const TemplateStore store = InstalledStore();
  Lines bad = TeTemplate();
  bad[1] = "x";
  EXPECT_FALSE(store.Import(Source("bad.TPL", bad)));
  EXPECT_FALSE(QFileInfo::exists(store.UserPath("bad")));
  EXPECT_TRUE(prompts.messages.last().text.contains(QStringLiteral("2行目")));

  // TeTemplate only has warnings (its keys share one place): asked, then copied byte for byte.
  prompts.answers = {PromptAnswer::Yes};
  const QString good = Source("good.TPL", TeTemplate());
  ASSERT_TRUE(store.Import(good));
  EXPECT_EQ(ReadBytes(store.UserPath("good")), ReadBytes(good));

  // A clash asks; No keeps the user's file as it was.
  Lines changed = TeTemplate();
  changed[0] += "x";
  const QString again = Source("again/good.TPL", changed);
  prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
  EXPECT_FALSE(store.Import(again));
  EXPECT_EQ(ReadBytes(store.UserPath("good")), ReadBytes(good));
  prompts.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
  EXPECT_TRUE(store.Import(again));
  EXPECT_EQ(ReadBytes(store.UserPath("good")), ReadBytes(again));
  EXPECT_EQ(ReadBytes(QDir(Installed()).filePath(kShipped)), shippedBytes);

  // Export writes a copy anywhere.
  EXPECT_TRUE(TemplateStore::Export(store.UserPath("good"), root.filePath("copy.TPL")));
  EXPECT_EQ(ReadBytes(root.filePath("copy.TPL")), ReadBytes(again));
}

TEST_F(StoreTest, DocumentTypesWithoutATemplateAreListedOnce) {
  const TemplateStore store = ProgramStore();
  StripDocument doc;
  const auto strip = [](int n) { return StripBlock(n, {Group({KeyBlock("001")})}); };
  doc.SetLines(Document({strip(1), strip(2), strip(3)}));
  const QList<UnservedStripType> unserved = StripTypesWithoutTemplate(doc, store.Locations().TemplateFolders());
  ASSERT_EQ(unserved.size(), 1);
  EXPECT_EQ(unserved[0].firstStrip, 1);
  EXPECT_EQ(unserved[0].strips, 3);
}
