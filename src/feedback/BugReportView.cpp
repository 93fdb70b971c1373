#include "feedback/BugReportView.h"

#include "feedback/BugReportCategorySwitch.h"
#include "ui/Shapes.h"
#include "ui/StyleSheetColor.h"
#include "ui/Symbol.h"
#include "ui/TextLabel.h"
#include "ui/ToggleSwitch.h"
#include "ui/VeskFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace vesk {

namespace {

TextLabel* label(const QString& text, const QFont& font, const QColor& color, int lineLimit = 1)
{
    return new TextLabel(text, {.font = font, .lineLimit = lineLimit}, color);
}

QLabel* symbolLabel(Symbol symbol, double pointSize, const QColor& color, QFont::Weight weight = QFont::Normal)
{
    auto* view = new QLabel;
    view->setPixmap(symbolPixmap(symbol, pointSize, color, weight));
    view->setAttribute(Qt::WA_TranslucentBackground);
    return view;
}

QString fieldStyle(const VeskTheme& theme, const char* type)
{
    return QStringLiteral("%1 { color: %2; background: %3; border: 1px solid %4; border-radius: 8px;"
                          " padding: 9px 11px; selection-background-color: %5; }")
        .arg(QString::fromLatin1(type), styleSheetColor(theme.textPrimary), styleSheetColor(theme.inset),
             styleSheetColor(theme.hairline), styleSheetColor(theme.accentTint));
}

void setPromptColor(QWidget* field, const QColor& color)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::PlaceholderText, color);
    field->setPalette(palette);
}

QPushButton* textButton(const QString& text, const QFont& font, const QString& style)
{
    auto* button = new QPushButton(text);
    button->setFont(font);
    button->setStyleSheet(style);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

BugReportView::BugReportView(std::unique_ptr<BugReportFormModel> model, std::function<void()> onClose,
                             Localizer localizer, QWidget* parent)
    : QWidget(parent)
    , model_(std::move(model))
    , onClose_(std::move(onClose))
    , localizer_(std::move(localizer))
{
    setFixedWidth(formWidth);
    setAttribute(Qt::WA_TranslucentBackground);
    faces_ = new QStackedLayout(this);
    faces_->addWidget(form_ = makeForm());
    faces_->addWidget(thanks_ = makeThanks());

    // Escape cancels the form; the thank-you face has no binding of its own.
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), form_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(cancel, &QShortcut::activated, this, [this] { onClose_(); });
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* send = new QShortcut(QKeySequence(key), form_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(send, &QShortcut::activated, model_.get(), &BugReportFormModel::sendReport);
    }
    connect(model_.get(), &BugReportFormModel::changed, this, &BugReportView::refresh);
    refresh();
}

BugReportView::~BugReportView() = default;

QWidget* BugReportView::makeForm()
{
    auto* form = new QWidget;
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(makeHeader());

    auto* fields = new QVBoxLayout;
    fields->setContentsMargins(18, 0, 18, 0);
    fields->setSpacing(12);

    auto* categoryBlock = new QVBoxLayout;
    categoryBlock->setSpacing(8);
    TextStyle captionStyle;
    captionStyle.font = VeskFont::interface(11, QFont::DemiBold);
    captionStyle.tracking = 0.4;
    categoryBlock->addWidget(new TextLabel(localizer_.translate("BugReportView", "ART"), captionStyle, theme_.textDim));
    categorySwitch_ = new BugReportCategorySwitch(theme_, localizer_);
    categorySwitch_->setPressedHandler([this](BugReportCategory category) { model_->setCategory(category); });
    categoryBlock->addWidget(categorySwitch_);
    fields->addLayout(categoryBlock);

    const QFont fieldFont = VeskFont::interface(12.5);
    titleField_ = new QLineEdit;
    titleField_->setPlaceholderText(QStringLiteral("Titel"));
    contactField_ = new QLineEdit;
    contactField_->setPlaceholderText(QStringLiteral("E-Mail für Rückfragen (optional)"));
    for (QLineEdit* field : {titleField_, contactField_}) {
        field->setFont(fieldFont);
        field->setStyleSheet(fieldStyle(theme_, "QLineEdit"));
        setPromptColor(field, theme_.textDim);
    }
    detailsField_ = new QPlainTextEdit;
    detailsField_->setFont(fieldFont);
    detailsField_->setStyleSheet(fieldStyle(theme_, "QPlainTextEdit"));
    detailsField_->document()->setDocumentMargin(0);
    setPromptColor(detailsField_, theme_.textDim);
    fitDetailsField();
    connect(titleField_, &QLineEdit::textEdited, model_.get(), &BugReportFormModel::setTitle);
    connect(contactField_, &QLineEdit::textEdited, model_.get(), &BugReportFormModel::setContactEmail);
    connect(detailsField_, &QPlainTextEdit::textChanged, this, [this] {
        model_->setDetails(detailsField_->toPlainText());
        fitDetailsField();
    });
    fields->addWidget(titleField_);
    fields->addWidget(detailsField_);
    fields->addWidget(contactField_);
    fields->addWidget(makeLogBox());

    resultLine_ = new QWidget;
    auto* resultRow = new QHBoxLayout(resultLine_);
    resultRow->setContentsMargins(0, 0, 0, 0);
    resultRow->setSpacing(7);
    resultSymbol_ = new QLabel;
    const int symbolEdge = static_cast<int>(std::ceil(symbolSide(11.5)));
    resultSymbol_->setFixedSize(symbolEdge, symbolEdge);
    resultText_ = label({}, VeskFont::interface(11.5, QFont::Medium), theme_.warn, 0);
    resultRow->addWidget(resultSymbol_, 0, Qt::AlignVCenter);
    resultRow->addWidget(resultText_, 1, Qt::AlignVCenter);
    fields->addWidget(resultLine_);

    column->addLayout(fields);
    column->addLayout(makeFooter());
    return form;
}

