// Converting through the window with the real engine and worker thread.
#include "UiTestSupport.h"
#include "ui/TAppearanceDialog.h"
#include "ui/TForm3.h"
#include "ui/TLongWaitTrd.h"

#include "engine/text/FailureText.h"
#include "engine/text/LanguageTag.h"
#include "platform/SystemCalls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using folivane::ui::TForm3;
using folivane::ui::TLongWaitTrd;
using namespace folivane::ui::test;

namespace {

// What the progress dialog showed: once when it came up, then at every step of the bar.
struct ProgressState {
    QString text;
    int value = 0;
    int maximum = 0;
};

ProgressState StateOf(const TForm3& dialog) {
    const auto* bar = Find<QProgressBar>(dialog, "ProgressBar1");
    return {Find<QLabel>(dialog, "Label1")->text(), bar->value(), bar->maximum()};
}

bool AnyProgressDialogVisible() {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<const TForm3*>(w) && w->isVisible()) return true;
    return false;
}

// Names of the folders made in a folder while this watches it. The job may make and remove
// its working folder before the window hears of the job at all, so looking is not enough.
class CreatedFolders {
public:
    explicit CreatedFolders(const QString& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ < 0 || inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_CREATE) < 0)
            qFatal("cannot watch %s", qPrintable(folder));
    }
    ~CreatedFolders() { ::close(fd_); }
    CreatedFolders(const CreatedFolders&) = delete;
    CreatedFolders& operator=(const CreatedFolders&) = delete;

    QStringList Names() const {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        ssize_t size;
        while ((size = ::read(fd_, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < size;) {
                inotify_event event;
                std::memcpy(&event, buffer + at, sizeof event);
                if (event.mask & IN_ISDIR)
                    names << QFile::decodeName(buffer + at + static_cast<ssize_t>(sizeof event));
                at += static_cast<ssize_t>(sizeof event + event.len);
            }
        }
        return names;
    }

private:
    int fd_;
};

} // namespace

class ConversionTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch_;
    QString in_, out_, tmp_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm1> form_;
    QList<ProgressState> shown_;        // one per dialog shown
    QList<QList<ProgressState>> steps_; // per dialog, one per step of the bar
    QList<QPointer<TForm3>> dialogsShown_;
    QList<bool> dialogGoneAtMessage_; // per message box

    QString Source(const QString& name, const QByteArray& text) {
        const QString path = in_ + QLatin1Char('/') + name;
        if (!WriteFile(path, text)) qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void Convert() { QTest::mouseClick(Find<QToolButton>(*form_, "SpeedButton1"), Qt::LeftButton); }
    QStringList WorkingFolders() const {
        return QDir(tmp_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    // The labels of the bar's steps, each run of one label once, in the order they came.
    static QStringList Labels(const QList<ProgressState>& steps) {
        QStringList labels;
        for (const ProgressState& step : steps)
            if (labels.isEmpty() || labels.constLast() != step.text) labels << step.text;
        return labels;
    }
    // One bar over the whole job, in thousandths: never back, full at the end.
    static void ExpectOneBar(const QList<ProgressState>& steps) {
        QVERIFY(!steps.isEmpty());
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QCOMPARE(steps[i].maximum, 1000);
            if (i > 0) QVERIFY2(steps[i].value >= steps[i - 1].value, qPrintable(steps[i].text));
        }
        QCOMPARE(steps.constLast().value, 1000);
    }
    // One file of a book, as unzip gives it.
    static QString Entry(const QString& book, const QString& name) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), book, name});
        unzip.waitForFinished(30000);
        return QString::fromUtf8(unzip.readAllStandardOutput());
    }
    // Runs one conversion to `output` and waits for its result box; returns the result.
    int ConvertTo(const QString& output) {
        QSignalSpy finished(form_.get(), &TForm1::conversionFinished);
        dialogs_.saveAnswers << output;
        Convert();
        if (!finished.wait(120000) && finished.isEmpty()) return -1;
        return finished.constFirst().constFirst().toInt();
    }

