#include "panels/SessionHUDExitConfirmation.h"

#include "panels/SystemColor.h"
#include "ui/FilledButton.h"
#include "ui/Gradient.h"
#include "ui/Localizer.h"
#include "ui/Shapes.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace vesk {

namespace {

constexpr int buttonRowWidth = 246;

FilledButton::Look confirmationLook(const QColor& text, const QColor& fill)
{
    FilledButton::Look look =
        FilledButton::Look::filled(VeskFont::interface(11, QFont::DemiBold), text, fill, QMarginsF(10, 5, 10, 5));
    look.textStyle.minimumScaleFactor = 0.82;
    return look;
}

FilledButton* confirmationButton(const char* title, const QColor& text, const QColor& fill, QWidget* parent,
                                 const std::function<void()>& action)
{
    auto* button = new FilledButton(QString::fromUtf8(title), confirmationLook(text, fill), parent);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QObject::connect(button, &QAbstractButton::clicked, parent, [action] { action(); });
    return button;
}

} // namespace

SessionHUDExitConfirmation::SessionHUDExitConfirmation(Actions actions, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , closeApps_(confirmationButton("VESK-Apps schliessen", rgb(255, 255, 255, 0.92),
                                    systemColor(SystemColor::red, 0.38), this, actions.closeApps))
    , leaveAppsOpen_(confirmationButton("Apps offen lassen", rgb(255, 255, 255, 0.88), rgb(255, 255, 255, 0.14), this,
                                        actions.leaveAppsOpen))
    , cancel_(confirmationButton("Abbrechen", rgb(255, 255, 255, 0.72), rgb(255, 255, 255, 0.08), this, actions.cancel))
{
    setFixedSize(288, 92);
    TextStyle titleStyle;
    titleStyle.font = VeskFont::interface(12, QFont::DemiBold);
    auto* title = new TextLabel(localizer.translate("SessionHUDView", "VESK verlassen?"), titleStyle,
                                rgb(255, 255, 255, 0.88), this);

    auto* secondRow = new QHBoxLayout;
    secondRow->setSpacing(8);
    secondRow->addWidget(leaveAppsOpen_);
    secondRow->addWidget(cancel_);
    auto* secondRowBox = new QWidget(this);
    secondRowBox->setLayout(secondRow);
    secondRow->setContentsMargins(0, 0, 0, 0);
    secondRowBox->setFixedWidth(buttonRowWidth);
    closeApps_->setFixedWidth(buttonRowWidth);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 8, 12, 8);
    column->setSpacing(7);
    column->addWidget(title, 0, Qt::AlignHCenter);
    column->addWidget(closeApps_, 0, Qt::AlignHCenter);
    column->addWidget(secondRowBox, 0, Qt::AlignHCenter);
}

void SessionHUDExitConfirmation::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(rect(), 10), rgb(255, 255, 255, 0.06));
}

} // namespace vesk
