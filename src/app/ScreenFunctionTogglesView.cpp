#include "app/ScreenFunctionTogglesView.h"

#include "app/GroupedForm.h"
#include "ui/ToggleSwitch.h"

#include <QVBoxLayout>

namespace vesk {

ScreenFunctionTogglesView::ScreenFunctionTogglesView(ScreenFunctionToggleSource source,
                                                     const platform::ScreenProviding& screens, Localizer localizer,
                                                     QWidget* parent)
    : QWidget(parent)
    , source_(std::move(source))
    , screens_(screens)
    , localizer_(std::move(localizer))
{
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    refresh();
}

void ScreenFunctionTogglesView::refresh()
{
    const std::vector<ScreenFunctionToggleSource::Screen> screens = ScreenFunctionToggleSource::listScreens(screens_);
    if (!form_ || screens != listed_) {
        listed_ = screens;
        rebuild();
    }
    for (size_t index = 0; index < listed_.size(); ++index) {
        for (const VeskScreenFunction function : EnumCases<VeskScreenFunction>::values)
            toggles_[index][static_cast<size_t>(function)]->setChecked(source_.isEnabled(function, listed_[index]));
    }
}

void ScreenFunctionTogglesView::rebuild()
{
    if (form_) {
        // A switch of the old form may be the one whose click led here.
        form_->hide();
        form_->setParent(nullptr);
        form_->deleteLater();
    }
    toggles_.clear();
    headers_.clear();
    form_ = new GroupedForm(theme_, this);
    layout_->addWidget(form_);
    for (const ScreenFunctionToggleSource::Screen& screen : listed_)
        addScreenSection(screen);
}

void ScreenFunctionTogglesView::addScreenSection(const ScreenFunctionToggleSource::Screen& screen)
{
    const QString header =
        screen.isMain ? localizer_.translate("ScreenFunctionTogglesView", "Hauptbildschirm") : screen.name;
    headers_.append(header);
    QWidget* section = form_->addSection(header);
    auto& switches = toggles_.emplace_back();
    for (const VeskScreenFunction function : EnumCases<VeskScreenFunction>::values) {
        auto* toggle = new ToggleSwitch(theme_);
        toggle->setObjectName(identifier(function));
        connect(toggle, &ToggleSwitch::clicked, this,
                [this, function, screen](bool checked) { source_.setEnabled(checked, function, screen); });
        switches[static_cast<size_t>(function)] = toggle;
        form_->addRow(section, form_->labelledRow(label(function), toggle));
    }
}

QString ScreenFunctionTogglesView::label(VeskScreenFunction function) const
{
    switch (function) {
    case VeskScreenFunction::appsBar:
        return localizer_.translate("ScreenFunctionTogglesView", "Apps-Leiste (Reinholen)");
    case VeskScreenFunction::targetMode:
        return localizer_.translate("ScreenFunctionTogglesView", "Ziel & Modus");
    case VeskScreenFunction::controlBar:
        return localizer_.translate("ScreenFunctionTogglesView", "Steuerleiste");
    }
    return {};
}

QStringList ScreenFunctionTogglesView::sectionHeaders() const
{
    return headers_;
}

ToggleSwitch* ScreenFunctionTogglesView::toggle(quint32 screenID, VeskScreenFunction function) const
{
    for (size_t index = 0; index < listed_.size(); ++index) {
        if (listed_[index].screenID == screenID)
            return toggles_[index][static_cast<size_t>(function)];
    }
    return nullptr;
}

void ScreenFunctionTogglesView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

} // namespace vesk
