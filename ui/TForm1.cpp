// The main window's controls, their places, and the window's own events.
#include "TForm1.h"

#include "Dialogs.h"
#include "EllipsisEdit.h"
#include "Icons.h"
#include "LinkLabel.h"
#include "TForm3.h"
#include "TLongWaitTrd.h"
#include "engine/chapters/ParagraphStyle.h"
#include "engine/epub/BookLayout.h"
#include "engine/job/WorkingTree.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

namespace folivane::ui {

namespace {

// The window is laid out in fixed logical pixels, so its text is sized in the same unit
// (about 8 points at 96 dots per inch); high-DPI scaling then grows both together.
constexpr int kTextPixels = 11;

QPushButton* SideButton(const char* name, const QString& text, const char* icon, QWidget* parent,
                        int top) {
    auto* button = new QPushButton(LoadIcon(icon), text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(24, 24)); // a 32-pixel picture would not fit the 30-pixel button
    button->setGeometry(415, top, 82, 30);
    return button;
}

QLineEdit* Edit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

// A caption right-aligned to end just before `right`, naming `buddy` for screen readers
// and mnemonics.
void Caption(const QString& text, QWidget* parent, int right, int top, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    const int width = label->fontMetrics().horizontalAdvance(text) + 2;
    label->setGeometry(right - width, top, width, 21);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(buddy);
}

// "text (Ctrl+O)": a button's tool tip with its shortcut, as the desktop writes keys.
QString WithShortcut(const QString& text, const QKeySequence& keys) {
    return text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + QLatin1Char(')');
}

// The window grows by one row of the book frame for the choices of the book.
constexpr int kChoicesRow = 24;
// The rows of choices under the cover: chapters, language and version; paragraphs.
constexpr int kChoicesRows = 2 * kChoicesRow;

} // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      dialogs_(dialogs) {
    FormCreate();
}

TForm1::~TForm1() {
    // Nothing of a finished job may reach a window that is going away.
    if (worker_) {
        worker_->disconnect(this);
        worker_->wait();
    }
}

void TForm1::FormCreate() {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(tr("Quorvel Folivane Converter V1.0"));
    setWindowIcon(LoadIcon("convert"));
    QFont f = font();
    f.setPixelSize(kTextPixels);
    setFont(f);
    setFixedSize(505, 334 + kChoicesRows);
    setAcceptDrops(true);
    tempFolderPath_ = engine::TempFolderPath();

    CreateTopFrame();
    CreateListFrame();
    CreateBookFrame();

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(tr("Convert"));
    SpeedButton1->setIcon(LoadIcon("convert"));
    SpeedButton1->setIconSize(QSize(48, 48));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setGeometry(416, 225, 83, 86 + kChoicesRows);
    QFont bold = SpeedButton1->font();
    bold.setBold(true);
    SpeedButton1->setFont(bold);
    QPalette red = SpeedButton1->palette();
    red.setColor(QPalette::ButtonText, Qt::red);
    SpeedButton1->setPalette(red);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);

    URLLabel4 = new LinkLabel(QLatin1String(engine::kSourceAddress), this);
    URLLabel4->setObjectName(QStringLiteral("URLLabel4"));
    URLLabel4->SetAddress(QUrl(QLatin1String(engine::kSourceAddress)));
    URLLabel4->move(184, 317 + kChoicesRows);
    URLLabel4->adjustSize();

    CreateTabOrder();
    CreateShortcuts();
    connect(&guessing_, &QFutureWatcher<QList<EncodingGuess>>::finished, this,
            &TForm1::ApplyEncodingGuesses);

    // The progress dialog of the first job waits hidden.
    EnsureProgressDialog();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::CreateTopFrame() {
    // Its top edge sits above the window so only three sides of the frame show.
    auto* frame = new QGroupBox(this);
    frame->setGeometry(2, -3, 502, 69);

    BitBtn1 = new QPushButton(LoadIcon("add"), tr("Add Files"), frame);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIconSize(QSize(48, 48));
    BitBtn1->setGeometry(5, 11, 110, 52);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);

    URLLabel3 = new LinkLabel(tr("About"), frame);
    URLLabel3->setObjectName(QStringLiteral("URLLabel3"));
    URLLabel3->move(462, 17);
    URLLabel3->adjustSize();
    connect(URLLabel3, &LinkLabel::clicked, this, &TForm1::URLLabel3Click);
}

