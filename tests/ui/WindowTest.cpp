// The window a desktop user expects: the contents preview, the keyboard, a window that grows and
// remembers, and the questions asked once and early.
#include "UiTestSupport.h"
#include "ui/BookFileName.h"
#include "ui/TDetailsDialog.h"
#include "ui/TForm3.h"

#include "engine/job/ConversionJob.h"
#include "engine/job/WorkingTree.h"
#include "engine/text/FailureText.h"
#include "support/PlanCases.h"
#include "support/XmlTree.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSet>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <functional>

using folivane::ui::BookFileName;
using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using folivane::ui::TForm3;
using namespace folivane::ui::test;

namespace {

// The entries under a tree item as "label" lines, children indented by two spaces.
void Outline(const QTreeWidgetItem* item, int depth, QStringList& lines) {
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem* child = item->child(i);
        lines << QString(2 * depth, QLatin1Char(' ')) + child->text(0);
        Outline(child, depth + 1, lines);
    }
}

// An outline as "label" lines, children indented by two spaces.
void Outline(const std::vector<folivane::test::Outline>& entries, int depth, QStringList& lines) {
    for (const folivane::test::Outline& entry : entries) {
        lines << QString(2 * depth, QLatin1Char(' ')) + QString::fromStdString(entry.label);
        Outline(entry.within, depth + 1, lines);
    }
}

// Records the job's result only.
class ResultSink : public folivane::engine::ProgressSink {
public:
    void ShowProgress() override {}
    void SetMaximum(int) override {}
    void ChapterReport(const std::string&) override {}
    void CloseRequest() override {}
    void Result(const std::optional<folivane::engine::Failure>& failed) override {
        code = failed ? 1 : 0;
        reason = failed ? folivane::engine::FailureText(*failed) : std::string();
    }
    int code = -1;
    std::string reason;
};

// The contents branch of the preview (its second top-level item, after the sources).
QStringList Contents(const TForm1& form) {
    const auto* tree = Find<QTreeWidget>(form, "m_preview");
    QStringList lines;
    if (tree->topLevelItemCount() == 2) Outline(tree->topLevelItem(1), 0, lines);
    return lines;
}

