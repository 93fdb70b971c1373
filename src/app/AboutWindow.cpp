#include "app/AboutWindow.h"

#include "core/AppVersion.h"
#include "ui/VeskFont.h"
#include "ui/VeskTheme.h"
#include "ui/WormveskSymbol.h"
#include "ui/WormveskSymbolMotion.h"

#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>

namespace vesk {

namespace {

constexpr int symbolTop = 34;

QLabel* centredLabel(const QFont& font, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QString desktopName, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint)
    , desktopName_(std::move(desktopName))
{
    const VeskTheme& theme = VeskTheme::shared();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, symbolTop + static_cast<int>(symbolSide) + 18, 24, 26);
    layout->setSpacing(0);

    QFont nameFont = VeskFont::interface(22, QFont::DemiBold);
    nameFont.setLetterSpacing(QFont::AbsoluteSpacing, 2.6);
    QLabel* name = centredLabel(nameFont, theme.textStrong, this);
    name->setText(QStringLiteral("VESK"));

    version_ = centredLabel(VeskFont::interface(12), theme.textMuted, this);
    version_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!desktopName_.isEmpty())
        desktop_ = centredLabel(VeskFont::interface(10.5), theme.textSecondary, this);
    copyright_ = centredLabel(VeskFont::interface(10.5), theme.textSecondary, this);
    copyright_->setWordWrap(true);

    layout->addWidget(name);
    layout->addSpacing(6);
    layout->addWidget(version_);
    if (desktop_) {
        layout->addSpacing(4);
        layout->addWidget(desktop_);
    }
    layout->addStretch(1);
    layout->addWidget(copyright_);
    setFixedSize(windowWidth, windowHeight);
    retranslate(Localizer());

    // Closes like the settings, also where the window has no title bar.
    for (auto* close : {new QShortcut(QKeySequence::Close, this), new QShortcut(QKeySequence(Qt::Key_Escape), this)})
        connect(close, &QShortcut::activated, this, &QWidget::close);
}

void AboutWindow::retranslate(const Localizer& localizer)
{
    setWindowTitle(localizer.translate("AboutWindow", "Über VESK"));
    version_->setText(localizer.translate("AboutWindow", "Version %1 (%2)").arg(appVersionString(), appBuildString()));
    if (desktop_)
        desktop_->setText(localizer.translate("AboutWindow", "Desktop: %1")
                              .arg(localizer.translate("AboutWindow", desktopName_.toUtf8().constData())));
    copyright_->setText(localizer.translate("AboutWindow", "© 2026 VESK. Alle Rechte vorbehalten."));
}

QRectF AboutWindow::symbolRect() const
{
    return {(width() - symbolSide) / 2, static_cast<double>(symbolTop), symbolSide, symbolSide};
}

void AboutWindow::paintEvent(QPaintEvent*)
{
    const VeskTheme& theme = VeskTheme::shared();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    painter.fillRect(bounds, theme.windowGradient.in(bounds));
    // The symbol stands in the softer of the two nebulae, as on the setup screen.
    const QRectF symbol = symbolRect();
    painter.fillRect(bounds, theme.nebula[1].in(symbol));
    WormveskSymbol::paint(painter, symbol, WormveskSymbolMotion::still(), false);
}

} // namespace vesk
