// The pictures of the windows, drawn as SVG resources of our own.
#pragma once

#include <QIcon>

namespace folivane::ui {

// An icon from ui/icons by file name without ".svg" ("add", "up16", ...). Safe to call
// before or after any window exists; the resources register on first use.
QIcon LoadIcon(const char* name);

} // namespace folivane::ui
