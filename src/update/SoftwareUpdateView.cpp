#include "update/SoftwareUpdateView.h"

#include "core/AppVersion.h"
#include "ui/Shapes.h"
#include "ui/StyleSheetColor.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"
#include "ui/WormveskSymbol.h"
#include "update/SoftwareUpdateService.h"
#include "update/UpdatePanelText.h"
#include "update/UpdateProgressBar.h"
#include "update/UpdateSpinner.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace vesk {

namespace {

constexpr int tileSide = 52;
constexpr double symbolSize = 48;
// The panel's content width less the notes box's padding, the bullet and its spacing.
constexpr int notesTextWidth = 384 - 2 * 22 - 2 * 13 - 5 - 9;

QVBoxLayout* column(QWidget* owner, int spacing)
{
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QHBoxLayout* row(int spacing)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QLabel* symbolLabel(Symbol symbol, double pointSize, const QColor& color, QFont::Weight weight = QFont::Normal)
{
    auto* view = new QLabel;
    view->setPixmap(symbolPixmap(symbol, pointSize, color, weight, 2.0));
    view->setAttribute(Qt::WA_TranslucentBackground);
    return view;
}

QFrame* dot(const QColor& color, int side)
{
    auto* view = new QFrame;
    view->setFixedSize(side, side);
    view->setStyleSheet(
        QStringLiteral("QFrame { background: %1; border-radius: %2px; }").arg(styleSheetColor(color)).arg(side / 2.0));
    return view;
}

// The badge's dot colour by phase: accent while the flow runs, ok when it
// ended well, danger for an error.
QColor badgeColor(SoftwareUpdateViewModel::Phase phase, const VeskTheme& theme)
{
    using Phase = SoftwareUpdateViewModel::Phase;
    switch (phase) {
    case Phase::ready:
    case Phase::upToDate:
        return theme.ok;
    case Phase::error:
        return theme.danger;
    default:
        return theme.accent;
    }
}

QString badgeTitle(SoftwareUpdateViewModel::Phase phase)
{
    using Phase = SoftwareUpdateViewModel::Phase;
    switch (phase) {
    case Phase::idle:
    case Phase::checking:
        return QStringLiteral("Suche nach Updates");
    case Phase::available:
        return QStringLiteral("Update verfügbar");
    case Phase::downloading:
        return QStringLiteral("Wird geladen");
    case Phase::ready:
        return QStringLiteral("Bereit zur Installation");
    case Phase::upToDate:
        return QStringLiteral("Aktuell");
    case Phase::error:
        return QStringLiteral("Fehler");
    }
    return {};
}

} // namespace

SoftwareUpdateView::SoftwareUpdateView(SoftwareUpdateService& service, bool autoUpdatesEnabled, const VeskTheme& theme,
                                       const Environment& environment, QWidget* parent)
    : QWidget(parent)
    , service_(service)
    , model_(service.viewModel())
    , autoUpdatesEnabled_(autoUpdatesEnabled)
    , theme_(theme)
    , localizer_(environment.localizer)
{
    setFixedWidth(panelWidth);
    setAttribute(Qt::WA_TranslucentBackground);
    QVBoxLayout* content = column(this, 0);
    content->setContentsMargins(22, 20, 22, 20);
    content->addLayout(makeHeader(environment));
    content->addSpacing(15);
    sections_ = {
        {Phase::checking, makeCheckingSection(environment)},
        {Phase::available, makeAvailableSection()},
        {Phase::downloading, makeDownloadingSection()},
        {Phase::ready, makeReadySection()},
        {Phase::upToDate, makeUpToDateSection()},
        {Phase::error, makeErrorSection()},
    };
    for (const auto& [phase, section] : sections_)
        content->addWidget(section);

    for (auto changed : {&SoftwareUpdateViewModel::phaseChanged, &SoftwareUpdateViewModel::progressChanged,
                         &SoftwareUpdateViewModel::downloadedBytesChanged, &SoftwareUpdateViewModel::updateInfoChanged,
                         &SoftwareUpdateViewModel::errorMessageChanged})
        connect(&model_, changed, this, &SoftwareUpdateView::refresh);
    refresh();
}

SoftwareUpdateView::~SoftwareUpdateView() = default;

TextLabel* SoftwareUpdateView::makeLabel(const QString& text, double pointSize, QFont::Weight weight,
                                         const QColor& color, int lineLimit, double lineSpacing)
{
    return new TextLabel(
        text, {.font = VeskFont::interface(pointSize, weight), .lineLimit = lineLimit, .lineSpacing = lineSpacing},
        color);
}

QLayout* SoftwareUpdateView::makeHeader(const Environment& environment)
{
    QHBoxLayout* header = row(13);
    header->setAlignment(Qt::AlignTop);

    auto* tile = new QFrame;
    tile->setObjectName(QStringLiteral("iconTile"));
    tile->setFixedSize(tileSide, tileSide);
    tile->setStyleSheet(
        QStringLiteral("#iconTile { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2);"
                       " border: 1px solid %3; border-radius: 12px; }")
            .arg(styleSheetColor(theme_.panelTop), styleSheetColor(theme_.panelBottom),
                 styleSheetColor(theme_.hairlineStrong)));
    auto* symbol = new WormveskSymbol(environment.clock, environment.scheduler, environment.reducedMotion,
                                      WormveskStyle::solar, symbolSize, true, tile);
    symbol->setGeometry((tileSide - static_cast<int>(symbolSize)) / 2, (tileSide - static_cast<int>(symbolSize)) / 2,
                        static_cast<int>(symbolSize), static_cast<int>(symbolSize));
    header->addWidget(tile, 0, Qt::AlignTop);

    QVBoxLayout* names = column(nullptr, 3);
    names->addWidget(
        makeLabel(localizer_.translate("SoftwareUpdateView", "VESK"), 15, QFont::DemiBold, theme_.textPrimary));
    auto* badge = new QFrame;
    badge->setObjectName(QStringLiteral("badge"));
    QHBoxLayout* badgeRow = row(5);
    badge->setLayout(badgeRow);
    badgeRow->setContentsMargins(8, 2, 8, 2);
    badgeDot_ = dot(theme_.accent, 6);
    badgeRow->addWidget(badgeDot_, 0, Qt::AlignVCenter);
    badgeTitle_ = makeLabel({}, 10.5, QFont::DemiBold, theme_.textSecondary);
    badgeRow->addWidget(badgeTitle_, 0, Qt::AlignVCenter);
    badge->setStyleSheet(QStringLiteral("#badge { background: %1; border: 1px solid %2; border-radius: %3px; }")
                             .arg(styleSheetColor(theme_.inset), styleSheetColor(theme_.hairline))
                             .arg(badge->sizeHint().height() / 2));
    names->addWidget(badge, 0, Qt::AlignLeft);
    header->addLayout(names);
    header->addStretch(1);

    auto* close = new QPushButton;
    close->setIcon(symbolPixmap(Symbol::xmark, 12, theme_.textMuted, QFont::Medium, 2.0));
    const int side = static_cast<int>(std::ceil(symbolSide(12)));
    close->setIconSize(QSize(side, side));
    close->setToolTip(localizer_.translate("SoftwareUpdateView", "Schließen"));
    close->setAccessibleName(localizer_.translate("SoftwareUpdateView", "Schließen"));
    close->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; padding: 0; }"));
    close->setCursor(Qt::PointingHandCursor);
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QPushButton::clicked, this, &SoftwareUpdateView::dismiss);
    header->addWidget(close, 0, Qt::AlignTop);
    return header;
}

