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

struct RowCollector {
  QList<QStringList> rows;
  QStringList row;
};

void AddField(void* data, size_t size, void* collector) {
  auto* c = static_cast<RowCollector*>(collector);
  c->row.append(QString::fromUtf8(static_cast<const char*>(data), static_cast<qsizetype>(size)));
}

void EndRow(int, void* collector) {
  auto* c = static_cast<RowCollector*>(collector);
  c->rows.append(std::move(c->row));
  c->row.clear();
}

QString ParseErrorReason(int code) {
  if (code == CSV_EPARSE) return QStringLiteral("引用符（\"）の使い方がCSVの決まりに合いません");
  return QStringLiteral("セルが大きすぎて読めません");
}

// Parses UTF-8 text: the field and row callbacks see whole UTF-8 sequences,
// as no byte of a multi-byte sequence is a comma, a quote or a line end.
void ParseUtf8(const QByteArray& utf8, CsvTable& table) {
  csv_parser parser;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
    table.error = CsvSyntaxError{1, 1, ParseErrorReason(CSV_ENOMEM)};
    return;
  }
  csv_set_space_func(&parser, NoSpaces);
  RowCollector collector;
  const size_t size = static_cast<size_t>(utf8.size());
  const size_t parsed = csv_parse(&parser, utf8.constData(), size, AddField, EndRow, &collector);
  std::optional<QString> reason;
  if (parsed < size) {
    reason = ParseErrorReason(csv_error(&parser));
  } else if (csv_fini(&parser, AddField, EndRow, &collector) != 0) {
    reason = QStringLiteral("引用符（\"）で始まったセルが閉じられないままファイルが終わっています");
  }
  if (reason) {
    table.error = CsvSyntaxError{static_cast<int>(collector.rows.size()) + 1,
                                 static_cast<int>(collector.row.size()) + 1, *reason};
  }
  csv_free(&parser);
  table.rows = std::move(collector.rows);
}

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
