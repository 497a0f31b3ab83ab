// Where a window may stand: on a screen that exists now, and no larger than it.
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

namespace folivane::ui {

// `wanted` (a window's area without its frame) moved and shrunk as little as needed to lie
// within the available area of one of `screens`: the one it overlaps most, else the first
// (Qt lists the primary screen first). Its `frame` (the title bar and borders the window
// manager adds) stays on that screen too, so that the window can still be dragged. It keeps
// at least `minimum` even where a screen is smaller. Nothing when `wanted` is no place a
// window could have (empty, or with corners beyond any screen a system supports) or when
// there is no screen.
std::optional<QRect> PlaceOnScreen(const QRect& wanted, const QList<QRect>& screens,
                                   const QSize& minimum, const QMargins& frame);

// A window of `size` in the middle of the first of `screens`, placed as above; `size` alone
// at the origin when there is no screen.
QRect CentredOnScreen(const QSize& size, const QList<QRect>& screens, const QSize& minimum,
                      const QMargins& frame);

} // namespace folivane::ui
