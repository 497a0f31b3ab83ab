// The main window's controls, their places, and the window's own events.
#include "TForm1.h"

#include "Dialogs.h"
#include "EllipsisEdit.h"
#include "Icons.h"
#include "LinkLabel.h"
#include "SuggestedField.h"
#include "TAppearanceDialog.h"
#include "TBatchWorker.h"
#include "TDetailsDialog.h"
#include "TForm3.h"
#include "TLongWaitTrd.h"
#include "engine/epub/BookLayout.h"
#include "engine/job/WorkingTree.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace folivane::ui {

namespace {

// The text is sized in logical pixels (about 8 points at 96 dots per inch), as the window
// always had it; high-DPI scaling grows it with everything else.
constexpr int kTextPixels = 11;
// The window as it was before it could grow: its default and its smallest size.
constexpr QSize kClassicSize(505, 358);

QPushButton* SideButton(const char* name, const QString& text, const char* icon) {
    auto* button = new QPushButton(LoadIcon(icon), text);
    button->setObjectName(QLatin1String(name));
    // The captions are padded with spaces to line up beside their pictures; a screen reader
    // reads the word alone.
    button->setAccessibleName(text.trimmed());
    button->setIconSize(QSize(24, 24)); // a 32-pixel picture would not fit the 30-pixel button
    button->setMinimumHeight(30);
    return button;
}

QLineEdit* Edit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    return edit;
}

// A caption naming `buddy` for screen readers and mnemonics.
QLabel* Caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

// A row of controls, left to right, with room to spare at its end.
QHBoxLayout* Row(const QList<QWidget*>& widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    row->addStretch();
    return row;
}

// "text (Ctrl+O)": a control's tool tip with its shortcut, as the desktop writes keys.
QString WithShortcut(const QString& text, const QKeySequence& keys) {
    return text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + QLatin1Char(')');
}

} // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    FormCreate();
}

TForm1::~TForm1() {
    SaveSettings();
    // The list's rows go with it, after the preview's timer: nothing may be scheduled then.
    m_list->model()->disconnect(this);
    previewTimer_->stop();
    // Nothing of a finished job may reach a window that is going away.
    if (worker_) {
        worker_->disconnect(this);
        worker_->wait();
    }
    if (batch_) {
        batch_->disconnect(this);
        batch_->RequestCancel();
        batch_->wait();
    }
    if (previewCancel_) *previewCancel_ = true;
    previewing_.disconnect(this);
    previewing_.waitForFinished();
    guessing_.disconnect(this);
    guessing_.waitForFinished();
}

