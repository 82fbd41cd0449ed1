// CSV files as spreadsheets write them, and the strips to and from them:
// random sites through the round trip in both encodings and random edits
// that change exactly their lines, bad rows as one table, an installer's
// list of new strips.
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DocumentBuilder.h"
#include "TemplateSamples.h"
#include "base/ShiftJis.h"
#include "document/KeyBlockText.h"
#include "document/StripCheck.h"
#include "document/StripCsv.h"
#include "document/StripDocument.h"
#include "document/StripRow.h"
#include "support/TestFiles.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

StripDocument DocumentOf(const Lines& lines) {
  StripDocument document;
  document.SetLines(lines);
  return document;
}

// Every key's text lines, strip by strip.
QList<QList<Lines>> KeyTexts(const StripDocument& document) {
  QList<QList<Lines>> strips;
  for (const StripDocument::Separator& s : document.StripSeparators()) {
    QList<Lines> keys;
    for (qsizetype keyLine : KeyBlockLines(document.lines(), s.line + 1)) keys.append(KeyTextLinesOf(document.lines(), keyLine));
    strips.append(keys);
  }
  return strips;
}

// Pieces of key texts that a CSV must carry whole: trail bytes 0x5C,
// half-width katakana, quotes, commas, spaces at the ends.
const char* const kPieces[] = {"表", "ソ", "能", "ｱｲｳ", "\"", ",", " 先", "末 ", "外線", "FAX", "ﾃﾞｰﾀ"};

Lines RandomText(QRandomGenerator& random, int maxLines) {
  Lines lines;
  const int count = random.bounded(maxLines + 1);
  for (int i = 0; i < count; ++i) {
    QByteArray line;
    for (int p = random.bounded(1, 5); p > 0; --p) {
      const QByteArray piece = Sj(kPieces[random.bounded(static_cast<int>(std::size(kPieces)))]);
      if (line.size() + piece.size() <= 20) line += piece;
    }
    lines.append(line);
  }
  return lines;
}

Lines RandomSite(QRandomGenerator& random) {
  QList<Lines> strips;
  const int count = random.bounded(1, 8);
  for (int n = 1; n <= count; ++n) {
    QList<Lines> groups;
    for (int g = random.bounded(1, 3); g > 0; --g) {
      QList<Lines> keys;
      for (int k = random.bounded(1, 6); k > 0; --k) {
        Lines key = KeyBlock(random.bounded(5) == 0 ? "-01" : "1", RandomText(random, 3));
        if (random.bounded(8) == 0) key.replace(30, ".bmp");
        keys.append(key);
      }
      groups.append(Group(keys));
    }
    strips.append(StripBlock(n, groups, QByteArray::number(200 + n)));
  }
  return Document(strips);
}

QByteArray CsvOf(const QList<QStringList>& rows) {
  QList<QList<QByteArray>> encoded;
  for (const QStringList& row : rows) {
    QList<QByteArray> cells;
    for (const QString& cell : row) cells.append(sjis::Encode(cell));
    encoded.append(cells);
  }
  return WriteCsv(encoded, CsvEncoding::kUtf8);
}

}  // namespace

