// The template check: one file per fault, each refused or warned with its
// line, key and reason, by the check, by vrdtool and by strip creation; the
// survey of a template folder with the reasons files are not offered.
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "base/FileLocations.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/StripCreation.h"
#include "document/TemplateCheck.h"
#include "TemplateSamples.h"
#include "support/FakePrompts.h"
#include "support/RunVrdtool.h"
#include "support/TestFiles.h"

namespace {

// The shipped Ｔｅ template: clean. Its first group header is at lines 3-8
// (1-based); key k of it starts at line 9 + 19 k.
QByteArray CleanBytes() { return ReadBytes(QStringLiteral(SOURCE_DIR "/data/Ｔｅ24ボタン.TPL")); }
constexpr int kKey0 = 8;  // 0-based index of key 0's first line
int Line(int key, int offset) { return kKey0 + 19 * key + offset; }  // 0-based

using Edit = std::function<QByteArray(Lines)>;
Edit Set(int index, const char* text) {
  return [=](Lines lines) {
    lines.replace(index, Sj(text));
    return JoinLines(lines);
  };
}

struct FaultCase {
  const char* file;
  Edit edit;
  bool error;
  int line;  // 1-based
  int key;
  const char* reason;  // part of the reason
};

QList<FaultCase> FaultCases() {
  return {
      {"count", Set(1, "three"), true, 2, -1, "グループ数が0以上の整数ではありません"},
      {"keycount", Set(7, "3keys"), true, 8, -1, "キー数が0以上の整数ではありません"},
      {"number", Set(Line(0, 0), "abc"), true, Line(0, 0) + 1, 0, "ミリメートルの数値ではありません"},
      {"short", [](Lines l) { return JoinLines(l.mid(0, 20)); }, true, 21, 0, "途中で終わっています（20行"},
      {"groups", Set(1, "101"), true, 2, -1, "グループが100個を超えています"},
      {"keys", Set(7, "101"), true, 8, -1, "キーが合わせて100個を超えています"},
      {"width", Set(Line(0, 2), "0"), true, Line(0, 2) + 1, 0, "キーの外枠の幅が0以下です"},
      {"height", Set(Line(0, 18), "-1"), true, Line(0, 18) + 1, 0, "文字領域の高さが0以下です"},
      {"group", Set(5, "0"), true, 6, -1, "グループの幅が0以下です"},
      {"title", Set(0, "どの主装置でもない"), true, 1, -1, "どのシリーズも指定していません"},
      {"fixedsize", Set(Line(0, 14), "-01,9保留"), true, Line(0, 14) + 1, 0, "文字が途中で切れます"},
      {"fixedshift", Set(Line(0, 14), "-01,9A保留"), false, Line(0, 14) + 1, 0, "文字がずれます"},
      {"utf8", [](Lines l) { return sjis::Decode(JoinLines(l)).toUtf8(); }, true, 1, -1, "UTF-8で保存されています"},
      {"sjis", [](Lines l) { l[0] += "\x85\x20"; return JoinLines(l); }, true, 1, -1, "Shift_JISではない文字"},
      {"outside", Set(Line(0, 0), "90"), false, Line(0, 0) + 1, 0, "キーの外枠がグループの外にはみ出しています"},
      {"sheet", Set(Line(0, 4), "300"), false, Line(0, 4) + 1, 0, "番号ラベルがＴｅシリーズ主装置の用紙（148 × 210 mm）"},
      {"textarea", Set(Line(0, 15), "20"), false, Line(0, 15) + 1, 0, "文字領域がキーの外枠からはみ出しています"},
      {"overlap", Set(Line(1, 1), "1.5"), false, Line(1, 0) + 1, 1, "1番目のキーと重なっています"},
      {"samenumber", Set(Line(1, 14), "001"), false, Line(1, 14) + 1, 1, "キー番号1が1番目のキーと同じです"},
  };
}

}  // namespace