void TForm1::FormCreate() {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(tr("Quorvel Folivane Converter V1.0"));
    setWindowIcon(LoadIcon("convert"));
    QFont f = font();
    f.setPixelSize(kTextPixels);
    setFont(f);
    setAcceptDrops(true);
    tempFolderPath_ = engine::TempFolderPath();

    auto* left = new QWidget;
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(CreateTopFrame());
    column->addWidget(CreateListFrame(), 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CreateBookFrame(), 1);

    SpeedButton1 = new QToolButton;
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(tr("Convert"));
    SpeedButton1->setIcon(LoadIcon("convert"));
    SpeedButton1->setIconSize(QSize(48, 48));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    SpeedButton1->setFocusPolicy(Qt::StrongFocus);
    SpeedButton1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    SpeedButton1->setMinimumWidth(83);
    QFont bold = SpeedButton1->font();
    bold.setBold(true);
    SpeedButton1->setFont(bold);
    QPalette red = SpeedButton1->palette();
    red.setColor(QPalette::Active, QPalette::ButtonText, Qt::red);
    red.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::red);
    SpeedButton1->setPalette(red);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    bottom->addWidget(SpeedButton1);
    column->addLayout(bottom);

    URLLabel4 = new LinkLabel(QLatin1String(engine::kSourceAddress));
    URLLabel4->setObjectName(QStringLiteral("URLLabel4"));
    URLLabel4->SetAddress(QUrl(QLatin1String(engine::kSourceAddress)));
    URLLabel4->setAccessibleName(tr("Product web page"));
    URLLabel4->setToolTip(tr("Open the program's web page in the browser"));
    column->addWidget(URLLabel4, 0, Qt::AlignHCenter);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(left);
    splitter->addWidget(CreatePreviewFrame());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({kDefaultWindowSize.width() * 3 / 5, kDefaultWindowSize.width() * 2 / 5});
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(splitter);

    CreateTabOrder();
    CreateShortcuts();
    connect(&guessing_, &QFutureWatcher<QList<EncodingGuess>>::finished, this,
            &TForm1::ApplyEncodingGuesses);

    // The preview and Convert follow the list: rows added, removed, moved, read again.
    QAbstractItemModel* model = m_list->model();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, [this] {
            UpdateConvertButton();
            SchedulePreview();
        });
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        UpdateConvertButton();
        SchedulePreview();
    });
    connect(model, &QAbstractItemModel::dataChanged, this, &TForm1::SchedulePreview);
    connect(m_chapters, &QCheckBox::toggled, this, &TForm1::SchedulePreview);
    connect(m_paragraphs, &QComboBox::currentIndexChanged, this, &TForm1::SchedulePreview);
    connect(m_pattern, &QLineEdit::textChanged, this, &TForm1::SchedulePreview);
    connect(m_language, &QLineEdit::textChanged, this, &TForm1::SchedulePreview);
    connect(m_chineseScript, &QComboBox::currentIndexChanged, this, &TForm1::SchedulePreview);
    // The cover shows the title and author, and is set vertically in a vertical book.
    connect(CoverPath, &QLineEdit::textChanged, this, &TForm1::SchedulePreview);
    connect(m_titleCover, &QCheckBox::toggled, this, &TForm1::SchedulePreview);
    connect(m_vertical, &QCheckBox::toggled, this, &TForm1::SchedulePreview);
    connect(m_epubVersion, &QComboBox::currentIndexChanged, this, &TForm1::SchedulePreview);
    connect(details_, &TDetailsDialog::detailsChanged, this, &TForm1::SchedulePreview);
    connect(m_zz, &QLineEdit::textChanged, this, [this] {
        if (!authorField_->IsSuggestion()) SchedulePreview();
    });
    // The title names the book's opening in the contents; a suggestion is already the plan's.
    connect(m_title, &QLineEdit::textChanged, this, [this] {
        if (!titleField_->IsSuggestion()) SchedulePreview();
    });
    connect(&previewing_, &QFutureWatcher<PreviewResult>::finished, this, &TForm1::ShowPreview);
    UpdateConvertButton();

    // The progress dialog of the first job waits hidden.
    EnsureProgressDialog();

    setMinimumSize(minimumSizeHint().expandedTo(kClassicSize));
    LoadSettings();
    SchedulePreview();
}

