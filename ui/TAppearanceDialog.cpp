// The appearance dialog: its controls, their defaults, the style sheet checked when chosen.
#include "TAppearanceDialog.h"

#include "Dialogs.h"
#include "EllipsisEdit.h"
#include "FailureReasons.h"
#include "engine/epub/StyleSheet.h"
#include "engine/epub/UserStyleSheet.h"
#include "engine/text/ConversionError.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

namespace folivane::ui {
namespace {

// One step of the em boxes; their value one step below zero reads "Automatic".
constexpr double kEmStep = 0.25;

// The em value the book takes from a box: negative (the language's habit) for "Automatic".
double EmOf(const QDoubleSpinBox& box) {
    return box.value() < 0 ? -1 : box.value();
}

} // namespace

TAppearanceDialog::TAppearanceDialog(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("TAppearanceDialog"));
    setWindowTitle(tr("Appearance of the Book"));
    setWindowModality(Qt::WindowModal);

    m_indent = EmBox("m_indent", tr("How far the first line of a paragraph is indented. "
                                    "Automatic: 2 em in Chinese, Japanese and Korean books, "
                                    "1.5 em in others"));
    m_paragraphSpacing =
        EmBox("m_paragraphSpacing", tr("The space between paragraphs. Automatic: none between "
                                       "indented paragraphs, some when they are not indented"));

    m_styleSheet = new EllipsisEdit;
    m_styleSheet->setObjectName(QStringLiteral("m_styleSheet"));
    m_styleSheet->setPlaceholderText(tr("None"));
    m_styleSheet->setToolTip(tr("A CSS file of your own, added to the book after its own "
                                "style sheet, so that its rules win"));
    m_styleSheet->setMinimumWidth(260);
    m_styleSheet->Button()->setObjectName(QStringLiteral("StyleSheetButton"));
    m_styleSheet->Button()->setFocusPolicy(Qt::TabFocus);
    m_styleSheet->Button()->setAccessibleName(tr("Choose style sheet"));
    m_styleSheet->Button()->setToolTip(tr("Choose a style sheet (.css)"));
    m_styleSheet->ClearButton()->setObjectName(QStringLiteral("StyleSheetClear"));
    m_styleSheet->ClearButton()->setAccessibleName(tr("Remove style sheet"));
    m_styleSheet->ClearButton()->setToolTip(tr("Remove the style sheet"));
    connect(m_styleSheet, &EllipsisEdit::editButtonClicked, this,
            &TAppearanceDialog::ChooseStyleSheet);
    connect(m_styleSheet, &QLineEdit::textChanged, this, &TAppearanceDialog::choicesChanged);

    // A choice more is a row more.
    auto* form = new QFormLayout;
    // The number boxes keep their own width; the path takes the rest.
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(tr("Paragraph indent:"), m_indent);
    form->addRow(tr("Space between paragraphs:"), m_paragraphSpacing);
    form->addRow(tr("Style sheet:"), m_styleSheet);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::RestoreDefaults);
    buttons->setObjectName(QStringLiteral("AppearanceButtons"));
    QPushButton* defaults = buttons->button(QDialogButtonBox::RestoreDefaults);
    defaults->setObjectName(QStringLiteral("m_restoreDefaults"));
    defaults->setToolTip(tr("Automatic indent and spacing, no style sheet"));
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("m_closeAppearance"));
    close->setToolTip(tr("Close; the choices are kept as they are"));
    connect(defaults, &QPushButton::clicked, this, &TAppearanceDialog::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    RestoreDefaults();
}

QDoubleSpinBox* TAppearanceDialog::EmBox(const char* name, const QString& toolTip) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(QLatin1String(name));
    // The command line's range: 0 to kMaxStyleEm with two decimals; one step below reads
    // "Automatic".
    box->setRange(-kEmStep, engine::kMaxStyleEm);
    box->setSingleStep(kEmStep);
    box->setDecimals(2);
    box->setSuffix(tr(" em"));
    box->setSpecialValueText(tr("Automatic"));
    box->setToolTip(toolTip);
    // Room for the longer of what it can say, beside its arrows.
    const QFontMetrics metrics = box->fontMetrics();
    box->setMinimumWidth(
        std::max(metrics.horizontalAdvance(box->specialValueText()),
                 metrics.horizontalAdvance(QStringLiteral("10.00") + box->suffix())) +
        48);
    // A negative value typed by hand is "Automatic" too, and reads so.
    connect(box, &QAbstractSpinBox::editingFinished, box, [box] {
        if (box->value() < 0) box->setValue(box->minimum());
    });
    connect(box, &QDoubleSpinBox::valueChanged, this, &TAppearanceDialog::choicesChanged);
    return box;
}

QList<QPair<QString, QWidget*>> TAppearanceDialog::PersistedControls() const {
    return {
        {QStringLiteral("indent"), m_indent},
        {QStringLiteral("paragraphSpacing"), m_paragraphSpacing},
        {QStringLiteral("styleSheet"), m_styleSheet},
    };
}

void TAppearanceDialog::ApplyTo(engine::BookInput& input) const {
    input.indentEm = EmOf(*m_indent);
    input.paragraphSpacingEm = EmOf(*m_paragraphSpacing);
    input.styleSheetPath = QFile::encodeName(m_styleSheet->text()).toStdString();
}

QString TAppearanceDialog::Summary() const {
    QStringList lines;
    if (EmOf(*m_indent) >= 0) lines << tr("Paragraph indent: %1").arg(m_indent->text());
    if (EmOf(*m_paragraphSpacing) >= 0)
        lines << tr("Space between paragraphs: %1").arg(m_paragraphSpacing->text());
    if (!m_styleSheet->text().isEmpty()) lines << tr("Style sheet: %1").arg(m_styleSheet->text());
    return lines.join(QLatin1Char('\n'));
}

void TAppearanceDialog::RestoreDefaults() {
    m_indent->setValue(m_indent->minimum());
    m_paragraphSpacing->setValue(m_paragraphSpacing->minimum());
    m_styleSheet->clear();
}

void TAppearanceDialog::ChooseStyleSheet() {
    const QString path =
        dialogs_.OpenFile(this, tr("Choose a Style Sheet"), {{tr("Style Sheets"), {"css"}}});
    if (path.isEmpty()) return;
    // Refused now, with the engine's own reason, rather than when the book is made.
    QString problem;
    try {
        engine::ReadUserStyleSheet(QFile::encodeName(path).toStdString());
    } catch (const std::bad_alloc&) {
        problem = tr("Not enough memory to read the style sheet.");
    } catch (...) {
        problem = TranslatedFailure(engine::CaughtFailure());
    }
    if (!problem.isEmpty()) {
        dialogs_.Message(this, QMessageBox::Warning, tr("Quorvel Folivane Converter"), problem,
                         QMessageBox::Ok);
        return;
    }
    m_styleSheet->setText(path);
}

} // namespace folivane::ui
