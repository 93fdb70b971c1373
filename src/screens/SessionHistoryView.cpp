#include "screens/SessionHistoryView.h"

#include "screens/ScreenWidgets.h"
#include "screens/SessionHistoryList.h"
#include "screens/SessionHistoryTile.h"
#include "ui/Symbol.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace vesk {

namespace {

constexpr const char* context = "SessionHistoryView";

QLabel* symbolLabel(Symbol symbol, double pointSize, const QColor& color, QFont::Weight weight, double ratio)
{
    auto* view = new QLabel;
    view->setPixmap(symbolPixmap(symbol, pointSize, color, weight, ratio));
    view->setAttribute(Qt::WA_TranslucentBackground);
    return view;
}

} // namespace

SessionHistoryView::SessionHistoryView(std::unique_ptr<SessionHistoryModel> model, AppDirectory apps,
                                       std::function<void()> dismiss, Localizer localizer, QWidget* parent)
    : QWidget(parent)
    , model_(std::move(model))
    , apps_(apps)
    , dismiss_(std::move(dismiss))
    , localizer_(std::move(localizer))
{
    setFixedSize(sheetWidth, sheetHeight);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(makeHeader());
    column->addWidget(screenRule(theme_.hairline));
    faces_ = new QStackedLayout;
    faces_->addWidget(emptyState_ = makeEmptyState());
    faces_->addWidget(content_ = makeContent());
    column->addLayout(faces_, 1);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { dismiss_(); });
    connect(model_.get(), &SessionHistoryModel::changed, this, &SessionHistoryView::refresh);
    refresh();
}

SessionHistoryView::~SessionHistoryView() = default;

QString SessionHistoryView::localized(const char* text) const
{
    return localizer_.translate(context, text);
}

QLayout* SessionHistoryView::makeHeader()
{
    auto* header = new QHBoxLayout;
    header->setContentsMargins(20, 18, 20, 14);
    header->setSpacing(12);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(4);
    titles->addWidget(screenLabel(QStringLiteral("REFLECTION LIBRARY"), VeskFont::monospaced(10, QFont::Bold),
                                  theme_.textDim, 1, 1.4));
    titles->addWidget(screenLabel(localizer_.translate("SessionHistoryView", "Deine Sessions im Rückblick"),
                                  VeskFont::interface(17, QFont::DemiBold), theme_.textPrimary));
    titles->addWidget(
        screenLabel(localizer_.translate("SessionHistoryView",
                                         "Dauer, Ziel, Umfrage und Abschluss — alles auf dieser Seite, nichts verlässt "
                                         "dein Gerät."),
                    VeskFont::interface(11.5), theme_.textDim, 2));
    header->addLayout(titles, 1);

    auto* close = new QToolButton;
    const double side = symbolSide(13);
    close->setIcon(symbolPixmap(Symbol::xmark, 13, theme_.textMuted, QFont::Medium, devicePixelRatioF()));
    close->setIconSize(QSize(static_cast<int>(std::ceil(side)), static_cast<int>(std::ceil(side))));
    close->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    close->setCursor(Qt::PointingHandCursor);
    close->setFocusPolicy(Qt::NoFocus);
    close->setToolTip(localizer_.translate("SessionHistoryView", "Schließen"));
    connect(close, &QToolButton::clicked, this, [this] { dismiss_(); });
    header->addWidget(close, 0, Qt::AlignTop);
    return header;
}

QWidget* SessionHistoryView::makeEmptyState()
{
    auto* empty = new QWidget;
    auto* stack = new QVBoxLayout(empty);
    stack->setSpacing(10);
    stack->addStretch(1);
    stack->addWidget(symbolLabel(Symbol::clockArrowCirclepath, 32, theme_.textDim, QFont::Light, devicePixelRatioF()),
                     0, Qt::AlignHCenter);
    stack->addWidget(screenLabel(localizer_.translate("SessionHistoryView", "Noch kein Verlauf vorhanden"),
                                 VeskFont::interface(14, QFont::DemiBold), theme_.textPrimary),
                     0, Qt::AlignHCenter);
    TextLabel* explanation =
        screenLabel(localizer_.translate(
                        "SessionHistoryView",
                        "Starte und beende eine Session, dann erscheint sie hier mit Dauer, Apps und Abschlussgrund."),
                    VeskFont::interface(11.5), theme_.textDim, 0, 0, Qt::AlignHCenter);
    // At most 352 points wide, as tall as its wrapped lines.
    explanation->setFixedSize(352, explanation->heightForWidth(352));
    stack->addWidget(explanation, 0, Qt::AlignHCenter);
    stack->addStretch(1);
    return empty;
}

