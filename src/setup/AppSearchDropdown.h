#pragma once

#include "enforcement/InstalledApp.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <set>
#include <vector>

class QLineEdit;
class QToolButton;

namespace vesk {

class AppSearchResultsView;

// The search field with which the user finds installed applications by name.
// While text stands in the field a list opens under it with at most six
// matching applications that are not selected yet (or "Keine weiteren Apps
// gefunden"); a click on a row hands the application to the pick handler and
// empties the field, whether or not the host took the application.
//
// Hosts: the setup card (trailing plus, the list floats over what lies below
// the field) and the in-session quick-access panel (no plus, the list takes
// its room in the layout). The host owns the search text: it follows
// searchTextChanged() and may set the text back.
class AppSearchDropdown final : public QWidget {
    Q_OBJECT

public:
    static constexpr int matchLimit = 6;
    static constexpr double cornerRadius = 9;
    // Between the field and the list.
    static constexpr double listGap = 6;

    struct Options {
        bool showsTrailingPlus = true;
        // true: the open list pushes what follows down; false: it floats over it.
        bool reservesDropdownSpace = false;
    };

    AppSearchDropdown(Options options, std::function<void(const InstalledApp&)> onPick,
                      const Localizer& localizer = Localizer(), QWidget* parent = nullptr);
    ~AppSearchDropdown() override;

    // The applications of `apps` not in `selectedIDs` whose name contains the
    // query (trimmed; case-insensitive under the current locale; anywhere in the name), the first
    // `limit` of them in the order of `apps`. Empty for a blank query or a
    // limit below 1.
    static std::vector<InstalledApp> matchingApps(const std::vector<InstalledApp>& apps,
                                                  const std::set<QString>& selectedIDs, const QString& query,
                                                  int limit);

    const std::vector<InstalledApp>& apps() const { return apps_; }
    void setApps(std::vector<InstalledApp> apps);
    void setSelectedIDs(std::set<QString> selectedIDs);
    const QString& searchText() const { return searchText_; }
    // From the host: does not emit searchTextChanged().
    void setSearchText(const QString& text);

    // The rows for the current text.
    std::vector<InstalledApp> matches() const;
    // The list is open whenever the text is not empty, even when it is blank.
    bool isListOpen() const { return !searchText_.isEmpty(); }
    bool isClearButtonShown() const;

    QLineEdit* field() const { return field_; }
    AppSearchResultsView* list() const;
    // Empties the field, as the clear button does.
    void clear();

signals:
    // The user changed the text (typing, a pick, the clear button).
    void searchTextChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeField(const Localizer& localizer);
    void pick(const InstalledApp& app);
    void changeTextByUser(const QString& text);
    void refresh();
    void placeFloatingList();
    void watchAncestors();

    Options options_;
    std::function<void(const InstalledApp&)> onPick_;
    VeskTheme theme_ = VeskTheme::shared();
    std::vector<InstalledApp> apps_;
    std::set<QString> selectedIDs_;
    QString searchText_;

    QWidget* fieldBox_ = nullptr;
    QLineEdit* field_ = nullptr;
    QToolButton* clearButton_ = nullptr;
    // Floating, it belongs to the window, above the content.
    QPointer<AppSearchResultsView> list_;
    std::vector<QPointer<QWidget>> watchedAncestors_;
};

} // namespace vesk
