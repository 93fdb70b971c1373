#include "panels/InSessionPanel.h"

#include "core/TextFormat.h"
#include "panels/PanelPlacement.h"

#include <QLayout>

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
    configuration.shadowMargins = kind.shadowMargins;
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
        return panelOriginNearMouse(Size{frame().width, frame().height},
                                    pointFromQPointF(environment_.pointer.mouseLocation()), environment_.screens);
    }
    const std::optional<platform::ScreenInfo> main = environment_.screens.mainScreen();
    if (!main)
        return std::nullopt;
    const Rect visible = rectFromQRectF(main->visibleFrame);
    const Rect& placed = frame();
    if (kind_.placement == Placement::topRightOfMainScreen)
        return Point{visible.maxX() - placed.width - hudMargin, visible.maxY() - placed.height - hudMargin};
    return Point{visible.midX() - placed.width / 2, visible.midY() - placed.height / 2};
}

void InSessionPanel::showContent(QWidget* view, const QString& logSuffix)
{
    Size size = kind_.size;
    if (view && kind_.viewSetsItsHeight) {
        view->setFixedWidth(int(size.width));
        size.height = std::max(size.height, double(view->minimumHeight()));
    } else if (view) {
        view->setFixedSize(toQSizeF(size).toSize());
    }
    setContentView(view);
    if (view)
        layout()->setAlignment(view, Qt::AlignTop);
    setFrame(Rect{frame().x, frame().y, size.width, size.height});
    if (const std::optional<Point> origin = placedOrigin())
        setFrameOrigin(*origin);
    makeKeyAndOrderFront();
    logger_.log(VeskLogLevel::info, kind_.shownName + QStringLiteral(" shown — level=") + QString::number(level())
                                        + QStringLiteral(", frame=") + rectText(toQRectF(frame())) + logSuffix);
}

} // namespace vesk
