// The contents preview of the main window: the book's plan worked out off the interface thread
// whenever the list or the choices change, and shown as a tree.
#include "TForm1.h"

#include "FailureReasons.h"
#include "SuggestedField.h"
#include "TDetailsDialog.h"

#include "engine/chapters/HeadingRules.h"
#include "engine/text/ConversionError.h"
#include "engine/text/SourceFiles.h"

#include <QCheckBox>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtConcurrent/QtConcurrentRun>

#include <new>

namespace folivane::ui {
namespace {

QString SizeOf(std::size_t bytes) {
    // Qt's own word for bytes is not every language's ("557 byte" in Traditional Chinese).
    if (bytes == 1) return TForm1::tr("1 byte");
    if (bytes < 1024) return TForm1::tr("%1 bytes").arg(bytes);
    return QLocale().formattedDataSize(static_cast<qint64>(bytes), 1,
                                       QLocale::DataSizeTraditionalFormat);
}

// The entries of the contents under `parent`, as deep as the book's table of contents.
void AddEntries(QTreeWidgetItem* parent, const std::vector<engine::PlanEntry>& entries) {
    for (const engine::PlanEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(parent);
        item->setText(0, QString::fromStdString(entry.label));
        item->setToolTip(0, item->text(0));
        if (entry.numbered) {
            // Found by counting, not by a heading word: worth a second look.
            QFont font = item->font(0);
            font.setItalic(true);
            item->setFont(0, font);
            item->setToolTip(0, item->text(0) + QLatin1Char('\n') +
                                    TForm1::tr("Found by its number in a sequence"));
        }
        item->setText(1, SizeOf(entry.bytes));
        item->setText(2, QString::number(entry.pages));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        AddEntries(item, entry.children);
    }
}

// The notices of the plan, one line each, after the file they are about.
QString NoticeLines(const engine::BookPlan& plan) {
    QString lines;
    for (const engine::TextNotice& notice : plan.notices) {
        const QString file = notice.source < plan.sources.size()
                                 ? QString::fromStdString(engine::GetFileNameFromPath(
                                       plan.sources[notice.source].path, true))
                                 : QString();
        QString what;
        switch (notice.kind) {
        case engine::TextNotice::Kind::NumberMissing:
            what = TForm1::tr("%1: chapter %2 missing").arg(file).arg(notice.number);
            break;
        case engine::TextNotice::Kind::NumberRepeated:
            what = TForm1::tr("%1: chapter %2 repeated").arg(file).arg(notice.number);
            break;
        case engine::TextNotice::Kind::AnnotationsNotUnderstood:
            what = TForm1::tr("%1: %n annotations not understood", nullptr,
                              static_cast<int>(notice.count))
                       .arg(file);
            break;
        case engine::TextNotice::Kind::BytesNotDecoded:
            what =
                TForm1::tr("%1: %n bytes are not %2 text", nullptr, static_cast<int>(notice.count))
                    .arg(file, QString::fromStdString(notice.encoding));
            break;
        }
        lines += QLatin1Char('\n') + what;
    }
    return lines;
}

QString ParagraphsText(const engine::ParagraphShape& shape) {
    switch (shape.style) {
    case engine::ParagraphStyle::Blocks:
        return TForm1::tr("wrapped at %1, parted by blank lines").arg(shape.wrapWidth);
    case engine::ParagraphStyle::Indented:
        return TForm1::tr("wrapped at %1, parted by indents").arg(shape.wrapWidth);
    case engine::ParagraphStyle::Lines:
        break;
    }
    return TForm1::tr("a paragraph per line");
}

std::size_t CountEntries(const std::vector<engine::PlanEntry>& entries) {
    std::size_t count = entries.size();
    for (const engine::PlanEntry& entry : entries)
        count += CountEntries(entry.children);
    return count;
}

} // namespace

bool TForm1::PreviewPending() const {
    // A plan that is worked out is shown when its watcher hears of it, a moment later.
    return previewTimer_->isActive() || previewing_.isRunning() || previewUnseen_;
}

QString TForm1::PatternProblem() const {
    const std::string pattern = m_pattern->text().toStdString();
    if (!m_chapters->isChecked() || pattern.empty()) return {};
    try {
        engine::HeadingRules::Custom(pattern, std::string(), engine::kDefaultMaxHeadingLength);
    } catch (const engine::HeadingPatternError& error) {
        return TranslatedFailure(error.Reason());
    }
    return {};
}

QString TForm1::FirstSource() const {
    // A row being added has no path yet.
    const QTableWidgetItem* item = m_list->rowCount() > 0 ? m_list->item(0, kPath) : nullptr;
    return item ? item->text() : QString();
}

void TForm1::SchedulePreview() {
    // The suggestions came from the first file: another one, or none, takes them away.
    if (FirstSource() != suggestedFrom_) {
        titleField_->Withdraw();
        authorField_->Withdraw();
        suggestedFrom_.clear();
    }
    // The plan being worked out no longer describes the window.
    if (previewCancel_) *previewCancel_ = true;
    previewTimer_->start();
}

void TForm1::StartPreview() {
    if (previewing_.isRunning()) {
        // It stops at its next check point; the next one starts once it has.
        previewTimer_->start();
        return;
    }
    const QString problem = PatternProblem();
    m_pattern->setToolTip(problem.isEmpty() ? tr("A PCRE2 pattern that finds heading lines "
                                                 "instead of the built-in rules, such as "
                                                 "^Chapter \\d+; the preview shows what it finds")
                                            : problem);
    m_pattern->setStyleSheet(problem.isEmpty() ? QString()
                                               : QStringLiteral("QLineEdit { color: #b00000; }"));
    ++previewGeneration_;
    if (m_list->rowCount() == 0 || !problem.isEmpty()) {
        m_preview->clear();
        ShowCover({}, QImage());
        m_previewNote->setText(problem.isEmpty() ? tr("Add text files to see the book's contents.")
                                                 : problem);
        emit previewShown();
        return;
    }
    engine::BookInput input = MakeBookInput(QString());
    m_previewNote->setText(tr("Reading the files…"));
    previewCancel_ = std::make_shared<std::atomic<bool>>(false);
    previewUnseen_ = true;
    const int generation = previewGeneration_;
    // The task owns its input and its flag and touches nothing of the window.
    previewing_.setFuture(QtConcurrent::run([input = std::move(input), cancel = previewCancel_,
                                             generation, first = FirstSource(),
                                             made = planMadeHook_]() -> PreviewResult {
        PreviewResult result;
        result.generation = generation;
        result.firstSource = first;
        try {
            result.plan = engine::PlanBook(input, [&cancel] {
                if (*cancel) throw engine::ConversionCancelled();
            });
            // Made small here, off the interface thread.
            QImage cover;
            if (result.plan.cover.kind == engine::CoverPlan::Kind::Title)
                cover.loadFromData(QByteArray::fromStdString(result.plan.cover.png), "PNG");
            else if (result.plan.cover.kind == engine::CoverPlan::Kind::Picture)
                cover.load(QFile::decodeName(input.coverPath.c_str()));
            if (!cover.isNull())
                result.cover =
                    cover.scaled(kCoverPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            if (made) made();
        } catch (const std::bad_alloc&) {
            result.problem = tr("Not enough memory to read the files for the preview.");
        } catch (...) {
            result.problem = TranslatedFailure(engine::CaughtFailure());
        }
        return result;
    }));
}

void TForm1::ShowPreview() {
    previewUnseen_ = false;
    const PreviewResult result = previewing_.result();
    // A plan of what the window no longer describes waits for the next one.
    if (result.generation != previewGeneration_ || previewTimer_->isActive()) return;
    if (!result.problem.isEmpty()) {
        m_preview->clear();
        m_previewNote->setText(result.problem);
        ShowCover({}, QImage());
    } else {
        ShowPlan(result.plan);
        ShowCover(result.plan.cover, result.cover);
        details_->ShowFromText(result.plan.details);
        SuggestFromPlan(result.plan, result.firstSource);
    }
    emit previewShown();
}

void TForm1::SuggestFromPlan(const engine::BookPlan& plan, const QString& firstSource) {
    if (firstSource != FirstSource()) return;
    titleField_->Suggest(QString::fromStdString(plan.title));
    authorField_->Suggest(QString::fromStdString(plan.author));
    suggestedFrom_ = firstSource;
}

void TForm1::ShowCover(const engine::CoverPlan& plan, const QImage& cover) {
    m_coverPreview->setPixmap(cover.isNull() ? QPixmap() : QPixmap::fromImage(cover));
    QString about;
    switch (plan.kind) {
    case engine::CoverPlan::Kind::Title:
        about = tr("A cover made from the title, in %1").arg(QString::fromStdString(plan.font));
        break;
    case engine::CoverPlan::Kind::Picture:
        about = tr("The cover picture");
        break;
    case engine::CoverPlan::Kind::None:
        // The engine's reason names the characters no font has.
        about = plan.problem.empty() ? tr("No cover")
                                     : tr("No cover: %1").arg(QString::fromStdString(plan.problem));
        break;
    }
    m_coverPreview->setText(cover.isNull() ? tr("No cover") : QString());
    m_coverPreview->setToolTip(about);
    m_coverPreview->setAccessibleDescription(about);
}

void TForm1::ShowPlan(const engine::BookPlan& plan) {
    m_preview->setUpdatesEnabled(false);
    m_preview->clear();
    auto* sources = new QTreeWidgetItem(m_preview);
    sources->setText(0, tr("Sources (%n)", nullptr, static_cast<int>(plan.sources.size())));
    sources->setFlags(Qt::ItemIsEnabled);
    for (std::size_t index = 0; index < plan.sources.size(); ++index) {
        const engine::SourcePlan& source = plan.sources[index];
        auto* item = new QTreeWidgetItem(sources);
        item->setText(0, tr("%1: %2, %3, %4")
                             .arg(QString::fromStdString(source.name),
                                  QString::fromStdString(source.encoding.encoding),
                                  QString::fromStdString(source.language),
                                  ParagraphsText(source.paragraphs)));
        item->setToolTip(0, QFile::decodeName(source.path.c_str()) + QLatin1Char('\n') +
                                BasisText(source.encoding.basis));
        item->setText(1, SizeOf(source.bytes));
        item->setText(2, QString::number(source.pages));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        // What the rules decided about the source that its reader should know, under it.
        for (const engine::TextNotice& notice : plan.notices) {
            if (notice.source != index) continue;
            auto* said = new QTreeWidgetItem(item);
            said->setText(0, TranslatedNotice(notice));
            said->setToolTip(0, said->text(0));
            said->setFlags(Qt::ItemIsEnabled);
        }
    }
    auto* contents = new QTreeWidgetItem(m_preview);
    contents->setText(0, tr("Contents"));
    contents->setFlags(Qt::ItemIsEnabled);
    contents->setText(2, QString::number(plan.pages));
    contents->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    AddEntries(contents, plan.contents);
    m_preview->expandAll();
    // A long book opens with its sources folded away and its volumes showing.
    if (plan.sources.size() > 8) sources->setExpanded(false);
    m_preview->setUpdatesEnabled(true);
    m_previewNote->setText(tr("%1 entries, %2 pages, language %3")
                               .arg(CountEntries(plan.contents))
                               .arg(plan.pages)
                               .arg(QString::fromStdString(plan.language)) +
                           NoticeLines(plan));
}

} // namespace folivane::ui
