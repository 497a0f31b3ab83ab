// Pictures of the window with its contents preview, of its appearance choices, of a message
// box and of the progress dialog on a large text, in the desktop's language, for looking at by
// eye (not a test that passes or fails). Each is saved as the widget draws itself
// (PREFIX-NAME.png) and as the whole screen shows it, the window manager's title bar included
// when one runs (PREFIX-NAME-screen.png).
// Usage: ui_screenshots OUTPUT_PREFIX LARGE.txt FILE.txt...
#include "UiTestSupport.h"
#include "ui/QtDialogs.h"
#include "ui/TAppearanceDialog.h"
#include "ui/TForm3.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace folivane::ui;

namespace {

void Picture(QWidget& widget, const QString& prefix, const QString& name) {
    widget.grab().save(prefix + QLatin1Char('-') + name + QStringLiteral(".png"));
    QGuiApplication::primaryScreen()->grabWindow(0).save(prefix + QLatin1Char('-') + name +
                                                         QStringLiteral("-screen.png"));
}

QString Translated(const char* text) {
    return QCoreApplication::translate("folivane::ui::TForm1", text);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fputs("usage: ui_screenshots OUTPUT_PREFIX LARGE.txt FILE.txt...\n", stderr);
        return 2;
    }
    InstallTranslations(app, QLocale::system());
    const QString prefix = QString::fromLocal8Bit(argv[1]);
    ScriptedDialogs dialogs;
    auto form = test::MakeForm(dialogs);
    for (int i = 3; i < argc; ++i)
        form->AddTxtFile(QString::fromLocal8Bit(argv[i]));
    if (!QTest::qWaitFor([&] { return !form->PreviewPending(); }, 60000)) return 1;
    QTest::qWait(500);
    Picture(*form, prefix, QStringLiteral("window"));

    // The appearance choices, one of them changed.
    TAppearanceDialog* appearance = form->AppearanceDialog();
    appearance->findChild<QDoubleSpinBox*>(QStringLiteral("m_indent"))->setValue(1);
    appearance->open();
    QTest::qWait(500);
    Picture(*appearance, prefix, QStringLiteral("appearance"));
    appearance->close();

    // A real message box: its title must fit.
    QtDialogs boxes;
    QTimer::singleShot(500, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            Picture(*box, prefix, QStringLiteral("box"));
            box->close();
        }
    });
    boxes.Message(form.get(), QMessageBox::Information, Translated("Quorvel Folivane Converter"),
                  Translated("Cancelled") + QLatin1Char('\n') + Translated("No book was written."),
                  QMessageBox::Ok);

    // The progress dialog while the large text is read.
    test::MakeForm(dialogs).swap(form);
    form->AddTxtFile(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir out;
    dialogs.saveAnswers << out.filePath(QStringLiteral("large.epub"));
    bool saved = false;
    QObject::connect(form.get(), &TForm1::progressDialogShown, [&](TForm3* dialog) {
        QTimer::singleShot(400, dialog, [&, dialog] {
            Picture(*dialog, prefix, QStringLiteral("progress"));
            saved = true;
            form->TerminateForSignal(15);
        });
    });
    QTimer::singleShot(100, form.get(), [&] {
        QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
    });
    QObject::connect(form.get(), &TForm1::terminated, &app, [&] { QApplication::quit(); });
    // A conversion faster than the picture ends the program all the same.
    QObject::connect(form.get(), &TForm1::conversionFinished, &app, [&] { QApplication::quit(); });
    QApplication::exec();
    return saved ? 0 : 1;
}
