#include "app/AboutWindow.h"

#include "helpers/AppHelpers.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vesk {

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Über VESK"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 28, 40, 28);
    layout->setSpacing(6);

    auto* name = new QLabel(QStringLiteral("VESK"), this);
    name->setAlignment(Qt::AlignCenter);
    QFont nameFont = name->font();
    nameFont.setPointSize(20);
    nameFont.setBold(true);
    name->setFont(nameFont);

    auto* version = new QLabel(QStringLiteral("Version %1 (%2)").arg(appVersionString(), appBuildString()), this);
    version->setAlignment(Qt::AlignCenter);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    layout->addWidget(name);
    layout->addWidget(version);
    setFixedSize(sizeHint());
}

} // namespace vesk
