// The book list of the main window: adding, dropping, deleting, moving, sorting, cover.
#include "UiTestSupport.h"
#include "ui/NaturalOrder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using folivane::ui::ScriptedDialogs;
using folivane::ui::TForm1;
using namespace folivane::ui::test;

namespace {
enum { kId = 0, kName = 1, kSize = 2, kEncoding = 3, kPath = 4 };
}

class BookListTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm1> form_;

    QString File(const QString& name, const QByteArray& content = "text") {
        const QString path = dir_.filePath(name);
        if (!WriteFile(path, content)) qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void Click(const char* button) {
        QTest::mouseClick(Find<QPushButton>(*form_, button), Qt::LeftButton);
    }
    void ClickHeader(int column) {
        auto* header = Find<QTableWidget>(*form_, "m_list")->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void Select(int row) { Find<QTableWidget>(*form_, "m_list")->selectRow(row); }
    // Rows named by `names`, added in that order.
    void AddRows(const QStringList& names) {
        for (const QString& name : names)
            QVERIFY(form_->AddTxtFile(File(name + QStringLiteral(".txt"))));
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c()); // sizes are written with "." below
        QVERIFY(dir_.isValid());
    }
    void init() {
        dialogs_ = ScriptedDialogs();
        form_ = MakeForm(dialogs_);
    }
    void cleanup() { form_.reset(); }

    void addsTextFilesInAnyLetterCase_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("shownName"); // empty: refused
        QTest::newRow("lower case") << "chapter.txt"
                                    << "chapter";
        QTest::newRow("upper case") << "README.TXT"
                                    << "README";
        QTest::newRow("mixed case") << "Notes.Txt"
                                    << "Notes";
        QTest::newRow("last dot cuts") << "Part.One.txt"
                                       << "Part.One";
        QTest::newRow("other extension") << "picture.jpg"
                                         << "";
        QTest::newRow("txt not last") << "notes.txt.bak"
                                      << "";
        QTest::newRow("no dot") << "txt"
                                << "";
    }
    void addsTextFilesInAnyLetterCase() {
        QFETCH(QString, fileName);
        QFETCH(QString, shownName);
        const QString path = File(fileName);
        QCOMPARE(form_->AddTxtFile(path), !shownName.isEmpty());
        if (shownName.isEmpty()) {
            QCOMPARE(Column(*form_, kId), QStringList());
        } else {
            QCOMPARE(Column(*form_, kId), QStringList{"1"});
            QCOMPARE(Column(*form_, kName), QStringList{shownName});
            QCOMPARE(Column(*form_, kPath), QStringList{path});
        }
        QVERIFY(dialogs_.calls.isEmpty());
    }

    // Book Name and Author are suggested as the book decides them, marked as suggestions;
    // the next first file, Delete and Empty replace a suggestion, never what the user typed.
    void suggestionsFollowTheFirstFileAndNeverReplaceTypedText_data() {
        QTest::addColumn<QString>("typedTitle"); // before anything is added; "" for none
        QTest::addColumn<QString>("action");     // after 《江灯》 and second.txt are added
        QTest::addColumn<QString>("title");      // then, once the preview is shown
        QTest::addColumn<QString>("author");
        QTest::addColumn<bool>("titleSuggested");
        const QString lantern = QString::fromUtf8("江灯");
        const QString li = QString::fromUtf8("李四");
        QTest::newRow("suggested") << ""
                                   << "none" << lantern << li << true;
        QTest::newRow("typed title kept, author suggested") << "Mine"
                                                            << "none"
                                                            << "Mine" << li << false;
        QTest::newRow("first file deleted") << ""
                                            << "delete first"
                                            << "Other"
                                            << "B" << true;
        QTest::newRow("second file deleted") << ""
                                             << "delete second" << lantern << li << true;
        QTest::newRow("files swapped") << ""
                                       << "swap"
                                       << "Other"
                                       << "B" << true;
        QTest::newRow("emptied, then a new first file") << ""
                                                        << "empty and add"
                                                        << "River"
                                                        << "A. Writer" << true;
        QTest::newRow("typed title survives empty") << "Mine"
                                                    << "empty and add"
                                                    << "Mine"
                                                    << "A. Writer" << false;
        QTest::newRow("suggestion edited by the user") << ""
                                                       << "edit title"
                                                       << "Edited" << li << false;
    }
    void suggestionsFollowTheFirstFileAndNeverReplaceTypedText() {
        QFETCH(QString, typedTitle);
        QFETCH(QString, action);
        QFETCH(QString, title);
        QFETCH(QString, author);
        QFETCH(bool, titleSuggested);
        auto* titleField = Find<QLineEdit>(*form_, "m_title");
        auto* authorField = Find<QLineEdit>(*form_, "m_zz");
        const auto settled = [this] {
            return QTest::qWaitFor([this] { return !form_->PreviewPending(); }, 20000);
        };
        if (!typedTitle.isEmpty()) QTest::keyClicks(titleField, typedTitle);
        form_->AddTxtFile(File(QString::fromUtf8("《江灯》作者：李四.txt"), "正文\n"));
        form_->AddTxtFile(File(QStringLiteral("second.txt"), "Title: Other\nAuthor: B\n"));
        QVERIFY(settled());
        if (action == "delete first" || action == "delete second") {
            Select(action == "delete first" ? 0 : 1);
            Click("m_del");
        } else if (action == "swap") {
            form_->SwapRows(0, 1);
        } else if (action == "empty and add") {
            dialogs_.messageAnswers << QMessageBox::Yes;
            Click("m_delall");
            // Nothing is suggested for an empty list; what the user typed stays.
            QCOMPARE(titleField->text(), typedTitle);
            QCOMPARE(authorField->text(), QString());
            form_->AddTxtFile(
                File(QStringLiteral("pg1.txt"), "Title: River\n\nAuthor: A. Writer\n"));
        } else if (action == "edit title") {
            titleField->selectAll();
            QTest::keyClicks(titleField, QStringLiteral("Edited"));
        }
        QVERIFY(settled());
        QCOMPARE(titleField->text(), title);
        QCOMPARE(authorField->text(), author);
        QCOMPARE(titleField->property("suggested").toBool(), titleSuggested);
        QCOMPARE(authorField->property("suggested").toBool(), true);
        QCOMPARE(titleField->font().italic(), titleSuggested);
    }

    void refusesFolderNamedLikeTextFile() {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("volume.txt")));
        QVERIFY(!form_->AddTxtFile(dir_.filePath(QStringLiteral("volume.txt"))));
        QCOMPARE(Column(*form_, kId).size(), 0);
    }

    void showsSizesInKilobytesThenMegabytes() {
        form_->AddTxtFile(File(QStringLiteral("a.txt"), QByteArray(1536, 'x')));
        form_->AddTxtFile(File(QStringLiteral("empty.txt"), QByteArray()));
        form_->AddTxtFile(dir_.filePath(QStringLiteral("missing.txt")));
        form_->AddTxtFile(File(QStringLiteral("almost.txt"), QByteArray(1024 * 1024 - 1, 'x')));
        form_->AddTxtFile(File(QStringLiteral("big.txt"), QByteArray(1024 * 1234 + 10, 'x')));
        // Sparse: the size without the disk space.
        QFile huge(File(QStringLiteral("huge.txt"), QByteArray()));
        QVERIFY(huge.resize(qint64{999} * 1024 * 1024 + 900 * 1024));
        form_->AddTxtFile(huge.fileName());
        QCOMPARE(Column(*form_, kSize),
                 (QStringList{"1.5 KB", "0.0 KB", "0.0 KB", "1.0 MB", "1.2 MB", "999.9 MB"}));
        // The column holds its widest text.
        auto* list = Find<QTableWidget>(*form_, "m_list");
        QVERIFY(list->columnWidth(kSize) >
                list->fontMetrics().horizontalAdvance(QStringLiteral("999.9 MB")));
    }

    void addFilesDialogAddsPickedFilesAndNamesRefusedOnes() {
        const QString a = File(QStringLiteral("a.txt"));
        const QString b = File(QStringLiteral("b.md"));
        const QString c = File(QStringLiteral("C.TXT"));
        dialogs_.openFilesAnswers << QStringList{a, b, c};
        Click("BitBtn1");
        QCOMPARE(Column(*form_, kPath), (QStringList{a, c}));
        QCOMPARE(Column(*form_, kId), (QStringList{"1", "2"}));
        const ScriptedDialogs::Call open = dialogs_.calls.constFirst();
        QCOMPARE(open.kind, ScriptedDialogs::Kind::OpenFiles);
        QCOMPARE(open.title, QStringLiteral("Add Text Files"));
        QCOMPARE(open.types.constFirst().suffixes, QStringList{"txt"});
        const auto messages = dialogs_.Messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.constFirst().text.contains(b));
        QVERIFY(!messages.constFirst().text.contains(a));

        Click("BitBtn1"); // cancelled
        QCOMPARE(Column(*form_, kId).size(), 2);
        QCOMPARE(dialogs_.Messages().size(), 1);
    }

    void dropAddsTextFilesOnlyAndTheSameFileTwice() {
        const QString a = File(QStringLiteral("a.txt"));
        const QString b = File(QStringLiteral("b.TXT"));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder")));
        const QList<QUrl> urls{
            QUrl::fromLocalFile(a), QUrl::fromLocalFile(File(QStringLiteral("image.png"))),
            QUrl::fromLocalFile(dir_.filePath(QStringLiteral("folder"))),
            QUrl(QStringLiteral("https://folivane.example/remote.txt")), QUrl::fromLocalFile(b)};
        QVERIFY(Drop(*form_, urls));
        QVERIFY(Drop(*form_, {QUrl::fromLocalFile(a)}));
        QCOMPARE(Column(*form_, kPath), (QStringList{a, b, a}));
        QCOMPARE(Column(*form_, kId), (QStringList{"1", "2", "3"}));
        QVERIFY(dialogs_.calls.isEmpty());
    }

    void deleteWithoutSelectionSaysSo() {
        AddRows({"a"});
        Find<QTableWidget>(*form_, "m_list")->clearSelection();
        Click("m_del");
        QCOMPARE(dialogs_.Messages().size(), 1);
        const ScriptedDialogs::Call box = dialogs_.Messages().constFirst();
        QCOMPARE(box.text, QStringLiteral("Choose file first please!"));
        QCOMPARE(box.title, QStringLiteral("Quorvel Folivane Converter"));
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(Column(*form_, kId).size(), 1);
    }

    void deleteRenumbersByIdAndSelectsTheNextRow() {
        AddRows({"a", "b", "c", "d"});
        Select(1);
        Click("m_del");
        QCOMPARE(Column(*form_, kName), (QStringList{"a", "c", "d"}));
        QCOMPARE(Column(*form_, kId), (QStringList{"1", "2", "3"}));
        QCOMPARE(SelectedRow(*form_), 1);

        Select(2); // the last row: the new last row becomes selected
        Click("m_del");
        QCOMPARE(Column(*form_, kName), (QStringList{"a", "c"}));
        QCOMPARE(SelectedRow(*form_), 1);
        Click("m_del");
        Click("m_del");
        QCOMPARE(Column(*form_, kId).size(), 0);
        QCOMPARE(SelectedRow(*form_), -1);
        QVERIFY(dialogs_.calls.isEmpty());
    }

    void deleteAfterSortRenumbersByValueNotPosition() {
        AddRows({"d", "b", "c", "a"}); // IDs 1..4
        ClickHeader(kName);
        QCOMPARE(Column(*form_, kId), (QStringList{"4", "2", "3", "1"}));
        Select(1); // "b", ID 2
        Click("m_del");
        QCOMPARE(Column(*form_, kName), (QStringList{"a", "c", "d"}));
        QCOMPARE(Column(*form_, kId), (QStringList{"3", "2", "1"}));
        QCOMPARE(SelectedRow(*form_), 1);
    }

    void emptyAsksFirstEvenWhenEmpty() {
        Click("m_delall");
        QCOMPARE(dialogs_.Messages().size(), 1);
        const ScriptedDialogs::Call question = dialogs_.Messages().constFirst();
        QCOMPARE(question.text, QStringLiteral("Are you sure you want to empty all files?"));
        QCOMPARE(question.icon, QMessageBox::Question);
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);

        AddRows({"a", "b"});
        dialogs_.messageAnswers << QMessageBox::No;
        Click("m_delall");
        QCOMPARE(Column(*form_, kId).size(), 2);
        dialogs_.messageAnswers << QMessageBox::Yes;
        Click("m_delall");
        QCOMPARE(Column(*form_, kId).size(), 0);
        QCOMPARE(dialogs_.Messages().size(), 3);
        AddRows({"c"}); // numbering starts again at 1
        QCOMPARE(Column(*form_, kId), QStringList{"1"});
    }

    void upAndDownExchangeRowsAndWrapAround() {
        AddRows({"A", "B", "C"});
        Click("m_up"); // no selection: nothing
        QCOMPARE(Column(*form_, kName), (QStringList{"A", "B", "C"}));
        Select(0);
        Click("m_up"); // first row up: exchanged with the last, not rotated
        QCOMPARE(Column(*form_, kName), (QStringList{"C", "B", "A"}));
        QCOMPARE(Column(*form_, kId), (QStringList{"3", "2", "1"}));
        QCOMPARE(SelectedRow(*form_), 2);
        Click("m_down"); // last row down: exchanged with the first
        QCOMPARE(Column(*form_, kName), (QStringList{"A", "B", "C"}));
        QCOMPARE(SelectedRow(*form_), 0);
        Click("m_down");
        QCOMPARE(Column(*form_, kName), (QStringList{"B", "A", "C"}));
        QCOMPARE(Column(*form_, kId), (QStringList{"2", "1", "3"}));
        QCOMPARE(SelectedRow(*form_), 1);
        Click("m_up");
        QCOMPARE(Column(*form_, kName), (QStringList{"A", "B", "C"}));
        QCOMPARE(SelectedRow(*form_), 0);
        QVERIFY(dialogs_.calls.isEmpty());
    }

    void upAndDownWithOneRowChangeNothing() {
        AddRows({"only"});
        Select(0);
        Click("m_up");
        Click("m_down");
        QCOMPARE(Column(*form_, kName), QStringList{"only"});
        QCOMPARE(SelectedRow(*form_), 0);
    }

    void sortsEachColumnBothWays_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("ascending"); // of the sorted column
        QTest::newRow("ID by number")
            << int(kId) << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
        const QStringList natural{"Chapter1", "chapter2",  "chapter3",  "chapter7",
                                  "chapter9", "chapter10", "chapter11", "chapter20",
                                  "epilogue", "Prologue",  "x"};
        QTest::newRow("File Name in natural order") << int(kName) << natural;
        QStringList paths;
        for (const QString& name : natural)
            paths << dir_.filePath(name + QStringLiteral(".txt"));
        QTest::newRow("Path in natural order") << int(kPath) << paths;
        QTest::newRow("Size by number")
            << int(kSize)
            << QStringList{"0.0 KB", "0.0 KB",  "0.5 KB",  "1.0 KB",   "2.0 KB",   "9.5 KB",
                           "9.5 KB", "10.0 KB", "20.0 KB", "100.0 KB", "1000.0 KB"};
    }
    void sortsEachColumnBothWays() {
        QFETCH(int, column);
        QFETCH(QStringList, ascending);
        const QStringList names{"chapter10", "chapter2",  "Prologue", "chapter9",
                                "Chapter1",  "epilogue",  "x",        "chapter20",
                                "chapter3",  "chapter11", "chapter7"};
        const int bytes[] = {10240, 102400, 9728, 20480, 0, 1024000, 10, 512, 9738, 2048, 1024};
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(form_->AddTxtFile(
                File(names[i] + QStringLiteral(".txt"), QByteArray(bytes[i], 'x'))));
        auto* header = Find<QTableWidget>(*form_, "m_list")->horizontalHeaderItem(column);
        QVERIFY(header->icon().isNull());

        ClickHeader(column);
        QCOMPARE(Column(*form_, column), ascending);
        QVERIFY(!header->icon().isNull());
        const qint64 upIcon = header->icon().cacheKey();
        ClickHeader(column);
        QStringList descending = ascending;
        std::reverse(descending.begin(), descending.end());
        QCOMPARE(Column(*form_, column), descending);
        QVERIFY(header->icon().cacheKey() != upIcon);
        ClickHeader(column);
        QCOMPARE(Column(*form_, column), ascending);
    }

    void sortingByPathUsesNaturalOrderAndKeepsRowsWhole() {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("vol10")));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("vol9")));
        const QString late = File(QStringLiteral("vol10/a.txt"), QByteArray(2048, 'x'));
        const QString early = File(QStringLiteral("vol9/b.txt"));
        form_->AddTxtFile(late);
        form_->AddTxtFile(early);
        ClickHeader(kPath);
        QCOMPARE(Column(*form_, kPath), (QStringList{early, late}));
        QCOMPARE(Column(*form_, kName), (QStringList{"b", "a"}));
        QCOMPARE(Column(*form_, kId), (QStringList{"2", "1"}));
        QCOMPARE(Column(*form_, kSize), (QStringList{"0.0 KB", "2.0 KB"}));
    }

    void anotherColumnStartsAscendingAndLaterRowsAppend() {
        AddRows({"b", "c", "a"});
        ClickHeader(kName);
        ClickHeader(kPath);
        ClickHeader(kName); // not the column clicked last: ascending again
        QCOMPARE(Column(*form_, kName), (QStringList{"a", "b", "c"}));
        Select(1);
        ClickHeader(kName);
        QCOMPARE(Column(*form_, kName), (QStringList{"c", "b", "a"}));
        QCOMPARE(SelectedRow(*form_), 1); // the selected file stays selected
        AddRows({"0"});
        QCOMPARE(Column(*form_, kName), (QStringList{"c", "b", "a", "0"}));
        QCOMPARE(Column(*form_, kId).last(), QStringLiteral("4"));
    }

    void naturalCompare_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected");
        QTest::newRow("digits by value") << "chapter2"
                                         << "chapter10" << -1;
        QTest::newRow("letters ignore case") << "Apple"
                                             << "banana" << -1;
        QTest::newRow("equal value, fewer zeros first") << "ch1"
                                                        << "ch01" << -1;
        QTest::newRow("case only differs, still ordered") << "a"
                                                          << "A" << 1;
        QTest::newRow("prefix first") << "chapter"
                                      << "chapter1" << -1;
        QTest::newRow("identical") << "same 12"
                                   << "same 12" << 0;
        QTest::newRow("runs longer than 64 bits") << "n99999999999999999999"
                                                  << "n100000000000000000000" << -1;
        QTest::newRow("full-width digits")
            << QString::fromUtf8("第２章") << QString::fromUtf8("第１０章") << -1;
        QTest::newRow("digits before letters") << "1a"
                                               << "a1" << -1;
    }
    void naturalCompare() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        const auto sign = [](int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
        QCOMPARE(sign(folivane::ui::NaturalCompare(a, b)), expected);
        QCOMPARE(sign(folivane::ui::NaturalCompare(b, a)), -expected);
    }

    void coverPickerSetsThePathAndCancelKeepsIt() {
        auto* cover = Find<QLineEdit>(*form_, "CoverPath");
        QVERIFY(cover->isReadOnly());
        const QString picture = dir_.filePath(QStringLiteral("cover.png"));
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(picture, "PNG"));
        dialogs_.openFileAnswers << picture;
        QTest::mouseClick(Find<QToolButton>(*form_, "CoverPathButton"), Qt::LeftButton);
        QCOMPARE(cover->text(), picture);
        const ScriptedDialogs::Call pick = dialogs_.calls.constFirst();
        QCOMPARE(pick.kind, ScriptedDialogs::Kind::OpenFile);
        for (const char* suffix : {"jpg", "png", "bmp", "gif"})
            QVERIFY(pick.types.constFirst().suffixes.contains(QLatin1String(suffix)));

        cover->setFocus();
        QTest::keyClick(cover, Qt::Key_Return); // cancelled from the keyboard
        QCOMPARE(dialogs_.calls.size(), 2);
        QCOMPARE(cover->text(), picture);
        QTest::keyClick(cover, Qt::Key_A);
        QCOMPARE(cover->text(), picture);
    }

    void coverCanBeClearedByItsButtonOrTheDeleteKey() {
        auto* cover = Find<QLineEdit>(*form_, "CoverPath");
        auto* clear = Find<QToolButton>(*form_, "CoverPathClear");
        QVERIFY(clear->isHidden()); // nothing to clear
        QCOMPARE(clear->focusPolicy(), Qt::NoFocus);
        cover->setText(QStringLiteral("/pictures/cover.png"));
        QVERIFY(!clear->isHidden());
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(cover->text(), QString());
        QVERIFY(clear->isHidden());
        for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
            cover->setText(QStringLiteral("/pictures/cover.png"));
            QTest::keyClick(cover, key);
            QCOMPARE(cover->text(), QString());
        }
        QVERIFY(dialogs_.calls.isEmpty());
    }

    void keysDriveTheList() {
        AddRows({"A", "B", "C"});
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get())); // the window's shortcuts need it
        auto* list = Find<QTableWidget>(*form_, "m_list");
        list->setFocus();
        Select(0);
        // The list is one stop: Tab leaves it for its buttons, the arrows move inside it.
        QTest::keyClick(list, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Find<QWidget>(*form_, "m_up"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(SelectedRow(*form_), 1);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(SelectedRow(*form_), 0);
        QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(Column(*form_, kName), (QStringList{"B", "A", "C"}));
        QCOMPARE(SelectedRow(*form_), 1);
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier); // wraps as the button does
        QCOMPARE(Column(*form_, kName), (QStringList{"C", "B", "A"}));
        QCOMPARE(SelectedRow(*form_), 2);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(Column(*form_, kName), (QStringList{"C", "B"}));
        list->clearSelection();
        QTest::keyClick(list, Qt::Key_Delete); // nothing chosen: nothing done, nothing said
        QCOMPARE(Column(*form_, kName), (QStringList{"C", "B"}));
        QVERIFY(dialogs_.calls.isEmpty());

        QTest::keyClick(form_.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs_.calls.size(), 1);
        QCOMPARE(dialogs_.calls.constFirst().kind, ScriptedDialogs::Kind::OpenFiles);
        // Delete in a field deletes text, not a row.
        auto* title = Find<QLineEdit>(*form_, "m_title");
        title->setText(QStringLiteral("ab"));
        title->setFocus();
        title->setCursorPosition(0);
        Select(0);
        QTest::keyClick(title, Qt::Key_Delete);
        QCOMPARE(title->text(), QStringLiteral("b"));
        QCOMPARE(Column(*form_, kName).size(), 2);

        // The buttons say their keys.
        for (const char* button : {"BitBtn1", "m_up", "m_down", "m_del"})
            QVERIFY2(Find<QWidget>(*form_, button)->toolTip().contains(QLatin1Char('(')), button);
        QVERIFY(Find<QWidget>(*form_, "SpeedButton1")->toolTip().contains(QLatin1String("Ctrl")));
    }

    void encodingColumnShowsWhatEachFileWillBeReadAs() {
        QSignalSpy known(form_.get(), &TForm1::encodingsKnown);
        const QByteArray chinese = QStringLiteral("第一章 渡口\n雨后的石板路还湿着。\n").toUtf8();
        form_->AddTxtFile(File(QStringLiteral("utf8.txt"), chinese));
        // GB18030 bytes of the same text, long enough for the detector.
        form_->AddTxtFile(File(QStringLiteral("gbk.txt"),
                               QByteArray::fromHex("b5dad2bbd5c220b6c9bfda0ad3eabaf3b5c4cab0b0e5"
                                                   "c2b7bbb9cafad7c5a1a30a")
                                   .repeated(20)));
        form_->AddTxtFile(
            File(QStringLiteral("utf16.txt"), QByteArray("\xFF\xFE", 2) + QByteArray("h\0i\0", 4)));
        form_->AddTxtFile(dir_.filePath(QStringLiteral("missing.txt")));
        QCOMPARE(Column(*form_, kEncoding), QStringList(4, QStringLiteral("…")));
        QVERIFY(known.wait(kSettleMs));
        QCOMPARE(Column(*form_, kEncoding),
                 (QStringList{"UTF-8", "GB18030", "UTF-16LE", QStringLiteral("?")}));

        // A choice shows at once and goes back to the detected one with Automatic; a row
        // read by its byte-order mark keeps it.
        form_->ChooseEncoding(0, QStringLiteral("BIG5-HKSCS"));
        form_->ChooseEncoding(2, QStringLiteral("GB18030"));
        QCOMPARE(Column(*form_, kEncoding).mid(0, 3),
                 (QStringList{"BIG5-HKSCS", "GB18030", "UTF-16LE"}));
        ClickHeader(kEncoding);
        QCOMPARE(Column(*form_, kEncoding),
                 (QStringList{QStringLiteral("?"), "BIG5-HKSCS", "GB18030", "UTF-16LE"}));
        QCOMPARE(Column(*form_, kName), (QStringList{"missing", "utf8", "gbk", "utf16"}));
        form_->ChooseEncoding(1, QString());
        QCOMPARE(Column(*form_, kEncoding)[1], QStringLiteral("UTF-8"));

        // The row menu offers the same choices, the current one checked.
        auto* list = Find<QTableWidget>(*form_, "m_list");
        QStringList offered;
        QTimer::singleShot(0, this, [&offered] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            QAction* pick = nullptr;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) continue;
                offered << action->text() + (action->isChecked() ? QStringLiteral("*") : QString());
                if (action->data().toString() == QLatin1String("CP1251")) pick = action;
            }
            menu->setActiveAction(pick);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const QPoint row1(5, list->rowViewportPosition(1) + 3);
        emit list->customContextMenuRequested(row1);
        QVERIFY(offered.contains(QStringLiteral("Automatic*")));
        for (const QString& encoding : TForm1::CommonEncodings())
            QVERIFY2(offered.contains(encoding), qPrintable(encoding));
        QCOMPARE(Column(*form_, kEncoding)[1], QStringLiteral("CP1251"));
        QCOMPARE(SelectedRow(*form_), 1);
    }

    void shortFileIsReadAsTheOtherFilesOfTheBookAreAndSaysSo() {
        QSignalSpy known(form_.get(), &TForm1::encodingsKnown);
        form_->AddTxtFile(File(QStringLiteral("long.txt"),
                               QByteArray::fromHex("b5dad2bbd5c220b6c9bfda0ad3eabaf3b5c4cab0b0e5"
                                                   "c2b7bbb9cafad7c5a1a30a")
                                   .repeated(20)));
        // 后记 in GBK: four bytes, too few to judge alone.
        form_->AddTxtFile(File(QStringLiteral("after.txt"), QByteArray::fromHex("baf3bcc7")));
        QVERIFY(known.wait(kSettleMs));
        QCOMPARE(Column(*form_, kEncoding), (QStringList{"GB18030", "GB18030"}));
        auto* list = Find<QTableWidget>(*form_, "m_list");
        QVERIFY(list->item(1, kEncoding)->toolTip().contains(QLatin1String("other files")));
        QVERIFY(!list->item(0, kEncoding)->toolTip().contains(QLatin1String("other files")));

        // Alone in the list, it is judged without the book.
        Select(0);
        Click("m_del");
        QVERIFY(known.wait(kSettleMs));
        QCOMPARE(Column(*form_, kEncoding), QStringList{"GB18030"});
        QVERIFY(!list->item(0, kEncoding)->toolTip().contains(QLatin1String("other files")));
        QVERIFY(list->item(0, kEncoding)->toolTip().contains(QLatin1String("alone")));
    }
};

QTEST_MAIN(BookListTest)
#include "BookListTest.moc"
