#include "dialogs/player_place.h"

#include <array>

namespace transcoda {

namespace {

// Room left between the dialog and the player.
constexpr int kGap = 8;
// The smallest player worth opening there.
constexpr int kSmallestWidth = 160;
constexpr int kSmallestHeight = 120;
// What the desktop adds around the picture: a title bar above, thin borders.
constexpr int kTitleBar = 32;
constexpr int kBorder = 4;

}  // namespace

QRect PlayerArea(const QRect& dialogFrame, const QRect& screenArea) {
    const QRect& s = screenArea;
    const QRect& d = dialogFrame;
    const std::array<QRect, 4> sides = {
        QRect(QPoint(d.right() + 1 + kGap, s.top()), s.bottomRight()),  // right
        QRect(QPoint(s.left(), d.bottom() + 1 + kGap), s.bottomRight()),  // below
        QRect(s.topLeft(), QPoint(d.left() - 1 - kGap, s.bottom())),      // left
        QRect(s.topLeft(), QPoint(s.right(), d.top() - 1 - kGap)),        // above
    };
    QRect best;
    long long bestSize = 0;
    for (const QRect& side : sides) {
        const QRect r = side.intersected(s);
        if (r.width() < kSmallestWidth || r.height() < kSmallestHeight) continue;
        const long long size = static_cast<long long>(r.width()) * r.height();
        if (size > bestSize) {
            best = r;
            bestSize = size;
        }
    }
    return best;
}

std::string PlayerAreaText(const QRect& area) {
    if (area.isEmpty()) return {};
    const int width = area.width() - 2 * kBorder;
    const int height = area.height() - kTitleBar - kBorder;
    return std::to_string(width) + "x" + std::to_string(height) + "+" + std::to_string(area.left()) + "+" +
           std::to_string(area.top());
}

}  // namespace transcoda
