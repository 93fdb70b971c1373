#include "panels/InSessionPanel.h"

#include "core/TextFormat.h"
#include "helpers/AppHelpers.h"

namespace vesk {

namespace {

constexpr double hudMargin = 20;

PanelWindow::Configuration panelConfiguration(const InSessionPanel::Kind& kind)
{
    PanelWindow::Configuration configuration;
    configuration.title = kind.className;
    configuration.level = kind.level;
    configuration.canBecomeKey = kind.canBecomeKey;
    configuration.movableByWindowBackground = kind.movableByWindowBackground;
    return configuration;
}

} // namespace

InSessionPanel::InSessionPanel(Kind kind, const PanelEnvironment& environment)
    : PanelWindow(panelConfiguration(kind), Rect{0, 0, kind.size.width, kind.size.height}, environment.screens,
                  &environment.ownWindows)
    , kind_(std::move(kind))
    , environment_(environment)
    , logger_(kind_.className)
{
    logger_.log(VeskLogLevel::debug, kind_.className + QStringLiteral(" initialized"));
}

std::optional<Point> InSessionPanel::placedOrigin() const
{
    if (kind_.placement == Placement::atPointer) {
        return panelOriginNearMouse(kind_.size, pointFromQPointF(environment_.pointer.mouseLocation()),
                                    environment_.screens);
    }
    const std::optional<platform::ScreenInfo> main = environment_.screens.mainScreen();
    if (!main)
        return std::nullopt;
    const Rect visible = rectFromQRectF(main->visibleFrame);
    if (kind_.placement == Placement::topRightOfMainScreen)
        return Point{visible.maxX() - kind_.size.width - hudMargin, visible.maxY() - kind_.size.height - hudMargin};
    return Point{visible.midX() - kind_.size.width / 2, visible.midY() - kind_.size.height / 2};
}

void InSessionPanel::showContent(QWidget* view, const QString& logSuffix)
{
    if (view)
        view->setFixedSize(toQSizeF(kind_.size).toSize());
    setContentView(view);
    setFrame(Rect{frame().x, frame().y, kind_.size.width, kind_.size.height});
    if (const std::optional<Point> origin = placedOrigin())
        setFrameOrigin(*origin);
    makeKeyAndOrderFront();
    logger_.log(VeskLogLevel::info, kind_.shownName + QStringLiteral(" shown — level=") + QString::number(level())
                                        + QStringLiteral(", frame=") + rectText(toQRectF(frame())) + logSuffix);
}

} // namespace vesk
