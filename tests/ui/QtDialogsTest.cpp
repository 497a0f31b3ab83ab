// The real message boxes: Escape, titles that fit, text that can be copied.
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

using folivane::ui::QtDialogs;

namespace {

// Runs `act` on the message box `show` opens, once it is up, and returns what `show` returns.
template <typename Show> auto WithBox(Show show, const std::function<void(QMessageBox&)>& act) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll.stop();
            act(*box);
        }
    });
    poll.start();
    return show();
}

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void escapeClosesABoxWithActionsAsOk() {
        QtDialogs dialogs;
        const int action = WithBox(
            [&] {
                return dialogs.MessageWithActions(
                    nullptr, QMessageBox::Information, QStringLiteral("Converter"),
                    QStringLiteral("Convert Succeeded!\n/b/x.epub"),
                    {QStringLiteral("Open Book"), QStringLiteral("Show in Folder")});
            },
            [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
        QCOMPARE(action, -1);
    }

    void boxesAreWideEnoughForTheirTitleAndTheirTextCanBeSelected_data() {
        QTest::addColumn<bool>("withActions");
        QTest::newRow("message") << false;
        QTest::newRow("message with actions") << true;
    }
    void boxesAreWideEnoughForTheirTitleAndTheirTextCanBeSelected() {
        QFETCH(bool, withActions);
        QtDialogs dialogs;
        const QString title =
            QString::fromUtf8("关于 Quorvel Folivane 文本转电子书 — 一个很长的标题");
        int width = 0;
        int titleWidth = 0;
        Qt::TextInteractionFlags flags;
        const auto look = [&](QMessageBox& box) {
            width = box.width();
            titleWidth = box.fontMetrics().horizontalAdvance(title);
            for (const QLabel* label : box.findChildren<QLabel*>())
                if (label->text() == QLatin1String("OK?")) flags = label->textInteractionFlags();
            box.done(0);
        };
        if (withActions)
            WithBox(
                [&] {
                    return dialogs.MessageWithActions(nullptr, QMessageBox::Warning, title,
                                                      QStringLiteral("OK?"), {QStringLiteral("A")});
                },
                look);
        else
            WithBox(
                [&] {
                    return dialogs.Message(nullptr, QMessageBox::Question, title,
                                           QStringLiteral("OK?"), QMessageBox::Yes);
                },
                look);
        QVERIFY2(width > titleWidth,
                 qPrintable(QStringLiteral("%1 <= %2").arg(width).arg(titleWidth)));
        QVERIFY(flags.testFlag(Qt::TextSelectableByMouse));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
