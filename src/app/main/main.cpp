// ラベル工房: designation strips for business telephones.
#include "app/Application.h"
#include "app/SingleInstance.h"

int main(int argc, char** argv) {
  LabelApplication app(argc, argv);
  SingleInstance instance;
  // A second start ends at once: no message, no window.
  if (!instance.TryAcquire()) return 1;
  const int code = RunProgram(app);
  instance.Release();
  return code;
}