private slots:
    void initTestCase() {
        QVERIFY(scratch_.isValid());
        in_ = scratch_.filePath(QStringLiteral("in"));
        out_ = scratch_.filePath(QStringLiteral("out"));
        tmp_ = scratch_.filePath(QStringLiteral("tmp"));
        for (const QString& d : {in_, out_, tmp_})
            QVERIFY(QDir().mkpath(d));
        // The window takes the temporary folder when it is made: an empty one of our own
        // shows whether the jobs clean up after themselves.
        qputenv("TMPDIR", QFile::encodeName(tmp_));
    }

    void init() {
        dialogs_ = ScriptedDialogs();
        shown_.clear();
        steps_.clear();
        dialogsShown_.clear();
        dialogGoneAtMessage_.clear();
        form_ = MakeForm(dialogs_);
        connect(form_.get(), &TForm1::progressDialogShown, this, [this](TForm3* dialog) {
            QVERIFY(dialog->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), dialog); // the window takes no input
            shown_ << StateOf(*dialog);
            steps_ << QList<ProgressState>();
            dialogsShown_ << dialog;
            connect(Find<QProgressBar>(*dialog, "ProgressBar1"), &QProgressBar::valueChanged, this,
                    [this, dialog] { steps_.last() << StateOf(*dialog); });
        });
        dialogs_.onCall = [this](const ScriptedDialogs::Call& call) {
            if (call.kind == ScriptedDialogs::Kind::Message)
                dialogGoneAtMessage_
                    << (form_->ProgressDialog() == nullptr && !AnyProgressDialogVisible());
        };
    }

    void cleanup() {
        form_.reset();
        QDir(out_).removeRecursively();
        QDir().mkpath(out_);
    }

    void emptyListDoesNothing() {
        Convert();
        QVERIFY(dialogs_.calls.isEmpty());
        QVERIFY(!form_->ConversionRunning());
    }

    void saveDialogSuggestsTheTitleTheBookWillHave_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("suggested");
        // Left empty, the book takes its title from its first file, as the field did.
        QTest::newRow("empty") << ""
                               << "one.epub";
        QTest::newRow("three spaces") << "   "
                                      << "one.epub";
        QTest::newRow("a name") << QString::fromUtf8("\u3000My Book ") << "My Book.epub";
        QTest::newRow("slash") << "Either/Or"
                               << "Either_Or.epub";
    }
    void saveDialogSuggestsTheTitleTheBookWillHave() {
        QFETCH(QString, title);
        QFETCH(QString, suggested);
        form_->AddTxtFile(Source(QStringLiteral("one.txt"), "Hello"));
        Find<QLineEdit>(*form_, "m_title")->setText(title);
        Convert(); // cancelled: no answer queued
        QCOMPARE(dialogs_.calls.size(), 1);
        const ScriptedDialogs::Call save = dialogs_.calls.constFirst();
        QCOMPARE(save.kind, ScriptedDialogs::Kind::SaveFile);
        QCOMPARE(save.suggestedName, suggested);
        QCOMPARE(save.types.size(), 2);
        QCOMPARE(save.types[0].suffixes, QStringList{"epub"});
        QCOMPARE(save.types[1].suffixes, QStringList{"zip"});
    }

    void cancelledSaveDialogTouchesNothing() {
        form_->AddTxtFile(Source(QStringLiteral("one.txt"), "Hello"));
        Convert();
        QTest::qWait(100);
        QVERIFY(!form_->ConversionRunning());
        QVERIFY(shown_.isEmpty());
        QCOMPARE(WorkingFolders(), QStringList());
        QCOMPARE(QDir(out_).entryList(QDir::Files), QStringList());
        QCOMPARE(dialogs_.Messages().size(), 0);
    }

    void convertsFiveChaptersWithProgressAndAValidBook() {
        const QStringList names{"Opening", "The Road", "Chapter.Three", "Storm", "Ending"};
        for (const QString& name : names)
            form_->AddTxtFile(Source(name + QStringLiteral(".txt"),
                                     "First line of " + name.toUtf8() + ".\nSecond line.\n"));
        Find<QLineEdit>(*form_, "m_title")->setText(QStringLiteral("Five Chapters"));
        Find<QLineEdit>(*form_, "m_zz")->setText(QStringLiteral("Quorvel"));
        Find<QLineEdit>(*form_, "m_cbs")->setText(QStringLiteral("Folivane"));
        const QString book = out_ + QStringLiteral("/five.epub");

        const CreatedFolders created(tmp_);
        QCOMPARE(ConvertTo(book), 0);

        QCOMPARE(shown_.size(), 1);
        QCOMPARE(shown_[0].text, QStringLiteral("Preprocess..."));
        QCOMPARE(shown_[0].value, 0);
        QCOMPARE(shown_[0].maximum, 100);
        // One bar over the whole job, labelled by its phase: reading from the start, each
        // chapter as it is written, in order, then packing and checking the book.
        ExpectOneBar(steps_.constFirst());
        const QStringList labels = Labels(steps_.constFirst());
        QCOMPARE(labels.constFirst(), QStringLiteral("Reading the files…"));
        QStringList chapters;
        for (const QString& label : labels)
            if (label.endsWith(QLatin1String("is building, Please wait..."))) chapters << label;
        QStringList expected;
        for (const QString& name : names)
            expected << '"' + name + QStringLiteral("\" is building, Please wait...");
        QCOMPARE(chapters, expected);
        QCOMPARE(labels.mid(labels.size() - 2),
                 (QStringList{"Packing the book…", "Checking the book…"}));
        // Destroyed after its display.
        QTRY_VERIFY_WITH_TIMEOUT(dialogsShown_.constFirst().isNull(), kSettleMs);

        const QList<ScriptedDialogs::Call> messages = dialogs_.Messages();
        QCOMPARE(messages.size(), 1);
        // The design's words, and where the book went on the line below.
        QCOMPARE(messages[0].text, QStringLiteral("Convert Succeeded!\n") + book);
        QCOMPARE(messages[0].title, QStringLiteral("Quorvel Folivane Converter"));
        QCOMPARE(messages[0].icon, QMessageBox::Information);
        QCOMPARE(dialogGoneAtMessage_, QList<bool>{true});
        QTRY_VERIFY_WITH_TIMEOUT(!form_->ConversionRunning(), kSettleMs);
        // A book of ordinary size is made in memory: no working folder under our TMPDIR.
        QCOMPARE(created.Names(), QStringList());
        QCOMPARE(WorkingFolders(), QStringList());

        // The rows and fields stay for another run.
        QCOMPARE(Column(*form_, 0).size(), names.size());
        QCOMPARE(Find<QLineEdit>(*form_, "m_title")->text(), QStringLiteral("Five Chapters"));

        QProcess epubcheck;
        epubcheck.setProcessChannelMode(QProcess::MergedChannels);
        epubcheck.start(
            QStringLiteral("java"),
            {QStringLiteral("-jar"), QStringLiteral("/usr/share/java/epubcheck.jar"), book});
        QVERIFY2(epubcheck.waitForFinished(180000), "epubcheck did not finish");
        const QString report = QString::fromUtf8(epubcheck.readAll());
        QVERIFY2(epubcheck.exitStatus() == QProcess::NormalExit && epubcheck.exitCode() == 0,
                 qPrintable(report));
        QVERIFY2(!report.contains(QLatin1String("WARNING")) &&
                     !report.contains(QLatin1String("ERROR")),
                 qPrintable(report));
    }

    void failingJobSaysUnsuccessfulAfterTheDialogClosed() {
        const QString gone = Source(QStringLiteral("gone.txt"), "soon deleted");
        form_->AddTxtFile(Source(QStringLiteral("kept.txt"), "still here"));
        form_->AddTxtFile(gone);
        QVERIFY(QFile::remove(gone));
        const QString book = out_ + QStringLiteral("/failed.epub");

        QCOMPARE(ConvertTo(book), 1);

        const QList<ScriptedDialogs::Call> messages = dialogs_.Messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].text.startsWith(QLatin1String("Convert Unsuccessful!")),
                 qPrintable(messages[0].text));
        QCOMPARE(messages[0].icon, QMessageBox::NoIcon);
        QCOMPARE(dialogGoneAtMessage_, QList<bool>{true});
        QVERIFY(!QFile::exists(book));
        QTRY_VERIFY_WITH_TIMEOUT(!form_->ConversionRunning(), kSettleMs);
        QCOMPARE(WorkingFolders(), QStringList());
    }

    void secondConversionShowsAFreshDialog() {
        form_->AddTxtFile(Source(QStringLiteral("a.txt"), "A"));
        form_->AddTxtFile(Source(QStringLiteral("b.txt"), "B"));
        QCOMPARE(ConvertTo(out_ + QStringLiteral("/first.epub")), 0);
        QTRY_VERIFY_WITH_TIMEOUT(dialogsShown_.constFirst().isNull(), kSettleMs);
        QTRY_VERIFY_WITH_TIMEOUT(!form_->ConversionRunning(), kSettleMs);
        QCOMPARE(ConvertTo(out_ + QStringLiteral("/second.zip")), 0);

        QCOMPARE(shown_.size(), 2);
        QCOMPARE(shown_[1].text, QStringLiteral("Preprocess..."));
        QCOMPARE(shown_[1].value, 0);
        QCOMPARE(shown_[1].maximum, 100);
        ExpectOneBar(steps_[1]);
        QCOMPARE(dialogGoneAtMessage_, (QList<bool>{true, true}));
        QVERIFY(QFile::exists(out_ + QStringLiteral("/second.zip")));
    }

    void choicesOfTheWindowReachTheBook() {
        form_->AddTxtFile(Source(QStringLiteral("novel.txt"),
                                 "Chapter 1\nThe first\nline.\nChapter 2\nThe second.\n"));
        // Cyrillic in CP1251, which the detector alone would not name from so little.
        form_->AddTxtFile(Source(QStringLiteral("notes.txt"), "\xC0\xC1\xC2 \xE4\xEE\xEC\n"));
        QSignalSpy known(form_.get(), &TForm1::encodingsKnown);
        QVERIFY(known.wait(kSettleMs));
        form_->ChooseEncoding(1, QStringLiteral("CP1251"));
        Find<QLineEdit>(*form_, "m_language")->setText(QStringLiteral(" RU "));
        Find<QComboBox>(*form_, "m_epubVersion")->setCurrentIndex(1);
        Find<QComboBox>(*form_, "m_paragraphs")->setCurrentIndex(2); // blank-line blocks

        const QString found = out_ + QStringLiteral("/found.epub");
        QCOMPARE(ConvertTo(found), 0);
        QCOMPARE(Entry(found, QStringLiteral("OEBPS/toc.ncx")).count(QLatin1String("<navPoint")),
                 3);
        const QString opf = Entry(found, QStringLiteral("OEBPS/content.opf"));
        QVERIFY(opf.contains(QLatin1String("<dc:language>ru</dc:language>")));
        QVERIFY(opf.contains(QLatin1String("version=\"3.0\"")));
        QCOMPARE(
            Entry(found, QStringLiteral("OEBPS/nav.xhtml")).count(QLatin1String("<li><a href")), 3);
        QVERIFY(
            Entry(found, QStringLiteral("OEBPS/2.xhtml")).contains(QString::fromUtf8("АБВ дом")));
        QVERIFY(Entry(found, QStringLiteral("OEBPS/0.xhtml"))
                    .contains(QLatin1String("<p class=\"first\">The first line.</p>")));

        // Off: one chapter per file, as the classic program made them.
        QTRY_VERIFY_WITH_TIMEOUT(!form_->ConversionRunning(), kSettleMs);
        Find<QCheckBox>(*form_, "m_chapters")->setChecked(false);
        const QString files = out_ + QStringLiteral("/files.epub");
        QCOMPARE(ConvertTo(files), 0);
        QCOMPARE(Entry(files, QStringLiteral("OEBPS/toc.ncx")).count(QLatin1String("<navPoint")),
                 2);
        QVERIFY(Entry(files, QStringLiteral("OEBPS/content.opf"))
                    .contains(QLatin1String("version=\"3.0\"")));
    }

    void verticalIsAChoiceOfEpub3Only() {
        form_->AddTxtFile(Source(QStringLiteral("tate.txt"), "縦書きの本。\n"));
        auto* vertical = Find<QCheckBox>(*form_, "m_vertical");
        auto* version = Find<QComboBox>(*form_, "m_epubVersion");
        QVERIFY(!vertical->isEnabled());
        version->setCurrentIndex(1);
        QVERIFY(vertical->isEnabled());
        vertical->setChecked(true);
        const QString tall = out_ + QStringLiteral("/tall.epub");
        QCOMPARE(ConvertTo(tall), 0);
        QVERIFY(Entry(tall, QStringLiteral("OEBPS/content.opf"))
                    .contains(QLatin1String("page-progression-direction=\"rtl\"")));
        QTRY_VERIFY_WITH_TIMEOUT(!form_->ConversionRunning(), kSettleMs);
        // Back to EPUB 2 the box is greyed out, still ticked, and the book is not vertical.
        version->setCurrentIndex(0);
        QVERIFY(!vertical->isEnabled());
        const QString flat = out_ + QStringLiteral("/flat.epub");
        QCOMPARE(ConvertTo(flat), 0);
        QVERIFY(!Entry(flat, QStringLiteral("OEBPS/content.opf")).contains(QLatin1String("rtl")));
    }

    void languageThatIsNoTagIsRefusedAsTheCommandLineRefusesIt() {
        form_->AddTxtFile(Source(QStringLiteral("one.txt"), "Hello"));
        Find<QLineEdit>(*form_, "m_language")->setText(QStringLiteral("zh CN"));
        Convert();
        QCOMPARE(dialogs_.calls.size(), 1); // no save dialog
        const ScriptedDialogs::Call box = dialogs_.calls.constFirst();
        QCOMPARE(box.kind, ScriptedDialogs::Kind::Message);
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.text, QString::fromStdString(folivane::engine::FailureText(
                               folivane::engine::LanguageTagProblem("zh CN"))));
        QVERIFY(!form_->ConversionRunning());
    }

    void controlReturnConverts_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return)
                                << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter)
            << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::KeypadModifier);
    }

    void controlReturnConverts() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        form_->AddTxtFile(Source(QStringLiteral("one.txt"), "Hello"));
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QSignalSpy finished(form_.get(), &TForm1::conversionFinished);
        dialogs_.saveAnswers << out_ + QStringLiteral("/keys.epub");
        QTest::keyClick(form_.get(), static_cast<Qt::Key>(key), modifiers);
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.constFirst().constFirst().toInt(), 0);
    }

    void bookThatWouldReplaceASourceIsRefusedBeforeAnyWork() {
        const QString source = Source(QStringLiteral("chapter.txt"), "precious");
        form_->AddTxtFile(source);
        const QString link = out_ + QStringLiteral("/link.epub");
        QVERIFY(QFile::link(source, link));
        dialogs_.saveAnswers << link;
        Convert(); // the refusal comes at once, from the click
        QVERIFY(!form_->ConversionRunning());
        QVERIFY(shown_.isEmpty());
        const QList<ScriptedDialogs::Call> messages = dialogs_.Messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].text.contains(QLatin1String("would replace its source")),
                 qPrintable(messages[0].text));
        QCOMPARE(WorkingFolders(), QStringList());
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("precious"));
    }

    void bookTheUserCouldNotWriteIsRefusedBeforeAnyWork() {
        form_->AddTxtFile(Source(QStringLiteral("one.txt"), "Hello"));
        const QString book = out_ + QStringLiteral("/book.epub");
        QFile earlier(book);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("an earlier book") > 0);
        earlier.close();
        dialogs_.saveAnswers << book;
        {
            // As the system answers for a file of mode 444 or another user's, also as root.
            const folivane::platform::FaultInjection faults(
                {{folivane::platform::Call::Access, EACCES, 0, "book.epub"}});
            Convert();
        }
        QVERIFY(!form_->ConversionRunning());
        QVERIFY(shown_.isEmpty());
        const QList<ScriptedDialogs::Call> messages = dialogs_.Messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].text.contains(QLatin1String("write-protected")),
                 qPrintable(messages[0].text));
        QCOMPARE(WorkingFolders(), QStringList());
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("an earlier book"));
    }

    void endOfTheSessionStopsTheJobWhichCleansUp() {
        const QByteArray text = QByteArray("A line of a long source.\n").repeated(400000);
        form_->AddTxtFile(Source(QStringLiteral("long.txt"), text));
        form_->AddTxtFile(Source(QStringLiteral("long2.txt"), text));
        const QString book = out_ + QStringLiteral("/stopped.epub");
        QVERIFY(WriteFile(book, "an earlier book"));
        QSignalSpy terminated(form_.get(), &TForm1::terminated);
        connect(form_.get(), &TForm1::progressDialogShown, this,
                [this] { form_->TerminateForSignal(SIGTERM); });
        dialogs_.saveAnswers << book;
        dialogs_.messageAnswers << QMessageBox::Yes; // replace the earlier book
        Convert();
        QVERIFY(terminated.wait(120000));
        QCOMPARE(terminated.constFirst().constFirst().toInt(), 128 + SIGTERM);
        // Only the question about the earlier book: nobody is left to read a result box.
        QCOMPARE(dialogs_.Messages().size(), 1);
        QCOMPARE(dialogs_.Messages().constFirst().icon, QMessageBox::Question);
        QTRY_VERIFY_WITH_TIMEOUT(!form_->ConversionRunning(), kSettleMs);
        QCOMPARE(WorkingFolders(), QStringList());
        QCOMPARE(QDir(out_).entryList(QDir::Files | QDir::Hidden), QStringList{"stopped.epub"});
        QFile file(book);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("an earlier book"));
    }

    // The job's first report of each phase waits until Cancel is pressed, so that the press
    // lands in that phase on any machine.
    void cancelInEachPhaseLeavesNothingAndSaysCancelled_data() {
        QTest::addColumn<QString>("phase");
        QTest::addColumn<bool>("earlierBook");
        QTest::addColumn<QString>("how"); // "button", "Escape" or "close"
        QTest::newRow("reading the files") << "reading" << true << "button";
        QTest::newRow("finding the chapters, Escape") << "chapters" << true << "Escape";
        QTest::newRow("writing the pages") << "pages" << true << "button";
        QTest::newRow("packing the book, the dialog's close button")
            << "packing" << true << "close";
        QTest::newRow("every file packed, before the book is the output")
            << "packed" << true << "button";
        QTest::newRow("writing the pages, no earlier book") << "pages" << false << "button";
    }
    void cancelInEachPhaseLeavesNothingAndSaysCancelled() {
        QFETCH(QString, phase);
        QFETCH(bool, earlierBook);
        QFETCH(QString, how);
        QByteArray text;
        for (int chapter = 1; chapter <= 30; ++chapter)
            text += "Chapter " + QByteArray::number(chapter) + "\n" +
                    QByteArray("A line of the chapter, long enough to be read as one.\n")
                        .repeated(1000);
        form_->AddTxtFile(Source(QStringLiteral("first.txt"), text));
        form_->AddTxtFile(Source(QStringLiteral("second.txt"), text));
        const QString book = out_ + QStringLiteral("/cancelled.epub");
        if (earlierBook) {
            QVERIFY(WriteFile(book, "an earlier book"));
            dialogs_.messageAnswers << QMessageBox::Yes; // replace it
        }
        bool pressed = false;
        QString announced; // the phase the bar named when Cancel was pressed
        const auto press = [this, &pressed, &announced, &how](bool now) {
            if (pressed || !now) return;
            pressed = true;
            TForm3* dialog = form_->ProgressDialog();
            announced = Find<QProgressBar>(*dialog, "ProgressBar1")->accessibleName();
            for (int time = 0; time < 2; ++time) { // the second time changes nothing
                if (how == QLatin1String("Escape"))
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else if (how == QLatin1String("close"))
                    QVERIFY(!dialog->close());
                else
                    QTest::mouseClick(Find<QPushButton>(*dialog, "m_cancel"), Qt::LeftButton);
            }
            // It waits, its button greyed, until the job has stopped and cleaned up.
            QVERIFY(dialog->isVisible() && !Find<QPushButton>(*dialog, "m_cancel")->isEnabled());
        };
        connect(form_.get(), &TForm1::conversionStarting, this, [&](TLongWaitTrd* worker) {
            const auto waiting = Qt::BlockingQueuedConnection;
            // The first report of the phase asked for; every file packed is the checking's
            // first.
            using folivane::engine::JobPhase;
            const JobPhase wanted = phase == QLatin1String("reading")    ? JobPhase::Reading
                                    : phase == QLatin1String("chapters") ? JobPhase::FindingChapters
                                    : phase == QLatin1String("packing")  ? JobPhase::Packing
                                                                         : JobPhase::Checking;
            if (phase != QLatin1String("pages"))
                connect(
                    worker, &TLongWaitTrd::progress, this,
                    [&press, wanted](int reported, int) {
                        press(static_cast<JobPhase>(reported) == wanted);
                    },
                    waiting);
            if (phase == QLatin1String("pages"))
                connect(
                    worker, &TLongWaitTrd::chapterReport, this, [&] { press(true); }, waiting);
        });

        QCOMPARE(ConvertTo(book), 1);
        QVERIFY(pressed);
        QVERIFY(!announced.isEmpty());
        // Not a failure: what the user asked for, and what became of the earlier book.
        const ScriptedDialogs::Call said = dialogs_.Messages().constLast();
        QCOMPARE(said.icon, QMessageBox::Information);
        QVERIFY2(said.text.startsWith(QLatin1String("Cancelled\n")), qPrintable(said.text));
        QCOMPARE(said.text.contains(book), earlierBook);
        QCOMPARE(dialogGoneAtMessage_.constLast(), true);
        QTRY_VERIFY(!form_->ConversionRunning());
        QCOMPARE(WorkingFolders(), QStringList());
        QCOMPARE(QDir(out_).entryList(QDir::Files | QDir::Hidden),
                 earlierBook ? QStringList{"cancelled.epub"} : QStringList());
        if (earlierBook) {
            QFile file(book);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("an earlier book"));
        }
    }

    void closingTheWindowDuringAConversionAsksFirst_data() {
        QTest::addColumn<bool>("stop");
        QTest::newRow("No: the job goes on") << false;
        QTest::newRow("Yes: the job stops, then the window closes") << true;
    }
    void closingTheWindowDuringAConversionAsksFirst() {
        QFETCH(bool, stop);
        form_->AddTxtFile(Source(QStringLiteral("a.txt"), "Chapter 1\nOne.\nChapter 2\nTwo.\n"));
        const QString book = out_ + QStringLiteral("/closing.epub");
        bool asked = false;
        connect(form_.get(), &TForm1::conversionStarting, this, [&](TLongWaitTrd* worker) {
            connect(
                worker, &TLongWaitTrd::chapterReport, this,
                [&] {
                    if (asked) return;
                    asked = true;
                    dialogs_.messageAnswers << (stop ? QMessageBox::Yes : QMessageBox::No);
                    QVERIFY(!form_->close()); // not yet, in either case
                },
                Qt::BlockingQueuedConnection);
        });
        QCOMPARE(ConvertTo(book), stop ? 1 : 0);
        QVERIFY(asked);
        QCOMPARE(dialogs_.Messages().constFirst().icon, QMessageBox::Question);
        if (stop) {
            // Closed once the job has cleaned up, without a box nobody would read.
            QTRY_VERIFY(!form_->isVisible());
            QCOMPARE(dialogs_.Messages().size(), 1);
            QCOMPARE(QDir(out_).entryList(QDir::Files | QDir::Hidden), QStringList());
            QCOMPARE(WorkingFolders(), QStringList());
        } else {
            QVERIFY(form_->isVisible());
            QCOMPARE(dialogs_.Messages().size(), 2);
            QVERIFY(QFile::exists(book));
        }
    }

    void appearanceChoicesReachTheBookAndAreKept() {
        form_->AddTxtFile(Source(QStringLiteral("plain.txt"), "One paragraph.\nAnother one.\n"));
        const QString css = in_ + QStringLiteral("/mine.css");
        QVERIFY(WriteFile(css, "p { color: #333; }\n"));
        const QString notText = in_ + QStringLiteral("/binary.css");
        QVERIFY(WriteFile(notText, QByteArray("p{}\xff\xfe\x00", 7)));

        QTest::mouseClick(Find<QPushButton>(*form_, "m_appearance"), Qt::LeftButton);
        auto* appearance = form_->AppearanceDialog();
        QTRY_VERIFY(appearance->isVisible());
        Find<QDoubleSpinBox>(*appearance, "m_indent")->setValue(0.5);
        // A style sheet is checked when it is chosen, as a cover is: a refused one is said and
        // left out.
        dialogs_.openFileAnswers << notText << css;
        auto* choose = Find<QWidget>(*appearance, "StyleSheetButton");
        QTest::mouseClick(choose, Qt::LeftButton);
        QCOMPARE(dialogs_.Messages().size(), 1);
        QCOMPARE(dialogs_.Messages().constFirst().icon, QMessageBox::Warning);
        QVERIFY2(dialogs_.Messages().constFirst().text.contains(notText),
                 qPrintable(dialogs_.Messages().constFirst().text));
        QCOMPARE(Find<QLineEdit>(*appearance, "m_styleSheet")->text(), QString());
        QTest::mouseClick(choose, Qt::LeftButton);
        QCOMPARE(Find<QLineEdit>(*appearance, "m_styleSheet")->text(), css);
        QVERIFY(Find<QWidget>(*form_, "m_appearance")->toolTip().contains(css));
        QTest::mouseClick(Find<QPushButton>(*appearance, "m_closeAppearance"), Qt::LeftButton);
        QTRY_VERIFY(!appearance->isVisible());

        const QString book = out_ + QStringLiteral("/styled.epub");
        QCOMPARE(ConvertTo(book), 0);
        QVERIFY(Entry(book, QStringLiteral("OEBPS/css/main.css"))
                    .contains(QLatin1String("text-indent:0.5em")));
        QCOMPARE(Entry(book, QStringLiteral("OEBPS/css/user.css")),
                 QStringLiteral("p { color: #333; }\n"));

        // Kept for the next start.
        QTRY_VERIFY(!form_->ConversionRunning());
        form_.reset();
        ScriptedDialogs dialogs;
        form_ = MakeForm(dialogs, true);
        folivane::engine::BookInput kept;
        form_->AppearanceDialog()->ApplyTo(kept);
        QCOMPARE(kept.indentEm, 0.5);
        QCOMPARE(kept.paragraphSpacingEm, -1.0);
        QCOMPARE(QFile::decodeName(kept.styleSheetPath.c_str()), css);
        form_.reset(); // before the dialogs it holds
    }
};

QTEST_MAIN(ConversionTest)
#include "ConversionTest.moc"
