// The built-in key labels, entry by entry against the tables of every
// series, walked through the same reads the palette uses.
#include <QStringList>
#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "document/Series.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/PaletteList.h"
#include "support/TestFiles.h"

namespace {

// One tab of a table: the entries' texts joined by "|" (the two lines of a
// two-line entry joined by "+", an empty entry as nothing) and their sizes,
// one digit per entry.
struct TabRows {
  const char* texts;
  const char* sizes;
};

const TabRows kExpected[6][3] = {
  // Series 0
  {
      {"内線電話帳|省電力|開錠|施錠|音量アップ|お待たせ|マイク|構内放送|放送|一斉呼出|３者会議|留守録通知|留守通知切替|留守再生１|留守再生２|早送り再生|聴話|拒否登録|非通知拒否|迷惑電話",
       "67776777777655567767"},
      {"短縮|通録再生|録音|転送|話中処理|留守録|応答専用|転送／留守録|留守モニタ|転送電話|留守録＋転送|留守切替|夜間切替|夜間|休日|外出|不在設定|自ＢＯＸ|夜間一括切替|ＦＡＸ１",
       "77777775675777777757"},
      {"メッセージ１|メッセージ２|転送先１切替|転送先２切替|転送先１|転送先２|パーク１|パーク２|ＩＰ外線１|ＩＰ外線２|ＩＰ外線３|ＩＰ外線４|ひかり電話１|ひかり電話２|ひかり電話３|ひかり電話４|外線１|外線２|外線３|外線４",
       "55557777666655557777"},
  },
  // Series 1 and 2
  {
      {"内線電話帳|省電力|開錠|施錠|音量アップ|お待たせ|マイク|構内放送|放送|一斉呼出|３者会議|留守録通知|留守通知切替|留守再生1|留守再生２|早送り再生|聴話|拒否登録|非通知拒否|迷惑電話",
       "78887888888767778878"},
      {"短縮|通録再生|録音|転送|話中処理|留守録|応答専用|転送／留守録|留守モニタ|転送電話|留守録＋転送|留守切替|夜間切替|夜間|休日|外出|不在設定|自ＢＯＸ|夜間一括切替|ＦＡＸ１",
       "88888886786888888868"},
      {"メッセージ１|メッセージ２|転送先１切替|転送先２切替|転送先１|転送先２|パーク１|パーク２|ＩＰ外線１|ＩＰ外線２|ＩＰ外線３|ＩＰ外線４|ひかり電話１|ひかり電話２|ひかり電話３|ひかり電話４|外線１|外線２|外線３|外線４",
       "66668888777766668888"},
  },
  // Series 3
  {
      {"電話帳検索|携帯ｸｲｯｸ発信|電話帳１件転送|電話帳連続転送|電話帳１件消去|音量アップ|内線電話帳|３者会議|転送|センサ|マイク|放送|呼出応答|ＦＡＸ|ＦＡＸ受信|通録再生|停止|録音|聴話|お待たせ",
       "87666888888888888888"},
      {"留守再生１|留守再生２|戻り|送り|消去|メッセージ０|メッセージ１|メッセージ２|メッセージ３|留守録通話|留守録|応答専用|話中処理|転送／留守録|留守録モニタ|夜間切替|夜間|休日|外出|不在設定",
       "88888777788887788888"},
      {"留守切替|転送電話|転送先１|転送先２|転送先３|ＩＰ外線１|ＩＰ外線２|ＩＰ外線３|ＩＰ外線４|盗聴防止|外線１|外線２|外線３|外線４|番号非通知|||||",
       "88888888888888888888"},
  },
  // Series 4
  {
      {"機能なし|外線|夜間切替ＤＨ|夜間切替|再生|戻り|送り|消去|停止|通常転送|追っかけ転送|ツイン転送|不応答転送|不応答追っかけ転送|不応答ツイン転送",
       "887888888878866"},
      {"留守録|応答専用|話中処理|転送／留守録|通常着信|転送先|なんでも|発信|ヘッドセット切替|再発信|短縮／電話帳|お待たせ|録音|プリセット|出退",
       "888788886878888"},
      {"内線|留守切替|マイク|３者会議|不在設定|リモコン|聴話|履歴|キーパッド|サービス|フック|転送|代理応答|自己保留|",
       "888888888888888"},
  },
  // Series 5
  {
      {"転送切替|転送先切替|転送先１|転送先２|転送先３|お待たせ|マイク|３者通話|キーパット|迷惑電話|不在設定|夜間切替|夜間|外出|休日",
       "888888888888888"},
      {"聴話|プリセット|履歴|転送|自己保留|放送|一斉呼出|受付|専用線|直通電話|発信|パーク１|パーク２|パーク３|パーク４",
       "888888888888888"},
      {"録音|コメント|取消|一時停止|終了|ボイスメモ|再生|消去|留守|留守切替|留守再生|自宅|会社|会社|ＦＡＸ",
       "888888888888888"},
  },
  // Series 6
  {
      {"業務コード|業務コード+指定発信|着信拒否|着信拒否解除|不在転送|不在転送解除|話中転送|話中転送解除|不応答転送|不応答転送+解除|期限切れ転送|期限切れ+転送解除|ラストナンバー+リダイヤル|ラストナンバー+コールバック|発ID非通知",
       "768686867666557"},
      {"代理応答+グループ指定|代理応答個別+内線指定|システム保留|システム保留+応答（他）|システム保留+応答（自）|パーク保留|パーク保留+応答|着信先ルート+変更|グループ着信+方式変更|着信拒否切替|不在転送|話中転送|不応答転送|端末プレゼンス+通知|外線ＤＩ着信",
       "566667666688756"},
      {"パーク保留|盗聴防止|外線発信|切替|ログイン|着信拒否|不在転送|話中転送|不応答転送||||||",
       "788888887888888"},
  },
};

// Index into kExpected: series 1 and 2 have one table.
int TableOf(int series) { return series <= 1 ? series : series - 1; }

struct Row {
  QString text;  // lines joined by "+"
  int size;
};

QList<Row> ExpectedRows(int series) {
  QList<Row> rows;
  for (const TabRows& tab : kExpected[TableOf(series)]) {
    const QStringList texts = QString::fromUtf8(tab.texts).split('|');
    const QByteArray sizes(tab.sizes);
    EXPECT_EQ(texts.size(), sizes.size()) << tab.texts;
    for (qsizetype i = 0; i < texts.size() && i < sizes.size(); ++i) {
      rows.append({texts[i], sizes[i] - '0'});
    }
  }
  return rows;
}

QString Joined(const Lines& lines) {
  QStringList parts;
  for (const QByteArray& line : lines) parts.append(sjis::Decode(line));
  return parts.join('+');
}

}  // namespace