QWidget* TForm1::CreateTopFrame() {
    auto* frame = new QWidget;
    BitBtn1 = new QPushButton(LoadIcon("add"), tr("Add Files"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIconSize(QSize(48, 48));
    BitBtn1->setMinimumSize(110, 52);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);

    URLLabel3 = new LinkLabel(tr("About"));
    URLLabel3->setObjectName(QStringLiteral("URLLabel3"));
    connect(URLLabel3, &LinkLabel::clicked, this, &TForm1::URLLabel3Click);

    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(BitBtn1);
    row->addStretch();
    row->addWidget(URLLabel3, 0, Qt::AlignTop);
    return frame;
}

QWidget* TForm1::CreateListFrame() {
    auto* frame = new QGroupBox(tr(" TXT Files List "));

    m_list = new QTableWidget(0, kColumns);
    m_list->setObjectName(QStringLiteral("m_list"));
    m_list->setAccessibleName(tr("Text files"));
    m_list->setAccessibleDescription(
        tr("The text files of the book, in book order; the menu key chooses a row's encoding"));
    const QStringList captions{tr("ID"), tr("File Name"), tr("Size"), tr("Encoding"), tr("Path")};
    // The size column holds "999.9 MB", the encoding column "BIG5-HKSCS", with room for a
    // sort arrow; the name and the path share what is left as the window grows.
    const QFontMetrics metrics = m_list->fontMetrics();
    const int sizeWidth = metrics.horizontalAdvance(QStringLiteral("999.9 MB")) + 28;
    const int encodingWidth = metrics.horizontalAdvance(QStringLiteral("BIG5-HKSCS")) + 16;
    const int widths[] = {40, 110, sizeWidth, encodingWidth, 220};
    for (int c = 0; c < kColumns; ++c) {
        m_list->setHorizontalHeaderItem(c, new QTableWidgetItem(captions[c]));
        m_list->setColumnWidth(c, widths[c]);
    }
    QHeaderView* header = m_list->horizontalHeader();
    header->setSectionResizeMode(kFileName, QHeaderView::Stretch);
    header->setSectionResizeMode(kPath, QHeaderView::Stretch);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
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
    m_list->setMinimumSize(300, 100);
    QPalette p = m_list->palette();
    p.setColor(QPalette::Text, QColor(0, 0, 128)); // navy
    // The selected row stays as visible when the list loses the focus.
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    m_list->setPalette(p);
    connect(header, &QHeaderView::sectionClicked, this, &TForm1::m_listColumnClick);
    // Tab into the list makes a row current, so that Ctrl+Up and Ctrl+Down act at once.
    m_list->installEventFilter(this);

    m_up = SideButton("m_up", tr("Up     "), "up");
    m_down = SideButton("m_down", tr("Down "), "down");
    m_del = SideButton("m_del", tr("Delete"), "delete");
    m_delall = SideButton("m_delall", tr("Empty "), "empty");
    connect(m_up, &QPushButton::clicked, this, &TForm1::m_upClick);
    connect(m_down, &QPushButton::clicked, this, &TForm1::m_downClick);
    connect(m_del, &QPushButton::clicked, this, &TForm1::m_delClick);
    connect(m_delall, &QPushButton::clicked, this, &TForm1::m_delallClick);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_up, m_down, m_del, m_delall})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(5, 4, 5, 5);
    row->addWidget(m_list, 1);
    row->addLayout(buttons);
    return frame;
}