QLayout* BugReportView::makeHeader()
{
    auto* header = new QHBoxLayout;
    header->setContentsMargins(18, 16, 18, 12);
    header->addWidget(label(localizer_.translate("BugReportView", "Problem melden"),
                            VeskFont::interface(15, QFont::DemiBold), theme_.textPrimary),
                      0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(makeCloseButton(true), 0, Qt::AlignVCenter);
    return header;
}

QAbstractButton* BugReportView::makeCloseButton(bool withTooltip)
{
    auto* button = new QToolButton;
    const double side = symbolSide(13);
    button->setIcon(symbolPixmap(Symbol::xmark, 13, theme_.textMuted, QFont::Medium, devicePixelRatioF()));
    button->setIconSize(QSize(static_cast<int>(std::ceil(side)), static_cast<int>(std::ceil(side))));
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    if (withTooltip)
        button->setToolTip(localizer_.translate("BugReportView", "Schließen"));
    connect(button, &QToolButton::clicked, this, [this] { onClose_(); });
    return button;
}

QWidget* BugReportView::makeLogBox()
{
    auto* box = new QFrame;
    box->setObjectName(QStringLiteral("logBox"));
    box->setStyleSheet(QStringLiteral("#logBox { background: %1; border: 1px solid %2; border-radius: 9px; }")
                           .arg(styleSheetColor(theme_.inset), styleSheetColor(theme_.hairline)));
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(12, 11, 12, 11);
    column->setSpacing(8);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(symbolLabel(Symbol::folder, 13, theme_.textMuted), 0, Qt::AlignVCenter);
    row->addWidget(label(localizer_.translate("BugReportView", "Diagnose-Logs anhängen"),
                         VeskFont::interface(12.5, QFont::Medium), theme_.textPrimary),
                   0, Qt::AlignVCenter);
    row->addStretch(1);
    logSwitch_ = new ToggleSwitch(theme_);
    connect(logSwitch_, &QAbstractButton::toggled, model_.get(), &BugReportFormModel::setIncludeLogs);
    row->addWidget(logSwitch_, 0, Qt::AlignVCenter);
    column->addLayout(row);

    TextStyle noteStyle;
    noteStyle.font = VeskFont::interface(10.5);
    noteStyle.lineLimit = 0;
    noteStyle.lineSpacing = 2;
    column->addWidget(
        new TextLabel(localizer_.translate("BugReportView",
                                           "Technische Details der aktuellen Sitzung — keine Inhalte deiner Apps. "
                                           "Anonym ans VESK-Beta-Team."),
                      noteStyle, theme_.textDim));
    return box;
}

QLayout* BugReportView::makeFooter()
{
    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(18, 16, 18, 18);
    footer->setSpacing(9);
    footer->addStretch(1);
    QPushButton* cancel =
        textButton(localizer_.translate("BugReportView", "Abbrechen"), VeskFont::interface(12.5, QFont::Medium),
                   QStringLiteral(
                       "QPushButton { color: %1; background: transparent; border: 1px solid %2; border-radius: 8px;"
                       " padding: 8px 18px; }")
                       .arg(styleSheetColor(theme_.textSecondary), styleSheetColor(theme_.hairlineStrong)));
    connect(cancel, &QPushButton::clicked, this, [this] { onClose_(); });
    footer->addWidget(cancel);
    sendButton_ =
        textButton(localizer_.translate("BugReportView", "Senden"), VeskFont::interface(12.5, QFont::DemiBold), {});
    connect(sendButton_, &QPushButton::clicked, model_.get(), &BugReportFormModel::sendReport);
    footer->addWidget(sendButton_);
    return footer;
}

QWidget* BugReportView::makeThanks()
{
    auto* thanks = new QWidget;
    auto* column = new QVBoxLayout(thanks);
    column->setContentsMargins(0, 0, 0, 26);
    column->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(18, 16, 18, 0);
    top->addStretch(1);
    top->addWidget(makeCloseButton(false));
    column->addLayout(top);

    column->addWidget(symbolLabel(Symbol::checkmarkCircle, 40, theme_.ok, QFont::Light), 0, Qt::AlignHCenter);
    column->addSpacing(12);
    column->addWidget(label(localizer_.translate("BugReportView", "Danke! Dein Bericht wurde gesendet."),
                            VeskFont::interface(14, QFont::DemiBold), theme_.textPrimary),
                      0, Qt::AlignHCenter);
    column->addSpacing(6);
    TextStyle noteStyle;
    noteStyle.font = VeskFont::interface(12);
    noteStyle.lineLimit = 0;
    noteStyle.alignment = Qt::AlignHCenter;
    auto* note =
        new TextLabel(localizer_.translate("BugReportView", "Das VESK-Beta-Team meldet sich, falls Rückfragen kommen."),
                      noteStyle, theme_.textDim);
    column->addWidget(note, 0, Qt::AlignHCenter);
    column->addSpacing(18);
    QPushButton* close = textButton(
        localizer_.translate("BugReportView", "Schließen"), VeskFont::interface(12.5, QFont::DemiBold),
        QStringLiteral(
            "QPushButton { color: %1; background: %2; border: none; border-radius: 8px; padding: 8px 22px; }")
            .arg(styleSheetColor(theme_.accentText), styleSheetColor(theme_.accent)));
    connect(close, &QPushButton::clicked, this, [this] { onClose_(); });
    column->addWidget(close, 0, Qt::AlignHCenter);
    return thanks;
}

void BugReportView::refresh()
{
    const BugReportFormModel& model = *model_;
    categorySwitch_->setSelected(model.category());
    static const std::map<BugReportCategory, QString> prompts{
        {BugReportCategory::bug, QStringLiteral("Was ist passiert? Was hast du erwartet?")},
        {BugReportCategory::feedback, QStringLiteral("Was ist dir aufgefallen?")},
        {BugReportCategory::idea, QStringLiteral("Beschreibe deine Idee …")},
    };
    detailsField_->setPlaceholderText(prompts.at(model.category()));
    if (logSwitch_->isChecked() != model.includeLogs())
        logSwitch_->setChecked(model.includeLogs());

    const bool valid = model.isValid();
    sendButton_->setEnabled(valid);
    sendButton_->setStyleSheet(
        QStringLiteral(
            "QPushButton { color: %1; background: %2; border: none; border-radius: 8px; padding: 8px 20px; }")
            .arg(styleSheetColor(valid ? theme_.accentText : theme_.textDim),
                 styleSheetColor(valid ? theme_.accent : theme_.insetStrong)));

    refreshResultLine();
    const auto& result = model.service().lastResult();
    const bool succeeded = result && result->kind == BugReportResult::Kind::success;
    faces_->setCurrentWidget(succeeded ? thanks_ : form_);
    fitHeight();
}

void BugReportView::refreshResultLine()
{
    const auto& result = model_->service().lastResult();
    const bool shown = result && result->kind != BugReportResult::Kind::success;
    resultLine_->setVisible(shown);
    if (!shown)
        return;
    const bool exported = result->kind == BugReportResult::Kind::exported;
    const QColor color = exported ? theme_.warn : theme_.danger;
    resultSymbol_->setPixmap(symbolPixmap(exported ? Symbol::folder : Symbol::exclamationmarkTriangle, 11.5, color,
                                          QFont::Medium, devicePixelRatioF()));
    resultText_->setColor(color);
    // Shown as they are, without a lookup.
    resultText_->setText(exported ? QStringLiteral("Versand nicht möglich — der Bericht wurde im Finder gespeichert.")
                                  : QStringLiteral("Senden fehlgeschlagen. Bitte versuche es erneut."));
}

// The description grows with its text from four to eight lines, never below
// 76 points.
void BugReportView::fitDetailsField()
{
    const int lines = std::clamp(static_cast<int>(detailsField_->document()->size().height()), 4, 8);
    const int height = std::max(76, lines * QFontMetrics(detailsField_->font()).lineSpacing() + 2 * 9 + 2);
    if (detailsField_->height() == height && detailsField_->minimumHeight() == height)
        return;
    detailsField_->setFixedHeight(height);
    fitHeight();
}

// The form is as high as the face it shows.
void BugReportView::fitHeight()
{
    QWidget* face = faces_ ? faces_->currentWidget() : nullptr;
    if (!face)
        return;
    face->layout()->activate();
    const int height = face->layout()->hasHeightForWidth() ? face->layout()->totalHeightForWidth(formWidth)
                                                           : face->layout()->totalSizeHint().height();
    setFixedHeight(height);
}

void BugReportView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, theme_.panelTop);
    gradient.setColorAt(1, theme_.panelBottom);
    painter.fillPath(continuousRoundedRect(QRectF(rect()), 12), gradient);
}

} // namespace vesk
