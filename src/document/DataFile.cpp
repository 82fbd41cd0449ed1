#include "document/DataFile.h"

#include <algorithm>
#include <utility>

#include "base/LineIO.h"
#include "base/SharedLines.h"
#include "document/StripLayout.h"

bool IsCurrentLayout(const Lines& lines) {
  return !lines.isEmpty() && lines[0].contains(layout::kFormatVersionMark);
}

namespace {

// In the old layout a key block ends its fixed part after line 24; the
// current layout adds lines 25 to 31 (reserved, picture kind and data).
constexpr int kOldKeyFixedLines = 25;
constexpr int kAddedKeyLines = layout::kTextCount - kOldKeyFixedLines;

// Walks an old-layout list by its counts and copies it into the current
// layout. The result is built anew rather than inserted into in place, which
// keeps the conversion linear for files of thousands of strips.
class OldLayoutConverter {
 public:
  OldLayoutConverter(const Lines& old, QList<qsizetype>* inserted) : old_(old), inserted_(inserted) {
    out_.reserve(old.size() + old.size() / 4 + 1);
  }

  Lines Run() {
    AddLine(layout::kFormatVersionLine);
    const int strips = ReadCount(old_, cursor_);
    CopyThrough(cursor_ + 1);
    for (int s = 0; s < strips; ++s) ConvertStrip();
    CopyThrough(old_.size());
    return std::move(out_);
  }

 private:
  void ConvertStrip() {
    CopyThrough(cursor_ + 1 + layout::kGroupCount);  // the separator and the header
    const int groups = ReadCount(old_, cursor_);
    CopyThrough(cursor_ + 1);
    for (int g = 0; g < groups; ++g) ConvertGroup();
  }

  void ConvertGroup() {
    CopyThrough(cursor_ + layout::kKeyCount);
    const int keys = ReadCount(old_, cursor_);
    CopyThrough(cursor_ + 1);
    for (int k = 0; k < keys; ++k) ConvertKey();
  }

  void ConvertKey() {
    CopyThrough(cursor_ + kOldKeyFixedLines);
    for (int i = 0; i < kAddedKeyLines; ++i) AddLine(QByteArray());
    const int texts = ReadCount(old_, cursor_);
    CopyThrough(cursor_ + 1 + static_cast<qsizetype>(texts));
  }

  // Copies the old lines from the cursor up to (not including) `end`.
  void CopyThrough(qsizetype end) {
    if (end > old_.size()) throw DocumentError(old_.size(), QStringLiteral("行が足りません"));
    if (end <= cursor_) return;
    out_.append(old_, cursor_, end - cursor_);
    cursor_ = end;
  }

  void AddLine(const QByteArray& line) {
    if (inserted_) inserted_->append(out_.size());
    out_.append(line);
  }

  const Lines& old_;
  QList<qsizetype>* inserted_;
  Lines out_;
  qsizetype cursor_ = 0;
};

DataFileContent FormatError(qsizetype line, const QString& expected) {
  DataFileContent content;
  content.status = DataFileContent::Status::kFormatError;
  content.errorLine = line;
  content.expected = expected;
  return content;
}

}  // namespace

Lines ConvertedFromOldLayout(const Lines& old, QList<qsizetype>* inserted) {
  if (inserted) inserted->clear();
  return OldLayoutConverter(old, inserted).Run();
}

bool ConvertOldLayout(Lines& lines) {
  try {
    lines = ConvertedFromOldLayout(lines);
    return true;
  } catch (const DocumentError&) {
    return false;
  }
}

qsizetype DataFileContent::FileLineOf(qsizetype documentLine) const {
  const auto before = std::lower_bound(insertedLines.begin(), insertedLines.end(), documentLine);
  return documentLine - (before - insertedLines.begin());
}

DataFileContent ParseDataFile(QByteArray bytes) {
  DataFileContent content;
  // The lines share the file's bytes: a large file takes its own size plus
  // a list entry per line, not a heap block per line.
  Lines lines = SplitLinesSharing(std::move(bytes));
  if (IsCurrentLayout(lines)) {
    content.lines = std::move(lines);
  } else {
    try {
      content.lines = ConvertedFromOldLayout(lines, &content.insertedLines);
      content.wasOldLayout = true;
    } catch (const DocumentError& e) {
      return FormatError(e.Line(), e.Expected());
    }
  }
  // Every strip is found from the count in line 1; a count that is no
  // number leaves nothing to list, so the file counts as malformed.
  if (content.lines.size() > 1) {
    try {
      ReadCount(content.lines, 1);
    } catch (const DocumentError& e) {
      return FormatError(content.FileLineOf(e.Line()), e.Expected());
    }
  }
  return content;
}

DataFileContent ReadDataFile(const QString& path, FileStamp* read) {
  const FileStamp before = FileStamp::StatusOf(path);
  QByteArray bytes;
  if (!ReadFileBytes(path, &bytes)) {
    DataFileContent content;
    content.status = DataFileContent::Status::kReadError;
    return content;
  }
  if (read) {
    *read = before;
    read->hash = HashOfBytes(bytes);
  }
  return ParseDataFile(std::move(bytes));
}

bool WriteDataFile(const QString& path, const Lines& lines, FileStamp* written) {
  const QByteArray bytes = JoinLines(lines);
  if (!WriteFileSafely(path, bytes)) return false;
  // The status only: hashing the bytes would add some 4 % to every save,
  // while the hash is needed only when the status has changed since.
  if (written) *written = FileStamp::StatusOf(path);
  return true;
}
