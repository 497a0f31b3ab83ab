// The window in Simplified or Traditional Chinese, chosen by the locale (the suite runs with
// LANG=zh_CN.UTF-8 and again with LANG=zh_TW.UTF-8).
#include "UiTestSupport.h"
#include "engine/chapters/HeadingRules.h"
#include "engine/text/FailureText.h"
#include "platform/SystemCalls.h"
#include "platform/SystemError.h"
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
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <cerrno>

using folivane::engine::Failure;
using folivane::engine::FailureKind;
using folivane::engine::TextNotice;
using folivane::platform::Call;
using folivane::platform::Fault;
using folivane::platform::FaultInjection;
using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using folivane::ui::TForm3;
using folivane::ui::TranslatedCause;
using folivane::ui::TranslatedFailure;
using folivane::ui::TranslatedNotice;
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

// A failure of `kind` with every value set, none of them in Latin letters but the path's
// extension; the path holds "%2", which must come out as it is.
Failure Sample(FailureKind kind) {
    return {.kind = kind,
            .path = "/书/甲%2.txt",
            .otherPath = "/书/乙.epub",
            .cause = ENOSPC,
            .value = "第(",
            .excerpt = "第一行",
            .detail = "细节",
            .number = 1011,
            .second = 1213,
            .limit = 1415};
}

// The words in Latin letters `text` holds once `values` are taken out, but for the names that
// translations keep (formats, units, tags, examples).
QStringList EnglishLeft(QString text, const QStringList& values) {
    for (const QString& value : values)
        text.remove(value);
    static const QRegularExpression kept(QStringLiteral(
        R"((?<![A-Za-z])(EPUB|JPEG|PNG|GIF|BMP|UTF-8|NUL|MiB|GiB|MB|Zip64|BCP|book\.epub|\.txt|en|)"
        R"(zh-CN|ja|\(a\+\)\+|@import|url|TrueType|OpenType|WOFF2?|SVG|ISBN|YYYY|MM|DD)(?![A-Za-z]))"));
    text.remove(kept);
    static const QRegularExpression word(QStringLiteral("[A-Za-z]+"));
    QStringList left;
    for (auto it = word.globalMatch(text); it.hasNext();)
        left << it.next().captured();
    return left;
}

// A notice of each kind; annotations one and many, with and without examples; bytes one and
// many.
QList<TextNotice> Notices() {
    using Kind = TextNotice::Kind;
    return {
        {.kind = Kind::NumberMissing, .number = 7},
        {.kind = Kind::NumberRepeated, .number = 12},
        {.kind = Kind::AnnotationsNotUnderstood, .count = 1},
        {.kind = Kind::AnnotationsNotUnderstood, .count = 3},
        {.kind = Kind::AnnotationsNotUnderstood, .count = 1, .examples = {"［＃甲］"}},
        {.kind = Kind::AnnotationsNotUnderstood, .count = 3, .examples = {"［＃甲］", "［＃乙］"}},
        {.kind = Kind::BytesNotDecoded, .count = 1, .encoding = "CP932"},
        {.kind = Kind::BytesNotDecoded, .count = 5, .encoding = "GB18030"}};
}

// PCRE2's own words for a chapter pattern that does not compile.
QString PatternMessage(const std::string& pattern) {
    try {
        folivane::engine::HeadingRules::Custom(pattern, std::string());
    } catch (const folivane::engine::HeadingPatternError& error) {
        return QString::fromStdString(error.Reason().detail);
    }
    return QString();
}

