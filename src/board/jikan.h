#pragma once

#include <string>

namespace quorin {

// A clock's reading as hours, minutes and seconds: 0 gives "0h00m00s", 75 "0h01m15s",
// 3599 "0h59m59s", 3600 "1h00m00s", 3725 "1h02m05s" and 36000 "10h00m00s". The hours are
// not padded; minutes and seconds always have two digits.
std::string Jikan(int ticks);

} // namespace quorin