void TForm1::CreateListFrame() {
    auto* frame = new QGroupBox(tr(" TXT Files List "), this);
    frame->setGeometry(2, 66, 502, 150);

    m_list = new QTableWidget(0, kColumns, frame);
    m_list->setObjectName(QStringLiteral("m_list"));
    m_list->setGeometry(5, 16, 405, 128);
    const QStringList captions{tr("ID"), tr("File Name"), tr("Size"), tr("Encoding"), tr("Path")};
    // The size column holds "999.9 MB", the encoding column "BIG5-HKSCS", with room for a
    // sort arrow; the path takes what is left and more.
    const QFontMetrics metrics = m_list->fontMetrics();
    const int sizeWidth = metrics.horizontalAdvance(QStringLiteral("999.9 MB")) + 28;
    const int encodingWidth = metrics.horizontalAdvance(QStringLiteral("BIG5-HKSCS")) + 16;
    const int widths[] = {40, 110, sizeWidth, encodingWidth, 220};
    for (int c = 0; c < kColumns; ++c) {
        m_list->setHorizontalHeaderItem(c, new QTableWidgetItem(captions[c]));
        m_list->setColumnWidth(c, widths[c]);
    }
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setSectionsClickable(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One stop in the tab order: Tab leaves the list, the arrow keys move within it.
    m_list->setTabKeyNavigation(false);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &TForm1::ShowRowMenu);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->setIconSize(QSize(16, 16));
    QPalette p = m_list->palette();
    p.setColor(QPalette::Text, QColor(0, 0, 128)); // navy
    // The selected row stays as visible when the list loses the focus.
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    m_list->setPalette(p);
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TForm1::m_listColumnClick);

    m_up = SideButton("m_up", tr("Up     "), "up", frame, 16);
    m_down = SideButton("m_down", tr("Down "), "down", frame, 49);
    m_del = SideButton("m_del", tr("Delete"), "delete", frame, 82);
    m_delall = SideButton("m_delall", tr("Empty "), "empty", frame, 115);
    connect(m_up, &QPushButton::clicked, this, &TForm1::m_upClick);
    connect(m_down, &QPushButton::clicked, this, &TForm1::m_downClick);
    connect(m_del, &QPushButton::clicked, this, &TForm1::m_delClick);
    connect(m_delall, &QPushButton::clicked, this, &TForm1::m_delallClick);
}

