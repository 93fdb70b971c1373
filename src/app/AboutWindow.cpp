#include "app/AboutWindow.h"

#include "helpers/AppHelpers.h"

#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace vesk {

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 28, 40, 28);
    layout->setSpacing(6);

    auto* name = new QLabel(QStringLiteral("VESK"), this);
    name->setAlignment(Qt::AlignCenter);
    QFont nameFont = name->font();
    nameFont.setPointSize(20);
    nameFont.setBold(true);
    name->setFont(nameFont);

    version_ = new QLabel(this);
    version_->setAlignment(Qt::AlignCenter);
    version_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    layout->addWidget(name);
    layout->addWidget(version_);
    retranslate(Localizer());

    // Closes like the settings, also where the window has no title bar.
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void AboutWindow::retranslate(const Localizer& localizer)
{
    setWindowTitle(localizer.translate("AboutWindow", "Über VESK"));
    version_->setText(localizer.translate("AboutWindow", "Version %1 (%2)").arg(appVersionString(), appBuildString()));
    setFixedSize(sizeHint());
}

} // namespace vesk
