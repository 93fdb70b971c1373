#include "app/SettingsWindow.h"

#include "helpers/AppHelpers.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vesk {

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Einstellungen"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Version %1 (Build %2)").arg(appVersionString(), appBuildString()), this));
    if (const auto& url = privacyPolicyURL()) {
        auto* link = new QLabel(QStringLiteral("<a href=\"%1\">Datenschutzerklärung</a>").arg(url->toString()), this);
        link->setOpenExternalLinks(true);
        layout->addWidget(link);
    }
    layout->addStretch();
}

} // namespace vesk
