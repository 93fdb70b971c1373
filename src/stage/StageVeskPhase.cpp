#include "stage/StageVeskPhase.h"

namespace vesk {

namespace {

constexpr double slotGap = 12;

} // namespace

QString toRaw(StageVeskPhase phase)
{
    switch (phase) {
    case StageVeskPhase::focus:
        return QStringLiteral("focus");
    case StageVeskPhase::split:
        return QStringLiteral("split");
    case StageVeskPhase::tri:
        return QStringLiteral("tri");
    case StageVeskPhase::quad:
        return QStringLiteral("quad");
    case StageVeskPhase::freestyle:
        return QStringLiteral("freestyle");
    }
    return {};
}

int numericValue(StageVeskPhase phase)
{
    return static_cast<int>(phase);
}

std::optional<StageVeskPhase> stageVeskPhaseFromNumber(qint64 number)
{
    for (StageVeskPhase phase : allCases<StageVeskPhase>()) {
        if (numericValue(phase) == number)
            return phase;
    }
    return std::nullopt;
}

std::optional<int> slotCount(StageVeskPhase phase)
{
    if (phase == StageVeskPhase::freestyle)
        return std::nullopt;
    return numericValue(phase);
}

QString phaseLabel(StageVeskPhase phase)
{
    switch (phase) {
    case StageVeskPhase::focus:
        return QStringLiteral("Fokus");
    case StageVeskPhase::split:
        return QStringLiteral("Split");
    case StageVeskPhase::tri:
        return QStringLiteral("Tri");
    case StageVeskPhase::quad:
        return QStringLiteral("Quad");
    case StageVeskPhase::freestyle:
        return QStringLiteral("Freestyle");
    }
    return {};
}

Rect slotFrame(StageVeskPhase phase, int slot, const Rect& area)
{
    const double width = area.width - slotGap;
    const double height = area.height - slotGap;
    switch (phase) {
    case StageVeskPhase::focus:
    case StageVeskPhase::freestyle:
        return area;
    case StageVeskPhase::split: {
        const double columnWidth = width * 0.5;
        return {area.minX() + (columnWidth + slotGap) * slot, area.minY(), columnWidth, area.height};
    }
    case StageVeskPhase::tri: {
        const double leftWidth = (width + width) / 3;
        if (slot == 0)
            return {area.minX(), area.minY(), leftWidth, area.height};
        const double paneHeight = height * 0.5;
        return {leftWidth + area.minX() + slotGap, area.minY() + (paneHeight + slotGap) * (slot - 1), width - leftWidth,
                paneHeight};
    }
    case StageVeskPhase::quad: {
        const double cellWidth = width * 0.5;
        const double cellHeight = height * 0.5;
        const int column = slot % 2;
        const int row = slot / 2;
        return {area.minX() + (cellWidth + slotGap) * column, area.minY() + (cellHeight + slotGap) * row, cellWidth,
                cellHeight};
    }
    }
    return area;
}

} // namespace vesk
