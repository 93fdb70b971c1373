#include "app/SettingsWindow.h"

#include <QEvent>
#include <QShortcut>
#include <QVBoxLayout>

namespace vesk {

SettingsWindow::SettingsWindow(SettingsView::Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Einstellungen"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new SettingsView(std::move(services), Localizer(locale()), this);
    layout->addWidget(view_);
    setFixedSize(SettingsView::tabViewSize);
    // Closes like any document window, also where the window has no title bar.
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void SettingsWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LocaleChange && view_) {
        const Localizer localizer(locale());
        setWindowTitle(localizer.translate("SettingsWindow", "Einstellungen"));
        view_->setLocalizer(localizer);
    }
}

} // namespace vesk
