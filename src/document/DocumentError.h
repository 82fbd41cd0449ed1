#pragma once
// The one error raised when a line of a strip document, template or other
// line list does not hold what the reader expects (a count that is not a
// number, a list that ends early). Commands catch it and show one message.

#include <QString>
#include <stdexcept>

class DocumentError : public std::runtime_error {
 public:
  DocumentError(qsizetype line, const QString& expected)
      : std::runtime_error(expected.toStdString()), line_(line), expected_(expected) {}

  // 0-based index of the offending line (the list's size when it ended early).
  qsizetype Line() const { return line_; }
  // What the line should have held, in words for the user.
  const QString& Expected() const { return expected_; }

 private:
  qsizetype line_;
  QString expected_;
};
