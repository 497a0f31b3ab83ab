// Fitting a window's saved place to the screens there are now.
#include "WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace folivane::ui {
namespace {

// X11 takes coordinates up to 32767; anything far beyond is no saved place but damage, and
// keeping well within int leaves the sums below without overflow.
constexpr int kFarthest = 1 << 20;

bool Plausible(const QRect& rect) {
    for (const int edge : {rect.left(), rect.top(), rect.right(), rect.bottom()})
        if (edge < -kFarthest || edge > kFarthest) return false;
    return rect.right() >= rect.left() && rect.bottom() >= rect.top();
}

std::int64_t Overlap(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : std::int64_t{common.width()} * common.height();
}

// `start` moved so that `length` fits between `low` and `high` (the end exclusive); at `low`
// when it cannot.
int Within(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

} // namespace

std::optional<QRect> PlaceOnScreen(const QRect& wanted, const QList<QRect>& screens,
                                   const QSize& minimum, const QMargins& frame) {
    if (!Plausible(wanted) || wanted.isEmpty()) return std::nullopt;
    QList<QRect> areas;
    for (const QRect& screen : screens) {
        const QRect area = screen.marginsRemoved(frame);
        if (Plausible(screen) && !area.isEmpty()) areas << area;
    }
    if (areas.isEmpty()) return std::nullopt;
    const QRect area =
        *std::max_element(areas.cbegin(), areas.cend(), [&wanted](const QRect& a, const QRect& b) {
            return Overlap(a, wanted) < Overlap(b, wanted);
        });
    // Without any overlap every area scores 0 and max_element keeps the first.
    const QSize size = wanted.size().boundedTo(area.size()).expandedTo(minimum);
    const int x = Within(wanted.left(), size.width(), area.left(), area.left() + area.width());
    const int y = Within(wanted.top(), size.height(), area.top(), area.top() + area.height());
    return QRect(QPoint(x, y), size);
}

QRect CentredOnScreen(const QSize& size, const QList<QRect>& screens, const QSize& minimum,
                      const QMargins& frame) {
    QRect centred(QPoint(0, 0), size);
    if (!screens.isEmpty()) centred.moveCenter(screens.constFirst().center());
    return PlaceOnScreen(centred, screens, minimum, frame).value_or(centred);
}

} // namespace folivane::ui
