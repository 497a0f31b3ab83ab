// Qt's file dialogs and message boxes behind the dialog seam.
#include "QtDialogs.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QPushButton>
#include <QSpacerItem>
#include <QUrl>

namespace folivane::ui {

namespace {

QStringList NameFilters(const QList<FileType>& types) {
    QStringList filters;
    for (const FileType& type : types)
        filters << NameFilter(type);
    return filters;
}

// Common setup; HideNameFilterDetails keeps the case-folding patterns out of sight.
void Prepare(QFileDialog& dialog, const QString& title, const QList<FileType>& types) {
    if (!title.isEmpty()) // an empty one keeps Qt's own ("Open", "Save As")
        dialog.setWindowTitle(title);
    dialog.setNameFilters(NameFilters(types));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setSizeGripEnabled(true);
}

// Plain text the user can select, and room for the whole title: a box is as wide as its
// text, and a short text would leave the window manager to cut the title off.
void Prepare(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The title bar's font is the window manager's; the window's own, a little larger, and
    // room for the icon and buttons beside the title stand in for it.
    QFont font = box.font();
    font.setPointSizeF(font.pointSizeF() * 1.2);
    const int width = QFontMetrics(font).horizontalAdvance(box.windowTitle()) + 120;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

QString NameFilter(const FileType& type) {
    QStringList patterns;
    for (const QString& suffix : type.suffixes) {
        QString pattern = QStringLiteral("*.");
        for (const QChar c : suffix) {
            if (c.toLower() != c.toUpper())
                pattern += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
            else
                pattern += c;
        }
        patterns << pattern;
    }
    return type.name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QStringList QtDialogs::OpenFiles(QWidget* owner, const QString& title, const QList<FileType>& types,
                                 const QString& folder) {
    QFileDialog dialog(owner);
    Prepare(dialog, title, types);
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

QString QtDialogs::OpenFile(QWidget* owner, const QString& title, const QList<FileType>& types) {
    QFileDialog dialog(owner);
    Prepare(dialog, title, types);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::OpenFolder(QWidget* owner, const QString& title, const QString& folder) {
    QFileDialog dialog(owner, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::SaveFile(QWidget* owner, const QString& suggestedName,
                            const QList<FileType>& types, const QString& folder) {
    QFileDialog dialog(owner);
    Prepare(dialog, QString(), types);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The window asks about an existing file once it knows the file may be written at all.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A bare name gets the suffix of the type shown at the moment of saving.
    const QStringList filters = NameFilters(types);
    const auto suffixFor = [&types, &filters](const QString& filter) {
        const qsizetype i = filters.indexOf(filter);
        return i >= 0 && !types[i].suffixes.isEmpty() ? types[i].suffixes.constFirst() : QString();
    };
    if (!filters.isEmpty()) dialog.setDefaultSuffix(suffixFor(filters.constFirst()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixFor](const QString& filter) {
                         dialog.setDefaultSuffix(suffixFor(filter));
                     });
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QMessageBox::StandardButton QtDialogs::Message(QWidget* owner, QMessageBox::Icon icon,
                                               const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, owner);
    // File and chapter names may contain "<"; they must never be read as markup.
    Prepare(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int QtDialogs::MessageWithActions(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                  const QString& text, const QStringList& actions) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    Prepare(box);
    QList<const QAbstractButton*> buttons;
    for (const QString& action : actions)
        buttons.append(box.addButton(action, QMessageBox::ActionRole));
    box.setDefaultButton(QMessageBox::Ok);
    // With more than one button Qt finds no button for Escape itself.
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

bool QtDialogs::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace folivane::ui
