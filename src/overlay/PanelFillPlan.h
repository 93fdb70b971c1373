#pragma once

#include <QRect>

#include <utility>
#include <vector>

namespace vesk {

// How one paint pass covers a black panel with transparent holes: the view
// cut into disjoint rects, black ones and hole ones, so that every pixel is
// written exactly once however the holes overlap. Rows of the view that cross
// the same holes share one rect. The plan keeps its storage from pass to pass.
class PanelFillPlan {
public:
    // `holes` in view pixels, in any order; they may overlap each other or
    // reach beyond the view.
    void plan(const QRect& view, const std::vector<QRect>& holes);

    const std::vector<QRect>& blackRects() const { return blackRects_; }
    const std::vector<QRect>& holeRects() const { return holeRects_; }

private:
    using Span = std::pair<int, int>; // [left, right) of one row band

    void collectSpans(int top, int bottom);
    void extendPreviousBand(int bottom);
    void addBand(const QRect& view, int top, int bottom);

    std::vector<QRect> holes_; // clipped to the view
    std::vector<int> rowEdges_;
    std::vector<Span> spans_;
    std::vector<Span> previousSpans_;
    size_t previousBlackStart_ = 0;
    size_t previousHoleStart_ = 0;
    std::vector<QRect> blackRects_;
    std::vector<QRect> holeRects_;
};

} // namespace vesk
