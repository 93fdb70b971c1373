#pragma once

#include "enforcement/InstalledApp.h"
#include "panels/SessionHUDAppBarItem.h"
#include "ui/Localizer.h"

#include <QWidget>

#include <functional>
#include <vector>

class QHBoxLayout;

namespace vesk {

class FilledButton;
class SessionHUDAppChip;
class TextLabel;

// The HUD's row of allowed applications, 288 wide: up to three chips and a
// "+N" button for the rest, or "Keine App offen".
class SessionHUDAppStrip final : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 288;
    static constexpr int chipLimit = 3;

    SessionHUDAppStrip(std::function<void(const QString& bundleID)> onRestore, std::function<void()> onShowMore,
                       const Localizer& localizer, QWidget* parent = nullptr);

    // Rebuilds the chips when the strip changed.
    void setBar(const SessionHUDAppBar& bar, const std::vector<InstalledApp>& installedApps);

    std::vector<SessionHUDAppChip*> chips() const;
    FilledButton* overflowButton() const { return overflowButton_; }
    TextLabel* emptyText() const { return emptyText_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(const QString&)> onRestore_;
    const Localizer& localizer_;
    QHBoxLayout* chipRow_;
    FilledButton* overflowButton_;
    TextLabel* emptyText_;
    SessionHUDAppBar shown_;
    bool hasShown_ = false;
};

} // namespace vesk