TEST(DefaultKeyLabels, EveryEntryMatchesItsTable) {
  for (int series = 0; series < kSeriesCount; ++series) {
    SCOPED_TRACE(series);
    const Lines list = DefaultKeyLabels(series);
    const QList<Row> rows = ExpectedRows(series);
    ASSERT_EQ(rows.size(), PaletteEntryCount(series));
    EXPECT_TRUE(IsWellFormedPaletteList(list, series));
    qsizetype expectedLines = 0;
    for (int i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(i);
      Lines labelLines;
      KeyLabelFormat format = Myfunc_Get_Label(list, i, &labelLines);
      EXPECT_EQ(Joined(labelLines), rows[i].text);
      EXPECT_EQ(format.fontSize, rows[i].size);
      EXPECT_EQ(format.fontName, Sj("ＭＳ 明朝"));
      EXPECT_EQ(format.fontColor, 0);
      EXPECT_EQ(format.backColor, 16777215);
      EXPECT_EQ(list[PaletteEntryLine(list, i) + palette::kColorPair], QByteArray("0"));
      // Every text line survives the trip through Shift_JIS.
      for (const QByteArray& line : labelLines) {
        EXPECT_EQ(sjis::Encode(sjis::Decode(line)), line);
        EXPECT_FALSE(line.contains('?'));
      }
      expectedLines += palette::kEntryFixedLines + labelLines.size();
    }
    EXPECT_EQ(list.size(), expectedLines);
  }
}

TEST(DefaultKeyLabels, CountsAndEmptyEntriesAtTheEnds) {
  const int entries[kSeriesCount] = {60, 60, 60, 60, 45, 45, 45};
  // The empty entries: series 3 tab 3 positions 16-20, series 4 tab 3
  // position 15, series 6 tab 3 positions 10-15.
  const int firstEmpty[kSeriesCount] = {60, 60, 60, 55, 44, 45, 39};
  for (int series = 0; series < kSeriesCount; ++series) {
    SCOPED_TRACE(series);
    const Lines list = DefaultKeyLabels(series);
    EXPECT_EQ(PaletteEntryCount(series), entries[series]);
    for (int i = 0; i < entries[series]; ++i) {
      Lines labelLines;
      KeyLabelFormat format = Myfunc_Get_Label(list, i, &labelLines);
      const bool empty = labelLines == Lines{""};
      EXPECT_EQ(empty, i >= firstEmpty[series]) << i;
      if (empty) {
        EXPECT_EQ(format.fontSize, 8);
        EXPECT_EQ(CaptionOf(labelLines).text, QString());
      }
    }
  }
  // Stored as N = 1 and one empty line: the last block of series 6.
  const Lines sip = DefaultKeyLabels(6);
  EXPECT_EQ(sip.mid(sip.size() - 5), (Lines{Sj("ＭＳ 明朝"), "8", "0", "1", ""}));
}