QWidget* TForm1::CreateBookFrame() {
    auto* frame = new QGroupBox(tr(" ePub Book Information "));

    m_title = Edit("m_title");
    m_title->setToolTip(tr("The book's title, as readers list it; it also names the book's file"));
    m_zz = Edit("m_zz");
    m_zz->setToolTip(tr("The book's author"));
    titleField_ = new SuggestedField(m_title);
    authorField_ = new SuggestedField(m_zz);
    m_cbs = Edit("m_cbs");
    m_cbs->setToolTip(tr("The book's publisher; may stay empty"));
    CoverPath = new EllipsisEdit;
    CoverPath->setObjectName(QStringLiteral("CoverPath"));
    CoverPath->setToolTip(tr("The picture on the book's cover (JPEG, PNG, GIF or BMP); empty: "
                             "no cover"));
    CoverPath->Button()->setObjectName(QStringLiteral("CoverPathButton"));
    CoverPath->Button()->setAccessibleName(tr("Choose cover"));
    // The "..." button is a stop of its own in the tab order.
    CoverPath->Button()->setFocusPolicy(Qt::TabFocus);
    CoverPath->ClearButton()->setObjectName(QStringLiteral("CoverPathClear"));
    CoverPath->ClearButton()->setAccessibleName(tr("Remove cover"));
    CoverPath->ClearButton()->setToolTip(tr("Remove the cover"));
    connect(CoverPath, &EllipsisEdit::editButtonClicked, this, &TForm1::CoverPathEditButtonClick);

    m_epubVersion = new QComboBox;
    m_epubVersion->setObjectName(QStringLiteral("m_epubVersion"));
    m_epubVersion->addItem(tr("EPUB 2"), static_cast<int>(engine::EpubVersion::Epub2));
    m_epubVersion->addItem(tr("EPUB 3"), static_cast<int>(engine::EpubVersion::Epub3));
    m_epubVersion->setToolTip(tr("EPUB 2 opens in the most readers; EPUB 3 adds a navigation "
                                 "document for modern readers and stores"));
    m_epubVersion->setAccessibleName(tr("EPUB version"));

    // Beside the version it needs: EPUB 2 has no vertical writing, so the box waits for 3.
    m_vertical = new QCheckBox(tr("Vertical"));
    m_vertical->setObjectName(QStringLiteral("m_vertical"));
    m_vertical->setToolTip(tr("Write the book vertically, columns from right to left, as "
                              "Japanese books are set; needs EPUB 3"));
    const auto allowVertical = [this] {
        m_vertical->setEnabled(m_epubVersion->currentData().toInt() ==
                               static_cast<int>(engine::EpubVersion::Epub3));
    };
    connect(m_epubVersion, &QComboBox::currentIndexChanged, this, allowVertical);
    allowVertical();

    m_paragraphs = new QComboBox;
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
    m_paragraphs->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_language = Edit("m_language");
    m_language->setPlaceholderText(tr("Automatic"));
    m_language->setToolTip(tr("The book's language as a BCP 47 tag, such as en, zh-CN or ja; "
                              "empty: judged from the text"));
    m_chineseScript = new QComboBox;
    m_chineseScript->setObjectName(QStringLiteral("m_chineseScript"));
    m_chineseScript->addItem(tr("As written"), static_cast<int>(engine::ChineseScript::Keep));
    m_chineseScript->addItem(tr("Simplified"), static_cast<int>(engine::ChineseScript::Simplified));
    m_chineseScript->addItem(tr("Traditional"),
                             static_cast<int>(engine::ChineseScript::Traditional));
    m_chineseScript->addItem(tr("Taiwan"), static_cast<int>(engine::ChineseScript::Taiwan));
    m_chineseScript->addItem(tr("Hong Kong"), static_cast<int>(engine::ChineseScript::HongKong));
    m_chineseScript->setToolTip(
        tr("The script of Chinese text in the book: sources judged Chinese are converted, with "
           "their chapter names and the title; Taiwan and Hong Kong also take their own "
           "characters, and Taiwan its own words. Japanese is never converted."));
    m_chineseScript->setAccessibleName(tr("Chinese script"));
    m_chineseScript->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_eachFile = new QCheckBox(tr("One book per file"));
    m_eachFile->setObjectName(QStringLiteral("m_eachFile"));
    m_eachFile->setToolTip(tr("Make a book of each file, with these choices, in a folder you "
                              "choose; each is named after its title"));
    m_language->setFixedWidth(
        std::max(80, m_language->fontMetrics().horizontalAdvance(tr("Automatic")) + 16));

    m_chapters = new QCheckBox(tr("Find chapters in the text"));
    m_chapters->setObjectName(QStringLiteral("m_chapters"));
    m_chapters->setChecked(true);
    m_chapters->setToolTip(tr("Start a chapter at heading lines such as \"第十四章\" or "
                              "\"Chapter 14\"; off: one chapter per file"));

    m_pattern = Edit("m_pattern");
    m_pattern->setPlaceholderText(tr("Built-in headings"));
    m_pattern->setToolTip(tr("A PCRE2 pattern that finds heading lines instead of the built-in "
                             "rules, such as ^Chapter \\d+; the preview shows what it finds"));
    m_pattern->setAccessibleName(tr("Chapter pattern"));
    connect(m_chapters, &QCheckBox::toggled, m_pattern, &QWidget::setEnabled);

    // Indent, spacing and a style sheet of the user's own, in a dialog of their own.
    appearance_ = new TAppearanceDialog(dialogs_, this);
    m_appearance = new QPushButton(tr("Appearance…"));
    m_appearance->setObjectName(QStringLiteral("m_appearance"));
    const auto describeAppearance = [this] {
        const QString about = tr("The book's look: paragraph indent, the space between "
                                 "paragraphs, a style sheet of your own");
        const QString chosen = appearance_->Summary();
        m_appearance->setToolTip(chosen.isEmpty() ? about : about + QLatin1Char('\n') + chosen);
    };
    connect(appearance_, &TAppearanceDialog::choicesChanged, this, describeAppearance);
    describeAppearance();
    connect(m_appearance, &QPushButton::clicked, appearance_, &QDialog::open);

    // Beside the cover field it stands in for: a picture given makes it moot.
    m_titleCover = new QCheckBox(tr("Title cover"));
    m_titleCover->setObjectName(QStringLiteral("m_titleCover"));
    m_titleCover->setChecked(true);
    m_titleCover->setToolTip(tr("Without a cover picture, make a cover from the book's title "
                                "and author; the preview shows it"));
    const auto allowTitleCover = [this] { m_titleCover->setEnabled(CoverPath->text().isEmpty()); };
    connect(CoverPath, &QLineEdit::textChanged, this, allowTitleCover);
    allowTitleCover();

    // Description, series, ISBN ...: what a library shows beyond the name and author.
    details_ = new TDetailsDialog(this);
    m_more = new QPushButton(tr("More…"));
    m_more->setObjectName(QStringLiteral("m_more"));
    const auto describeDetails = [this] {
        const QString about = tr("More about the book: description, subjects, series, ISBN, "
                                 "translator, date, rights");
        const QString given = details_->Summary();
        m_more->setToolTip(given.isEmpty() ? about : about + QLatin1Char('\n') + given);
    };
    connect(details_, &TDetailsDialog::detailsChanged, this, describeDetails);
    describeDetails();
    connect(m_more, &QPushButton::clicked, details_, &QDialog::open);

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(5, 4, 5, 5);
    grid->setVerticalSpacing(3);
    grid->addWidget(Caption(tr("Book Name:"), m_title), 0, 0);
    grid->addWidget(m_title, 0, 1);
    grid->addWidget(Caption(tr("Author:"), m_zz), 0, 2);
    grid->addWidget(m_zz, 0, 3);
    grid->addWidget(Caption(tr("Publisher:"), m_cbs), 1, 0);
    grid->addWidget(m_cbs, 1, 1, 1, 3);
    grid->addWidget(Caption(tr("Cover:"), CoverPath), 2, 0);
    // The book's look beside its cover; a row of its own would widen the window.
    auto* look = new QHBoxLayout;
    look->addWidget(CoverPath, 1);
    look->addWidget(m_titleCover);
    look->addWidget(m_appearance);
    look->addWidget(m_more);
    grid->addLayout(look, 2, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    // The choices of the book, one row for how chapters are found and one for the book's
    // form: a control more is one entry more in its row.
    grid->addLayout(Row({m_chapters, m_pattern, m_eachFile}), 3, 0, 1, 4);
    grid->addLayout(Row({Caption(tr("Language:"), m_language), m_language, m_epubVersion,
                         m_vertical, Caption(tr("Paragraphs:"), m_paragraphs), m_paragraphs,
                         Caption(tr("Chinese:"), m_chineseScript), m_chineseScript}),
                    4, 0, 1, 4);
    return frame;
}

QWidget* TForm1::CreatePreviewFrame() {
    auto* frame = new QGroupBox(tr(" Contents of the Book "));
    m_preview = new QTreeWidget;
    m_preview->setObjectName(QStringLiteral("m_preview"));
    m_preview->setAccessibleName(tr("Contents of the book"));
    m_preview->setColumnCount(3);
    m_preview->setHeaderLabels({tr("Contents"), tr("Size"), tr("Pages")});
    m_preview->setToolTip(tr("The book as it will be made: each source as it will be read, "
                             "then the contents with the size of each entry"));
    m_preview->setAccessibleDescription(m_preview->toolTip());
    // The names take what the sizes and page counts leave.
    m_preview->header()->setStretchLastSection(false);
    m_preview->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_preview->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_preview->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_preview->setUniformRowHeights(true);
    m_preview->setMinimumWidth(180);
    m_previewNote = new QLabel;
    m_previewNote->setObjectName(QStringLiteral("m_previewNote"));
    m_previewNote->setTextFormat(Qt::PlainText);
    m_previewNote->setWordWrap(true);
    // The cover the book will get, small beside the note: a 5:8 page.
    m_coverPreview = new QLabel;
    m_coverPreview->setObjectName(QStringLiteral("m_coverPreview"));
    m_coverPreview->setFixedSize(kCoverPreviewSize);
    m_coverPreview->setAlignment(Qt::AlignCenter);
    m_coverPreview->setFrameShape(QFrame::StyledPanel);
    m_coverPreview->setAccessibleName(tr("Cover of the book"));
    auto* foot = new QHBoxLayout;
    foot->addWidget(m_coverPreview, 0, Qt::AlignTop);
    foot->addWidget(m_previewNote, 1);
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(5, 4, 5, 5);
    column->addWidget(m_preview, 1);
    column->addLayout(foot);
    previewTimer_ = new QTimer(this);
    previewTimer_->setSingleShot(true);
    // Typing a pattern or adding many files makes one preview, once the changes pause.
    previewTimer_->setInterval(300);
    connect(previewTimer_, &QTimer::timeout, this, &TForm1::StartPreview);
    return frame;
}

void TForm1::CreateTabOrder() {
    // Top to bottom, left to right, as the window reads; a control more is one line more.
    const QList<QWidget*> order{
        BitBtn1,      URLLabel3,     m_list,     m_up,         m_down,          m_del,
        m_delall,     m_title,       m_zz,       m_cbs,        CoverPath,       CoverPath->Button(),
        m_titleCover, m_appearance,  m_more,     m_chapters,   m_pattern,       m_eachFile,
        m_language,   m_epubVersion, m_vertical, m_paragraphs, m_chineseScript, SpeedButton1,
        URLLabel4,    m_preview};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
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
    const QKeySequence empty(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete);
    const QKeySequence cover(Qt::CTRL | Qt::SHIFT | Qt::Key_O);
    const QKeySequence about(Qt::Key_F1);
    const QKeySequence convert(Qt::CTRL | Qt::Key_Return);
    shortcut(open, this, &TForm1::BitBtn1Click);
    shortcut(up, this, &TForm1::m_upClick);
    shortcut(down, this, &TForm1::m_downClick);
    shortcut(empty, this, &TForm1::m_delallClick);
    shortcut(cover, this, &TForm1::CoverPathEditButtonClick);
    shortcut(about, this, &TForm1::URLLabel3Click);
    shortcut(convert, this, &TForm1::SpeedButton1Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), this, &TForm1::SpeedButton1Click);
    // Delete acts on the list only: in a field it deletes text.
    shortcut(remove, m_list, &TForm1::DeleteKeyPressed);

    BitBtn1->setToolTip(WithShortcut(tr("Add TXT Files"), open));
    URLLabel3->setToolTip(WithShortcut(tr("About Quorvel Folivane Converter"), about));
    m_up->setToolTip(WithShortcut(tr("Move the selected file up"), up));
    m_down->setToolTip(WithShortcut(tr("Move the selected file down"), down));
    m_del->setToolTip(WithShortcut(tr("Remove the selected file from the list"), remove));
    m_delall->setToolTip(WithShortcut(tr("Remove every file from the list"), empty));
    CoverPath->Button()->setToolTip(WithShortcut(tr("Choose a picture for the cover"), cover));
}

