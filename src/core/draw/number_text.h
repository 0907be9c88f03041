#pragma once

#include <string>

namespace qv70 {

// printf's "%.*f" of `value` with `decimals` digits as the "C" locale writes
// it, whatever locale the program runs in.
std::string FixedPointText(double value, int decimals);

// printf's "%.17g": enough digits to read the same double back.
std::string ExactText(double value);

}  // namespace qv70
