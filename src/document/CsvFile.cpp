#include "document/CsvFile.h"

#include <csv.h>

#include <QStringDecoder>
#include <algorithm>

#include "base/ShiftJis.h"

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

bool HasBom(const QByteArray& bytes) { return bytes.startsWith(kUtf8Bom); }

bool IsValidUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  [[maybe_unused]] const QString text = decoder(bytes);
  return !decoder.hasError();
}

// Fields keep their spaces: RFC 4180 counts them as part of the field, and
// a key text may begin with one.
int NoSpaces(unsigned char) { return 0; }

// Rows and the spreadsheet row each began on.
struct RowCollector {
  QList<QStringList> rows;
  QList<int> rowNumbers;
  QStringList row;
  int rowNumber = 0;  // the spreadsheet row of the record being read
};

void AddField(void* data, size_t size, void* collector) {
  auto* c = static_cast<RowCollector*>(collector);
  c->row.append(QString::fromUtf8(static_cast<const char*>(data), static_cast<qsizetype>(size)));
}

void EndRow(int, void* collector) {
  auto* c = static_cast<RowCollector*>(collector);
  c->rows.append(std::move(c->row));
  c->rowNumbers.append(c->rowNumber);
  c->row.clear();
}

QString ParseErrorReason(int code) {
  if (code == CSV_EPARSE) return QStringLiteral("引用符（\"）の使い方がCSVの決まりに合いません");
  return QStringLiteral("セルが大きすぎて読めません");
}

// The end of the physical line from `at`: past its LF, CR LF or lone CR.
qsizetype LineEnd(const QByteArray& text, qsizetype at) {
  const char* begin = text.constData();
  const qsizetype size = text.size();
  for (qsizetype i = at; i < size; ++i) {
    if (begin[i] == '\n') return i + 1;
    if (begin[i] == '\r') return i + 1 < size && begin[i + 1] == '\n' ? i + 2 : i + 1;
  }
  return size;
}

// libcsv's state between records (its ROW_NOT_BEGUN).
constexpr int kNoRecordBegun = 0;

// Parses UTF-8 text: the field and row callbacks see whole UTF-8 sequences,
// as no byte of a multi-byte sequence is a comma, a quote or a line end.
// The text goes in one physical line at a time, so that every line that
// starts outside a quoted cell counts as a spreadsheet row, empty or not.
void ParseUtf8(const QByteArray& utf8, CsvTable& table) {
  csv_parser parser;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
    table.error = CsvSyntaxError{1, 1, ParseErrorReason(CSV_ENOMEM)};
    return;
  }
  csv_set_space_func(&parser, NoSpaces);
  RowCollector collector;
  std::optional<QString> reason;
  int sheetRow = 0;
  for (qsizetype at = 0; at < utf8.size() && !reason;) {
    const qsizetype end = LineEnd(utf8, at);
    if (parser.pstate == kNoRecordBegun) collector.rowNumber = ++sheetRow;
    const size_t size = static_cast<size_t>(end - at);
    if (csv_parse(&parser, utf8.constData() + at, size, AddField, EndRow, &collector) < size) {
      reason = ParseErrorReason(csv_error(&parser));
    }
    at = end;
  }
  if (!reason && csv_fini(&parser, AddField, EndRow, &collector) != 0) {
    reason = QStringLiteral("引用符（\"）で始まったセルが閉じられないままファイルが終わっています");
  }
  if (reason) {
    table.error = CsvSyntaxError{std::max(collector.rowNumber, 1), static_cast<int>(collector.row.size()) + 1, *reason};
  }
  csv_free(&parser);
  table.rows = std::move(collector.rows);
  table.rowNumbers = std::move(collector.rowNumbers);
}

// ---- Files of another kind ----------------------------------------------------

const QString kSaveAsCsv = QStringLiteral(
    "表計算ソフトでこのファイルを開き、「名前を付けて保存」でファイルの種類を「CSV（コンマ区切り）」、"
    "文字コードを「Shift_JIS」か「UTF-8」にして保存したファイルを取り込んでください。");
const QString kSaveWithCommas = QStringLiteral(
    "表計算ソフトでこのファイルを開き、「名前を付けて保存」でファイルの種類を「CSV（コンマ区切り）」にし、"
    "区切り文字に「,」（コンマ）を選んで保存したファイルを取り込んでください。");

bool InRange(unsigned char b, int low, int high) { return b >= low && b <= high; }

// Bytes that follow the form of CP932: single bytes and lead-trail pairs.
bool HasShiftJisForm(const QByteArray& bytes) {
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 || InRange(b, 0xA1, 0xDF)) continue;
    if (!sjis::IsLeadByte(b) || i + 1 >= bytes.size()) return false;
    const auto trail = static_cast<unsigned char>(bytes[++i]);
    if (!InRange(trail, 0x40, 0x7E) && !InRange(trail, 0x80, 0xFC)) return false;
  }
  return true;
}

