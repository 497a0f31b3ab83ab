// Access to the icon resources compiled into the ui library.
#include "Icons.h"

#include <QString>

// A static library's resources register only when asked, and the macro must be used
// outside any namespace.
static void RegisterIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace folivane::ui {

QIcon LoadIcon(const char* name) {
    static const bool registered = (RegisterIconResources(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg"));
}

} // namespace folivane::ui
