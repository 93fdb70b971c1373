#pragma once

#include "screens/SessionHistoryCard.h"
#include "screens/SessionHistoryModel.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QScrollArea;
class QStackedLayout;

namespace vesk {

class SessionHistoryList;
class SessionHistoryTile;

// The history sheet, 580 × 560 points: a header with the close button, then
// either the empty state or four statistics tiles, the list heading and one
// card per finished session, newest first. It follows its model, so it
// changes while it is open. The close button and Escape call the host's
// dismiss action; the sheet writes nothing.
class SessionHistoryView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int sheetWidth = 580;
    static constexpr int sheetHeight = 560;

    SessionHistoryView(std::unique_ptr<SessionHistoryModel> model, AppDirectory apps, std::function<void()> dismiss,
                       Localizer localizer = Localizer(), QWidget* parent = nullptr);
    ~SessionHistoryView() override;

    SessionHistoryModel& model() const { return *model_; }
    bool showsEmptyState() const;
    SessionHistoryTile& tile(int index) const { return *tiles_.at(static_cast<size_t>(index)); }
    SessionHistoryList& list() const { return *list_; }
    QScrollArea& scrollArea() const { return *scrollArea_; }

    // "meist „Ja“" and its kin: the answer most sessions gave.
    static const char* helpfulCaption(const FocusSessionStatistics& statistics);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLayout* makeHeader();
    QWidget* makeEmptyState();
    QWidget* makeContent();
    QLayout* makeListHeading();
    QString localized(const char* text) const;
    void refresh();

    std::unique_ptr<SessionHistoryModel> model_;
    AppDirectory apps_;
    std::function<void()> dismiss_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();

    QStackedLayout* faces_ = nullptr;
    QWidget* emptyState_ = nullptr;
    QWidget* content_ = nullptr;
    std::array<SessionHistoryTile*, 4> tiles_{};
    QScrollArea* scrollArea_ = nullptr;
    SessionHistoryList* list_ = nullptr;
};

} // namespace vesk
