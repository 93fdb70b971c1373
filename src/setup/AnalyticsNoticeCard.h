#pragma once

#include "ui/Localizer.h"
#include "ui/Symbol.h"

#include <QWidget>

#include <vector>

namespace vesk {

class FilledButton;
class SessionSetupModel;

// The first-run notice that usage analytics are on: a card at the bottom of
// the window with a title, a paragraph, what is measured and what never is,
// and two buttons: "Einstellungen" (acknowledges and opens the settings) and
// "Verstanden" (acknowledges). Whether it shows is the root view's concern.
class AnalyticsNoticeCard final : public QWidget {
    Q_OBJECT

public:
    AnalyticsNoticeCard(SessionSetupModel& model, const Localizer& localizer, QWidget* parent = nullptr);

    FilledButton* settingsButton() const { return settingsButton_; }
    FilledButton* acknowledgeButton() const { return acknowledgeButton_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* makeHeader(const Localizer& localizer);
    QWidget* makeColumns();
    QWidget* makeColumn(Symbol symbol, const QColor& symbolColor, const QString& title, const QStringList& items);
    QWidget* makeButtons(SessionSetupModel& model, const Localizer& localizer);

    QWidget* card_ = nullptr;
    std::vector<QWidget*> columns_;
    FilledButton* settingsButton_ = nullptr;
    FilledButton* acknowledgeButton_ = nullptr;
};

} // namespace vesk
