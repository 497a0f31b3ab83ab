// Pictures of the window with its contents preview, of its appearance choices and of the
// progress dialog on a large text, in the desktop's language, for looking at by eye (not a
// test that passes or fails).
// Usage: ui_screenshots OUTPUT_PREFIX LARGE.txt FILE.txt...
#include "UiTestSupport.h"
#include "ui/TAppearanceDialog.h"
#include "ui/TForm3.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace folivane::ui;

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
    QTest::qWait(300);
    form->grab().save(prefix + QStringLiteral("-window.png"));

    // The appearance choices, one of them changed.
    TAppearanceDialog* appearance = form->AppearanceDialog();
    appearance->findChild<QDoubleSpinBox*>(QStringLiteral("m_indent"))->setValue(1);
    appearance->open();
    QTest::qWait(300);
    appearance->grab().save(prefix + QStringLiteral("-appearance.png"));
    appearance->close();

    // The progress dialog while the large text is read.
    test::MakeForm(dialogs).swap(form);
    form->AddTxtFile(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir out;
    dialogs.saveAnswers << out.filePath(QStringLiteral("large.epub"));
    bool saved = false;
    QObject::connect(form.get(), &TForm1::progressDialogShown, [&](TForm3* dialog) {
        QTimer::singleShot(1500, dialog, [&, dialog] {
            dialog->grab().save(prefix + QStringLiteral("-progress.png"));
            saved = true;
            form->TerminateForSignal(15);
        });
    });
    QTimer::singleShot(100, form.get(), [&] {
        QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
    });
    QObject::connect(form.get(), &TForm1::terminated, &app, [&] { QApplication::quit(); });
    QApplication::exec();
    return saved ? 0 : 1;
}
