#include "ui/ApplicationLook.h"

#include "ui/StyleSheetColor.h"
#include "ui/VeskFont.h"

#include <QApplication>

namespace vesk {

namespace {

// `color` laid over `background`: palette roles and the borders of top-level
// popups need opaque colours.
QColor over(const QColor& color, const QColor& background)
{
    const double a = color.alphaF();
    return QColor::fromRgbF(static_cast<float>(color.redF() * a + background.redF() * (1 - a)),
                            static_cast<float>(color.greenF() * a + background.greenF() * (1 - a)),
                            static_cast<float>(color.blueF() * a + background.blueF() * (1 - a)));
}

} // namespace

QPalette ApplicationLook::palette(const VeskTheme& theme)
{
    const QColor surface = theme.panelTop;
    QPalette palette;
    palette.setColor(QPalette::Window, surface);
    palette.setColor(QPalette::WindowText, theme.textPrimary);
    palette.setColor(QPalette::Base, theme.panelBottom);
    palette.setColor(QPalette::AlternateBase, over(theme.inset, theme.panelBottom));
    palette.setColor(QPalette::Text, theme.textPrimary);
    palette.setColor(QPalette::PlaceholderText, theme.textSecondary);
    palette.setColor(QPalette::Button, over(theme.insetStrong, surface));
    palette.setColor(QPalette::ButtonText, theme.textPrimary);
    palette.setColor(QPalette::BrightText, theme.textStrong);
    palette.setColor(QPalette::Highlight, theme.accent);
    palette.setColor(QPalette::HighlightedText, theme.accentText);
    palette.setColor(QPalette::Link, theme.accent);
    palette.setColor(QPalette::LinkVisited, theme.accentDeep);
    palette.setColor(QPalette::ToolTipBase, surface);
    palette.setColor(QPalette::ToolTipText, theme.textPrimary);
    // The bevels of the platform's style: faint lines on the dark surface.
    palette.setColor(QPalette::Light, over(theme.hairlineStrong, surface));
    palette.setColor(QPalette::Midlight, over(theme.hairline, surface));
    palette.setColor(QPalette::Mid, over(theme.hairlineStrong, surface));
    palette.setColor(QPalette::Dark, theme.bgBottom);
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, theme.textDim);
    return palette;
}

QString ApplicationLook::styleSheet(const VeskTheme& theme)
{
    const QString surface = styleSheetColor(theme.panelTop);
    const QString border = styleSheetColor(over(theme.hairlineStrong, theme.panelTop));
    const QString text = styleSheetColor(theme.textPrimary);
    const QString selection = styleSheetColor(theme.accent);
    const QString selectionText = styleSheetColor(theme.accentText);
    const QString disabled = styleSheetColor(theme.textDim);
    // Sizes in pixels: Vesk's points are logical pixels.
    const QString font = QStringLiteral("font-family: \"%1\"; font-size: %2px;").arg(VeskFont::interfaceFamily);
    return QStringLiteral("QMenu { color: %1; background: %2; border: 1px solid %3; padding: 5px 0; %7 }"
                          " QMenu::item { padding: 4px 22px 4px 16px; background: transparent; }"
                          " QMenu::item:selected { color: %4; background: %5; }"
                          " QMenu::item:disabled { color: %6; background: transparent; }"
                          " QMenu::separator { height: 1px; background: %3; margin: 4px 10px; }"
                          " QComboBoxPrivateContainer { background: %2; border: 1px solid %3; }"
                          " QComboBox { selection-color: %4; selection-background-color: %5; }"
                          " QComboBox QAbstractItemView { color: %1; background: %2; border: none; outline: none;"
                          " selection-color: %4; selection-background-color: %5; }"
                          " QToolTip { color: %1; background: %2; border: 1px solid %3; padding: 3px 6px; %8 }")
        .arg(text, surface, border, selectionText, selection, disabled, font.arg(13), font.arg(12));
}

void ApplicationLook::apply(QApplication& application, const VeskTheme& theme)
{
    QApplication::setPalette(palette(theme));
    application.setStyleSheet(styleSheet(theme));
}

} // namespace vesk
