// The window comes back where it was, and always on a screen: whatever its settings file holds.
// Runs on the offscreen platform with one fixed screen of 1024 x 768 (see CMakeLists.txt).
#include "ui/WindowPlacement.h"
#include "UiTestSupport.h"
#include "ui/TAppearanceDialog.h"

#include <QDataStream>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <climits>
#include <functional>
#include <optional>

using folivane::ui::PlaceOnScreen;
using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using namespace folivane::ui::test;

Q_DECLARE_METATYPE(std::optional<QRect>)

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
    void placeOnScreen_data() {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<std::optional<QRect>>("placed");
        // A title bar of 20 and no borders: a window starts 20 below a screen's top at the
        // highest.
        const QList<QRect> one{{0, 0, 1024, 740}};
        const QList<QRect> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
        const QSize small(100, 50);
        QTest::newRow("within: kept") << QRect(100, 100, 800, 500) << one << small
                                      << std::optional(QRect(100, 100, 800, 500));
        QTest::newRow("over the right edge: moved in") << QRect(900, 100, 800, 500) << one << small
                                                       << std::optional(QRect(224, 100, 800, 500));
        QTest::newRow("title bar above the top: moved down")
            << QRect(100, 5, 800, 500) << one << small << std::optional(QRect(100, 20, 800, 500));
        QTest::newRow("larger than the screen: the screen")
            << QRect(0, 0, 100000, 100000) << one << small
            << std::optional(QRect(0, 20, 1024, 720));
        QTest::newRow("far to the top left: its corner")
            << QRect(-5000, -3000, 800, 500) << one << small
            << std::optional(QRect(0, 20, 800, 500));
        QTest::newRow("on a screen that is gone: the primary")
            << QRect(2500, 300, 800, 500) << one << small
            << std::optional(QRect(224, 240, 800, 500));
        QTest::newRow("on the second screen: stays there")
            << QRect(2000, 300, 800, 500) << two << small
            << std::optional(QRect(2000, 300, 800, 500));
        QTest::newRow("across two screens: the one with more of it")
            << QRect(1700, 300, 800, 500) << two << small
            << std::optional(QRect(1920, 300, 800, 500));
        QTest::newRow("taller than the second screen: bounded by it")
            << QRect(2000, 0, 800, 1080) << two << small
            << std::optional(QRect(2000, 20, 800, 1004));
        QTest::newRow("below its minimum: the minimum")
            << QRect(100, 100, 50, 20) << one << small << std::optional(QRect(100, 100, 100, 50));
        QTest::newRow("minimum beyond the screen: the minimum at its corner")
            << QRect(300, 300, 800, 500) << one << QSize(1200, 900)
            << std::optional(QRect(0, 20, 1200, 900));
        QTest::newRow("negative size: nothing")
            << QRect(QPoint(500, 500), QPoint(100, 100)) << one << small << std::optional<QRect>();
        QTest::newRow("corners beyond any screen: nothing")
            << QRect(QPoint(INT_MIN + 1, 0), QPoint(INT_MAX - 1, 100)) << one << small
            << std::optional<QRect>();
        QTest::newRow("no screen: nothing")
            << QRect(100, 100, 800, 500) << QList<QRect>() << small << std::optional<QRect>();
    }
    void placeOnScreen() {
        QFETCH(QRect, wanted);
        QFETCH(QList<QRect>, screens);
        QFETCH(QSize, minimum);
        QFETCH(std::optional<QRect>, placed);
        QCOMPARE(PlaceOnScreen(wanted, screens, minimum, QMargins(0, 20, 0, 0)), placed);
    }

    void placeOnScreenKeepsTheFrameOnTheScreen() {
        const QMargins frame(4, 30, 4, 6);
        QCOMPARE(PlaceOnScreen(QRect(900, 600, 400, 300), {{0, 0, 1024, 768}}, {100, 50}, frame),
                 std::optional(QRect(620, 462, 400, 300)));
        QCOMPARE(PlaceOnScreen(QRect(0, 0, 5000, 5000), {{0, 0, 1024, 768}}, {100, 50}, frame),
                 std::optional(QRect(4, 30, 1016, 732)));
    }

    void windowStartsOnScreenWhateverItsSettingsHold_data() {
        QTest::addColumn<QVariant>("geometry"); // what the settings file holds
        QTest::addColumn<bool>("maximised");
        const QRect screen(0, 0, 1024, 768);
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
            << QVariant(PlaceRecord(screen, 0, false, 1024).left(20)) << false;
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

    void placeAndMaximisedStateComeBack() {
        ScriptedDialogs dialogs;
        auto form = MakeForm(dialogs);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QRect normal(40, 90, form->minimumWidth() + 60, form->minimumHeight() + 60);
        form->setGeometry(normal);
        QTRY_COMPARE(form->geometry(), normal);
        form.reset();
        form = MakeForm(dialogs, true);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_COMPARE(form->geometry(), normal);

        form->showMaximized();
        QTRY_VERIFY(form->isMaximized());
        form.reset();
        form = MakeForm(dialogs, true);
        QTRY_VERIFY(form->isMaximized());
        // Restored, it goes back to where it was before it was maximised.
        form->showNormal();
        QTRY_COMPARE(form->geometry(), normal);
    }

    void appearanceChoicesReadSafelyFromAnyValue_data() {
        QTest::addColumn<QVariant>("indent");
        QTest::addColumn<double>("indentEm"); // what the book is given
        QTest::newRow("kept") << QVariant(1.5) << 1.5;
        QTest::newRow("automatic") << QVariant(-0.25) << -1.0;
        QTest::newRow("above the range") << QVariant(1e308) << 10.0;
        QTest::newRow("below the range") << QVariant(-50) << -1.0;
        QTest::newRow("not a number") << QVariant(QStringLiteral("nan")) << -1.0;
        QTest::newRow("infinite") << QVariant(QStringLiteral("inf")) << -1.0;
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
