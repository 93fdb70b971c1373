#include "panels/SessionHUDAppStrip.h"

#include "panels/AllowedAppAppearance.h"
#include "panels/SessionHUDAppChip.h"
#include "ui/FilledButton.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QHBoxLayout>
#include <QPainter>

namespace vesk {

namespace {

constexpr double genericIconSide = 18;

FilledButton::Look overflowLook()
{
    FilledButton::Look look = FilledButton::Look::filled(VeskFont::interface(10, QFont::DemiBold),
                                                         rgb(255, 255, 255, 0.75), rgb(255, 255, 255, 0.08));
    look.cornerRadius = 8;
    return look;
}

TextStyle emptyStyle()
{
    return {.font = VeskFont::interface(10, QFont::DemiBold)};
}

} // namespace

SessionHUDAppStrip::SessionHUDAppStrip(std::function<void(const QString&)> onRestore, std::function<void()> onShowMore,
                                       const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , onRestore_(std::move(onRestore))
    , localizer_(localizer)
    , chipRow_(new QHBoxLayout)
    , overflowButton_(new FilledButton(QString(), overflowLook(), this))
    , emptyText_(new TextLabel(localizer.translate("SessionHUDView", "Keine App offen"), emptyStyle(),
                               rgb(255, 255, 255, 0.45), this))
{
    setFixedWidth(width);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 6, 8, 6);
    row->setSpacing(6);
    chipRow_->setContentsMargins(0, 0, 0, 0);
    chipRow_->setSpacing(6);
    row->addLayout(chipRow_);
    row->addWidget(overflowButton_);
    row->addWidget(emptyText_, 1);
    row->addStretch();

    overflowButton_->setFixedSize(30, 30);
    const QString showMore = localizer.translate("SessionHUDView", "Weitere erlaubte Apps anzeigen");
    overflowButton_->setToolTip(showMore);
    overflowButton_->setAccessibleName(showMore);
    connect(overflowButton_, &QAbstractButton::clicked, this, [more = std::move(onShowMore)] { more(); });
    emptyText_->setContentsMargins(10, 7, 10, 7);
}

void SessionHUDAppStrip::setBar(const SessionHUDAppBar& bar, const std::vector<InstalledApp>& installedApps)
{
    // A chip may be what was just clicked: rebuild only on a change, and let
    // the old chips go once the event that led here is over.
    if (hasShown_ && bar == shown_)
        return;
    hasShown_ = true;
    shown_ = bar;
    for (SessionHUDAppChip* chip : chips()) {
        chip->hide();
        chip->setParent(nullptr);
        chip->deleteLater();
    }
    for (const SessionHUDAppBarItem& item : bar.items) {
        const AllowedAppAppearance appearance = AllowedAppAppearance::of(item.bundleID, installedApps, genericIconSide);
        auto* chip = new SessionHUDAppChip(
            {item.bundleID, appearance.name, appearance.icon, item.visibility},
            [restore = onRestore_, id = item.bundleID] { restore(id); }, localizer_, this);
        chipRow_->addWidget(chip);
    }
    overflowButton_->setText(localizer_.translate("SessionHUDView", "+%1").arg(bar.overflowCount));
    overflowButton_->setVisible(bar.overflowCount >= 1);
    emptyText_->setVisible(bar.items.empty());
}

std::vector<SessionHUDAppChip*> SessionHUDAppStrip::chips() const
{
    // In the order they were made, which is the row's.
    const QList<SessionHUDAppChip*> found = findChildren<SessionHUDAppChip*>(Qt::FindDirectChildrenOnly);
    return {found.begin(), found.end()};
}

void SessionHUDAppStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(rect(), 10), rgb(255, 255, 255, 0.055));
}

} // namespace vesk
