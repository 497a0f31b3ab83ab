// "One book per file" through the window, with the real engine and the batch's threads.
#include "UiTestSupport.h"
#include "ui/TForm3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using folivane::ui::TForm3;
using namespace folivane::ui::test;

class EachFileTest : public QObject {
    Q_OBJECT

private slots:
    void threeFilesMakeTheirBooksAndTheFailureIsListed() {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString in = scratch.filePath(QStringLiteral("in"));
        const QString out = scratch.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(in) && QDir().mkpath(out));
        const QString chinese = in + QStringLiteral("/a.txt");
        const QString english = in + QStringLiteral("/b.txt");
        const QString gone = in + QStringLiteral("/gone.txt");
        QVERIFY(WriteFile(
            chinese, QStringLiteral("书名：软件\n第一章 网络\n这里没有后来的头发。\n").toUtf8()));
        QVERIFY(WriteFile(english, "Title: Plain\nChapter 1\nText.\n"));
        QVERIFY(WriteFile(gone, "Chapter 1\nText.\n"));

        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QVERIFY(Drop(*form, {QUrl::fromLocalFile(chinese), QUrl::fromLocalFile(english),
                             QUrl::fromLocalFile(gone)}));
        QTRY_COMPARE(Column(*form, 0).size(), 3);
        // Removed once listed: its book fails when its turn comes.
        QVERIFY(QFile::remove(gone));
        Find<QCheckBox>(*form, "m_eachFile")->setChecked(true);
        auto* script = Find<QComboBox>(*form, "m_chineseScript");
        script->setCurrentIndex(
            script->findData(static_cast<int>(folivane::engine::ChineseScript::Taiwan)));

        QStringList progress;
        connect(form.get(), &TForm1::progressDialogShown, this, [&progress](TForm3* dialog) {
            auto* label = Find<QLabel>(*dialog, "Label1");
            progress << label->toolTip();
            connect(Find<QProgressBar>(*dialog, "ProgressBar1"), &QProgressBar::valueChanged,
                    dialog, [&progress, label] { progress << label->toolTip(); });
        });
        QSignalSpy finished(form.get(), &TForm1::conversionFinished);
        dialogs.openFolderAnswers << out;
        QTest::mouseClick(Find<QToolButton>(*form, "SpeedButton1"), Qt::LeftButton);
        QVERIFY(finished.wait(120000) || !finished.isEmpty());
        QCOMPARE(finished.constFirst().constFirst().toInt(), 1);

        QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("Plain.epub"), QString::fromUtf8("軟體.epub")}));
        QVERIFY(!progress.isEmpty());
        QVERIFY2(progress.constFirst().startsWith(QStringLiteral("0 of 3")),
                 qPrintable(progress.constFirst()));
        QCOMPARE(progress.constLast(), QStringLiteral("3 of 3"));
        // The folder was asked for, and the result names the book not made.
        QCOMPARE(dialogs.calls.constFirst().kind, ScriptedDialogs::Kind::OpenFolder);
        const QString result = dialogs.calls.constLast().text;
        QVERIFY2(result.contains(QStringLiteral("2 of 3")), qPrintable(result));
        QVERIFY2(result.contains(QStringLiteral("gone.txt")), qPrintable(result));
        QVERIFY(!form->ConversionRunning());
    }
};

QTEST_MAIN(EachFileTest)
#include "EachFileTest.moc"
