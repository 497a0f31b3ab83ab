// The main window as the program starts it: first state, About box, product link, closing.
#include "UiTestSupport.h"
#include "ui/LinkLabel.h"
#include "ui/TForm3.h"

#include "engine/job/WorkingTree.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <csignal>

using folivane::ui::LinkLabel;
using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using namespace folivane::ui::test;

namespace {

// Whether the process has a handler of its own for SIGTERM, as /proc tells.
bool CatchesTermination(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong caught = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (caught & (1ULL << (SIGTERM - 1))) != 0;
        }
    }
    return false;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

public slots:
    // Stands in for the desktop's web browser.
    void OpenUrl(const QUrl& url) { opened_ << url; }

private:
    QList<QUrl> opened_;

private slots:
    void startsEmptyWithTheWindowAsLaidOut() {
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->windowTitle(), QStringLiteral("Quorvel Folivane Converter V1.0"));
        // It opens wider than the classic window, for the contents preview, and may grow.
        QVERIFY(form->width() > 505 && form->height() >= 358);
        QVERIFY(form->minimumSize() != form->maximumSize());
        QCOMPARE(Column(*form, 0).size(), 0);
        for (const char* field : {"m_title", "m_zz", "m_cbs", "CoverPath", "m_language"})
            QVERIFY(Find<QLineEdit>(*form, field)->text().isEmpty());
        QCOMPARE(Find<QLineEdit>(*form, "m_language")->placeholderText(),
                 QStringLiteral("Automatic"));
        QVERIFY(Find<QCheckBox>(*form, "m_chapters")->isChecked());
        QCOMPARE(Find<QCheckBox>(*form, "m_chapters")->text(),
                 QStringLiteral("Find chapters in the text"));
        QCOMPARE(Find<QComboBox>(*form, "m_epubVersion")->currentText(), QStringLiteral("EPUB 2"));
        QCOMPARE(Find<QComboBox>(*form, "m_paragraphs")->currentText(),
                 QStringLiteral("Automatic"));
        QCOMPARE(Find<QComboBox>(*form, "m_paragraphs")->count(), 4);

        QCOMPARE(Find<QPushButton>(*form, "m_up")->text(), QStringLiteral("Up     "));
        QCOMPARE(Find<QPushButton>(*form, "m_down")->text(), QStringLiteral("Down "));
        QCOMPARE(Find<QPushButton>(*form, "m_delall")->text(), QStringLiteral("Empty "));

        // The first job's progress dialog waits hidden, in its first state.
        folivane::ui::TForm3* progress = form->ProgressDialog();
        QVERIFY(progress && !progress->isVisible());
        QCOMPARE(Find<QLabel>(*progress, "Label1")->text(), QStringLiteral("Preprocess..."));
        QCOMPARE(Find<QProgressBar>(*progress, "ProgressBar1")->value(), 0);
        QCOMPARE(Find<QProgressBar>(*progress, "ProgressBar1")->maximum(), 100);
        QVERIFY(dialogs.calls.isEmpty());
    }

    void aboutBoxHasFourLines() {
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QTest::mouseClick(Find<QLabel>(*form, "URLLabel3"), Qt::LeftButton);
        QCOMPARE(dialogs.calls.size(), 1);
        const ScriptedDialogs::Call about = dialogs.calls.constFirst();
        QCOMPARE(about.kind, ScriptedDialogs::Kind::Message);
        QCOMPARE(about.title, QStringLiteral("About Quorvel Folivane Converter"));
        QCOMPARE(about.icon, QMessageBox::Information);
        QCOMPARE(about.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(about.owner, form.get());
        const QStringList lines = about.text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("Quorvel Folivane Converter"));
        QCOMPARE(lines[1], QStringLiteral("Version:1.0"));
        QVERIFY(lines[2].contains(QLatin1String("https://folivane.example/")));
        QVERIFY(lines[3].contains(QLatin1String("support@folivane.example")));
    }

    void productLinkOpensTheWebPageAndTurnsVisited() {
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "OpenUrl");
        auto* link = Find<LinkLabel>(*form, "URLLabel4");
        QCOMPARE(link->text(), QStringLiteral("https://folivane.example/"));
        QVERIFY(link->font().underline());
        const QColor before = link->palette().color(QPalette::WindowText);
        QTest::mouseClick(link, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(opened_, QList<QUrl>{QUrl(QStringLiteral("https://folivane.example/"))});
        QVERIFY(link->Visited());
        QVERIFY(link->palette().color(QPalette::WindowText) != before);
        QVERIFY(dialogs.calls.isEmpty());
    }

    // The program itself, as a desktop ends it: SIGTERM ends it with 128 + 15, and what a
    // conversion that was killed left in its temporary folder is gone by then.
    void endOfTheSessionEndsTheProgramCleanly() {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        {
            auto running = folivane::engine::PrepareWorkingTree(
                QFile::encodeName(tmp.path() + QLatin1Char('/')).toStdString());
            // Made as a job with a text too large to hold makes it.
            QVERIFY(running.Make());
            QCOMPARE(
                QProcess::execute(QStringLiteral("cp"),
                                  {QStringLiteral("-a"), QString::fromStdString(running.Root()),
                                   tmp.filePath(QStringLiteral("folivane-Stale1"))}),
                0);
        }
        // Qt makes its runtime folder in the temporary folder when the session names none.
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), tmp.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(FOLIVANE_WINDOW_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        const auto stop = qScopeGuard([&] {
            if (program.state() != QProcess::NotRunning) program.kill();
            program.waitForFinished();
        });
        // Before its handler is in place the signal would end it as any process.
        QTRY_VERIFY_WITH_TIMEOUT(CatchesTermination(program.processId()), kSettleMs);
        QCOMPARE(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
        QVERIFY2(program.waitForFinished(30000), "still running after SIGTERM");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 128 + SIGTERM);
        QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    void closingRightAfterStartUpEndsWithoutAMessage() {
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTimer::singleShot(0, form.get(), &QWidget::close);
        QTimer hang; // stopped with the test, so it cannot end a later event loop
        hang.setSingleShot(true);
        connect(&hang, &QTimer::timeout, qApp, [] { QApplication::exit(2); });
        hang.start(10000);
        QCOMPARE(QApplication::exec(), 0); // the last window closed: the program ends
        QVERIFY(!form->isVisible());
        QVERIFY(dialogs.calls.isEmpty());
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
