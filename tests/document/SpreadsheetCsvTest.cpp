// CSV files as a spreadsheet saves them after the user opened an export:
// cells it rewrote, numbers that lost or gained a leading zero, headers
// typed by hand, files of another kind, rows counted as the sheet counts
// them. Each case gives the messages and listed changes of its import.
#include <QRandomGenerator>
#include <QSet>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include "DocumentBuilder.h"
#include "document/SpreadsheetRewrites.h"
#include "document/StripCsv.h"
#include "document/StripDocument.h"
#include "document/StripRow.h"
#include "support/TestFiles.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Strip 1 "201" with key texts a spreadsheet likes to rewrite, strip 2
// "0201", strip 3 "305".
StripDocument Site() {
  QList<Lines> keys;
  for (const char* text : {"0120", "1/2", "9:30", "=内線", "1E3", "5%", "外線"}) keys.append(KeyBlock("1", {Sj(text)}));
  StripDocument document;
  document.SetLines(Document({StripBlock(1, {Group(keys)}, "201"), StripBlock(2, {Group({KeyBlock("1", {Sj("保留")})})}, "0201"),
                              StripBlock(3, {Group({KeyBlock("1", {Sj("外線")})})}, "305")}));
  return document;
}

// The plan as lines: every error, then every changed cell of every row,
// "⚠" after a warning.
QStringList PlanLines(const CsvImportPlan& plan) {
  QStringList lines;
  for (const CsvRowError& error : plan.errors) lines.append(error.Text());
  for (const CsvRowPlan& row : plan.rows) {
    for (const CsvCellChange& change : row.changes) {
      lines.append(QStringLiteral("%1行目 %2%3").arg(row.row).arg(change.Text(), change.warning.isEmpty() ? "" : " ⚠"));
    }
  }
  return lines;
}

QByteArray Encoded(const char* encoding, const QString& text) {
  QStringEncoder encoder(encoding);
  return encoder(text);
}

const char kHeader[] = "内線番号,部署,使用者名,主装置のシリーズ,示名条のタイプ,登録日時,キー1,キー2,キー3,キー4,キー5,キー6,キー7\r\n";
QByteArray WithHeader(const char* rows) { return Sj(kHeader) + Sj(rows); }

const char kSaveAsCsv[] = "表計算ソフトでこのファイルを開き、「名前を付けて保存」でファイルの種類を「CSV（コンマ区切り）」、";
const char kSaveWithCommas[] = "表計算ソフトでこのファイルを開き、「名前を付けて保存」でファイルの種類を「CSV（コンマ区切り）」にし、"
                               "区切り文字に「,」（コンマ）を選んで";

}  // namespace

TEST(SpreadsheetCsv, EveryChangeIsListedAndNothingIsTakenOnAGuess) {
  struct Case {
    const char* name;
    QByteArray csv;
    QStringList expected;  // each a prefix of its line of PlanLines
  };
  const QString ambiguous = U("この行がどちらの示名条のものか決められません");
  const Case cases[] = {
      {"cells a spreadsheet rewrote are warnings",
       WithHeader("201,営業部,山田,Ｍｏシリーズ主装置,標準,2017/03/05 14:07,120,01/02/26,09:30:00 AM,#NAME?,1.00E+03,5.00%,内線\r\n"
                  "0201\r\n"),
       {U("2行目 キー1: 0120 → 120 ⚠"), U("2行目 キー2: 1/2 → 01/02/26 ⚠"), U("2行目 キー3: 9:30 → 09:30:00 AM ⚠"),
        U("2行目 キー4: =内線 → #NAME? ⚠"), U("2行目 キー5: 1E3 → 1.00E+03 ⚠"), U("2行目 キー6: 5% → 5.00% ⚠"),
        U("2行目 キー7: 外線 → 内線")}},
      {"plain edits, a line break in a quoted cell",
       Sj("内線番号,部署,キー1\r\n305,総務部,\"代表\n夜間\"\r\n"), {U("2行目 部署: 営業部 → 総務部"), U("2行目 キー1: 外線 → 代表↵夜間")}},
      {"a number that lost its zero matches another strip exactly",
       WithHeader("201,総務部\r\n"),
       {U("2行目 内線番号: 内線番号「201」の示名条（示名条 1）と、先頭の0だけが違う「0201」の示名条があり、") + ambiguous}},
      {"a number with a zero matches a strip that has none",
       WithHeader("0201,総務部\r\n"),
       {U("2行目 内線番号: 内線番号「0201」の示名条（示名条 2）と、先頭の0だけが違う「201」の示名条があり、") + ambiguous}},
      {"headers in full width and with spaces", Sj("内線 番号,部署,キー１,キー 7\r\n305,営業部,内線,\r\n"),
       {U("2行目 キー１: 外線 → 内線")}},
      {"unknown headers", Sj("内線番号,部署名,氏名,キー1\r\n305,総務,山田,内線\r\n"),
       {U("1行目 部署名: この見出しの列は取り込めません。使える見出しは 内線番号、部署、使用者名、主装置のシリーズ、示名条のタイプ、"
          "登録日時、キー1、キー2… です"),
        U("1行目 氏名: この見出しの列は取り込めません。")}},
      {"a value under no header", Sj("内線番号,部署,\r\n305,総務部,x\r\n"), {U("2行目 3列目: 見出しのない列に値があります")}},
      {"rows counted as the sheet shows them: empty lines, a cell of two lines",
       Sj("内線番号,キー1\r\n305,\"a\nb\"\r\n\r\n\r\n201,あいうえおかきくけこa\r\n0201\r\n"),
       {U("5行目 キー1: 「あいうえおかきくけこa」は21バイトです（1行20バイトまで）"), U("2行目 キー1: 外線 → a↵b")}},
      {"a quote error on its sheet row", WithHeader("\r\n305,\"総務\r\n"),
       {U("3行目 部署: 引用符（\"）で始まったセルが閉じられないままファイルが終わっています")}},
      {"a workbook renamed .csv", QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) + "[Content_Types].xml",
       {U("このファイルはCSVではなく、表計算ソフトのブック（.xlsx または .ods）です。") + U(kSaveAsCsv)}},
      {"UTF-16 with a byte order mark", Encoded("UTF-16LE", U("\uFEFF内線番号,部署\r\n305,総務\r\n")),
       {U("このファイルの文字コードはUTF-16（Unicode）です。") + U(kSaveAsCsv)}},
      {"UTF-16 without one", Encoded("UTF-16BE", U("内線番号,部署\r\n305,総務\r\n201,経理\r\n")),
       {U("このファイルの文字コードはUTF-16（Unicode）です。")}},
      {"EUC-JP after an empty line", Encoded("EUC-JP", U("\r\n内線番号,部署,キー1\r\n305,総務部,内線\r\n")),
       {U("このファイルの文字コードはEUC-JPです。") + U(kSaveAsCsv)}},
      {"separated by semicolons", Sj("\"内線番号\";\"部署\"\r\n\"305\";\"総務\"\r\n"),
       {U("このファイルは区切り文字がセミコロン（;）です。") + U(kSaveWithCommas)}},
      {"separated by tabs", Encoded("UTF-8", U("\uFEFF内線番号\t部署\n305\t総務\n")),
       {U("このファイルは区切り文字がタブです（タブ区切りのテキスト）。") + U(kSaveWithCommas)}},
  };
  const StripDocument document = Site();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvImportPlan plan = PlanCsvImport(document, ReadCsv(c.csv), {QStringList(), "2026/01/01 09:00"});
    const QStringList lines = PlanLines(plan);
    ASSERT_EQ(lines.size(), c.expected.size()) << lines.join('\n').toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i) {
      EXPECT_TRUE(lines[i].startsWith(c.expected[i])) << lines[i].toStdString() << "\n  expected: " << c.expected[i].toStdString();
    }
    // Nothing is made from a file with an error; warnings are counted.
    EXPECT_EQ(plan.changes.empty(), !plan.ok() || lines.isEmpty());
    EXPECT_EQ(plan.warnings, static_cast<int>(lines.filter(QStringLiteral(" ⚠")).size()));
  }
}

