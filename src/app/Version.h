#pragma once
// The about box: logo, version, notice line and a short description.

#include <QDialog>

class QLabel;

// "A.B.C.D" -> "A.BC" (the fourth part is dropped); empty for an empty value.
QString VersionNumberOf(const QString& fileVersion);
// "Version " + number + "S ".
QString VersionLineOf(const QString& fileVersion);
// The program's file version, "A.B.C.D".
QString ProgramFileVersion();

class TFVersion : public QDialog {
  Q_OBJECT
 public:
  explicit TFVersion(QWidget* parent = nullptr);

  // The line under the version line; the main window's status line shows it
  // when no hint applies.
  static QString NoticeLine();
  static QString DescriptionText();

  // Shows the box modally; OK, Enter or Escape close it.
  void ShowModal();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* LabelVersion;
  QLabel* LabelNotice;
  QLabel* LabelDiscription;
};
