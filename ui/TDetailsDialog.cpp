// The details dialog: its fields, how lists are split, and the checks the command line makes.
#include "TDetailsDialog.h"

#include "engine/epub/Isbn.h"
#include "engine/text/CalendarDate.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace folivane::ui {
namespace {

// "a; b；c" as its parts: subjects may hold commas ("Fiction, historical").
std::vector<std::string> Parts(const QString& text) {
    std::vector<std::string> parts;
    for (const QString& part :
         text.split(QRegularExpression(QStringLiteral("[;；]")), Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty()) parts.push_back(part.trimmed().toStdString());
    return parts;
}

} // namespace

TDetailsDialog::TDetailsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TDetailsDialog"));
    setWindowTitle(tr("More about the Book"));
    setWindowModality(Qt::WindowModal);

    m_description = new QPlainTextEdit;
    m_description->setObjectName(QStringLiteral("m_description"));
    m_description->setToolTip(tr("What the book is about, as readers' libraries show it"));
    m_description->setTabChangesFocus(true);
    m_description->setFixedHeight(m_description->fontMetrics().lineSpacing() * 4 + 12);
    connect(m_description, &QPlainTextEdit::textChanged, this, &TDetailsDialog::detailsChanged);
    m_subjects = Field("m_subjects", tr("Subjects or genres, separated by semicolons"));
    m_series = Field("m_series", tr("The series the book belongs to"));
    m_seriesIndex = Field("m_seriesIndex", tr("The book's number in its series, such as 2 or 2.5"));
    m_seriesIndex->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,6}(\\.\\d{0,6})?")), m_seriesIndex));
    m_seriesIndex->setMaximumWidth(
        m_seriesIndex->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 16);
    m_identifier = Field("m_identifier", tr("The book's ISBN-10 or ISBN-13; its check digit "
                                            "is checked"));
    m_translator = Field("m_translator", tr("The book's translator"));
    m_contributors =
        Field("m_contributors", tr("Other contributors (editors, illustrators ...), separated "
                                   "by semicolons"));
    m_date = Field("m_date", tr("The date of publication: YYYY, YYYY-MM or YYYY-MM-DD"));
    m_rights = Field("m_rights", tr("The book's rights, such as \"Public domain\" or a licence; "
                                    "kept for the next book"));

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(tr("Description:"), m_description);
    form->addRow(tr("Subjects:"), m_subjects);
    form->addRow(tr("Series:"), m_series);
    form->addRow(tr("Number in series:"), m_seriesIndex);
    form->addRow(tr("ISBN:"), m_identifier);
    form->addRow(tr("Translator:"), m_translator);
    form->addRow(tr("Contributors:"), m_contributors);
    form->addRow(tr("Date:"), m_date);
    form->addRow(tr("Rights:"), m_rights);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Reset);
    buttons->setObjectName(QStringLiteral("DetailsButtons"));
    QPushButton* clear = buttons->button(QDialogButtonBox::Reset);
    clear->setObjectName(QStringLiteral("m_clearDetails"));
    clear->setText(tr("Clear"));
    clear->setToolTip(tr("Empty every field"));
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("m_closeDetails"));
    close->setToolTip(tr("Close; the details are kept as they are"));
    connect(clear, &QPushButton::clicked, this, &TDetailsDialog::Clear);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    setMinimumWidth(420);
}

QLineEdit* TDetailsDialog::Field(const char* name, const QString& toolTip) {
    auto* field = new QLineEdit;
    field->setObjectName(QLatin1String(name));
    field->setToolTip(toolTip);
    connect(field, &QLineEdit::textChanged, this, &TDetailsDialog::detailsChanged);
    return field;
}

QList<QPair<QString, QWidget*>> TDetailsDialog::PersistedControls() const {
    return {{QStringLiteral("rights"), m_rights}};
}

void TDetailsDialog::ApplyTo(engine::BookInput& input) const {
    engine::BookDetails& details = input.details;
    details.description = m_description->toPlainText().toStdString();
    details.subjects = Parts(m_subjects->text());
    details.series = m_series->text().toStdString();
    details.seriesIndex = m_seriesIndex->text().trimmed().toStdString();
    details.isbn = m_identifier->text().trimmed().toStdString();
    details.translator = m_translator->text().toStdString();
    details.contributors = Parts(m_contributors->text());
    details.date = m_date->text().trimmed().toStdString();
    details.rights = m_rights->text().toStdString();
}

QWidget* TDetailsDialog::ProblemField() const {
    const std::string isbn = m_identifier->text().trimmed().toStdString();
    if (!isbn.empty() && engine::CheckIsbn(isbn).isbn.empty()) return m_identifier;
    const std::string date = m_date->text().trimmed().toStdString();
    if (!date.empty() && !engine::IsBookDate(date)) return m_date;
    const QString index = m_seriesIndex->text().trimmed();
    if (!index.isEmpty() &&
        (m_series->text().trimmed().isEmpty() || index.endsWith(u'.') || index.startsWith(u'.')))
        return m_seriesIndex;
    return nullptr;
}

QString TDetailsDialog::Problem() const {
    const QWidget* field = ProblemField();
    if (field == m_identifier)
        return tr("\"%1\" is not a valid ISBN: an ISBN has 10 or 13 digits and its last digit "
                  "must match the others.")
            .arg(m_identifier->text().trimmed());
    if (field == m_date)
        return tr("\"%1\" is not a date of the form YYYY, YYYY-MM or YYYY-MM-DD.")
            .arg(m_date->text().trimmed());
    if (field == m_seriesIndex)
        return m_series->text().trimmed().isEmpty()
                   ? tr("A number in a series needs the series' name.")
                   : tr("\"%1\" is not a number such as 2 or 2.5.")
                         .arg(m_seriesIndex->text().trimmed());
    return QString();
}

QString TDetailsDialog::Summary() const {
    QStringList lines;
    const auto add = [&lines](const QString& label, const QString& value) {
        if (!value.trimmed().isEmpty()) lines << label.arg(value.trimmed());
    };
    add(tr("Series: %1"), m_series->text() + (m_seriesIndex->text().isEmpty()
                                                  ? QString()
                                                  : QStringLiteral(" #") + m_seriesIndex->text()));
    add(tr("Translator: %1"), m_translator->text());
    add(tr("ISBN: %1"), m_identifier->text());
    add(tr("Date: %1"), m_date->text());
    add(tr("Subjects: %1"), m_subjects->text());
    add(tr("Rights: %1"), m_rights->text());
    if (!m_description->toPlainText().trimmed().isEmpty()) lines << tr("Description");
    if (!m_contributors->text().trimmed().isEmpty()) lines << tr("Contributors");
    return lines.join(QLatin1Char('\n'));
}

void TDetailsDialog::ShowFromText(const engine::BookDetails& planned) {
    m_translator->setPlaceholderText(
        m_translator->text().isEmpty() ? QString::fromStdString(planned.translator) : QString());
    m_date->setPlaceholderText(m_date->text().isEmpty() ? QString::fromStdString(planned.date)
                                                        : QString());
}

void TDetailsDialog::Clear() {
    m_description->clear();
    for (QLineEdit* field : {m_subjects, m_series, m_seriesIndex, m_identifier, m_translator,
                             m_contributors, m_date, m_rights})
        field->clear();
}

} // namespace folivane::ui
