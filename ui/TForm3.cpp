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

void TForm3::SetMaximum(int chapterCount) {
    // A range of 0 to 0 would turn the bar into a busy indicator.
    if (chapterCount <= 0) return;
    chapters_ = chapterCount;
    ProgressBar1->setMaximum(2 * chapterCount);
    ProgressBar1->setValue(0);
}

void TForm3::ReadingReport(qulonglong done, qulonglong total) {
    // Thousandths: a bar of 120 MB in bytes would not fit an int.
    constexpr qulonglong kSteps = 1000;
    Label1->setText(tr("Reading the files… %1%").arg(total == 0 ? 0 : done * 100 / total));
    ProgressBar1->setRange(0, static_cast<int>(kSteps));
    ProgressBar1->setValue(total == 0 ? 0
                                      : static_cast<int>(std::min(done, total) * kSteps / total));
}

void TForm3::PackingReport(qulonglong written, qulonglong total) {
    Label1->setText(tr("Packing the book…"));
    Label1->setToolTip(QString());
    const qulonglong packed = total == 0 ? 1 : std::min(written, total);
    const qulonglong share = total == 0 ? 1 : total;
    ProgressBar1->setValue(chapters_ +
                           static_cast<int>(static_cast<qulonglong>(chapters_) * packed / share));
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
    ProgressBar1->setValue(ProgressBar1->value() + 1);
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
