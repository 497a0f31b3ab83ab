// The progress dialog: a line naming the chapter being written, a bar and Cancel.
#include "TForm3.h"

#include <algorithm>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace folivane::ui {

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      Label1(new QLabel(this)), ProgressBar1(new QProgressBar(this)),
      m_cancel(new QPushButton(tr("Cancel"), this)) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(tr("Quorvel Folivane Converter"));
    // The layout is fixed in logical pixels, so the text is sized in the same unit.
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(335, 100);
    setModal(true);
    setAccessibleDescription(tr("The progress of the conversion"));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText); // chapter names are file names, not markup
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 14, 321, 17);

    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(32, 40, 273, 17);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleDescription(tr("How far the conversion has come"));

    m_cancel->setObjectName(QStringLiteral("m_cancel"));
    m_cancel->setToolTip(tr("Stop the conversion; nothing of the book is kept (Esc)"));
    m_cancel->setAutoDefault(false);
    // Wide enough for what it says once pressed.
    const int width = std::max({90, m_cancel->sizeHint().width(),
                                m_cancel->fontMetrics().horizontalAdvance(tr("Cancelling…")) + 24});
    m_cancel->setGeometry((335 - width) / 2, 66, width, 25);
    m_cancel->setFocus();
    connect(m_cancel, &QPushButton::clicked, this, &TForm3::PressCancel);

    InitProgressStatus();
}

void TForm3::PressCancel() {
    if (!m_cancel->isEnabled()) return;
    // Pressed once; the dialog stays until the job has stopped and cleaned up.
    AnnouncePhase(tr("Cancelling"));
    m_cancel->setEnabled(false);
    m_cancel->setText(tr("Cancelling…"));
    emit cancelPressed();
}

void TForm3::AnnouncePhase(const QString& phase) {
    // Qt tells screen readers of the new name; the same name twice would be said twice, and
    // once cancelling, the job's last reports are no phase of its own.
    if (m_cancel->isEnabled() && ProgressBar1->accessibleName() != phase)
        ProgressBar1->setAccessibleName(phase);
}

void TForm3::InitProgressStatus() {
    Label1->setText(tr("Preprocess..."));
    AnnouncePhase(tr("Preparing"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
}

void TForm3::Progress(engine::JobPhase phase, int done) {
    if (!started_ || phase != phase_) {
        // The line above the bar, and the phase's name for screen readers.
        QString line;
        QString name;
        switch (phase) {
        case engine::JobPhase::Reading:
            line = tr("Reading the files…");
            name = tr("Reading the files");
            break;
        case engine::JobPhase::FindingChapters:
            line = tr("Finding the chapters…");
            name = tr("Finding the chapters");
            break;
        case engine::JobPhase::WritingPages:
            line = tr("Writing the pages…");
            name = tr("Writing the pages");
            break;
        case engine::JobPhase::Packing:
            line = tr("Packing the book…");
            name = tr("Packing the book");
            break;
        case engine::JobPhase::Checking:
            line = tr("Checking the book…");
            name = tr("Checking the book");
            break;
        }
        Label1->setText(line);
        Label1->setToolTip(QString());
        AnnouncePhase(name);
    }
    if (!started_) ProgressBar1->setRange(0, engine::kProgressScale);
    started_ = true;
    phase_ = phase;
    ProgressBar1->setValue(std::max(ProgressBar1->value(), done));
}

void TForm3::ChapterReport(const QString& chapterName) {
    const auto line = [](const QString& name) {
        return tr("\"%1\" is building, Please wait...").arg(name);
    };
    // A long name is shortened in its middle so the "is building" part stays readable.
    const QFontMetrics metrics(Label1->font());
    const int room = Label1->width() - metrics.horizontalAdvance(line(QString()));
    Label1->setText(line(metrics.elidedText(chapterName, Qt::ElideMiddle, room)));
    Label1->setToolTip(line(chapterName));
}

void TForm3::BatchProgress(int done, int total, const QStringList& current) {
    started_ = true;
    QString line = tr("%1 of %2").arg(done).arg(total);
    if (!current.isEmpty()) line += QStringLiteral(": ") + current.join(QStringLiteral(", "));
    const QFontMetrics metrics(Label1->font());
    Label1->setText(metrics.elidedText(line, Qt::ElideRight, Label1->width()));
    Label1->setToolTip(line);
    AnnouncePhase(tr("%1 of %2").arg(done).arg(total));
    // The bar last, so that whoever follows it finds the line of its value.
    ProgressBar1->setRange(0, std::max(1, total));
    ProgressBar1->setValue(done);
}

void TForm3::Finish() {
    finishing_ = true;
    done(QDialog::Rejected);
}

void TForm3::reject() {
    // Escape and QDialog's close handling land here: the dialog stays while the job runs,
    // and closes on Finish() once it has stopped.
    if (finishing_)
        QDialog::reject();
    else
        PressCancel();
}

} // namespace folivane::ui
