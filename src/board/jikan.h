#pragma once

#include <string>

namespace quorin {

// A clock's reading as hours, minutes and seconds: 3725 gives "1h02m05s". The hours are
// not padded; minutes and seconds always have two digits.
std::string Jikan(int ticks);

} // namespace quorin
