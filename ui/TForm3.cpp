// The progress dialog: a line naming the chapter being written and a bar.
#include "TForm3.h"

#include <algorithm>

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

namespace folivane::ui {

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label1_(new QLabel(this)), progressBar1_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(tr("Quorvel Folivane Converter"));
    // The layout is fixed in logical pixels, so the text is sized in the same unit.
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(335, 83);
    setModal(true);

    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextFormat(Qt::PlainText); // chapter names are file names, not markup
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setGeometry(8, 14, 321, 17);

    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setGeometry(32, 40, 273, 17);
    progressBar1_->setTextVisible(false);

    InitProgressStatus();
}

void TForm3::InitProgressStatus() {
    label1_->setText(tr("Preprocess..."));
    progressBar1_->setRange(0, 100);
    progressBar1_->setValue(0);
}

void TForm3::SetMaximum(int chapterCount) {
    // A range of 0 to 0 would turn the bar into a busy indicator.
    if (chapterCount <= 0) return;
    chapters_ = chapterCount;
    progressBar1_->setMaximum(2 * chapterCount);
}

void TForm3::PackingReport(qulonglong written, qulonglong total) {
    label1_->setText(tr("Packing the book…"));
    label1_->setToolTip(QString());
    const qulonglong packed = total == 0 ? 1 : std::min(written, total);
    const qulonglong share = total == 0 ? 1 : total;
    progressBar1_->setValue(chapters_ +
                            static_cast<int>(static_cast<qulonglong>(chapters_) * packed / share));
}

void TForm3::ChapterReport(const QString& chapterName) {
    const auto line = [](const QString& name) {
        return tr("\"%1\" is building, Please wait...").arg(name);
    };
    // A long name is shortened in its middle so the "is building" part stays readable.
    const QFontMetrics metrics(label1_->font());
    const int room = label1_->width() - metrics.horizontalAdvance(line(QString()));
    label1_->setText(line(metrics.elidedText(chapterName, Qt::ElideMiddle, room)));
    label1_->setToolTip(line(chapterName));
    progressBar1_->setValue(progressBar1_->value() + 1);
}

void TForm3::Finish() {
    finishing_ = true;
    done(QDialog::Rejected);
}

void TForm3::reject() {
    // Escape lands here; the job cannot be cancelled, so only Finish() may close.
    if (finishing_) QDialog::reject();
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (finishing_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

} // namespace folivane::ui