// Bytes that follow the form of EUC-JP: ASCII, pairs of 0xA1-0xFE,
// half-width katakana after 0x8E, JIS X 0212 after 0x8F.
bool HasEucJpForm(const QByteArray& bytes) {
  const auto high = [&](qsizetype i) { return i < bytes.size() && InRange(static_cast<unsigned char>(bytes[i]), 0xA1, 0xFE); };
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) continue;
    if (b == 0x8E && i + 1 < bytes.size() && InRange(static_cast<unsigned char>(bytes[i + 1]), 0xA1, 0xDF)) {
      ++i;
    } else if (b == 0x8F && high(i + 1) && high(i + 2)) {
      i += 2;
    } else if (high(i) && high(i + 1)) {
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

// The first line that holds anything: the header row, as empty lines give
// no row.
QByteArray FirstLine(const QByteArray& bytes) {
  for (qsizetype at = 0; at < bytes.size();) {
    const qsizetype end = LineEnd(bytes, at);
    const QByteArray line = bytes.mid(at, end - at).trimmed();
    if (!line.isEmpty()) return line;
    at = end;
  }
  return QByteArray();
}

// EUC-JP text: its form, and not that of CP932. Most EUC-JP text also
// reads as CP932 (half-width katakana and odd kanji), but not a header row
// that names the extension column: "線" is C0 FE, and FE starts no CP932
// character.
bool IsEucJp(const QByteArray& bytes) { return HasEucJpForm(bytes) && !HasShiftJisForm(bytes); }

// UTF-16 has a byte order mark or, without one, a NUL byte in every
// character of ASCII (digits, commas, line ends), all on the same side.
bool IsUtf16(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) return true;
  const QByteArray head = bytes.left(4096);
  int nuls[2] = {0, 0};
  for (qsizetype i = 0; i < head.size(); ++i) nuls[i % 2] += head[i] == '\0';
  const int most = std::max(nuls[0], nuls[1]);
  return std::min(nuls[0], nuls[1]) == 0 && most * 10 >= head.size() && most > 0;
}

// The separator of a first line with no comma, when it is one that some
// spreadsheets write instead.
QString OtherSeparatorProblem(const QByteArray& bytes) {
  const QByteArray line = FirstLine(bytes);
  if (line.contains(',')) return QString();
  if (line.contains(';')) return QStringLiteral("このファイルは区切り文字がセミコロン（;）です。") + kSaveWithCommas;
  if (line.contains('\t')) return QStringLiteral("このファイルは区切り文字がタブです（タブ区切りのテキスト）。") + kSaveWithCommas;
  return QString();
}

}  // namespace

QString CsvKindProblem(const QByteArray& bytes) {
  if (bytes.startsWith("PK\x03\x04")) {
    return QStringLiteral("このファイルはCSVではなく、表計算ソフトのブック（.xlsx または .ods）です。") + kSaveAsCsv;
  }
  if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
    return QStringLiteral("このファイルはCSVではなく、表計算ソフトのブック（.xls）です。") + kSaveAsCsv;
  }
  if (IsUtf16(bytes)) return QStringLiteral("このファイルの文字コードはUTF-16（Unicode）です。") + kSaveAsCsv;
  if (bytes.contains('\0')) return QStringLiteral("このファイルは文字だけのファイルではなく、CSVとして読めません。") + kSaveAsCsv;
  if (!HasBom(bytes) && DetectCsvEncoding(bytes) == CsvEncoding::kShiftJis && IsEucJp(bytes)) {
    return QStringLiteral("このファイルの文字コードはEUC-JPです。") + kSaveAsCsv;
  }
  return OtherSeparatorProblem(HasBom(bytes) ? bytes.mid(3) : bytes);
}

namespace {

bool NeedsQuotes(const QByteArray& field) {
  if (field.isEmpty()) return false;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(field.front()) || blank(field.back())) return true;
  return std::any_of(field.begin(), field.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
}

void AppendField(QByteArray& out, const QByteArray& field) {
  if (!NeedsQuotes(field)) {
    out += field;
    return;
  }
  const size_t size = static_cast<size_t>(field.size());
  const size_t quoted = csv_write(nullptr, 0, field.constData(), size);
  const qsizetype at = out.size();
  out.resize(at + static_cast<qsizetype>(quoted));
  csv_write(out.data() + at, quoted, field.constData(), size);
}

}  // namespace

CsvEncoding DetectCsvEncoding(const QByteArray& bytes) {
  if (HasBom(bytes)) return CsvEncoding::kUtf8;
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return !ascii && IsValidUtf8(bytes) ? CsvEncoding::kUtf8 : CsvEncoding::kShiftJis;
}

CsvTable ReadCsv(const QByteArray& bytes) {
  CsvTable table;
  table.encoding = DetectCsvEncoding(bytes);
  table.wrongKind = CsvKindProblem(bytes);
  if (!table.wrongKind.isEmpty()) return table;
  if (table.encoding == CsvEncoding::kUtf8) {
    ParseUtf8(HasBom(bytes) ? bytes.mid(3) : bytes, table);
  } else {
    // CP932 keeps commas, quotes and line ends single bytes (no trail byte
    // takes their values), so the text converted as a whole splits as the
    // bytes would.
    ParseUtf8(sjis::Decode(bytes).toUtf8(), table);
  }
  return table;
}

QByteArray WriteCsv(const QList<QList<QByteArray>>& rows, CsvEncoding encoding) {
  QByteArray out;
  for (const QList<QByteArray>& row : rows) {
    for (qsizetype i = 0; i < row.size(); ++i) {
      if (i > 0) out += ',';
      AppendField(out, row[i]);
    }
    out += "\r\n";
  }
  if (encoding == CsvEncoding::kShiftJis) return out;
  return QByteArray(kUtf8Bom) + sjis::Decode(out).toUtf8();
}