TEST(DefaultKeyLabels, TwoLineEntriesOfTheSipSeries) {
  const Lines list = DefaultKeyLabels(6);
  QList<int> twoLine;
  for (int i = 0; i < PaletteEntryCount(6); ++i) {
    Lines labelLines;
    Myfunc_Get_Label(list, i, &labelLines);
    EXPECT_LE(labelLines.size(), 2);
    if (labelLines.size() == 2) twoLine.append(i);
  }
  EXPECT_EQ(twoLine, (QList<int>{1, 9, 11, 12, 13, 15, 16, 18, 19, 21, 22, 23, 28}));
  // The button shows both lines at 8 points; a key receiving it gets 6.
  Lines labelLines;
  EXPECT_EQ(Myfunc_Get_Label(list, 1, &labelLines).fontSize, 6);
  KeyLabelCaption caption = CaptionOf(labelLines);
  EXPECT_EQ(caption.text, QString("業務コード\n指定発信"));
  EXPECT_EQ(caption.pointSize, 8);
}

TEST(DefaultKeyLabels, ExactBytes) {
  const QByteArray font = QByteArray::fromHex("826C82722096BE92A9");  // "ＭＳ 明朝"
  const Lines sip = DefaultKeyLabels(6);
  // Series 6, tab 1 position 2: six lines, the colour pair "0" alone.
  qsizetype b = PaletteEntryLine(sip, 1);
  EXPECT_EQ(sip.mid(b, 6), (Lines{font, "6", "0", "2", QByteArray::fromHex("8BC696B18352815B8368"),
                                  QByteArray::fromHex("8E7792E894AD904D")}));
  // "発ID非通知" with half-width I and D.
  EXPECT_EQ(sip[PaletteEntryLine(sip, 14) + palette::kFirstText],
            QByteArray::fromHex("94AD494494F192CA926D"));
  // "応答（他）" with full-width parentheses.
  EXPECT_EQ(sip[PaletteEntryLine(sip, 18) + palette::kFirstText + 1],
            QByteArray::fromHex("899E939A816991BC816A"));
  // "携帯ｸｲｯｸ発信" with half-width katakana, one byte each.
  const Lines ru = DefaultKeyLabels(3);
  EXPECT_EQ(ru[PaletteEntryLine(ru, 1) + palette::kFirstText],
            QByteArray::fromHex("8C6791D1B8B2AFB894AD904D"));
  // The very first lines of series 0.
  EXPECT_EQ(DefaultKeyLabels(0).mid(0, 5), (Lines{font, "6", "0", "1", Sj("内線電話帳")}));
}

TEST(DefaultKeyLabels, SeriesZeroAgainstSeriesOneAndTwo) {
  const Lines ka = DefaultKeyLabels(0);
  const Lines mo = DefaultKeyLabels(1);
  EXPECT_EQ(mo, DefaultKeyLabels(2));
  ASSERT_EQ(ka.size(), mo.size());
  QList<int> textDiffers;
  for (int i = 0; i < 60; ++i) {
    Lines kaLines, moLines;
    KeyLabelFormat kaFormat = Myfunc_Get_Label(ka, i, &kaLines);
    KeyLabelFormat moFormat = Myfunc_Get_Label(mo, i, &moLines);
    EXPECT_NE(kaFormat.fontSize, moFormat.fontSize) << i;
    if (kaLines != moLines) textDiffers.append(i);
  }
  // Tab 1 position 14 only: a full-width digit against a half-width one.
  ASSERT_EQ(textDiffers, QList<int>{13});
  Lines kaLines, moLines;
  Myfunc_Get_Label(ka, 13, &kaLines);
  Myfunc_Get_Label(mo, 13, &moLines);
  EXPECT_EQ(kaLines, Lines{QByteArray::fromHex("97AF8EE78DC490B68250")});
  EXPECT_EQ(moLines, Lines{QByteArray::fromHex("97AF8EE78DC490B631")});
}

TEST(DefaultKeyLabels, SeriesFiveIsAllEightPoint) {
  const Lines ne = DefaultKeyLabels(5);
  for (int i = 0; i < 45; ++i) {
    Lines labelLines;
    EXPECT_EQ(Myfunc_Get_Label(ne, i, &labelLines).fontSize, 8) << i;
  }
}

TEST(DefaultKeyLabels, SetDefaultReplacesTheWholeList) {
  Lines list{"left", "over"};
  Myfunc_Set_Default(4, &list);
  EXPECT_EQ(list, DefaultKeyLabels(4));
  Myfunc_Set_Default(7, &list);
  EXPECT_EQ(list, DefaultKeyLabels(4));
  Myfunc_Set_Default(-1, &list);
  EXPECT_EQ(list, DefaultKeyLabels(4));
  EXPECT_TRUE(DefaultKeyLabels(7).isEmpty());
}