void TForm1::UpdateConvertButton() {
    const bool any = m_list->rowCount() > 0;
    SpeedButton1->setEnabled(any);
    SpeedButton1->setToolTip(
        any ? WithShortcut(tr("Convert the files into one book"),
                           QKeySequence(Qt::CTRL | Qt::Key_Return))
            : tr("Add text files to the list first: there is nothing to convert"));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::FocusIn && m_list->rowCount() > 0 &&
        SelectedRow() < 0)
        SelectRow(std::max(0, m_list->currentRow()));
    return QWidget::eventFilter(watched, event);
}

TForm3* TForm1::ProgressDialog() const {
    return Form3;
}

bool TForm1::ConversionRunning() const {
    return (worker_ && !worker_->isFinished()) || (batch_ && !batch_->isFinished());
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The modal progress dialog keeps most close requests from arriving while a job runs;
    // one that does stops the job first, when the user says so, and the window closes once
    // the job has removed what it made.
    if (!ConversionRunning()) return QWidget::closeEvent(event);
    event->ignore();
    if (closeWhenStopped_) return;
    if (Say(QMessageBox::Question,
            tr("A book is being made. Stop the conversion and close the window?"),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    if (!ConversionRunning()) { // it ended while the user was asked
        close();
        return;
    }
    closeWhenStopped_ = true;
    RequestCancel();
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