// Whether `widget` is part of a control made of several widgets (a list's header and scroll
// bars, a number box's field, a list box's pop-up), which the control speaks for.
bool PartOfAControl(const QWidget* widget) {
    for (const QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(up) ||
            qobject_cast<const QAbstractSpinBox*>(up) || qobject_cast<const QComboBox*>(up))
            return true;
    return false;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm1> form_;

    QString File(const QString& name, const QByteArray& content) {
        const QString path = dir_.filePath(name);
        if (!WriteFile(path, content)) qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // Waits for the preview to show the window as it is now.
    bool PreviewSettles() {
        return QTest::qWaitFor([this] { return !form_->PreviewPending(); }, 20000);
    }
    QToolButton* ConvertButton() const { return Find<QToolButton>(*form_, "SpeedButton1"); }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }
    void init() {
        dialogs_ = ScriptedDialogs();
        form_ = MakeForm(dialogs_);
    }
    void cleanup() { form_.reset(); }

    void previewShowsTheTreeAndFollowsChoicesAndOrder() {
        const QString volumes = File(QStringLiteral("volumes.txt"),
                                     "第一卷 开始\n第一章 渡口\n雨后。\n第二章 山路\n很久。\n"
                                     "第二卷 结束\n第三章 回家\n到了。\n");
        const QString plain = File(QStringLiteral("plain.txt"), "Just some text.\n");
        form_->AddTxtFile(volumes);
        QVERIFY(PreviewSettles());
        QCOMPARE(Contents(*form_), (QStringList{"第一卷 开始", "  第一章 渡口", "  第二章 山路",
                                                "第二卷 结束", "  第三章 回家"}));
        // Each source with how it is read and how its lines make paragraphs.
        const auto* tree = Find<QTreeWidget>(*form_, "m_preview");
        QVERIFY2(tree->topLevelItem(0)->child(0)->text(0).contains(QLatin1String("UTF-8")),
                 qPrintable(tree->topLevelItem(0)->child(0)->text(0)));
        QVERIFY2(tree->topLevelItem(0)->child(0)->text(0).endsWith(
                     QLatin1String("a paragraph per line")),
                 qPrintable(tree->topLevelItem(0)->child(0)->text(0)));

        // Chapters off: one entry per file.
        Find<QCheckBox>(*form_, "m_chapters")->setChecked(false);
        QVERIFY(PreviewSettles());
        QCOMPARE(Contents(*form_), QStringList{"volumes"});
        Find<QCheckBox>(*form_, "m_chapters")->setChecked(true);

        // A pattern of the user's replaces the built-in headings; a broken one is said.
        auto* pattern = Find<QLineEdit>(*form_, "m_pattern");
        pattern->setText(QStringLiteral("^第.章"));
        QVERIFY(PreviewSettles());
        QCOMPARE(Contents(*form_),
                 (QStringList{"volumes", "第一章 渡口", "第二章 山路", "第三章 回家"}));
        pattern->setText(QStringLiteral("第("));
        QVERIFY(PreviewSettles());
        QCOMPARE(Contents(*form_), QStringList());
        QVERIFY2(Find<QLabel>(*form_, "m_previewNote")->text().contains(QLatin1String("(")),
                 qPrintable(Find<QLabel>(*form_, "m_previewNote")->text()));
        pattern->clear();

        // The order of the files is the order of the contents.
        form_->AddTxtFile(plain);
        QVERIFY(PreviewSettles());
        QCOMPARE(Contents(*form_).constLast(), QStringLiteral("  plain"));
        form_->SwapRows(0, 1);
        QVERIFY(PreviewSettles());
        QCOMPARE(Contents(*form_).constFirst(), QStringLiteral("plain"));
        QVERIFY(dialogs_.calls.isEmpty());
    }

    // The title cover the book will get shows beside the contents; the details a wrong ISBN
    // keeps from converting, with the dialog open at it; the header's translator shows.
    void previewShowsTheTitleCoverAndDetailsAreChecked() {
        form_->AddTxtFile(File(QStringLiteral("horla.txt"),
                               "Title: Le Horla\nTranslator: Ann Smith\n\nJe suis ici.\n"));
        QVERIFY(PreviewSettles());
        const auto* cover = Find<QLabel>(*form_, "m_coverPreview");
        QVERIFY(Find<QCheckBox>(*form_, "m_titleCover")->isChecked());
        QVERIFY(!cover->pixmap().isNull());
        // 1600 x 2560 made small, keeping its shape.
        QCOMPARE(cover->pixmap().height() * 5, cover->pixmap().width() * 8);
        QCOMPARE(Find<QLineEdit>(*form_, "m_translator")->placeholderText(),
                 QStringLiteral("Ann Smith"));
        Find<QCheckBox>(*form_, "m_titleCover")->setChecked(false);
        QVERIFY(PreviewSettles());
        QVERIFY(cover->pixmap().isNull());
        // A picture given makes the choice moot.
        Find<QLineEdit>(*form_, "CoverPath")->setText(QStringLiteral("/some/picture.png"));
        QVERIFY(!Find<QCheckBox>(*form_, "m_titleCover")->isEnabled());
        Find<QLineEdit>(*form_, "CoverPath")->clear();

        Find<QLineEdit>(*form_, "m_identifier")->setText(QStringLiteral("978-0-306-40615-8"));
        QTest::mouseClick(ConvertButton(), Qt::LeftButton);
        const QList<ScriptedDialogs::Call> messages = dialogs_.Messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].text.contains(QLatin1String("978-0-306-40615-8")),
                 qPrintable(messages[0].text));
        QVERIFY(form_->DetailsDialog()->isVisible());
        QVERIFY(!form_->ConversionRunning());
        QVERIFY(dialogs_.saveAnswers.isEmpty()); // no save dialog was asked for
    }

    // The preview is the book: for books of every shape, its contents are the contents of
    // the book the job makes from the same files and choices.
    void previewIsTheBooksContents_data() {
        QTest::addColumn<int>("index");
        const auto& cases = folivane::test::PlanCases();
        for (std::size_t i = 0; i < cases.size(); ++i) {
            // The window takes file names as text; one that is not UTF-8 cannot be added so.
            bool utf8 = true;
            for (const auto& file : cases[i].files)
                utf8 = utf8 && QString::fromUtf8(file.first).toUtf8() ==
                                   QByteArray::fromStdString(file.first);
            if (utf8) QTest::newRow(cases[i].name) << static_cast<int>(i);
        }
    }
    void previewIsTheBooksContents() {
        QFETCH(int, index);
        const folivane::test::PlanCase& planCase =
            folivane::test::PlanCases()[static_cast<std::size_t>(index)];
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        folivane::engine::BookInput input = folivane::test::WritePlanCase(
            planCase, QFile::encodeName(folder.path()).toStdString() + "/");
        Find<QCheckBox>(*form_, "m_chapters")
            ->setChecked(planCase.chapters == folivane::engine::ChapterMode::Auto);
        Find<QLineEdit>(*form_, "m_title")->setText(QString::fromStdString(planCase.title));
        for (const std::string& source : input.sources)
            QVERIFY(form_->AddTxtFile(QFile::decodeName(source.c_str())));
        QVERIFY(PreviewSettles());
        // Saved where the save dialog suggests: under the title the window shows.
        input.outputPath =
            QFile::encodeName(folder.filePath(Find<QLineEdit>(*form_, "m_title")->text() +
                                              QStringLiteral(".epub")))
                .toStdString();

        folivane::engine::WorkingTree tree = folivane::engine::PrepareWorkingTree(
            QFile::encodeName(folder.path()).toStdString() + "/");
        ResultSink sink;
        folivane::engine::DoTask(input, tree, sink);
        QVERIFY2(sink.code == 0, sink.reason.c_str());
        const auto entry = [&input](const char* name) {
            QProcess unzip;
            unzip.start(QStringLiteral("unzip"),
                        {QStringLiteral("-p"), QString::fromStdString(input.outputPath),
                         QString::fromLatin1(name)});
            unzip.waitForFinished(30000);
            return unzip.readAllStandardOutput().toStdString();
        };
        QStringList book;
        Outline(folivane::test::NcxOutline(folivane::test::XmlTree(entry("OEBPS/toc.ncx"))), 0,
                book);
        QCOMPARE(Contents(*form_), book);
        // The title the window shows, suggested or typed, is the book's.
        const folivane::test::XmlTree opf(entry("OEBPS/content.opf"));
        QCOMPARE(Find<QLineEdit>(*form_, "m_title")->text(),
                 QString::fromStdString(opf.Value("//dc:title")));
    }

    // A plan made for the window as it was, which finishes after a change, is never shown.
    void planThatFinishesAfterAChangeIsNeverShown() {
        form_->AddTxtFile(
            File(QStringLiteral("ferry.txt"), "第一章 渡口\n雨后。\n第二章 山路\n很久。\n"));
        QVERIFY(PreviewSettles());
        QStringList shown; // the contents at each showing
        connect(form_.get(), &TForm1::previewShown, form_.get(),
                [&] { shown << Contents(*form_).join(QLatin1Char('|')); });
        // The next plan is held once it is made, until the window has changed.
        const auto made = std::make_shared<QSemaphore>();
        const auto release = std::make_shared<QSemaphore>();
        const auto unblock = qScopeGuard([release] { release->release(); }); // whatever fails
        form_->SetPlanMadeHook([made, release] {
            made->release();
            release->acquire();
        });
        Find<QLineEdit>(*form_, "m_pattern")->setText(QStringLiteral("^第一章"));
        QVERIFY(QTest::qWaitFor([made] { return made->tryAcquire(); }, 20000));
        form_->SetPlanMadeHook({});
        Find<QCheckBox>(*form_, "m_chapters")->setChecked(false);
        release->release();
        QVERIFY(PreviewSettles());
        QCOMPARE(shown, QStringList{QStringLiteral("ferry")});
    }

    void previewTellsChaptersFoundByNumberAndNumbersMissing() {
        QByteArray story;
        for (const char* number : {"1", "2", "3", "5"})
            story += QByteArray(number) +
                     "\n\nThe lamp burned.\nNobody came.\nThe keeper watched the sea.\n\n";
        form_->AddTxtFile(File(QStringLiteral("story.txt"), story));
        QVERIFY(PreviewSettles());
        QCOMPARE(Contents(*form_), (QStringList{"1", "2", "3", "5"}));
        const auto* tree = Find<QTreeWidget>(*form_, "m_preview");
        QVERIFY(tree->topLevelItem(1)->child(0)->font(0).italic());
        QVERIFY2(tree->topLevelItem(0)->child(0)->text(0).contains(QLatin1String("per line")),
                 qPrintable(tree->topLevelItem(0)->child(0)->text(0)));
        const QString note = Find<QLabel>(*form_, "m_previewNote")->text();
        QVERIFY2(note.contains(QLatin1String("story.txt: chapter 4 missing")), qPrintable(note));
    }

    void tabVisitsEveryControlOnceInOrderAndTheListGetsACurrentRow_data() {
        QTest::addColumn<int>("epubVersion");
        QTest::addColumn<QStringList>("afterTheVersion");
        // "m_vertical" is off the path while the book is EPUB 2, as disabled controls are.
        QTest::newRow("EPUB 2") << 0 << QStringList{};
        QTest::newRow("EPUB 3") << 1 << QStringList{"m_vertical"};
    }

    void tabVisitsEveryControlOnceInOrderAndTheListGetsACurrentRow() {
        QFETCH(int, epubVersion);
        QFETCH(QStringList, afterTheVersion);
        Find<QComboBox>(*form_, "m_epubVersion")->setCurrentIndex(epubVersion);
        form_->AddTxtFile(File(QStringLiteral("a.txt"), "A"));
        form_->AddTxtFile(File(QStringLiteral("b.txt"), "B"));
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        const QStringList order =
            QStringList{"BitBtn1",      "URLLabel3",    "m_list",     "m_up",
                        "m_down",       "m_del",        "m_delall",   "m_title",
                        "m_zz",         "m_cbs",        "CoverPath",  "CoverPathButton",
                        "m_titleCover", "m_appearance", "m_more",     "m_chapters",
                        "m_pattern",    "m_eachFile",   "m_language", "m_epubVersion"} +
            afterTheVersion +
            QStringList{"m_paragraphs", "m_chineseScript", "SpeedButton1", "URLLabel4",
                        "m_preview"};
        Find<QWidget>(*form_, "BitBtn1")->setFocus();
        QStringList visited;
        for (int i = 0; i <= order.size(); ++i) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            visited << focus->objectName();
            if (focus->objectName() == QLatin1String("m_list"))
                QCOMPARE(SelectedRow(*form_), 0); // Ctrl+Up and Ctrl+Down act at once
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(visited, order + QStringList{order.constFirst()});
    }

    void shortcutsOfEmptyAboutAndCoverAreNamedInTheirToolTips() {
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        const struct {
            const char* control;
            QKeySequence keys;
            QString title; // of the dialog the keys open
        } rows[] = {
            {"m_delall", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete), QString()},
            {"URLLabel3", QKeySequence(Qt::Key_F1),
             QStringLiteral("About Quorvel Folivane Converter")},
            {"CoverPathButton", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), QString()},
        };
        for (const auto& row : rows) {
            const QString tip = Find<QWidget>(*form_, row.control)->toolTip();
            QVERIFY2(tip.contains(row.keys.toString(QKeySequence::NativeText)), qPrintable(tip));
            const qsizetype before = dialogs_.calls.size();
            QTest::keySequence(form_.get(), row.keys);
            QCOMPARE(dialogs_.calls.size(), before + 1);
            if (!row.title.isEmpty()) QCOMPARE(dialogs_.calls.constLast().title, row.title);
        }
        QCOMPARE(dialogs_.calls[2].kind, ScriptedDialogs::Kind::OpenFile);
    }

    void convertIsDisabledWhileTheListIsEmpty() {
        QVERIFY(!ConvertButton()->isEnabled());
        QVERIFY(!ConvertButton()->toolTip().isEmpty());
        form_->AddTxtFile(File(QStringLiteral("a.txt"), "A"));
        QVERIFY(ConvertButton()->isEnabled());
        dialogs_.messageAnswers << QMessageBox::Yes;
        QTest::mouseClick(Find<QWidget>(*form_, "m_delall"), Qt::LeftButton);
        QVERIFY(!ConvertButton()->isEnabled());
        // The keys do nothing either, without a word.
        QTest::keySequence(form_.get(), QKeySequence(Qt::CTRL | Qt::Key_Return));
        QCOMPARE(dialogs_.calls.size(), 1);
    }

    void badCoverIsRefusedWhenChosenWithTheEnginesReason() {
        dialogs_.openFileAnswers << File(QStringLiteral("not-a-picture.png"), "plain text");
        QTest::mouseClick(Find<QToolButton>(*form_, "CoverPathButton"), Qt::LeftButton);
        QCOMPARE(Find<QLineEdit>(*form_, "CoverPath")->text(), QString());
        const QList<ScriptedDialogs::Call> messages = dialogs_.Messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, QMessageBox::Warning);
        QVERIFY2(messages[0].text.contains(QLatin1String("not-a-picture.png")),
                 qPrintable(messages[0].text));
    }

    void oneQuestionForTheBooksPath_data() {
        QTest::addColumn<QString>("target"); // "source", "existing" or "new"
        QTest::addColumn<int>("icon");
        QTest::newRow("a source is refused, not offered for replacing")
            << "source" << int(QMessageBox::Warning);
        QTest::newRow("another existing file is asked about")
            << "existing" << int(QMessageBox::Question);
    }
    void oneQuestionForTheBooksPath() {
        QFETCH(QString, target);
        QFETCH(int, icon);
        const QString source = File(QStringLiteral("one.txt"), "Hello");
        const QString existing = File(QStringLiteral("old.epub"), "an earlier book");
        form_->AddTxtFile(source);
        dialogs_.saveAnswers << (target == QLatin1String("source") ? source : existing);
        QTest::mouseClick(ConvertButton(), Qt::LeftButton); // the question is answered No
        const QList<ScriptedDialogs::Call> messages = dialogs_.Messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(int(messages[0].icon), icon);
        QVERIFY(!form_->ConversionRunning());
    }

    void choicesFoldersAndSizePersist() {
        Find<QCheckBox>(*form_, "m_chapters")->setChecked(false);
        Find<QLineEdit>(*form_, "m_pattern")->setText(QStringLiteral("^Part \\d+"));
        Find<QLineEdit>(*form_, "m_language")->setText(QStringLiteral("ja"));
        Find<QComboBox>(*form_, "m_epubVersion")->setCurrentIndex(1);
        Find<QComboBox>(*form_, "m_paragraphs")->setCurrentIndex(2);
        const QString paragraphs = Find<QComboBox>(*form_, "m_paragraphs")->currentText();
        // Within the screen (800 x 600 offscreen), since a larger size comes back bounded.
        const QSize grown = form_->minimumSize().expandedTo(QSize(0, 420)) + QSize(0, 90);
        form_->resize(grown);
        dialogs_.openFilesAnswers << QStringList{File(QStringLiteral("a.txt"), "A")};
        QTest::mouseClick(Find<QWidget>(*form_, "BitBtn1"), Qt::LeftButton);
        // The books go to a folder of their own, which the save dialog's answer names (and
        // the question whether to replace the book there is answered No).
        const QString books = QDir(dir_.filePath(QStringLiteral("books"))).absolutePath();
        QVERIFY(QDir().mkpath(books));
        dialogs_.saveAnswers << File(QStringLiteral("books/old.epub"), "an earlier book");
        QTest::mouseClick(ConvertButton(), Qt::LeftButton);
        form_.reset();

        ScriptedDialogs dialogs;
        form_ = MakeForm(dialogs, true);
        QVERIFY(!Find<QCheckBox>(*form_, "m_chapters")->isChecked());
        QCOMPARE(Find<QLineEdit>(*form_, "m_pattern")->text(), QStringLiteral("^Part \\d+"));
        QCOMPARE(Find<QLineEdit>(*form_, "m_language")->text(), QStringLiteral("ja"));
        QCOMPARE(Find<QComboBox>(*form_, "m_epubVersion")->currentText(), QStringLiteral("EPUB 3"));
        QCOMPARE(Find<QComboBox>(*form_, "m_paragraphs")->currentText(), paragraphs);
        QCOMPARE(form_->size(), grown);
        QTest::mouseClick(Find<QWidget>(*form_, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(dialogs.calls.constLast().kind, ScriptedDialogs::Kind::OpenFiles);
        QCOMPARE(dialogs.calls.constLast().folder, QDir(dir_.path()).absolutePath());
        form_->AddTxtFile(File(QStringLiteral("b.txt"), "B"));
        QTest::mouseClick(ConvertButton(), Qt::LeftButton);
        QCOMPARE(dialogs.calls.constLast().kind, ScriptedDialogs::Kind::SaveFile);
        QCOMPARE(dialogs.calls.constLast().folder, books);
        form_.reset(); // before the dialogs it holds
    }

    void windowGrowsFromItsClassicSizeAndColumnsStretch() {
        QVERIFY(form_->minimumSize().width() >= 505 && form_->minimumSize().height() >= 358);
        QVERIFY(form_->maximumSize().width() > form_->minimumSize().width());
        auto* list = Find<QTableWidget>(*form_, "m_list");
        const int pathWidth = list->columnWidth(4);
        form_->resize(form_->size() + QSize(300, 0));
        QTRY_VERIFY(list->columnWidth(4) > pathWidth);
    }

    void successBoxOpensTheBookOrItsFolder_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("opened"); // "book", "folder" or nothing
        QTest::addColumn<bool>("desktopCan");
        QTest::newRow("Open Book") << 0 << "book" << true;
        QTest::newRow("Show in Folder") << 1 << "folder" << true;
        QTest::newRow("OK") << -1 << "" << true;
        QTest::newRow("Open Book, no program for books: the path to copy") << 0 << "book" << false;
        QTest::newRow("Show in Folder, no file manager: the path to copy")
            << 1 << "folder" << false;
    }
    void successBoxOpensTheBookOrItsFolder() {
        QFETCH(int, action);
        QFETCH(QString, opened);
        QFETCH(bool, desktopCan);
        form_->AddTxtFile(File(QStringLiteral("one.txt"), "Hello"));
        const QString book = dir_.filePath(QStringLiteral("made-%1.epub").arg(action + 1));
        QFile::remove(book);
        dialogs_.saveAnswers << book;
        dialogs_.actionAnswers << action;
        if (!desktopCan) {
            dialogs_.openUrlAnswers << false;
            dialogs_.actionAnswers << 0; // Copy Path
            QGuiApplication::clipboard()->clear();
        }
        QSignalSpy finished(form_.get(), &TForm1::conversionFinished);
        QTest::mouseClick(ConvertButton(), Qt::LeftButton);
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.constFirst().constFirst().toInt(), 0);
        QCOMPARE(dialogs_.Messages().constFirst().actions,
                 (QStringList{QStringLiteral("Open Book"), QStringLiteral("Show in Folder")}));
        QList<QUrl> expected;
        if (opened == QLatin1String("book")) expected << QUrl::fromLocalFile(book);
        if (opened == QLatin1String("folder")) expected << QUrl::fromLocalFile(dir_.path());
        QCOMPARE(dialogs_.openedUrls, expected);
        if (!desktopCan) {
            // Said in a box of its own, with the path to select or copy.
            const QString path = expected.constFirst().toLocalFile();
            const ScriptedDialogs::Call said = dialogs_.Messages().constLast();
            QCOMPARE(said.icon, QMessageBox::Warning);
            QVERIFY2(said.text.endsWith(QLatin1Char('\n') + path), qPrintable(said.text));
            QCOMPARE(said.actions, QStringList{QStringLiteral("Copy Path")});
            QCOMPARE(QGuiApplication::clipboard()->text(), path);
        }
    }

    void bookFileNameIsTheTitleMadeHarmless_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("a title") << QString::fromUtf8("红楼梦") << QString::fromUtf8("红楼梦.epub");
        QTest::newRow("what Windows refuses") << "a/b\\c:d*e?f\"g<h>i|j"
                                              << "a_b_c_d_e_f_g_h_i_j.epub";
        QTest::newRow("control characters") << "one\ttwo\x01"
                                            << "one_two_.epub";
        QTest::newRow("a leading dot would hide it") << ".hack"
                                                     << "hack.epub";
        QTest::newRow("trailing dots and spaces") << "The End. . "
                                                  << "The End.epub";
        QTest::newRow("only dots") << ".."
                                   << "myepub.epub";
        QTest::newRow("nothing") << ""
                                 << "myepub.epub";
        // 255 bytes is the longest name: 83 characters of three bytes and ".epub".
        QTest::newRow("too long, cut at a whole character")
            << QString(100, QChar(0x4E66)) << QString(83, QChar(0x4E66)) + QStringLiteral(".epub");
        QTest::newRow("a character beyond the first plane kept whole")
            << QString(62, QChar(0x4E66)) + QString::fromUtf8("\xF0\xA0\x80\x80") +
                   QStringLiteral("xyz")
            << QString(62, QChar(0x4E66)) + QString::fromUtf8("\xF0\xA0\x80\x80") +
                   QStringLiteral("xyz.epub");
        // U+1002F, whose low 16 bits are '/'.
        QTest::newRow("a character beyond the first plane is not taken for a slash")
            << QString::fromUtf8("Linear \xF0\x90\x80\xAF B")
            << QString::fromUtf8("Linear \xF0\x90\x80\xAF B.epub");
    }
    void bookFileNameIsTheTitleMadeHarmless() {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(BookFileName(title, QStringLiteral("myepub")), name);
        QVERIFY(name.toUtf8().size() <= 255);
    }

    // Every control a screen reader reaches says what it is and what it does.
    void everyControlHasAnAccessibleNameAndDescription() {
        TForm3 progress(form_.get());
        form_->AddTxtFile(File(QStringLiteral("a.txt"), "A")); // the cover's clear button too
        Find<QLineEdit>(*form_, "CoverPath")->setText(QStringLiteral("/a/cover.png"));
        QStringList missing;
        int controls = 0;
        for (QWidget* widget : form_->findChildren<QWidget*>()) {
            const bool control = widget->focusPolicy() != Qt::NoFocus ||
                                 qobject_cast<QAbstractButton*>(widget) ||
                                 qobject_cast<QProgressBar*>(widget);
            if (!control || PartOfAControl(widget)) continue;
            ++controls;
            const QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            const QString name = accessible ? accessible->text(QAccessible::Name) : QString();
            const QString description =
                accessible ? accessible->text(QAccessible::Description) : QString();
            // A name says something in words: "..." does not.
            const bool named =
                std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.isLetter(); });
            if (!named || description.trimmed().isEmpty())
                missing << QStringLiteral("%1 %2: \"%3\" / \"%4\"")
                               .arg(QLatin1String(widget->metaObject()->className()),
                                    widget->objectName(), name, description);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
        QVERIFY2(controls >= 30, qPrintable(QString::number(controls))); // the walk saw them
    }

    // Qt tells screen readers when the bar's name changes: it names each phase once, not
    // each chapter, and stays at cancelling to the end.
    void progressDialogNamesEachPhaseForScreenReaders() {
        TForm3 dialog(form_.get());
        auto* bar = Find<QProgressBar>(dialog, "ProgressBar1");
        using folivane::engine::JobPhase;
        const std::function<void()> steps[] = {
            [] {},
            [&] { dialog.Progress(JobPhase::Reading, 0); },
            [&] { dialog.Progress(JobPhase::Reading, 20); },
            [&] { dialog.Progress(JobPhase::FindingChapters, 40); },
            [&] {
                dialog.Progress(JobPhase::WritingPages, 100);
                dialog.ChapterReport(QStringLiteral("One"));
            },
            [&] { dialog.ChapterReport(QStringLiteral("Two")); },
            [&] { dialog.Progress(JobPhase::Packing, 900); },
            [&] { QTest::mouseClick(Find<QWidget>(dialog, "m_cancel"), Qt::LeftButton); },
            [&] { dialog.Progress(JobPhase::Checking, 990); }};
        QStringList names;
        for (const auto& step : steps) {
            step();
            const QString name =
                QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name);
            if (names.isEmpty() || names.constLast() != name) names << name;
        }
        // Preparing, reading, finding chapters, writing, packing, cancelling: each once, each
        // its own.
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), 6);
        QCOMPARE(names.size(), 6);
        QVERIFY(!names.contains(QString()));
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