TEST(CsvFile, ReadsWhatSpreadsheetsWrite) {
  struct Case {
    const char* name;
    QByteArray bytes;
    CsvEncoding encoding;
    QList<QStringList> rows;
    int errorRow = 0, errorColumn = 0;
  };
  const Case cases[] = {
      {"quoted comma, quote and line break; CR LF", "a,\"b,c\",\"d\"\"e\"\r\n\"f\r\ng\",h\r\n", CsvEncoding::kShiftJis,
       {{"a", "b,c", "d\"e"}, {"f\r\ng", "h"}}},
      {"LF, spaces kept, no final line end", "a , b\n c", CsvEncoding::kShiftJis, {{"a ", " b"}, {" c"}}},
      {"trailing empty cells dropped", "a,b,c\nd\n", CsvEncoding::kShiftJis, {{"a", "b", "c"}, {"d"}}},
      {"a BOM", "\xEF\xBB\xBF" + U("内線,表").toUtf8() + "\n", CsvEncoding::kUtf8, {{U("内線"), U("表")}}},
      {"UTF-8 without a BOM", U("ソ,能\r\n").toUtf8(), CsvEncoding::kUtf8, {{U("ソ"), U("能")}}},
      {"CP932 with trail bytes 0x5C and half-width katakana", Sj("表,\"ソ,能\",ｱｲｳ\r\n"), CsvEncoding::kShiftJis,
       {{U("表"), U("ソ,能"), U("ｱｲｳ")}}},
      {"a quoted field cut short", "a,b\r\nc,\"de", CsvEncoding::kShiftJis, {{"a", "b"}}, 2, 2},
      {"a quote inside a plain field", "x\r\na\"b,c", CsvEncoding::kShiftJis, {{"x"}}, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvTable table = ReadCsv(c.bytes);
    EXPECT_EQ(table.encoding, c.encoding);
    EXPECT_EQ(table.rows, c.rows);
    EXPECT_EQ(table.error.has_value(), c.errorRow > 0);
    if (table.error) {
      EXPECT_EQ(table.error->row, c.errorRow);
      EXPECT_EQ(table.error->column, c.errorColumn);
    }
  }
  const QList<QByteArray> fields{"a", "b,c", "d\"e", "f\ng", " h", ""};
  EXPECT_EQ(WriteCsv({fields}, CsvEncoding::kShiftJis), QByteArray("a,\"b,c\",\"d\"\"e\",\"f\ng\",\" h\",\r\n"));
  EXPECT_EQ(WriteCsv({{Sj("表")}}, CsvEncoding::kUtf8), "\xEF\xBB\xBF" + U("表\r\n").toUtf8());
}

TEST(StripCsv, RandomSitesSurviveTheRoundTripAndEditsChangeExactlyTheirLines) {
  const CsvImportContext context{QStringList(), "2026/01/01 09:00"};
  for (quint32 seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    const Lines original = RandomSite(random);
    StripDocument document = DocumentOf(original);
    for (CsvEncoding encoding : {CsvEncoding::kShiftJis, CsvEncoding::kUtf8}) {
      const CsvImportPlan plan = PlanCsvImport(document, ReadCsv(StripsAsCsv(document, encoding)), context);
      EXPECT_TRUE(plan.ok()) << plan.errors.value(0).Text().toStdString();
      EXPECT_TRUE(plan.changes.empty());
      EXPECT_EQ(plan.unchanged, document.StripCount());
    }

    // A spreadsheet's edit: departments and editable keys' texts, some a
    // line longer or shorter, written back in UTF-8 with LF line ends.
    QList<QStringList> rows = ReadCsv(StripsAsCsv(document, CsvEncoding::kShiftJis)).rows;
    QList<QList<Lines>> expected = KeyTexts(document);
    QStringList departments;
    for (qsizetype r = 1; r < rows.size(); ++r) {
      const qsizetype separator = document.FindStrip(static_cast<int>(r));
      if (random.bounded(2)) rows[r][1] = U("総務") + QString::number(r);
      departments.append(rows[r][1]);
      const std::vector<qsizetype> keyLines = KeyBlockLines(document.lines(), separator + 1);
      for (size_t k = 0; k < keyLines.size(); ++k) {
        const Lines& block = document.lines();
        const bool editable = block.at(keyLines[k] + 14) == "1" && block.at(keyLines[k] + 30).isEmpty();
        if (!editable || random.bounded(3) != 0) continue;
        Lines text = RandomText(random, 3);
        if (!text.isEmpty() && text.last().isEmpty()) text.removeLast();  // a final line end adds no line
        rows[r][6 + static_cast<qsizetype>(k)] = sjis::Decode(text.join('\n'));
        expected[r - 1][static_cast<qsizetype>(k)] = text;
      }
    }
    const CsvImportPlan plan = PlanCsvImport(document, ReadCsv(CsvOf(rows)), context);
    ASSERT_TRUE(plan.ok()) << plan.errors.value(0).Text().toStdString();
    ASSERT_TRUE(document.Apply(plan.changes));
    EXPECT_NO_THROW(CheckDocument(document.lines()));
    EXPECT_EQ(KeyTexts(document), expected);
    for (const StripRow& row : StripRowsOf(document)) EXPECT_EQ(sjis::Decode(row.department), departments[row.number - 1]);
    ASSERT_TRUE(document.Apply(Inverse(plan.changes)));
    EXPECT_EQ(document.lines(), original);
  }
}

TEST(StripCsv, BadRowsAreNamedAndChangeNothing) {
  QTemporaryDir folder;
  WriteTemplate(folder.filePath(U("Ｔｅ標準.TPL")), TeTemplate());
  Lines picture = KeyBlock("3");
  picture.replace(30, ".jpg");
  const StripDocument document = DocumentOf(Document({
      StripBlock(1, {Group({KeyBlock("1", {Sj("外線")}), KeyBlock("-01", {Sj("保留")}), picture})}, "0201"),
      StripBlock(2, {Group({KeyBlock("1")})}, "202"),
  }));
  const QByteArray header = U("内線番号,部署,使用者名,主装置のシリーズ,示名条のタイプ,キー1,キー2,キー3\n").toUtf8();
  struct Case {
    const char* rows;  // after the header row, UTF-8
    const char* error;
  };
  const Case cases[] = {
      {"202,,,,,あいうえおかきくけこa\n", "2行目 キー1: 「あいうえおかきくけこa」は21バイトです（1行20バイトまで）"},
      {"300,,,Ｔｅシリーズ主装置,Ｔｅ多機能\n", "2行目 示名条のタイプ: 「Ｔｅシリーズ主装置」の示名条のタイプに「Ｔｅ多機能」はありません"},
      {"300,,,Ｘｘシリーズ,Ｔｅ標準\n", "2行目 主装置のシリーズ: 「Ｘｘシリーズ」という主装置のシリーズはありません"},
      {"300\n", "2行目 主装置のシリーズ: 新しい内線番号の示名条を作るには主装置のシリーズが必要です"},
      {"202,経理\n 202 ,総務\n", "3行目 内線番号: 内線番号「202」は2行目にもあります"},
      {"201,総務\n", "2行目 内線番号: 内線番号「201」は先頭の0が落ちています（「0201」の示名条があります）。"
                     "表計算ソフトでこの列を文字列にしてください"},
      {"202,\"総務\n", "2行目 部署: 引用符（\"）で始まったセルが閉じられないままファイルが終わっています"},
      {"202,😀\n", "2行目 部署: Shift_JIS（CP932）にない文字があります"},
      {",総務\n", "2行目 内線番号: 内線番号がありません"},
      {"202,,,,,,内線\n", "2行目 キー2: この示名条のキーは1個です"},
      {"0201,,,,,,転送\n", "2行目 キー2: 文字を固定したキーは変えられません"},
      {"0201,,,,,,,代表\n", "2行目 キー3: 画像のキーには文字を入れられません"},
      {"0201,,,Ｔｅシリーズ主装置\n", "2行目 主装置のシリーズ: 既存の示名条では変えられません（この示名条は「Ｍｏシリーズ主装置」）"},
  };
  const CsvImportContext context{{folder.path()}, "2026/01/01 09:00"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    const CsvImportPlan plan = PlanCsvImport(document, ReadCsv(header + c.rows), context);
    ASSERT_FALSE(plan.ok());
    EXPECT_EQ(plan.errors.first().Text(), U(c.error));
    EXPECT_TRUE(plan.changes.empty());
  }
  // A file that is no CSV of strips at all: a byte 00 says it is no text.
  QByteArray binary;
  for (int i = 0; i < 512; ++i) binary.append(static_cast<char>((i * 37) % 256));
  const CsvImportPlan plan = PlanCsvImport(document, ReadCsv(binary), context);
  ASSERT_FALSE(plan.ok());
  EXPECT_TRUE(plan.errors.first().Text().startsWith(U("このファイルは文字だけのファイルではなく、CSVとして読めません。")));
}

TEST(StripCsv, AnInstallersListCreatesItsStripsFromTheTemplates) {
  QTemporaryDir folder;
  WriteTemplate(folder.filePath(U("Ｔｅ標準.TPL")), TeTemplate());
  // Columns in another order than the export's, a key column left out.
  QList<QStringList> rows{{U("キー2"), U("示名条のタイプ"), U("内線番号"), U("主装置のシリーズ"), U("使用者名"), U("キー4")}};
  for (int i = 0; i < 200; ++i) {
    rows.append({U(i % 3 ? "外線%1" : "外線%1\n夜間").arg(i), U("Ｔｅ標準"), QString::number(3000 + i), U("Ｔｅシリーズ主装置"), U("使用者%1").arg(i),
                 i % 2 ? U("内線") : QString()});
  }
  for (const Lines& start : {Lines(), SimpleDocument(2)}) {
    StripDocument document = DocumentOf(start);
    const CsvImportPlan plan = PlanCsvImport(document, ReadCsv(CsvOf(rows)), {{folder.path()}, "2026/01/01 09:00"});
    ASSERT_TRUE(plan.ok()) << plan.errors.value(0).Text().toStdString();
    EXPECT_EQ(plan.created, 200);
    ASSERT_TRUE(document.Apply(plan.changes));
    const int before = start.isEmpty() ? 0 : 2;
    EXPECT_EQ(CheckDocument(document.lines()).strips, before + 200);
    const QList<StripRow> strips = StripRowsOf(document);
    EXPECT_EQ(strips.last().extension, "3199");
    EXPECT_EQ(strips.last().userName, Sj("使用者199"));
    EXPECT_EQ(strips.last().registered, "2026/01/01 09:00");
    EXPECT_EQ(plan.FirstChangedStrip(), before + 1);
    const QList<Lines> keys = KeyTexts(document).last();
    EXPECT_EQ(keys[1], Lines{Sj("外線199")});
    EXPECT_EQ(KeyTexts(document)[before + 198][1], (Lines{Sj("外線198"), Sj("夜間")}));
    EXPECT_EQ(keys[3], Lines{Sj("内線")});  // the fixed key keeps its text
  }
  // A progress that stops the loop after 50 rows: nothing to make.
  struct StopAt50 : Progress {
    int reports = 0;
    bool Report(int done, int total) override {
      ++reports;
      EXPECT_EQ(total, 200);
      return done < 50;
    }
  } stop;
  const CsvImportPlan stopped = PlanCsvImport(StripDocument(), ReadCsv(CsvOf(rows)), {{folder.path()}, ""}, stop);
  EXPECT_EQ(stop.reports, 51);
  EXPECT_EQ(stopped.rows.size(), 50);
  EXPECT_EQ(stopped.errors.last().Text(), U("取り込みを中止しました"));
  EXPECT_TRUE(stopped.changes.empty());
}
