// The main window's choices and place, kept from one start to the next.
#include "TForm1.h"

#include "TAppearanceDialog.h"
#include "TDetailsDialog.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace folivane::ui {
namespace {

// The user's own settings of the program; tests point XDG_CONFIG_HOME elsewhere.
QSettings Settings() {
    return QSettings(QStringLiteral("Quorvel"), QStringLiteral("Folivane"));
}

QString Key(const QString& key) {
    return QStringLiteral("choices/") + key;
}

const QString kGeometryKey = QStringLiteral("window/geometry");
// The size alone, as earlier versions kept it; read no more, since it could hold anything.
const QString kOldSizeKey = QStringLiteral("window/size");

// The available areas of the screens there are now, the primary first.
QList<QRect> ScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

// The window manager's frame is known only once the window is shown; title bars of the usual
// desktops are no taller than this, their borders no wider.
QMargins LikelyFrame(const QWidget& window) {
    constexpr int kBorder = 4;
    const int titleBar =
        std::max(32, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window));
    return {kBorder, titleBar, kBorder, kBorder};
}

} // namespace

QList<QPair<QString, QWidget*>> TForm1::PersistedControls() const {
    // A control more is one line more. Check boxes keep whether they are on, lists the data
    // of the chosen item, fields their text, number boxes their value.
    return QList<QPair<QString, QWidget*>>{
               {QStringLiteral("chapters"), m_chapters},
               {QStringLiteral("chapterPattern"), m_pattern},
               {QStringLiteral("language"), m_language},
               {QStringLiteral("paragraphs"), m_paragraphs},
               {QStringLiteral("epubVersion"), m_epubVersion},
               {QStringLiteral("vertical"), m_vertical},
               {QStringLiteral("titleCover"), m_titleCover},
           } +
           appearance_->PersistedControls() + details_->PersistedControls();
}

void TForm1::LoadSettings() {
    QSettings settings = Settings();
    for (const auto& [key, control] : PersistedControls()) {
        const QVariant value = settings.value(Key(key));
        if (!value.isValid()) continue;
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            box->setChecked(value.toBool());
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            if (const int index = list->findData(value); index >= 0) list->setCurrentIndex(index);
        } else if (auto* number = qobject_cast<QDoubleSpinBox*>(control)) {
            // A hand-edited file may hold anything; the box keeps the value within its range.
            bool ok = false;
            const double read = value.toDouble(&ok);
            if (ok && std::isfinite(read)) number->setValue(read);
        } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
            field->setText(value.toString());
        }
    }
    sourceFolder_ = settings.value(QStringLiteral("folders/sources")).toString();
    bookFolder_ = settings.value(QStringLiteral("folders/books")).toString();
    RestorePlace(settings.value(kGeometryKey));
}

void TForm1::RestorePlace(const QVariant& saved) {
    const QList<QRect> screens = ScreenAreas();
    const QMargins frame = LikelyFrame(*this);
    const auto startAsNew = [&] {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        setGeometry(CentredOnScreen(kDefaultWindowSize.expandedTo(minimumSize()), screens,
                                    minimumSize(), frame));
    };
    // Qt's own record keeps the place, the size, the screen and whether it was maximised; it
    // refuses what is not one, and brings a place off the screens back within them.
    if (saved.typeId() != QMetaType::QByteArray || !restoreGeometry(saved.toByteArray()))
        return startAsNew();
    // What it let through is checked again against the screens there are now: a huge or
    // far-off size could still leave the window, or its buttons, out of reach.
    const std::optional<QRect> placed = PlaceOnScreen(geometry(), screens, minimumSize(), frame);
    if (!placed) return startAsNew();
    // Full screen is no state the window offers; it comes back as a normal window.
    const Qt::WindowStates state = windowState() & ~Qt::WindowFullScreen;
    if (*placed == geometry() && state == windowState()) return;
    // The normal place of a maximised window is taken when it becomes maximised.
    setWindowState(state & ~Qt::WindowMaximized);
    setGeometry(*placed);
    setWindowState(state);
}

void TForm1::SaveSettings() const {
    QSettings settings = Settings();
    for (const auto& [key, control] : PersistedControls()) {
        if (const auto* box = qobject_cast<const QCheckBox*>(control))
            settings.setValue(Key(key), box->isChecked());
        else if (const auto* list = qobject_cast<const QComboBox*>(control))
            settings.setValue(Key(key), list->currentData());
        else if (const auto* number = qobject_cast<const QDoubleSpinBox*>(control))
            settings.setValue(Key(key), number->value());
        else if (const auto* field = qobject_cast<const QLineEdit*>(control))
            settings.setValue(Key(key), field->text());
    }
    settings.setValue(QStringLiteral("folders/sources"), sourceFolder_);
    settings.setValue(QStringLiteral("folders/books"), bookFolder_);
    settings.setValue(kGeometryKey, saveGeometry());
    settings.remove(kOldSizeKey);
}

} // namespace folivane::ui
