// ラベル工房: designation strips for business telephones.
#include "app/Application.h"

int main(int argc, char** argv) {
  // --help and --version answer without a display.
  if (const std::optional<int> code = AnswerWithoutWindow(argc, argv)) return *code;
  LabelApplication app(argc, argv);
  return StartProgram(app);
}