QLayout* SoftwareUpdateView::makeActionRow(const QString& secondaryTitle, const std::function<void()>& secondary,
                                           const QString& primaryTitle, std::optional<Symbol> primarySymbol,
                                           const std::function<void()>& primary)
{
    QHBoxLayout* actions = row(9);
    auto* secondaryButton = new QPushButton(secondaryTitle);
    secondaryButton->setFont(VeskFont::interface(12.5, QFont::Medium));
    secondaryButton->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; background: transparent; border: 1px solid %2; border-radius: 9px;"
                       " padding: 9px 18px; }")
            .arg(styleSheetColor(theme_.textSecondary), styleSheetColor(theme_.hairlineStrong)));
    // The primary button takes the room the secondary leaves.
    auto* primaryButton = new QPushButton(primaryTitle);
    primaryButton->setFont(VeskFont::interface(12.5, QFont::DemiBold));
    primaryButton->setStyleSheet(
        QStringLiteral(
            "QPushButton { color: %1; background: %2; border: none; border-radius: 9px; padding: 9px 12px; }")
            .arg(styleSheetColor(theme_.accentText), styleSheetColor(theme_.accent)));
    if (primarySymbol) {
        primaryButton->setIcon(symbolPixmap(*primarySymbol, 12, theme_.accentText, QFont::DemiBold, 2.0));
        const int side = static_cast<int>(std::ceil(symbolSide(12)));
        primaryButton->setIconSize(QSize(side, side));
    }
    for (QPushButton* button : {secondaryButton, primaryButton}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::NoFocus);
    }
    primaryButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(secondaryButton, &QPushButton::clicked, this, secondary);
    connect(primaryButton, &QPushButton::clicked, this, primary);
    actions->addWidget(secondaryButton);
    actions->addWidget(primaryButton, 1);
    return actions;
}