TEST(TemplateCheck, EveryFaultIsNamedWithItsLineKeyAndReason) {
  QTemporaryDir dir;
  const QList<FaultCase> cases = FaultCases();
  const Lines clean = SplitLines(CleanBytes());
  ASSERT_TRUE(CheckTemplateBytes(CleanBytes(), Sj("Ｔｅ24ボタン")).isEmpty());
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.file);
    const QByteArray bytes = c.edit(clean);
    const QString path = dir.filePath(QString::fromLatin1(c.file) + QStringLiteral(".TPL"));
    WriteBytes(path, bytes);

    const QList<TemplateFault> faults = CheckTemplateBytes(bytes, c.file);
    EXPECT_TRUE(std::any_of(faults.begin(), faults.end(), [&](const TemplateFault& f) {
      return f.line == c.line && f.key == c.key && f.IsError() == c.error && f.reason.contains(QString::fromUtf8(c.reason));
    })) << faults.value(0).Text().toStdString();
    EXPECT_EQ(TemplateCheckLevel(faults), c.error ? 2 : 1);

    const VrdtoolRun run = RunVrdtool({"template", "check", path});
    EXPECT_EQ(run.exitCode, c.error ? 2 : 1);
    EXPECT_TRUE(run.Out().contains(QStringLiteral("%1.TPL:%2: ").arg(c.file).arg(c.line))) << run.Out().toStdString();

    // Strip creation refuses a template with errors, naming the first, and
    // changes nothing; warnings do not stop it.
    FakePrompts prompts;
    StripDocument doc;
    StripEntry entry;
    entry.seriesName = Sj("Ｔｅシリーズ主装置");
    entry.stripType = c.file;
    entry.extension = "200";
    const bool made = NewStripFromTemplate(doc, entry, {dir.path()}).has_value();
    EXPECT_EQ(made, !c.error);
    if (c.error) {
      EXPECT_TRUE(doc.isEmpty());
      ASSERT_EQ(prompts.messages.size(), 1);
      EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("%1.TPL").arg(c.file)));
    }
  }
}

TEST(TemplateCheck, ShippedTemplatesHaveNoFault) {
  for (const QString& name : FileLocations::ShippedTemplateNames()) {
    const QByteArray bytes = ReadBytes(QStringLiteral(SOURCE_DIR "/data/") + name);
    const QList<TemplateFault> faults = CheckTemplateBytes(bytes, sjis::Encode(name.section('.', 0, 0)));
    EXPECT_TRUE(!bytes.isEmpty() && faults.isEmpty()) << name.toStdString() << faults.value(0).Text().toStdString();
  }
  EXPECT_EQ(QDir(QStringLiteral(SOURCE_DIR "/data")).entryList({"*.TPL"}, QDir::Files).size(),
            FileLocations::ShippedTemplateNames().size());
}

TEST(TemplateCheck, SurveyListsFilesThatAreNotOfferedWithTheReason) {
  QTemporaryDir user, shipped;
  WriteTemplate(user.filePath("a.TPL"), TeTemplate());
  WriteTemplate(user.filePath("x.y.TPL"), TeTemplate());
  WriteTemplate(user.filePath("none.TPL"), {Sj("どれでもない"), "0"});
  WriteBytes(user.filePath("utf.TPL"), sjis::Decode(JoinLines(TeTemplate())).toUtf8());
  WriteTemplate(shipped.filePath("A.tpl"), TeTemplate());
  WriteTemplate(shipped.filePath("b.TPL"), TeTemplate());
  const QList<TemplateFileInfo> files = SurveyTemplateFolders({user.path(), shipped.path()});
  ASSERT_EQ(files.size(), 6);
  auto find = [&](const QString& name) {
    auto it = std::find_if(files.begin(), files.end(), [&](const TemplateFileInfo& f) { return f.fileName == name; });
    return it == files.end() ? TemplateFileInfo{} : *it;
  };
  EXPECT_TRUE(find("a.TPL").offered && find("b.TPL").offered);
  EXPECT_EQ(find("a.TPL").keys, 5);
  EXPECT_EQ(find("a.TPL").series, QList<int>{2});
  EXPECT_EQ(find("b.TPL").folderIndex, 1);
  EXPECT_TRUE(find("A.tpl").notOfferedReason.contains(QStringLiteral("先に検索されるフォルダー")));
  EXPECT_TRUE(find("x.y.TPL").notOfferedReason.contains(QStringLiteral("「.」が2つ以上")));
  EXPECT_TRUE(find("none.TPL").notOfferedReason.contains(QStringLiteral("どのシリーズも")));
  // Its title names no series in Shift_JIS: not offered, and an error.
  EXPECT_FALSE(find("utf.TPL").offered);
  EXPECT_TRUE(HasTemplateErrors(find("utf.TPL").faults));
}