TEST(SpreadsheetCsv, EditsOfTheUserAreNoWarnings) {
  const std::pair<const char*, const char*> edits[] = {
      {"1/2", "1/3"}, {"9:30", "10:45"}, {"5%", "8%"}, {"0120", "0123"}, {"", "01/02/26"}, {"外線", ""}, {"120", "0120"}, {"1E3", "2E3"},
  };
  for (const auto& [before, after] : edits) EXPECT_EQ(SpreadsheetRewriteWarning(U(before), U(after)), QString()) << before << after;
}

// Random sites and files over numbers that differ only in leading zeros:
// a row is taken for the strip of its number exactly when every other strip
// it may have been (a zero more or less) has a row of its own in the file.
TEST(SpreadsheetCsv, ARowIsNeverTakenForAStripWhoseNumberItMayHaveLost) {
  const QStringList pool{"201", "0201", "00201", "202", "0202", "5", "05", "300"};
  const auto digits = [](QString n) {
    while (n.size() > 1 && n.startsWith('0')) n.remove(0, 1);
    return n;
  };
  for (quint32 seed = 1; seed <= 80; ++seed) {
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    QStringList site, file;
    for (const QString& n : pool) {
      if (random.bounded(2)) site.append(n);
      if (random.bounded(3)) file.append(n);
    }
    if (site.isEmpty()) continue;
    QList<Lines> strips;
    for (const QString& n : site) strips.append(StripBlock(int(strips.size()) + 1, {Group({KeyBlock("1")})}, n.toLatin1()));
    StripDocument document;
    document.SetLines(Document(strips));
    QByteArray csv = "内線番号,部署\r\n";
    for (const QString& n : file) csv += (n + QStringLiteral(",部署") + n + QStringLiteral("\r\n")).toUtf8();
    const CsvImportPlan plan = PlanCsvImport(document, ReadCsv(csv), {QStringList(), ""});
    ASSERT_EQ(plan.rows.size(), file.size());
    for (const CsvRowPlan& row : plan.rows) {
      bool mayBeAnother = false;
      for (const QString& other : site) mayBeAnother |= other != row.extension && digits(other) == digits(row.extension) && !file.contains(other);
      // A number no strip has needs a series to make a strip from: an error either way.
      const bool taken = site.contains(row.extension) && !mayBeAnother;
      EXPECT_EQ(row.outcome != CsvRowOutcome::kError, taken) << row.extension.toStdString();
    }
    if (!plan.ok()) continue;
    ASSERT_TRUE(document.Apply(plan.changes));
    for (const StripRow& strip : StripRowsOf(document)) {
      const QString n = QString::fromLatin1(strip.extension);
      EXPECT_EQ(strip.department, file.contains(n) ? Sj("部署") + strip.extension : Sj("営業部")) << n.toStdString();
    }
  }
}