QPushButton* SoftwareUpdateView::makeTextButton(const QString& title, const QColor& color)
{
    auto* button = new QPushButton(title);
    button->setFont(VeskFont::interface(12.5, QFont::DemiBold));
    button->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; background: transparent; border: none; padding: 0; }")
            .arg(styleSheetColor(color)));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QWidget* SoftwareUpdateView::makeCheckingSection(const Environment& environment)
{
    auto* section = new QWidget;
    QVBoxLayout* layout = column(section, 0);
    QHBoxLayout* line = row(11);
    line->addWidget(new UpdateSpinner(environment.clock, environment.scheduler, environment.reducedMotion,
                                      theme_.textSecondary),
                    0, Qt::AlignVCenter);
    line->addWidget(makeLabel(localizer_.translate("SoftwareUpdateView", "Suche nach Updates …"), 15, QFont::DemiBold,
                              theme_.textPrimary),
                    1, Qt::AlignVCenter);
    layout->addLayout(line);
    return section;
}

QWidget* SoftwareUpdateView::makeAvailableSection()
{
    auto* section = new QWidget;
    QVBoxLayout* layout = column(section, 0);
    availableTitle_ = makeLabel({}, 16, QFont::DemiBold, theme_.textPrimary);
    layout->addWidget(availableTitle_);
    layout->addSpacing(3);
    availableDetail_ = makeLabel({}, 11.5, QFont::Normal, theme_.textDim);
    layout->addWidget(availableDetail_);
    layout->addSpacing(14);

    auto* notes = new QFrame;
    notes->setObjectName(QStringLiteral("notes"));
    notes->setStyleSheet(QStringLiteral("#notes { background: %1; border: 1px solid %2; border-radius: 10px; }")
                             .arg(styleSheetColor(theme_.inset), styleSheetColor(theme_.hairline)));
    notesColumn_ = column(notes, 9);
    notesColumn_->setContentsMargins(13, 12, 13, 12);
    TextLabel* caption = makeLabel(localizer_.translate("SoftwareUpdateView", "NEU IN DIESER VERSION"), 10.5,
                                   QFont::DemiBold, theme_.textDim);
    TextStyle captionStyle = caption->style();
    captionStyle.tracking = 0.5;
    caption->setStyle(captionStyle);
    notesColumn_->addWidget(caption);
    layout->addWidget(notes);
    layout->addSpacing(18);
    layout->addLayout(makeActionRow(
        QStringLiteral("Später"), [this] { dismiss(); }, QStringLiteral("Jetzt aktualisieren"), Symbol::arrowDownCircle,
        [this] { install(); }));
    return section;
}

QWidget* SoftwareUpdateView::makeDownloadingSection()
{
    auto* section = new QWidget;
    QVBoxLayout* layout = column(section, 0);
    downloadingTitle_ = makeLabel({}, 15, QFont::DemiBold, theme_.textPrimary);
    layout->addWidget(downloadingTitle_);
    layout->addSpacing(16);
    progressBar_ = new UpdateProgressBar(theme_);
    layout->addWidget(progressBar_);
    layout->addSpacing(9);
    QHBoxLayout* bytes = row(6);
    byteText_ = makeLabel({}, 11.5, QFont::Normal, theme_.textDim);
    percentText_ = makeLabel({}, 11.5, QFont::DemiBold, theme_.textSecondary);
    TextStyle percentStyle = percentText_->style();
    percentStyle.alignment = Qt::AlignRight;
    percentText_->setStyle(percentStyle);
    bytes->addWidget(byteText_, 0, Qt::AlignVCenter);
    bytes->addStretch(1);
    bytes->addWidget(percentText_, 0, Qt::AlignVCenter);
    layout->addLayout(bytes);
    layout->addSpacing(18);
    // The panel has no background mode of its own: both end the flow here,
    // and the updater decides what goes on.
    layout->addLayout(makeActionRow(
        QStringLiteral("Abbrechen"), [this] { dismiss(); }, QStringLiteral("Im Hintergrund"), std::nullopt,
        [this] { dismiss(); }));
    return section;
}

