#pragma once

#include "ui/Localizer.h"

#include <QWidget>

namespace vesk {

class SessionSetupModel;
class SymbolButton;

// The setup screen's top row, 36 points high: the title "The Vesk" in the
// middle of the window and, at the right edge, the meta line's three icon
// buttons: history, bug report and settings (the main window's settings
// command, Ctrl+, does the same).
class SetupHeaderView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int height = 36;

    SetupHeaderView(SessionSetupModel& model, const Localizer& localizer, QWidget* parent = nullptr);

    SymbolButton* historyButton() const { return historyButton_; }
    SymbolButton* bugReportButton() const { return bugReportButton_; }
    SymbolButton* settingsButton() const { return settingsButton_; }

private:
    SymbolButton* historyButton_ = nullptr;
    SymbolButton* bugReportButton_ = nullptr;
    SymbolButton* settingsButton_ = nullptr;
};

} // namespace vesk
