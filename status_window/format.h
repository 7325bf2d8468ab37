// Number formatting shared by the three battery displays.
#pragma once

#include <string>

namespace ambrelux {

// The decimal text of `value` (as Str gives it) with one "," before the
// third character ahead of the point, or before the last three characters
// of a whole number; texts of three characters or fewer, and those with at
// most three characters before the point, come back unchanged. Only one
// separator is ever inserted: 1234567 gives "1234,567". A negative value
// is the minus sign before the text of its magnitude: -1000 gives "-1,000".
std::string formatStr(double value);

}  // namespace ambrelux
