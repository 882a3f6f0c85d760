#include "jikan.h"

#include <cstdio>

namespace quorin {

std::string Jikan(int ticks) {
    const int hours = ticks / 3600;
    const int minutes = (ticks % 3600) / 60;
    const int seconds = ticks % 60;
    char text[32];
    std::snprintf(text, sizeof text, "%dh%02dm%02ds", hours, minutes, seconds);
    return text;
}

} // namespace quorin
