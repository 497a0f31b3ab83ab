// Helpers shared by the window tests: files on disk, finding widgets, reading the list.
#pragma once

#include "support/ScriptedDialogs.h"
#include "ui/TForm1.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <QUrl>

#include <memory>

namespace folivane::ui::test {

// How long a test waits for work off the interface thread (a conversion, a judgement) to
// show: long, since a loaded machine is slow, and only a failing test waits it out.
constexpr int kSettleMs = 60000;

// Writes `content` to `path`, replacing the file; returns whether it all went.
bool WriteFile(const QString& path, const QByteArray& content);

// A widget of `root` by object name, or null.
template <typename T> T* Find(const QWidget& root, const char* name) {
    return root.findChild<T*>(QLatin1String(name));
}

// The texts of one column of m_list, top to bottom.
QStringList Column(const TForm1& form, int column);

// The selected row of m_list, or -1.
int SelectedRow(const TForm1& form);

// Drags `urls` onto the window and drops them, as a file manager would; returns whether
// the window accepted the drag.
bool Drop(TForm1& form, const QList<QUrl>& urls);

// A main window answered by `dialogs`, in the Fusion style like the program, made with the
// settings a first start has unless `keepSettings` (then with those the last window kept).
std::unique_ptr<TForm1> MakeForm(ScriptedDialogs& dialogs, bool keepSettings = false);

} // namespace folivane::ui::test
