// The main window's choices and size, kept from one start to the next.
#include "TForm1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>

namespace folivane::ui {
namespace {

// The user's own settings of the program; tests point XDG_CONFIG_HOME elsewhere.
QSettings Settings() {
    return QSettings(QStringLiteral("Quorvel"), QStringLiteral("Folivane"));
}

QString Key(const QString& key) {
    return QStringLiteral("choices/") + key;
}

} // namespace

QList<QPair<QString, QWidget*>> TForm1::PersistedControls() const {
    // A control more is one line more. Check boxes keep whether they are on, lists the data
    // of the chosen item, fields their text.
    return {
        {QStringLiteral("chapters"), m_chapters},
        {QStringLiteral("chapterPattern"), m_pattern},
        {QStringLiteral("language"), m_language},
        {QStringLiteral("paragraphs"), m_paragraphs},
        {QStringLiteral("epubVersion"), m_epubVersion},
        {QStringLiteral("vertical"), m_vertical},
    };
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
        } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
            field->setText(value.toString());
        }
    }
    sourceFolder_ = settings.value(QStringLiteral("folders/sources")).toString();
    bookFolder_ = settings.value(QStringLiteral("folders/books")).toString();
    const QSize size = settings.value(QStringLiteral("window/size")).toSize();
    if (size.isValid()) resize(size.expandedTo(minimumSize()));
}

void TForm1::SaveSettings() const {
    QSettings settings = Settings();
    for (const auto& [key, control] : PersistedControls()) {
        if (const auto* box = qobject_cast<const QCheckBox*>(control))
            settings.setValue(Key(key), box->isChecked());
        else if (const auto* list = qobject_cast<const QComboBox*>(control))
            settings.setValue(Key(key), list->currentData());
        else if (const auto* field = qobject_cast<const QLineEdit*>(control))
            settings.setValue(Key(key), field->text());
    }
    settings.setValue(QStringLiteral("folders/sources"), sourceFolder_);
    settings.setValue(QStringLiteral("folders/books"), bookFolder_);
    settings.setValue(QStringLiteral("window/size"), size());
}

} // namespace folivane::ui
