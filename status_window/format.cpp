#include "status_window/format.h"

#include "app/framework/text.h"

namespace ambrelux {

namespace {

std::string withSeparator(const std::string& numText) {
  const std::int64_t length = Len(numText);
  if (length <= 3) return numText;
  const std::int64_t pointPos = InStr(numText, ".");
  if (pointPos == 0) return Left(numText, length - 3) + "," + Right(numText, 3);
  if (pointPos > 4) return Left(numText, pointPos - 4) + "," + Right(numText, length - pointPos + 4);
  return numText;
}

}  // namespace

std::string formatStr(double value) {
  const std::string numText = Str(value);
  // Counted as a character, the sign would earn "-100" a separator.
  if (Left(numText, 1) == "-") return Concat({"-", withSeparator(Mid(numText, 2))});
  return withSeparator(numText);
}

}  // namespace ambrelux
