// The progress dialog: a line naming the chapter being written and a bar.
#include "TForm3.h"

#include <algorithm>

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

namespace folivane::ui {

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(this)), ProgressBar1(new QProgressBar(this)) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(tr("Quorvel Folivane Converter"));
    // The layout is fixed in logical pixels, so the text is sized in the same unit.
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(335, 83);
    setModal(true);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText); // chapter names are file names, not markup
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 14, 321, 17);

    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(32, 40, 273, 17);
    ProgressBar1->setTextVisible(false);

    InitProgressStatus();
}

void TForm3::InitProgressStatus() {
    Label1->setText(tr("Preprocess..."));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
}

void TForm3::Progress(engine::JobPhase phase, int done) {
    if (!started_ || phase != phase_) {
        switch (phase) {
        case engine::JobPhase::Reading:
            Label1->setText(tr("Reading the files…"));
            break;
        case engine::JobPhase::FindingChapters:
            Label1->setText(tr("Finding the chapters…"));
            break;
        case engine::JobPhase::WritingPages:
            Label1->setText(tr("Writing the pages…"));
            break;
        case engine::JobPhase::Packing:
            Label1->setText(tr("Packing the book…"));
            break;
        case engine::JobPhase::Checking:
            Label1->setText(tr("Checking the book…"));
            break;
        }
        Label1->setToolTip(QString());
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

void TForm3::Finish() {
    finishing_ = true;
    done(QDialog::Rejected);
}

void TForm3::reject() {
    // Escape lands here; the dialog does not stop the job, so only Finish() may close it.
    if (finishing_) QDialog::reject();
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (finishing_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

} // namespace folivane::ui
