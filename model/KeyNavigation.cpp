#include "model/KeyNavigation.h"

#include <cmath>

namespace zarvin {

namespace {

constexpr double kSidewaysWeight = 3.0;

struct Centre {
    double x;
    double y;
};

Centre CentreOf(const KeyRect& place) {
    return {place.x + place.width / 2, place.y + place.height / 2};
}

}  // namespace

std::optional<size_t> NearestKeyInDirection(std::span<const KeyRect> places, size_t from,
                                            KeyDirection direction) {
    if (from >= places.size()) {
        return std::nullopt;
    }
    const Centre start = CentreOf(places[from]);
    std::optional<size_t> best;
    double bestScore = 0;
    for (size_t i = 0; i < places.size(); ++i) {
        if (i == from || places[i].Empty()) {
            continue;
        }
        const Centre centre = CentreOf(places[i]);
        const double dx = centre.x - start.x;
        const double dy = centre.y - start.y;
        double ahead = 0;
        double sideways = 0;
        switch (direction) {
            case KeyDirection::Left:
                ahead = -dx;
                sideways = dy;
                break;
            case KeyDirection::Right:
                ahead = dx;
                sideways = dy;
                break;
            case KeyDirection::Up:
                ahead = -dy;
                sideways = dx;
                break;
            case KeyDirection::Down:
                ahead = dy;
                sideways = dx;
                break;
        }
        // A key beside the start that only overlaps it is not ahead of it.
        if (ahead <= 0.5) {
            continue;
        }
        const double score = ahead + kSidewaysWeight * std::abs(sideways);
        if (!best || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace zarvin