QWidget* SoftwareUpdateView::makeReadySection()
{
    auto* section = new QWidget;
    QVBoxLayout* layout = column(section, 0);
    layout->addWidget(makeLabel(localizer_.translate("SoftwareUpdateView", "Update bereit"), 15, QFont::DemiBold,
                                theme_.textPrimary));
    layout->addSpacing(6);
    readyText_ = makeLabel({}, 12.5, QFont::Normal, theme_.textSecondary, 0, 3);
    layout->addWidget(readyText_);
    layout->addSpacing(18);
    layout->addLayout(makeActionRow(
        QStringLiteral("Später neu starten"), [this] { dismiss(); }, QStringLiteral("Jetzt neu starten"),
        Symbol::arrowClockwise, [this] { installAndRelaunch(); }));
    return section;
}

QWidget* SoftwareUpdateView::makeUpToDateSection()
{
    auto* section = new QWidget;
    QVBoxLayout* layout = column(section, 0);
    layout->addSpacing(2);
    QHBoxLayout* status = row(11);
    status->addWidget(symbolLabel(Symbol::checkmarkCircle, 24, theme_.ok), 0, Qt::AlignVCenter);
    QVBoxLayout* texts = column(nullptr, 3);
    texts->addWidget(makeLabel(localizer_.translate("SoftwareUpdateView", "Du bist auf dem neuesten Stand"), 15,
                               QFont::DemiBold, theme_.textPrimary));
    texts->addWidget(makeLabel(
        localizer_.translate("SoftwareUpdateView", "VESK %1 — zuletzt geprüft gerade eben").arg(appVersionString()), 12,
        QFont::Normal, theme_.textDim));
    status->addLayout(texts, 1);
    layout->addLayout(status);
    layout->addSpacing(14);
    auto* divider = new QFrame;
    divider->setFixedHeight(1);
    divider->setStyleSheet(
        QStringLiteral("QFrame { background: %1; border: none; }").arg(styleSheetColor(theme_.hairline)));
    layout->addWidget(divider);
    layout->addSpacing(14);
    QHBoxLayout* footer = row(0);
    const QString state = autoUpdatesEnabled_ ? localizer_.translate("SoftwareUpdateView", "An")
                                              : localizer_.translate("SoftwareUpdateView", "Aus");
    footer->addWidget(makeLabel(localizer_.translate("SoftwareUpdateView", "Automatische Updates · %1").arg(state),
                                11.5, QFont::Normal, theme_.textDim),
                      0, Qt::AlignVCenter);
    footer->addStretch(1);
    QPushButton* again =
        makeTextButton(localizer_.translate("SoftwareUpdateView", "Erneut prüfen"), theme_.textSecondary);
    connect(again, &QPushButton::clicked, this, &SoftwareUpdateView::checkAgain);
    footer->addWidget(again, 0, Qt::AlignVCenter);
    footer->addSpacing(12);
    QPushButton* close = makeTextButton(localizer_.translate("SoftwareUpdateView", "Schließen"), theme_.accent);
    connect(close, &QPushButton::clicked, this, &SoftwareUpdateView::dismiss);
    footer->addWidget(close, 0, Qt::AlignVCenter);
    layout->addLayout(footer);
    return section;
}

QWidget* SoftwareUpdateView::makeErrorSection()
{
    auto* section = new QWidget;
    QVBoxLayout* layout = column(section, 0);
    layout->addSpacing(2);
    QHBoxLayout* status = row(11);
    status->addWidget(symbolLabel(Symbol::exclamationmarkTriangle, 22, theme_.danger), 0, Qt::AlignVCenter);
    QVBoxLayout* texts = column(nullptr, 3);
    texts->addWidget(makeLabel(localizer_.translate("SoftwareUpdateView", "Update fehlgeschlagen"), 15, QFont::DemiBold,
                               theme_.textPrimary));
    errorMessage_ = makeLabel({}, 12, QFont::Normal, theme_.textDim, 0);
    texts->addWidget(errorMessage_);
    status->addLayout(texts, 1);
    layout->addLayout(status);
    layout->addSpacing(18);
    layout->addLayout(makeActionRow(
        QStringLiteral("Schließen"), [this] { dismiss(); }, QStringLiteral("Erneut prüfen"), std::nullopt,
        [this] { checkAgain(); }));
    return section;
}

void SoftwareUpdateView::refresh()
{
    const Phase phase = model_.phase();
    refreshBadge(phase);
    refreshAvailable();
    refreshDownloading();
    const QString displayVersion = model_.updateInfo() ? model_.updateInfo()->displayVersion : QString();
    readyText_->setText(localizer_
                            .translate("SoftwareUpdateView",
                                       "VESK %1 ist heruntergeladen. Neu starten, um die Installation abzuschließen — "
                                       "deine laufende Session bleibt erhalten.")
                            .arg(displayVersion));
    errorMessage_->setText(
        model_.errorMessage().value_or(localizer_.translate("SoftwareUpdateView", "Unbekannter Fehler.")));
    showSection(phase);
}

