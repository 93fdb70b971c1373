#pragma once

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
class QVBoxLayout;

namespace vesk {

class ReflectionChip;
class TextLabel;

// The reflection card over the main window after a session: a dimmed
// backdrop over the whole host and the card in its centre, asking whether the
// goal was reached, whether the session helped and, when it helped only
// somewhat or not at all, why; with a note of up to 280 characters.
// "Speichern" saves through the model; "Später", Escape and a click on the
// backdrop dismiss. A click on the card never dismisses.
class SessionReflectionView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int cardWidth = 318;
    static constexpr int cardMaximumHeight = 388;

    SessionReflectionView(std::unique_ptr<SessionReflectionModel> model, Localizer localizer = Localizer(),
                          QWidget* parent = nullptr);
    ~SessionReflectionView() override;

    SessionReflectionModel& model() const { return *model_; }
    // The card itself, within this view.
    QWidget* card() const { return card_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

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

    std::unique_ptr<SessionReflectionModel> model_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();

    QWidget* card_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    std::map<GoalStatus, ReflectionChip*> goalChips_;
    std::map<VeskHelpful, ReflectionChip*> helpfulChips_;
    std::map<ReflectionReasonCategory, ReflectionChip*> reasonChips_;
    QWidget* reasonSection_ = nullptr;
    QPushButton* addNoteButton_ = nullptr;
    QPlainTextEdit* noteEditor_ = nullptr;
    TextLabel* noteCounter_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

} // namespace vesk
