#pragma once

#include "ui/Localizer.h"
#include "ui/Symbol.h"
#include "ui/VeskTheme.h"
#include "update/SoftwareUpdateViewModel.h"

#include <QWidget>

#include <functional>
#include <map>
#include <optional>

class QBoxLayout;
class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace vesk {

class Clock;
class ReducedMotion;
class Scheduler;
class SoftwareUpdateService;
class TextLabel;
class UpdateProgressBar;

// The update panel, 384 points wide and as high as its content: the header
// (the Vesk symbol, the name and the phase's badge, the close button) over one
// section per phase of the update model. It draws the model and hands the
// user's choices to the service's driver (install, install and relaunch,
// dismiss) and to the service (a new check); it changes nothing itself.
class SoftwareUpdateView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int panelWidth = 384;

    // What the panel's symbol and spinner move with, and the text lookup.
    struct Environment {
        const Clock& clock;
        Scheduler& scheduler;
        const ReducedMotion& reducedMotion;
        Localizer localizer = Localizer();
    };

    // `autoUpdatesEnabled` is the automatic-check setting when the panel is
    // built; the panel shows it as it was then.
    SoftwareUpdateView(SoftwareUpdateService& service, bool autoUpdatesEnabled, const VeskTheme& theme,
                       const Environment& environment, QWidget* parent = nullptr);
    ~SoftwareUpdateView() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    using Phase = SoftwareUpdateViewModel::Phase;

    QLayout* makeHeader(const Environment& environment);
    QWidget* makeCheckingSection(const Environment& environment);
    QWidget* makeAvailableSection();
    QWidget* makeDownloadingSection();
    QWidget* makeReadySection();
    QWidget* makeUpToDateSection();
    QWidget* makeErrorSection();
    QLayout* makeActionRow(const QString& secondaryTitle, const std::function<void()>& secondary,
                           const QString& primaryTitle, std::optional<Symbol> primarySymbol,
                           const std::function<void()>& primary);
    QPushButton* makeTextButton(const QString& title, const QColor& color);
    TextLabel* makeLabel(const QString& text, double pointSize, QFont::Weight weight, const QColor& color,
                         int lineLimit = 1, double lineSpacing = 0);
    void showSection(Phase phase);
    void refresh();
    void refreshBadge(Phase phase);
    void refreshAvailable();
    void refreshDownloading();
    void fitHeight();

    void dismiss();
    void install();
    void installAndRelaunch();
    void checkAgain();

    SoftwareUpdateService& service_;
    SoftwareUpdateViewModel& model_;
    const bool autoUpdatesEnabled_;
    const VeskTheme theme_;
    const Localizer localizer_;

    QFrame* badgeDot_ = nullptr;
    TextLabel* badgeTitle_ = nullptr;
    std::map<Phase, QWidget*> sections_;
    TextLabel* availableTitle_ = nullptr;
    TextLabel* availableDetail_ = nullptr;
    QVBoxLayout* notesColumn_ = nullptr;
    QStringList shownNotes_;
    TextLabel* downloadingTitle_ = nullptr;
    UpdateProgressBar* progressBar_ = nullptr;
    TextLabel* byteText_ = nullptr;
    TextLabel* percentText_ = nullptr;
    TextLabel* readyText_ = nullptr;
    TextLabel* errorMessage_ = nullptr;
};

} // namespace vesk
