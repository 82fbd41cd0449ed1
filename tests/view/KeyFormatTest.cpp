// The format lines of a key block as the formatting commands write them,
// what the tool bar and the font dialog read of them, and the font list.
#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "document/StripLayout.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/KeyFormat.h"

using namespace layout;

namespace {

// One strip of two keys; the second key is written, so the first key and a
// whole strip after it show that nothing else moves.
struct KeyFormatTest : ::testing::Test {
  QList<TestStrip> strips;
  StripDocument document;

  void SetUp() override {
    TestStrip strip;
    TestGroup group;
    group.keys = {TestKey::Editable(1, {"A"}), TestKey::Editable(2, {"B"})};
    strip.groups = {group};
    strips = {strip, strip};
    Load();
  }
  void Load() {
    document.SetLines(DocumentLines(strips));
    document.MarkSaved();
  }
  TestKey& Key() { return strips[0].groups[0].keys[1]; }
  qsizetype KeyLine() const { return KeyBlockLine(document.lines(), kFirstStripStart, 1); }
  void ExpectDocument() { EXPECT_EQ(document.lines(), DocumentLines(strips)); }
};

}  // namespace

TEST_F(KeyFormatTest, EachWriteChangesOnlyItsLine) {
  struct Case {
    const char* what;
    std::function<void(StripDocument&, qsizetype)> write;
    std::function<void(TestKey&)> expect;
  };
  const Case cases[] = {
      {"font", [](StripDocument& d, qsizetype k) { SetKeyFontName(d, k, QStringLiteral("ＭＳ Ｐゴシック")); },
       [](TestKey& key) { key.font = Sj("ＭＳ Ｐゴシック"); }},
      {"size", [](StripDocument& d, qsizetype k) { SetKeyFontSize(d, k, 14); }, [](TestKey& key) { key.size = "14"; }},
      {"font colour", [](StripDocument& d, qsizetype k) { SetKeyFontColor(d, k, 255); },
       [](TestKey& key) { key.colors = "255,16777215"; }},
      {"back colour", [](StripDocument& d, qsizetype k) { SetKeyBackColor(d, k, 65280); },
       [](TestKey& key) { key.colors = "0,65280"; }},
      {"bold", [](StripDocument& d, qsizetype k) { SetKeyBold(d, k, true); }, [](TestKey& key) { key.bold = "1"; }},
      {"italic", [](StripDocument& d, qsizetype k) { SetKeyItalic(d, k, true); }, [](TestKey& key) { key.italic = "1"; }},
      {"alignment", [](StripDocument& d, qsizetype k) { SetKeyAlign(d, k, 3); }, [](TestKey& key) { key.align = "3"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    c.write(document, KeyLine());
    c.expect(Key());
    ExpectDocument();
    EXPECT_TRUE(document.IsChanged());
  }
}

TEST_F(KeyFormatTest, ColourPairsKeepTheOtherColour) {
  Key().colors = "255";  // no background: white
  Load();
  SetKeyBackColor(document, KeyLine(), 65280);
  EXPECT_EQ(document.at(KeyLine() + kColorPair), QByteArray("255,65280"));
  SetKeyFontColor(document, KeyLine(), 16711680);
  EXPECT_EQ(document.at(KeyLine() + kColorPair), QByteArray("16711680,65280"));
}

TEST_F(KeyFormatTest, WritingTheSameValueLeavesTheDocumentUnchanged) {
  SetKeyBold(document, KeyLine(), false);
  SetKeyAlign(document, KeyLine(), 2);
  SetKeyFontSize(document, KeyLine(), 9);
  EXPECT_FALSE(document.IsChanged());
}

TEST_F(KeyFormatTest, FontChoiceWritesFiveLinesAndKeepsTheBackground) {
  Key().colors = "0,65280";
  Load();
  ApplyKeyFontChoice(document, KeyLine(), {QStringLiteral("IPAGothic"), 12, 255, true, true});
  Key().font = "IPAGothic";
  Key().size = "12";
  Key().colors = "255,65280";
  Key().bold = "1";
  Key().italic = "1";
  ExpectDocument();
}

TEST_F(KeyFormatTest, ReadingTheToolbarAndDialogFormat) {
  Key().font = Sj("ＭＳ ゴシック");
  Key().size = "";
  Key().colors = "255,65280";
  Key().bold = "2";
  Key().italic = "x";
  Key().align = "7";
  Load();
  const KeyToolbarFormat shown = ReadKeyToolbarFormat(document.lines(), KeyLine());
  EXPECT_EQ(shown.fontName, QStringLiteral("ＭＳ ゴシック"));
  EXPECT_EQ(shown.sizeText, QString());
  EXPECT_TRUE(shown.bold);     // any non-zero number
  EXPECT_FALSE(shown.italic);  // no number
  EXPECT_EQ(shown.alignment, 0);
  const KeyFontChoice preset = ReadKeyFontChoice(document.lines(), KeyLine());
  EXPECT_EQ(preset.pointSize, 10);  // the empty size
  EXPECT_EQ(preset.color, 255);
  EXPECT_TRUE(preset.bold);
  for (const char* size : {"abc", "0", "-3"}) {
    Key().size = size;
    Load();
    EXPECT_EQ(ReadKeyFontChoice(document.lines(), KeyLine()).pointSize, 10) << size;
  }
}

TEST_F(KeyFormatTest, AShortBlockRaisesAndWritesNothing) {
  Lines cut = DocumentLines({strips[0]});
  const qsizetype keyLine = KeyBlockLine(cut, kFirstStripStart, 1);
  cut.resize(keyLine + kItalic);  // the last block ends before its italic line
  document.SetLines(cut);
  document.MarkSaved();
  EXPECT_THROW(ApplyKeyFontChoice(document, keyLine, {QStringLiteral("X"), 12, 255, true, true}), DocumentError);
  EXPECT_THROW(SetKeyAlign(document, keyLine, 1), DocumentError);
  EXPECT_THROW(ReadKeyToolbarFormat(document.lines(), keyLine), DocumentError);
  EXPECT_FALSE(document.IsChanged());
}

TEST(FontSizeOfTextTest, OnlyIntegersAboveZero) {
  EXPECT_EQ(FontSizeOfText(QStringLiteral("1")), 1);
  EXPECT_EQ(FontSizeOfText(QStringLiteral("14")), 14);
  for (const char* text : {"", "0", "-2", "a", "1a", "１４", "9.5"}) {
    EXPECT_EQ(FontSizeOfText(QString::fromUtf8(text)), std::nullopt) << text;
  }
}

TEST(FontListEntriesTest, PlainNamesOnceSubstitutesFirstAliasesLeftOut) {
  const QStringList families = {QStringLiteral("C059 [UKWN]"), QStringLiteral("Nimbus Sans [URW ]"),
                                QStringLiteral("Nimbus Sans [UKWN]"), QStringLiteral("Sans Serif"),
                                QStringLiteral("Serif"), QStringLiteral("Monospace"),
                                QStringLiteral("Fixed"), QStringLiteral("IPAGothic"),
                                QStringLiteral("ＭＳ 明朝")};
  const QStringList substitutes = {QStringLiteral("ＭＳ 明朝"), QStringLiteral("ＭＳ ゴシック")};
  const QStringList entries = FontListEntries(families, substitutes,
                                              [](const QString& family) { return family != "Fixed"; });
  EXPECT_EQ(entries, (QStringList{"ＭＳ 明朝t", "ＭＳ ゴシックt", "C059t", "Nimbus Sanst", "Fixedu", "IPAGothict"}));
  EXPECT_EQ(FontListName(entries[2]), QStringLiteral("C059"));
  EXPECT_EQ(PlainFamilyName(QStringLiteral("Nimbus Sans [URW ]")), QStringLiteral("Nimbus Sans"));
  EXPECT_EQ(PlainFamilyName(QStringLiteral("[x]")), QStringLiteral("[x]"));
}