void SoftwareUpdateView::showSection(Phase phase)
{
    // Before the first check reports, the panel shows the check.
    const Phase shown = phase == Phase::idle ? Phase::checking : phase;
    for (const auto& [sectionPhase, section] : sections_)
        section->setVisible(sectionPhase == shown);
    fitHeight();
}

void SoftwareUpdateView::refreshBadge(Phase phase)
{
    badgeTitle_->setText(badgeTitle(phase));
    // The badge takes its new width with the panel's next layout pass, not
    // one event later.
    badgeTitle_->parentWidget()->layout()->activate();
    badgeDot_->setStyleSheet(QStringLiteral("QFrame { background: %1; border-radius: 3px; }")
                                 .arg(styleSheetColor(badgeColor(phase, theme_))));
}

void SoftwareUpdateView::refreshAvailable()
{
    const std::optional<SoftwareUpdateViewModel::UpdateInfo>& info = model_.updateInfo();
    availableTitle_->setText(
        localizer_.translate("SoftwareUpdateView", "VESK %1 ist da").arg(info ? info->displayVersion : QString()));
    availableDetail_->setText(info ? QStringLiteral("Version ") + info->version + QStringLiteral(" · ")
                                         + megabyteText(info->contentLength, localizer_.locale())
                                         + QStringLiteral(" · läuft auf ") + appVersionString()
                                   : QString());
    const QStringList notes = releaseNotesLines(info ? info->releaseNotesHTML : std::nullopt);
    if (notes == shownNotes_)
        return;
    shownNotes_ = notes;
    while (notesColumn_->count() > 1) {
        QLayoutItem* item = notesColumn_->takeAt(1);
        if (QLayout* line = item->layout()) {
            while (QLayoutItem* part = line->takeAt(0)) {
                delete part->widget();
                delete part;
            }
        }
        delete item;
    }
    for (const QString& note : notes) {
        QHBoxLayout* line = row(9);
        line->setAlignment(Qt::AlignTop);
        auto* bullet = new QWidget;
        auto* bulletColumn = column(bullet, 0);
        bulletColumn->setContentsMargins(0, 6, 0, 0);
        bulletColumn->addWidget(dot(theme_.accent, 5));
        line->addWidget(bullet, 0, Qt::AlignTop);
        // The line is as high as its wrapped text at the box's inner width.
        TextLabel* text = makeLabel(note, 12, QFont::Normal, theme_.textSecondary, 0, 2);
        text->setFixedHeight(text->heightForWidth(notesTextWidth));
        line->addWidget(text, 1);
        notesColumn_->addLayout(line);
    }
}

void SoftwareUpdateView::refreshDownloading()
{
    const std::optional<SoftwareUpdateViewModel::UpdateInfo>& info = model_.updateInfo();
    downloadingTitle_->setText(localizer_.translate("SoftwareUpdateView", "VESK %1 wird geladen …")
                                   .arg(info ? info->displayVersion : QString()));
    progressBar_->setProgress(model_.progress());
    // The total is the offered size; the length the download announces does
    // not count here.
    const std::uint64_t total = info ? info->contentLength : 0;
    const QString received = megabyteText(model_.downloadedBytes(), localizer_.locale());
    byteText_->setText(total != 0 ? localizer_.translate("SoftwareUpdateView", "%1 von %2")
                                        .arg(received, megabyteText(total, localizer_.locale()))
                                  : received);
    percentText_->setText(localizer_.translate("SoftwareUpdateView", "%1%").arg(roundedPercent(model_.progress())));
    percentText_->setMinimumWidth(QFontMetrics(percentText_->style().font).horizontalAdvance(QStringLiteral("100%"))
                                  + 4);
}

// The panel is as high as its header and the section it shows.
void SoftwareUpdateView::fitHeight()
{
    layout()->invalidate();
    layout()->activate();
    const int height =
        layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(panelWidth) : layout()->totalSizeHint().height();
    setFixedHeight(height);
}

void SoftwareUpdateView::dismiss()
{
    service_.driver().dismissUpdateFlow();
}

void SoftwareUpdateView::install()
{
    service_.driver().installUpdate();
}

void SoftwareUpdateView::installAndRelaunch()
{
    service_.driver().installAndRelaunch();
}

void SoftwareUpdateView::checkAgain()
{
    service_.checkForUpdates();
}

void SoftwareUpdateView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, theme_.panelTop);
    gradient.setColorAt(1, theme_.panelBottom);
    painter.fillPath(shape, gradient);
    painter.strokePath(shape, strokePen(theme_.hairlineStrong, 1));
}

} // namespace vesk