QWidget* SessionHistoryView::makeContent()
{
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* tiles = new QHBoxLayout;
    tiles->setContentsMargins(20, 16, 20, 0);
    tiles->setSpacing(10);
    const std::array<const char*, 4> titles = {
        QT_TRANSLATE_NOOP("SessionHistoryView", "Sessions"),
        QT_TRANSLATE_NOOP("SessionHistoryView", "Fokuszeit"),
        QT_TRANSLATE_NOOP("SessionHistoryView", "Ziel erreicht"),
        QT_TRANSLATE_NOOP("SessionHistoryView", "Vesk hilfreich"),
    };
    for (size_t index = 0; index < titles.size(); ++index) {
        tiles_[index] = new SessionHistoryTile(localized(titles[index]), theme_);
        tiles->addWidget(tiles_[index], 1, Qt::AlignVCenter);
    }
    column->addLayout(tiles);
    column->addLayout(makeListHeading());

    list_ = new SessionHistoryList(SessionHistoryCardContext{localizer_, apps_, model_->clock(), theme_});
    scrollArea_ = new QScrollArea;
    scrollArea_->setWidget(list_);
    styleScrollArea(*scrollArea_, theme_);
    list_->setAutoFillBackground(false);
    column->addWidget(scrollArea_, 1);
    return content;
}

QLayout* SessionHistoryView::makeListHeading()
{
    auto* heading = new QHBoxLayout;
    heading->setContentsMargins(20, 18, 20, 11);
    heading->setSpacing(8);
    heading->addWidget(screenLabel(localizer_.translate("SessionHistoryView", "Einzelne Sessions"),
                                   VeskFont::interface(12, QFont::DemiBold), theme_.textSecondary));
    heading->addWidget(screenLabel(localizer_.translate("SessionHistoryView", "· neueste zuerst"),
                                   VeskFont::interface(11), theme_.textDim));
    heading->addWidget(screenRule(theme_.hairline), 1, Qt::AlignVCenter);
    return heading;
}

const char* SessionHistoryView::helpfulCaption(const FocusSessionStatistics& statistics)
{
    const qint64 most =
        std::max({statistics.helpfulYesCount, statistics.helpfulSomewhatCount, statistics.helpfulNoCount});
    if (most < 1)
        return QT_TRANSLATE_NOOP("SessionHistoryView", "keine Angabe");
    if (most == statistics.helpfulYesCount)
        return QT_TRANSLATE_NOOP("SessionHistoryView", "meist „Ja“");
    if (most == statistics.helpfulSomewhatCount)
        return QT_TRANSLATE_NOOP("SessionHistoryView", "meist „Etwas“");
    return QT_TRANSLATE_NOOP("SessionHistoryView", "meist „Nein“");
}

bool SessionHistoryView::showsEmptyState() const
{
    return faces_->currentWidget() == emptyState_;
}

void SessionHistoryView::refresh()
{
    const auto& sessions = model_->sessions();
    faces_->setCurrentWidget(sessions.empty() ? emptyState_ : content_);
    const FocusSessionStatistics& statistics = model_->statistics();
    tiles_[0]->setValue(QString::number(statistics.sessionCount), theme_.textPrimary);
    tiles_[0]->setCaption(localizer_.translate("SessionHistoryView", "abgeschlossen"));
    tiles_[1]->setValue(statistics.focusMinutesText(), theme_.textPrimary);
    tiles_[1]->setCaption(localizer_.translate("SessionHistoryView", "gesammelt"));
    tiles_[2]->setGoalCounts({statistics.doneCount, statistics.partialCount, statistics.failedCount});
    tiles_[2]->setCaption(statistics.outcomeCountsText());
    tiles_[3]->setValue(statistics.percentText(), theme_.ok);
    tiles_[3]->setCaption(localized(helpfulCaption(statistics)));
    list_->setSessions(sessions);
}

void SessionHistoryView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), theme_.windowGradient.in(rect()));
}

} // namespace vesk