void TForm1::CreateBookFrame() {
    auto* frame = new QGroupBox(tr(" ePub Book Information "), this);
    frame->setGeometry(2, 219, 410, 94 + kChoicesRows);

    // The fields keep their right edges; a font or a language whose captions need more
    // room than the classic layout gave them moves the fields' left edges instead of
    // clipping.
    const int titleRight = 68 + 139;
    const int fullRight = 68 + 334;
    const QFontMetrics metrics = frame->fontMetrics();
    const auto neededLeft = [&metrics](const QString& caption, int captionLeft) {
        return captionLeft + metrics.horizontalAdvance(caption) + 2 + 3;
    };
    const QString bookName = tr("Book Name:");
    const QString author = tr("Author:");
    const QString publisher = tr("Publisher:");
    const QString cover = tr("Cover:");
    const QString language = tr("Language:");
    const QString paragraphs = tr("Paragraphs:");
    int left = 68;
    for (const QString& caption : {bookName, publisher, cover, paragraphs})
        left = std::max(left, neededLeft(caption, 2));

    m_title = Edit("m_title", frame);
    m_title->setGeometry(left, 20, titleRight - left, 21);
    Caption(bookName, frame, left - 3, 20, m_title);

    m_zz = Edit("m_zz", frame);
    const int authorLeft = std::max(266, neededLeft(author, titleRight + 4));
    m_zz->setGeometry(authorLeft, 20, fullRight - authorLeft, 21);
    Caption(author, frame, authorLeft - 3, 20, m_zz);

    m_cbs = Edit("m_cbs", frame);
    m_cbs->setGeometry(left, 44, fullRight - left, 21);
    Caption(publisher, frame, left - 3, 44, m_cbs);

    CoverPath = new EllipsisEdit(frame);
    CoverPath->setObjectName(QStringLiteral("CoverPath"));
    CoverPath->Button()->setObjectName(QStringLiteral("CoverPathButton"));
    CoverPath->ClearButton()->setObjectName(QStringLiteral("CoverPathClear"));
    CoverPath->ClearButton()->setToolTip(tr("Remove the cover"));
    CoverPath->setGeometry(left, 68, fullRight - left, 21);
    Caption(cover, frame, left - 3, 68, CoverPath);
    connect(CoverPath, &EllipsisEdit::editButtonClicked, this, &TForm1::CoverPathEditButtonClick);

    // The choices of the book: a row of their own under the cover, right-aligned like the
    // fields above.
    const int choicesTop = 68 + kChoicesRow;
    m_epubVersion = new QComboBox(frame);
    m_epubVersion->setObjectName(QStringLiteral("m_epubVersion"));
    m_epubVersion->addItem(tr("EPUB 2"), static_cast<int>(engine::EpubVersion::Epub2));
    m_epubVersion->addItem(tr("EPUB 3"), static_cast<int>(engine::EpubVersion::Epub3));
    m_epubVersion->setToolTip(tr("EPUB 2 opens in the most readers; EPUB 3 adds a navigation "
                                 "document for modern readers and stores"));
    m_epubVersion->setAccessibleName(tr("EPUB version"));
    const int versionWidth = m_epubVersion->sizeHint().width();
    m_epubVersion->setGeometry(fullRight - versionWidth, choicesTop, versionWidth, 21);

    // Beside the version it needs: EPUB 2 has no vertical writing, so the box waits for 3.
    m_vertical = new QCheckBox(tr("Vertical"), frame);
    m_vertical->setObjectName(QStringLiteral("m_vertical"));
    m_vertical->setToolTip(tr("Write the book vertically, columns from right to left, as "
                              "Japanese books are set; needs EPUB 3"));
    const int verticalWidth = m_vertical->sizeHint().width();
    const int verticalLeft = fullRight - versionWidth - 6 - verticalWidth;
    m_vertical->setGeometry(verticalLeft, choicesTop, verticalWidth, 21);
    const auto allowVertical = [this] {
        m_vertical->setEnabled(m_epubVersion->currentData().toInt() ==
                               static_cast<int>(engine::EpubVersion::Epub3));
    };
    connect(m_epubVersion, &QComboBox::currentIndexChanged, this, allowVertical);
    allowVertical();

    m_language = Edit("m_language", frame);
    m_language->setPlaceholderText(tr("Automatic"));
    m_language->setToolTip(tr("The book's language as a BCP 47 tag, such as en, zh-CN or ja; "
                              "empty: judged from the text"));
    const int languageWidth =
        std::max(64, metrics.horizontalAdvance(m_language->placeholderText()) + 12);
    const int languageLeft = verticalLeft - 6 - languageWidth;
    m_language->setGeometry(languageLeft, choicesTop, languageWidth, 21);
    const int languageCaptionRight = languageLeft - 3;
    Caption(language, frame, languageCaptionRight, choicesTop, m_language);

    m_chapters = new QCheckBox(tr("Find chapters in the text"), frame);
    m_chapters->setObjectName(QStringLiteral("m_chapters"));
    m_chapters->setChecked(true);
    m_chapters->setToolTip(tr("Start a chapter at heading lines such as \"第十四章\" or "
                              "\"Chapter 14\"; off: one chapter per file"));
    const int chaptersRight = languageCaptionRight - metrics.horizontalAdvance(language) - 8;
    m_chapters->setGeometry(8, choicesTop, chaptersRight - 8, 21);

    m_paragraphs = new QComboBox(frame);
    m_paragraphs->setObjectName(QStringLiteral("m_paragraphs"));
    m_paragraphs->addItem(tr("Automatic"), static_cast<int>(engine::ParagraphChoice::Auto));
    m_paragraphs->addItem(tr("One per line"), static_cast<int>(engine::ParagraphChoice::Lines));
    m_paragraphs->addItem(tr("Blank-line blocks"),
                          static_cast<int>(engine::ParagraphChoice::Blocks));
    m_paragraphs->addItem(tr("Indented"), static_cast<int>(engine::ParagraphChoice::Indented));
    m_paragraphs->setToolTip(
        tr("How lines make paragraphs. Automatic: hard-wrapped text is joined into its "
           "paragraphs, other text keeps one paragraph per line. One per line: each line. "
           "Blank-line blocks: the lines between blank lines. Indented: an indented line "
           "starts a paragraph."));
    m_paragraphs->setAccessibleName(tr("Paragraphs"));
    m_paragraphs->setGeometry(left, choicesTop + kChoicesRow,
                              std::max(m_paragraphs->sizeHint().width(), 140), 21);
    Caption(paragraphs, frame, left - 3, choicesTop + kChoicesRow, m_paragraphs);
}

