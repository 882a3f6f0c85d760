#include "piece.h"

namespace quorin {

PieceKind KindOfName(std::string_view name) {
    static constexpr std::array<std::string_view, 6> kinds = {"po", "ru", "ni", "pi", "qu", "ki"};
    const std::string_view prefix = name.substr(0, 2);
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (prefix == kinds[i])
            return static_cast<PieceKind>(i);
    }
    return PieceKind::None;
}

PieceCode CodeOfName(std::string_view name) {
    for (PieceCode c = 0; c < kPieceCodeCount; ++c) {
        if (ImageNames[c] == name)
            return c;
    }
    return -1;
}

} // namespace quorin
