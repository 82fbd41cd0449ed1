#include "document/StripRow.h"

#include "base/ShiftJis.h"

QStringList StripRow::Columns() const {
  return {sjis::Decode(series),     sjis::Decode(stripType), sjis::Decode(extension),
          sjis::Decode(department), sjis::Decode(userName),  sjis::Decode(registered)};
}
