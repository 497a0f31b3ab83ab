// The window in Simplified or Traditional Chinese, chosen by the locale (the suite runs with
// LANG=zh_CN.UTF-8 and again with LANG=zh_TW.UTF-8).
#include "UiTestSupport.h"
#include "ui/FailureReasons.h"
#include "ui/TForm3.h"
#include "ui/Translations.h"

#include "engine/text/SourceText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using folivane::ui::TForm3;
using folivane::ui::TranslatedReason;
using namespace folivane::ui::test;

namespace {

// Every text the window shows or tells, by widget and role: titles, captions, column
// headers, choices, placeholders, tool tips and names for screen readers.
QMap<QString, QString> TextsOf(const TForm1& form) {
    QMap<QString, QString> texts;
    texts[QStringLiteral("window title")] = form.windowTitle();
    const QList<QWidget*> widgets = form.findChildren<QWidget*>();
    for (int i = 0; i < widgets.size(); ++i) {
        const QWidget* w = widgets[i];
        const QString key = QStringLiteral("%1 %2 %3 ")
                                .arg(i)
                                .arg(QLatin1String(w->metaObject()->className()), w->objectName());
        texts[key + QStringLiteral("tool tip")] = w->toolTip();
        texts[key + QStringLiteral("accessible name")] = w->accessibleName();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            texts[key + QStringLiteral("text")] = button->text();
        if (const auto* label = qobject_cast<const QLabel*>(w))
            texts[key + QStringLiteral("text")] = label->text();
        if (const auto* group = qobject_cast<const QGroupBox*>(w))
            texts[key + QStringLiteral("title")] = group->title();
        if (const auto* edit = qobject_cast<const QLineEdit*>(w))
            texts[key + QStringLiteral("placeholder")] = edit->placeholderText();
        if (const auto* box = qobject_cast<const QComboBox*>(w))
            for (int item = 0; item < box->count(); ++item)
                texts[key + QStringLiteral("item %1").arg(item)] = box->itemText(item);
        if (const auto* tree = qobject_cast<const QTreeWidget*>(w))
            for (int column = 0; column < tree->columnCount(); ++column)
                texts[key + QStringLiteral("heading %1").arg(column)] =
                    tree->headerItem()->text(column);
        if (const auto* table = qobject_cast<const QTableWidget*>(w))
            for (int column = 0; column < table->columnCount(); ++column)
                texts[key + QStringLiteral("column %1").arg(column)] =
                    table->horizontalHeaderItem(column)->text();
    }
    return texts;
}

// The progress dialog's line in each of its states: waiting, each phase, writing a chapter.
QStringList ProgressTexts() {
    TForm3 dialog;
    const auto* label = Find<QLabel>(dialog, "Label1");
    QStringList texts{label->text()};
    using folivane::engine::JobPhase;
    for (const JobPhase phase : {JobPhase::Reading, JobPhase::FindingChapters,
                                 JobPhase::WritingPages, JobPhase::Packing, JobPhase::Checking}) {
        dialog.Progress(phase, 0);
        texts << label->text();
    }
    dialog.ChapterReport(QStringLiteral("第一章"));
    texts << label->text() << label->toolTip();
    return texts;
}

// The texts Qt itself puts on standard buttons.
QStringList QtButtonTexts() {
    const QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    return {box.button(QDialogButtonBox::Ok)->text(), box.button(QDialogButtonBox::Cancel)->text()};
}

} // namespace

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void englishIsTheSourceAndNeedsNone() {
        QVERIFY(!folivane::ui::InstallTranslations(*qApp, QLocale(QLocale::English)));
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QCOMPARE(form->windowTitle(), QStringLiteral("Quorvel Folivane Converter V1.0"));
    }

    void chineseLocaleTranslatesEveryTextOfTheWindowTheProgressAndQt() {
        // The English texts first: translations, once installed, stay.
        ScriptedDialogs englishDialogs;
        const QMap<QString, QString> english = TextsOf(*MakeForm(englishDialogs));
        const QStringList englishProgress = ProgressTexts();
        const QStringList englishButtons = QtButtonTexts();

        const bool traditional = QLocale::system().name() == QLatin1String("zh_TW");
        QVERIFY2(traditional || QLocale::system().name() == QLatin1String("zh_CN"),
                 qPrintable(QLocale::system().name()));
        QVERIFY(folivane::ui::InstallTranslations(*qApp, QLocale::system()));
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        const QMap<QString, QString> chinese = TextsOf(*form);
        QCOMPARE(chinese.keys(), english.keys());
        // Names and addresses read the same in both languages.
        const QStringList same{QStringLiteral("EPUB 2"), QStringLiteral("EPUB 3"),
                               QStringLiteral("https://folivane.example/")};
        const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
        QStringList untranslated;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            if (it.value().contains(word) && !same.contains(it.value()) &&
                chinese.value(it.key()) == it.value())
                untranslated << it.key() + QStringLiteral(": ") + it.value();
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
        QCOMPARE(form->windowTitle(),
                 QString::fromUtf8(traditional ? "Quorvel Folivane 文字轉電子書 V1.0"
                                               : "Quorvel Folivane 文本转电子书 V1.0"));

        const QStringList progress = ProgressTexts();
        QCOMPARE(progress.size(), englishProgress.size());
        for (int i = 0; i < progress.size(); ++i)
            QVERIFY2(progress[i] != englishProgress[i], qPrintable(progress[i]));
        QVERIFY(progress[progress.size() - 2].contains(QString::fromUtf8("第一章")));

        // Qt's own texts come from Qt's translations, found where Qt keeps them.
        const QStringList buttons = QtButtonTexts();
        QCOMPARE(buttons.size(), englishButtons.size());
        for (int i = 0; i < buttons.size(); ++i)
            QVERIFY2(buttons[i] != englishButtons[i], qPrintable(buttons[i]));

        QTest::mouseClick(Find<QPushButton>(*form, "m_del"), Qt::LeftButton);
        QCOMPARE(dialogs.Messages().size(), 1);
        QCOMPARE(dialogs.Messages().constFirst().text,
                 QString::fromUtf8(traditional ? "請先選擇檔案！" : "请先选择文件！"));

        // The engine's reasons reach the window in English and are shown translated, their
        // file names kept; a cover is refused with one when it is chosen.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString notPicture = folder.filePath(QStringLiteral("cover%2.png"));
        QFile file(notPicture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        dialogs.openFileAnswers << notPicture;
        QTest::mouseClick(Find<QWidget>(*form, "CoverPathButton"), Qt::LeftButton);
        QCOMPARE(dialogs.Messages().size(), 2);
        const QString refusal = dialogs.Messages().constLast().text;
        QVERIFY2(refusal.startsWith(QString::fromUtf8(traditional ? "無法將「" : "无法将“")),
                 qPrintable(refusal));
        QVERIFY2(refusal.contains(notPicture), qPrintable(refusal));
        // So is the reason the engine gives for a source that is gone, with the system's cause.
        const QString gone = folder.filePath(QStringLiteral("gone%1.txt"));
        QString reason;
        try {
            folivane::engine::ReadSourceBytes(QFile::encodeName(gone).toStdString());
        } catch (const std::exception& error) {
            reason = QString::fromStdString(error.what());
        }
        // The system says its cause in English, or already in the window's language where the
        // machine has that language: either way the user reads it in theirs.
        const QString englishCause = QStringLiteral("No such file or directory");
        const QString cause =
            reason.endsWith(englishCause)
                ? QString::fromUtf8(traditional ? "沒有此檔案或目錄" : "没有那个文件或目录")
                : reason.mid(reason.lastIndexOf(QLatin1String(". ")) + 2);
        QCOMPARE(TranslatedReason(reason),
                 QString::fromUtf8(traditional ? "無法開啟檔案「" : "无法打开文件“") + gone +
                     QString::fromUtf8(traditional ? "」。" : "”。") + cause);
        // A reason of another shape is shown as it is, never cut.
        const QString other = QStringLiteral("The system clock gives a time no book can record");
        QCOMPARE(TranslatedReason(other), other);
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
