// ラベル工房: designation strips for business telephones.
#include "app/Application.h"

int main(int argc, char** argv) {
  LabelApplication app(argc, argv);
  return StartProgram(app);
}