void TForm1::CreateTabOrder() {
    setTabOrder(BitBtn1, m_list);
    setTabOrder(m_list, m_title);
    setTabOrder(m_title, m_zz);
    setTabOrder(m_zz, m_cbs);
    setTabOrder(m_cbs, CoverPath);
    setTabOrder(CoverPath, m_chapters);
    setTabOrder(m_chapters, m_language);
    setTabOrder(m_language, m_vertical);
    setTabOrder(m_vertical, m_epubVersion);
    setTabOrder(m_epubVersion, m_paragraphs);
    BitBtn1->setFocus();
}

void TForm1::CreateShortcuts() {
    const auto shortcut = [this](const QKeySequence& keys, QWidget* scope,
                                 void (TForm1::*action)()) {
        auto* made = new QShortcut(keys, scope);
        made->setContext(scope == this ? Qt::WindowShortcut : Qt::WidgetShortcut);
        connect(made, &QShortcut::activated, this, action);
    };
    const QKeySequence open(QKeySequence::Open);
    const QKeySequence up(Qt::CTRL | Qt::Key_Up);
    const QKeySequence down(Qt::CTRL | Qt::Key_Down);
    const QKeySequence remove(QKeySequence::Delete);
    const QKeySequence convert(Qt::CTRL | Qt::Key_Return);
    shortcut(open, this, &TForm1::BitBtn1Click);
    shortcut(up, this, &TForm1::m_upClick);
    shortcut(down, this, &TForm1::m_downClick);
    shortcut(convert, this, &TForm1::SpeedButton1Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), this, &TForm1::SpeedButton1Click);
    // Delete acts on the list only: in a field it deletes text.
    shortcut(remove, m_list, &TForm1::DeleteKeyPressed);

    BitBtn1->setToolTip(WithShortcut(tr("Add TXT Files"), open));
    m_up->setToolTip(WithShortcut(tr("Move the selected file up"), up));
    m_down->setToolTip(WithShortcut(tr("Move the selected file down"), down));
    m_del->setToolTip(WithShortcut(tr("Remove the selected file from the list"), remove));
    m_delall->setToolTip(tr("Remove every file from the list"));
    SpeedButton1->setToolTip(WithShortcut(tr("Convert the files into one book"), convert));
}

TForm3* TForm1::ProgressDialog() const {
    return Form3;
}

bool TForm1::ConversionRunning() const {
    return worker_ && !worker_->isFinished();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The window stays while a job runs: only the end of the session stops a job (which
    // then removes what it made), and the modal progress dialog normally keeps a close from
    // arriving at all.
    if (ConversionRunning())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void TForm1::URLLabel3Click() {
    const QStringList lines{tr("Quorvel Folivane Converter"), tr("Version:1.0"),
                            tr("Web: ") + QLatin1String(engine::kSourceAddress),
                            tr("E-mail: support@folivane.example")};
    dialogs_.Message(this, QMessageBox::Information, tr("About Quorvel Folivane Converter"),
                     lines.join(QLatin1Char('\n')), QMessageBox::Ok);
}

QMessageBox::StandardButton TForm1::Say(QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons) {
    return dialogs_.Message(this, icon, tr("Quorvel Folivane Converter"), text, buttons);
}

} // namespace folivane::ui