// Installs the translations of the system's locale unless they are installed already.
bool EnsureTranslations() {
    if (QCoreApplication::translate("FailureReasons", "Not a regular file") !=
        QLatin1String("Not a regular file"))
        return true;
    return folivane::ui::InstallTranslations(*qApp, QLocale::system());
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
        // Untranslated, the window says failures, causes and notices as the command line does.
        for (std::size_t i = 0; i < folivane::engine::kFailureKinds; ++i) {
            const Failure sample = Sample(static_cast<FailureKind>(i));
            QCOMPARE(TranslatedFailure(sample),
                     QString::fromStdString(folivane::engine::FailureText(sample)));
        }
        for (const int cause : folivane::ui::TranslatedCauses())
            QCOMPARE(TranslatedCause(cause),
                     QString::fromStdString(folivane::platform::SystemErrorText(cause)));
        QVERIFY(TranslatedCause(4242).contains(QLatin1String("4242")));
        for (const TextNotice& notice : Notices())
            QCOMPARE(TranslatedNotice(notice),
                     QString::fromStdString(folivane::engine::NoticeText(notice)));
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

        // The engine's failures are shown translated, their file names kept; a cover is
        // refused with one when it is chosen.
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
        QCOMPARE(TranslatedFailure({.kind = folivane::engine::FailureKind::FileNotWrittenToDisk,
                                    .path = "/b/x.epub",
                                    .cause = ENOSPC}),
                 QString::fromUtf8(traditional ? "無法將檔案「/b/x.epub」寫入磁碟。磁碟空間不足"
                                               : "无法将文件“/b/x.epub”写入磁盘。磁盘空间不足"));
    }

    void everyFailureCauseAndNoticeIsTranslatedLeavingNoEnglish() {
        QVERIFY(EnsureTranslations());
        for (std::size_t i = 0; i < folivane::engine::kFailureKinds; ++i) {
            const auto kind = static_cast<FailureKind>(i);
            const Failure sample = Sample(kind);
            const QString said = TranslatedFailure(sample);
            QVERIFY2(said != QString::fromStdString(folivane::engine::FailureText(sample)),
                     qPrintable(said));
            QStringList values;
            for (const folivane::engine::FailureValue value : folivane::engine::FailureValues(kind))
                values << folivane::ui::FailureValueText(sample, value);
            for (const QString& value : values)
                QVERIFY2(said.contains(value), qPrintable(said + QStringLiteral(" / ") + value));
            QVERIFY2(EnglishLeft(said, values).isEmpty(), qPrintable(said));
        }
        for (const int cause : folivane::ui::TranslatedCauses()) {
            const QString said = TranslatedCause(cause);
            QVERIFY2(EnglishLeft(said, {}).isEmpty(), qPrintable(said));
        }
        // Any other cause by its number, with the system's words as a value.
        const QString other = TranslatedCause(4242);
        QVERIFY2(other.contains(QLatin1String("4242")), qPrintable(other));
        QVERIFY2(EnglishLeft(other, {QStringLiteral("Unknown error 4242")}).isEmpty(),
                 qPrintable(other));
        for (const TextNotice& notice : Notices()) {
            const QString said = TranslatedNotice(notice);
            QStringList values;
            for (const std::string& example : notice.examples)
                values << QString::fromStdString(example);
            if (!notice.encoding.empty()) {
                values << QString::fromStdString(notice.encoding);
                QVERIFY2(said.contains(values.last()), qPrintable(said));
            }
            QVERIFY2(EnglishLeft(said, values).isEmpty(), qPrintable(said));
            QVERIFY2(said.contains(
                         QString::number(notice.number != 0 ? notice.number : long(notice.count))),
                     qPrintable(said));
        }
    }

    // Failures met in the window through the engine's own paths: the result box or the
    // warning holds the file or the pattern as given, and nothing else in English.
    void realFailuresAreShownWhollyTranslated_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("a full disk under the book") << "disk";
        QTest::newRow("a folder the user may not write in") << "folder";
        QTest::newRow("a chapter pattern that does not compile") << "pattern";
        QTest::newRow("a cover that is no picture") << "cover";
    }
    void realFailuresAreShownWhollyTranslated() {
        QFETCH(QString, failure);
        QVERIFY(EnsureTranslations());
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out")));
        const QString source = folder.filePath(QStringLiteral("一.txt"));
        QVERIFY(WriteFile(source, "第一章\n正文。\n"));
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QVERIFY(form->AddTxtFile(source));
        const QString book = folder.filePath(QStringLiteral("out/书.epub"));
        QStringList values; // what the text may hold as it is
        QString cause;      // the system's cause it must hold
        std::vector<Fault> faults;
        if (failure == QLatin1String("disk")) {
            faults = {{Call::Write, ENOSPC, 0, "书.epub"}};
            cause = TranslatedCause(ENOSPC);
        } else if (failure == QLatin1String("folder")) {
            // As root the folder's mode would not refuse: the system's answer is injected.
            faults = {{Call::Open, EACCES, 0, "/out/"}};
            cause = TranslatedCause(EACCES);
        }
        if (failure == QLatin1String("pattern")) {
            Find<QLineEdit>(*form, "m_pattern")->setText(QStringLiteral("第("));
            values << QStringLiteral("第(") << PatternMessage("第(");
            QTest::mouseClick(Find<QToolButton>(*form, "SpeedButton1"), Qt::LeftButton);
        } else if (failure == QLatin1String("cover")) {
            const QString cover = folder.filePath(QStringLiteral("封面.png"));
            QVERIFY(WriteFile(cover, "not a picture"));
            values << cover;
            dialogs.openFileAnswers << cover;
            QTest::mouseClick(Find<QToolButton>(*form, "CoverPathButton"), Qt::LeftButton);
        } else {
            values << book;
            form->SetJobWrapper([faults](const std::function<void()>& job) {
                const FaultInjection injection(faults);
                job();
            });
            QSignalSpy finished(form.get(), &TForm1::conversionFinished);
            dialogs.saveAnswers << book;
            QTest::mouseClick(Find<QToolButton>(*form, "SpeedButton1"), Qt::LeftButton);
            QVERIFY(finished.wait(60000));
            QCOMPARE(finished.constFirst().constFirst().toInt(), 1);
        }
        QVERIFY(!dialogs.Messages().isEmpty());
        const QString said = dialogs.Messages().constLast().text;
        for (const QString& value : values)
            QVERIFY2(said.contains(value), qPrintable(said + QStringLiteral(" / ") + value));
        QVERIFY2(said.contains(cause), qPrintable(said));
        QVERIFY2(EnglishLeft(said, values).isEmpty(), qPrintable(said));
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
