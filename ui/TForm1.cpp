// The main window's controls, their places, and the window's own events.
#include "TForm1.h"

#include "Dialogs.h"
#include "EllipsisEdit.h"
#include "Icons.h"
#include "LinkLabel.h"
#include "TForm3.h"
#include "TLongWaitTrd.h"
#include "engine/ConversionJob.h"
#include "engine/WorkingTree.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

namespace folivane::ui {

namespace {

constexpr QLatin1String kBoxTitle("Quorvel Folivane Converter");

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

// A caption right-aligned to end just before `right`.
void Caption(const QString& text, QWidget* parent, int right, int top) {
    auto* label = new QLabel(text, parent);
    const int width = label->fontMetrics().horizontalAdvance(text) + 2;
    label->setGeometry(right - width, top, width, 21);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

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
    setWindowTitle(QStringLiteral("Quorvel Folivane Converter V1.0"));
    setWindowIcon(LoadIcon("convert"));
    QFont f = font();
    f.setPixelSize(kTextPixels);
    setFont(f);
    setFixedSize(505, 334);
    setAcceptDrops(true);
    tempFolderPath_ = engine::TempFolderPath();

    CreateTopFrame();
    CreateListFrame();
    CreateBookFrame();

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Convert"));
    SpeedButton1->setIcon(LoadIcon("convert"));
    SpeedButton1->setIconSize(QSize(48, 48));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setGeometry(416, 225, 83, 86);
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
    URLLabel4->move(184, 317);
    URLLabel4->adjustSize();

    CreateTabOrder();

    // The progress dialog of the first job waits hidden.
    EnsureProgressDialog();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::CreateTopFrame() {
    // Its top edge sits above the window so only three sides of the frame show.
    auto* frame = new QGroupBox(this);
    frame->setGeometry(2, -3, 502, 69);

    BitBtn1 = new QPushButton(LoadIcon("add"), QStringLiteral("Add Files"), frame);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QStringLiteral("Add TXT Files"));
    BitBtn1->setIconSize(QSize(48, 48));
    BitBtn1->setGeometry(5, 11, 110, 52);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);

    URLLabel3 = new LinkLabel(QStringLiteral("About"), frame);
    URLLabel3->setObjectName(QStringLiteral("URLLabel3"));
    URLLabel3->move(462, 17);
    URLLabel3->adjustSize();
    connect(URLLabel3, &LinkLabel::clicked, this, &TForm1::URLLabel3Click);
}

void TForm1::CreateListFrame() {
    auto* frame = new QGroupBox(QStringLiteral(" TXT Files List "), this);
    frame->setGeometry(2, 66, 502, 150);

    m_list = new QTableWidget(0, kColumns, frame);
    m_list->setObjectName(QStringLiteral("m_list"));
    m_list->setGeometry(5, 16, 405, 128);
    const QStringList captions{QStringLiteral("ID"), QStringLiteral("File Name"),
                               QStringLiteral("Size"), QStringLiteral("Path")};
    const int widths[] = {55, 116, 60, 220};
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

    m_up = SideButton("m_up", QStringLiteral("Up     "), "up", frame, 16);
    m_down = SideButton("m_down", QStringLiteral("Down "), "down", frame, 49);
    m_del = SideButton("m_del", QStringLiteral("Delete"), "delete", frame, 82);
    m_delall = SideButton("m_delall", QStringLiteral("Empty "), "empty", frame, 115);
    connect(m_up, &QPushButton::clicked, this, &TForm1::m_upClick);
    connect(m_down, &QPushButton::clicked, this, &TForm1::m_downClick);
    connect(m_del, &QPushButton::clicked, this, &TForm1::m_delClick);
    connect(m_delall, &QPushButton::clicked, this, &TForm1::m_delallClick);
}

void TForm1::CreateBookFrame() {
    auto* frame = new QGroupBox(QStringLiteral(" ePub Book Information "), this);
    frame->setGeometry(2, 219, 410, 94);

    // The fields keep their right edges; a font whose captions need more room than the
    // classic layout gave them moves the fields' left edges instead of clipping.
    const int titleRight = 68 + 139;
    const int fullRight = 68 + 334;
    const QFontMetrics metrics = frame->fontMetrics();
    const auto neededLeft = [&metrics](const char* caption, int captionLeft) {
        return captionLeft + metrics.horizontalAdvance(QLatin1String(caption)) + 2 + 3;
    };
    int left = 68;
    for (const char* caption : {"Book Name:", "Publisher:", "Cover:"})
        left = std::max(left, neededLeft(caption, 2));

    m_title = Edit("m_title", frame);
    m_title->setGeometry(left, 20, titleRight - left, 21);
    Caption(QStringLiteral("Book Name:"), frame, left - 3, 20);

    m_zz = Edit("m_zz", frame);
    const int authorLeft = std::max(266, neededLeft("Author:", titleRight + 4));
    m_zz->setGeometry(authorLeft, 20, fullRight - authorLeft, 21);
    Caption(QStringLiteral("Author:"), frame, authorLeft - 3, 20);

    m_cbs = Edit("m_cbs", frame);
    m_cbs->setGeometry(left, 44, fullRight - left, 21);
    Caption(QStringLiteral("Publisher:"), frame, left - 3, 44);

    CoverPath = new EllipsisEdit(frame);
    CoverPath->setObjectName(QStringLiteral("CoverPath"));
    CoverPath->Button()->setObjectName(QStringLiteral("CoverPathButton"));
    CoverPath->setGeometry(left, 68, fullRight - left, 21);
    Caption(QStringLiteral("Cover:"), frame, left - 3, 68);
    connect(CoverPath, &EllipsisEdit::editButtonClicked, this, &TForm1::CoverPathEditButtonClick);
}

void TForm1::CreateTabOrder() {
    setTabOrder(BitBtn1, m_list);
    setTabOrder(m_list, m_title);
    setTabOrder(m_title, m_zz);
    setTabOrder(m_zz, m_cbs);
    setTabOrder(m_cbs, CoverPath);
    BitBtn1->setFocus();
}

TForm3* TForm1::ProgressDialog() const {
    return Form3;
}

bool TForm1::ConversionRunning() const {
    return worker_ && !worker_->isFinished();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The job cannot be cancelled, so the window stays until it ends (the modal progress
    // dialog normally keeps a close from arriving at all).
    if (ConversionRunning())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void TForm1::URLLabel3Click() {
    const QStringList lines{QStringLiteral("Quorvel Folivane Converter"),
                            QStringLiteral("Version:1.0"),
                            QStringLiteral("Web: ") + QLatin1String(engine::kSourceAddress),
                            QStringLiteral("E-mail: support@folivane.example")};
    dialogs_.Message(this, QMessageBox::Information,
                     QStringLiteral("About Quorvel Folivane Converter"),
                     lines.join(QLatin1Char('\n')), QMessageBox::Ok);
}

QMessageBox::StandardButton TForm1::Say(QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons) {
    return dialogs_.Message(this, icon, kBoxTitle, text, buttons);
}

} // namespace folivane::ui
