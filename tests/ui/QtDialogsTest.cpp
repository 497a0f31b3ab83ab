// The real message boxes: Escape, titles that fit, text that can be copied.
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

using folivane::ui::QtDialogs;

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void boxesCloseOnEscapeFitTheirTitleAndLetTheirTextBeSelected_data() {
        QTest::addColumn<bool>("withActions");
        QTest::newRow("message") << false;
        QTest::newRow("message with actions, as the success box") << true;
    }
    void boxesCloseOnEscapeFitTheirTitleAndLetTheirTextBeSelected() {
        QFETCH(bool, withActions);
        const QString title =
            QString::fromUtf8("关于 Quorvel Folivane 文本转电子书 — 一个很长的标题");
        int width = 0;
        int titleWidth = 0;
        Qt::TextInteractionFlags flags;
        QTimer poll; // the box, once it is up
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            poll.stop();
            width = box->width();
            titleWidth = box->fontMetrics().horizontalAdvance(title);
            for (const QLabel* label : box->findChildren<QLabel*>())
                if (label->text() == QLatin1String("Done.")) flags = label->textInteractionFlags();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        poll.start(10);
        QtDialogs dialogs;
        const int answer =
            withActions
                ? dialogs.MessageWithActions(nullptr, QMessageBox::Information, title,
                                             QStringLiteral("Done."),
                                             {QStringLiteral("Open Book"), QStringLiteral("Show")})
                : int(dialogs.Message(nullptr, QMessageBox::Question, title,
                                      QStringLiteral("Done."), QMessageBox::Yes | QMessageBox::No));
        QCOMPARE(answer, withActions ? -1 : int(QMessageBox::No));
        QVERIFY2(width > titleWidth,
                 qPrintable(QStringLiteral("%1 <= %2").arg(width).arg(titleWidth)));
        QVERIFY(flags.testFlag(Qt::TextSelectableByMouse));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
