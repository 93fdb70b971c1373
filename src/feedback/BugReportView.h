#pragma once

#include "feedback/BugReportFormModel.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;

namespace vesk {

class BugReportCategorySwitch;
class ToggleSwitch;
class TextLabel;

// The report form, 460 points wide: category, title, description, contact,
// the log choice and the result of the last submission; after a successful
// send a thank-you face instead. Hosts (the setup screen's and the settings'
// sheets, the in-session bug-report panel) pass the close action; the form
// never closes itself.
class BugReportView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int formWidth = 460;

    BugReportView(std::unique_ptr<BugReportFormModel> model, std::function<void()> onClose,
                  Localizer localizer = Localizer(), QWidget* parent = nullptr);
    ~BugReportView() override;

    BugReportFormModel& model() const { return *model_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* makeForm();
    QWidget* makeThanks();
    QLayout* makeHeader();
    QWidget* makeLogBox();
    QLayout* makeFooter();
    QAbstractButton* makeCloseButton(bool withTooltip);
    void refresh();
    void refreshResultLine();
    void fitHeight();
    void fitDetailsField();

    std::unique_ptr<BugReportFormModel> model_;
    std::function<void()> onClose_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();

    QStackedLayout* faces_ = nullptr;
    QWidget* form_ = nullptr;
    QWidget* thanks_ = nullptr;
    BugReportCategorySwitch* categorySwitch_ = nullptr;
    QLineEdit* titleField_ = nullptr;
    QPlainTextEdit* detailsField_ = nullptr;
    QLineEdit* contactField_ = nullptr;
    ToggleSwitch* logSwitch_ = nullptr;
    QWidget* resultLine_ = nullptr;
    QLabel* resultSymbol_ = nullptr;
    TextLabel* resultText_ = nullptr;
    QPushButton* sendButton_ = nullptr;
};

} // namespace vesk
