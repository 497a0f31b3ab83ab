// Helpers shared by the window tests.
#include "UiTestSupport.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QStyleFactory>

namespace folivane::ui::test {

bool WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size() && file.flush();
}

QStringList Column(const TForm1& form, int column) {
    const auto* list = Find<QTableWidget>(form, "m_list");
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row)
        texts << list->item(row, column)->text();
    return texts;
}

int SelectedRow(const TForm1& form) {
    const QList<QTableWidgetSelectionRange> ranges =
        Find<QTableWidget>(form, "m_list")->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.constFirst().topRow();
}

bool Drop(TForm1& form, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre = form.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    return drop.isAccepted();
}

std::unique_ptr<TForm1> MakeForm(ScriptedDialogs& dialogs, bool keepSettings) {
    // The window keeps its choices in the user's settings; a test must never read or change
    // the real ones (CTest points XDG_CONFIG_HOME at the build folder).
    if (qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty())
        qFatal("The window tests need XDG_CONFIG_HOME set to a scratch folder");
    if (!keepSettings) QSettings(QStringLiteral("Quorvel"), QStringLiteral("Folivane")).clear();
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    auto form = std::make_unique<TForm1>(dialogs);
    form->show();
    return form;
}

} // namespace folivane::ui::test
