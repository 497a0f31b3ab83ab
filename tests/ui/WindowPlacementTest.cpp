// The window comes back where it was, and always on a screen: whatever its settings file holds.
// Runs on the offscreen platform with one fixed screen of 1024 x 768 (see CMakeLists.txt).
#include "ui/WindowPlacement.h"
#include "UiTestSupport.h"
#include "ui/TAppearanceDialog.h"

#include <QDataStream>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <climits>
#include <optional>

using folivane::ui::PlaceOnScreen;
using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using namespace folivane::ui::test;

namespace {

QSettings Settings() {
    return QSettings(QStringLiteral("Quorvel"), QStringLiteral("Folivane"));
}

// A record of a window's place in the form QWidget::saveGeometry writes (version 3), for
// places no window on this screen could have saved.
QByteArray PlaceRecord(const QRect& frame, int screen, bool maximised, int screenWidth) {
    QByteArray record;
    QDataStream out(&record, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_0);
    out << quint32(0x1D9D0CB) << quint16(3) << quint16(0) << frame << frame << qint32(screen)
        << quint8(maximised) << quint8(0) << qint32(screenWidth) << frame;
    return record;
}

} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    // Several screens, which the window's own table below cannot have.
    void placeOnScreenAmongScreens_data() {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QRect>("placed");
        const QSize small(100, 50);
        QTest::newRow("on the second screen: stays there")
            << QRect(2000, 300, 800, 500) << small << QRect(2000, 300, 800, 500);
        QTest::newRow("across two screens: the one with more of it")
            << QRect(1700, 300, 800, 500) << small << QRect(1920, 300, 800, 500);
        QTest::newRow("taller than the second screen: bounded by it")
            << QRect(2000, 0, 800, 1080) << small << QRect(2000, 20, 800, 1004);
        QTest::newRow("on neither: the primary, the first")
            << QRect(5000, 300, 800, 500) << small << QRect(1120, 300, 800, 500);
        QTest::newRow("minimum beyond the screen: the minimum at its corner")
            << QRect(300, 300, 800, 500) << QSize(2000, 900) << QRect(0, 180, 2000, 900);
    }
    void placeOnScreenAmongScreens() {
        QFETCH(QRect, wanted);
        QFETCH(QSize, minimum);
        QFETCH(QRect, placed);
        // A title bar of 20 and no borders: a window starts 20 below a screen's top.
        const QList<QRect> screens{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
        QCOMPARE(PlaceOnScreen(wanted, screens, minimum, QMargins(0, 20, 0, 0)),
                 std::optional(placed));
    }

    void windowStartsOnScreenWhateverItsSettingsHold_data() {
        QTest::addColumn<QVariant>("geometry"); // what the settings file holds
        QTest::addColumn<bool>("maximised");
        QTest::newRow("nothing: a first start") << QVariant() << false;
        QTest::newRow("maximised on this screen")
            << QVariant(PlaceRecord(QRect(40, 60, 900, 600), 0, true, 1024)) << true;
        QTest::newRow("maximised, its normal place larger than the screen")
            << QVariant(PlaceRecord(QRect(352, 320, 1600, 981), 0, true, 1024)) << true;
        QTest::newRow("its bottom below the screen")
            << QVariant(PlaceRecord(QRect(100, 300, 900, 700), 0, false, 1024)) << false;
        QTest::newRow("off the screen to the bottom right")
            << QVariant(PlaceRecord(QRect(5000, 4000, 800, 500), 0, false, 1024)) << false;
        QTest::newRow("huge") << QVariant(PlaceRecord(QRect(0, 0, 100000, 100000), 0, false, 1024))
                              << false;
        QTest::newRow("negative place and size")
            << QVariant(PlaceRecord(QRect(QPoint(-400, -300), QPoint(-900, -800)), 0, false, 1024))
            << false;
        QTest::newRow("corners beyond any screen")
            << QVariant(PlaceRecord(
                   QRect(QPoint(INT_MIN + 1, INT_MIN + 1), QPoint(INT_MAX - 1, INT_MAX - 1)), 0,
                   false, 1024))
            << false;
        QTest::newRow("on a second screen that is gone")
            << QVariant(PlaceRecord(QRect(1100, 100, 800, 500), 1, false, 1024)) << false;
        QTest::newRow("saved on a much wider screen")
            << QVariant(PlaceRecord(QRect(2000, 100, 800, 500), 0, false, 3840)) << false;
        QTest::newRow("cut short")
            << QVariant(PlaceRecord(QRect(0, 0, 900, 600), 0, false, 1024).left(20)) << false;
        QTest::newRow("garbage bytes")
            << QVariant(QByteArray("\x01\xD9\xD0\xCB garbage", 13)) << false;
        QTest::newRow("a text") << QVariant(QStringLiteral("@Rect(0 0 99999 99999)")) << false;
        QTest::newRow("a number") << QVariant(42) << false;
    }
    void windowStartsOnScreenWhateverItsSettingsHold() {
        QFETCH(QVariant, geometry);
        QFETCH(bool, maximised);
        {
            QSettings settings = Settings();
            settings.clear();
            if (geometry.isValid()) settings.setValue(QStringLiteral("window/geometry"), geometry);
            // What earlier versions kept is read no more: it crashed the window at this size.
            settings.setValue(QStringLiteral("window/size"), QSize(100000, 100000));
        }
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs, true);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(available, QRect(0, 0, 1024, 768)); // the platform's fixed screen
        QTRY_COMPARE(form->isMaximized(), maximised);
        QVERIFY2(available.contains(form->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(form->frameGeometry().x())
                                .arg(form->frameGeometry().y())
                                .arg(form->frameGeometry().width())
                                .arg(form->frameGeometry().height())));
        QVERIFY(available.contains(form->normalGeometry()));
        QVERIFY(form->width() >= form->minimumWidth() && form->height() >= form->minimumHeight());
    }

    void appearanceChoicesReadSafelyFromAnyValue_data() {
        QTest::addColumn<QVariant>("indent");
        QTest::addColumn<double>("indentEm"); // what the book is given
        QTest::newRow("kept") << QVariant(1.5) << 1.5;
        QTest::newRow("above the range") << QVariant(1e308) << 10.0;
        QTest::newRow("not a number") << QVariant(QStringLiteral("nan")) << -1.0;
        QTest::newRow("a word") << QVariant(QStringLiteral("wide")) << -1.0;
    }
    void appearanceChoicesReadSafelyFromAnyValue() {
        QFETCH(QVariant, indent);
        QFETCH(double, indentEm);
        {
            QSettings settings = Settings();
            settings.clear();
            settings.setValue(QStringLiteral("choices/indent"), indent);
            settings.setValue(QStringLiteral("choices/paragraphSpacing"), indent);
        }
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs, true);
        folivane::engine::BookInput input;
        form->AppearanceDialog()->ApplyTo(input);
        QCOMPARE(input.indentEm, indentEm);
        QCOMPARE(input.paragraphSpacingEm, indentEm);
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "WindowPlacementTest.moc"
