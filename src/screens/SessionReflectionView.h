#pragma once

#include "core/MainQueueTimer.h"
#include "screens/SessionReflectionModel.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QWidget>

#include <map>
#include <memory>
#include <vector>

class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QShortcut;
class QVBoxLayout;

namespace vesk {

class Clock;
class ReducedMotion;
class ReflectionChip;
class ScaleFadeEffect;
class Scheduler;
class TextLabel;

// The reflection card over the main window after a session: a dimmed
// backdrop over the whole host and the card in its centre, asking whether the
// goal was reached, whether the session helped and, when it helped only
// somewhat or not at all, why; with a note of up to 280 characters.
// "Speichern" saves through the model; "Später", Escape and a click on the
// backdrop dismiss. A click on the card never dismisses.
//
// The card enters as it is built and leaves on `leave()`: it fades and
// scales from and to 0.96 about its centre while the backdrop fades, over
// 0.24 s (ease out). The reason section comes and goes with the answers the
// same way, from and to 0.98, over 0.2 s, while the sections below it and the
// card's height follow. Under reduced motion both happen at once.
class SessionReflectionView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int cardWidth = 318;
    static constexpr int cardMaximumHeight = 388;
    static constexpr double cardHiddenScale = 0.96;
    static constexpr double cardTransitionSeconds = 0.24;
    static constexpr double reasonHiddenScale = 0.98;
    static constexpr double reasonTransitionSeconds = 0.2;

    // The time the card moves in, and whether it should hold still.
    struct Motion {
        const Clock& clock;
        Scheduler& scheduler;
        const ReducedMotion& reducedMotion;
    };

    SessionReflectionView(std::unique_ptr<SessionReflectionModel> model, const Motion& motion,
                          Localizer localizer = Localizer(), QWidget* parent = nullptr);
    ~SessionReflectionView() override;

    SessionReflectionModel& model() const { return *model_; }
    // The card itself, within this view.
    QWidget* card() const { return card_; }
    // How far the card and the reason section have come in or gone.
    const ScaleFadeEffect& cardTransition() const { return *cardEffect_; }
    const ScaleFadeEffect& reasonTransition() const { return *reasonEffect_; }
    // The reason section; it takes room only while it is asked or leaving.
    QWidget* reasonSection() const { return reasonSection_; }

    // The card goes; from now on it takes no input, and `left()` follows when
    // it is gone from the screen.
    void leave();
    bool isLeaving() const { return leaving_; }

signals:
    void left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeCard();
    QLayout* makeHeader();
    QWidget* makeSection();
    QWidget* makeGoalSection();
    QWidget* makeHelpfulSection();
    QWidget* makeReasonSection();
    QWidget* makeNoteArea();
    // A German answer and the palette colour it is tinted with when chosen.
    struct Answer {
        const char* text;
        QColor VeskTheme::*tint;
    };
    // Three chips side by side, of equal width, each toggling its value.
    template <typename Value>
    void addChoiceRow(QWidget& section, const std::vector<std::pair<Value, Answer>>& answers,
                      std::map<Value, ReflectionChip*>& chips, void (SessionReflectionModel::*toggle)(Value));
    QLayout* makeFooter();
    QString localized(const char* text) const;
    void refresh();
    void placeCard();
    double transitionSeconds(double seconds) const;
    void frame();
    void fitReasonSlot();

    std::unique_ptr<SessionReflectionModel> model_;
    Localizer localizer_;
    const Clock& clock_;
    const ReducedMotion& reducedMotion_;
    VeskTheme theme_ = VeskTheme::shared();

    QWidget* card_ = nullptr;
    ScaleFadeEffect* cardEffect_ = nullptr;
    QShortcut* escape_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    std::map<GoalStatus, ReflectionChip*> goalChips_;
    std::map<VeskHelpful, ReflectionChip*> helpfulChips_;
    std::map<ReflectionReasonCategory, ReflectionChip*> reasonChips_;
    // The reason section sits in a slot whose height follows its transition,
    // so that what lies below moves with it.
    QWidget* reasonSlot_ = nullptr;
    QWidget* reasonSection_ = nullptr;
    ScaleFadeEffect* reasonEffect_ = nullptr;
    QPushButton* addNoteButton_ = nullptr;
    QPlainTextEdit* noteEditor_ = nullptr;
    TextLabel* noteCounter_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    bool leaving_ = false;
    bool hasLeft_ = false;
    MainQueueTimer frames_;
};

} // namespace vesk
