#pragma once

#include "enforcement/InstalledApp.h"
#include "panels/QuickAccessAppDisplay.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QGridLayout;
class QScrollArea;

namespace vesk {

class AppSearchDropdown;
class Clock;
class FilledButton;
class MainQueueTimer;
class QuickAccessAppTile;
class Scheduler;
class SessionControlling;
class TextLabel;

// The quick-access panel's content, 380 × 420: every application of the
// running session as a tile (bringing it back, or removing one added during
// the session), a search field to add installed applications, the count and
// the close and "Fertig" buttons. It reads the session on every change and
// every 0.5 s.
class QuickAccessPanelView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 380;
    static constexpr int height = 420;
    static constexpr double cornerRadius = 14;

    // `installedApps`: one scan, taken when the panel opens.
    QuickAccessPanelView(SessionControlling& session, std::function<void()> onClose,
                         std::vector<InstalledApp> installedApps, Scheduler& scheduler, const Clock& clock,
                         const Localizer& localizer = Localizer(), QWidget* parent = nullptr);
    ~QuickAccessPanelView() override;

    const std::vector<QuickAccessAppDisplay>& displays() const { return displays_; }
    std::vector<QuickAccessAppTile*> tiles() const;
    AppSearchDropdown* search() const { return search_; }
    TextLabel* countText() const { return count_; }
    TextLabel* emptyText() const { return empty_; }
    FilledButton* closeButton() const { return close_; }
    FilledButton* doneButton() const { return done_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeFooter();
    void refresh();
    void rebuildTiles();
    bool canRemove(const QString& bundleID) const;
    void pick(const InstalledApp& app);

    SessionControlling& session_;
    std::function<void()> onClose_;
    std::vector<InstalledApp> installedApps_;
    Scheduler& scheduler_;
    const Clock& clock_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();

    std::vector<QuickAccessAppDisplay> displays_;
    std::vector<bool> removable_;

    FilledButton* close_ = nullptr;
    AppSearchDropdown* search_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    QWidget* grid_ = nullptr;
    QGridLayout* gridLayout_ = nullptr;
    TextLabel* empty_ = nullptr;
    TextLabel* count_ = nullptr;
    FilledButton* done_ = nullptr;
    std::unique_ptr<MainQueueTimer> timeline_;
};

} // namespace vesk
