#include "overlay/PanelFillPlan.h"

#include <algorithm>

namespace vesk {

namespace {

int bottomEdge(const QRect& rect)
{
    return rect.y() + rect.height();
}

int rightEdge(const QRect& rect)
{
    return rect.x() + rect.width();
}

} // namespace

void PanelFillPlan::plan(const QRect& view, const std::vector<QRect>& holes)
{
    blackRects_.clear();
    holeRects_.clear();
    holes_.clear();
    rowEdges_.clear();
    previousSpans_.clear();
    if (view.isEmpty())
        return;
    for (const QRect& hole : holes) {
        const QRect piece = hole.intersected(view);
        if (!piece.isEmpty())
            holes_.push_back(piece);
    }
    // The view falls into bands of rows between the holes' top and bottom
    // edges; within a band every hole covers all rows or none.
    rowEdges_.push_back(view.y());
    rowEdges_.push_back(bottomEdge(view));
    for (const QRect& hole : holes_) {
        rowEdges_.push_back(hole.y());
        rowEdges_.push_back(bottomEdge(hole));
    }
    std::sort(rowEdges_.begin(), rowEdges_.end());
    rowEdges_.erase(std::unique(rowEdges_.begin(), rowEdges_.end()), rowEdges_.end());

    bool hasPreviousBand = false;
    for (size_t edge = 0; edge + 1 < rowEdges_.size(); ++edge) {
        const int top = rowEdges_[edge];
        const int bottom = rowEdges_[edge + 1];
        collectSpans(top, bottom);
        if (hasPreviousBand && spans_ == previousSpans_) {
            extendPreviousBand(bottom);
            continue;
        }
        addBand(view, top, bottom);
        previousSpans_.swap(spans_);
        hasPreviousBand = true;
    }
}

void PanelFillPlan::collectSpans(int top, int bottom)
{
    spans_.clear();
    for (const QRect& hole : holes_) {
        if (hole.y() <= top && bottomEdge(hole) >= bottom)
            spans_.push_back({hole.x(), rightEdge(hole)});
    }
    std::sort(spans_.begin(), spans_.end());
    // Overlapping and touching spans become one.
    size_t merged = 0;
    for (size_t index = 1; index < spans_.size(); ++index) {
        if (spans_[index].first <= spans_[merged].second)
            spans_[merged].second = std::max(spans_[merged].second, spans_[index].second);
        else
            spans_[++merged] = spans_[index];
    }
    if (!spans_.empty())
        spans_.resize(merged + 1);
}

void PanelFillPlan::extendPreviousBand(int bottom)
{
    for (size_t index = previousBlackStart_; index < blackRects_.size(); ++index)
        blackRects_[index].setBottom(bottom - 1);
    for (size_t index = previousHoleStart_; index < holeRects_.size(); ++index)
        holeRects_[index].setBottom(bottom - 1);
}

void PanelFillPlan::addBand(const QRect& view, int top, int bottom)
{
    previousBlackStart_ = blackRects_.size();
    previousHoleStart_ = holeRects_.size();
    const int height = bottom - top;
    int x = view.x();
    for (const Span& span : spans_) {
        if (span.first > x)
            blackRects_.push_back(QRect(x, top, span.first - x, height));
        holeRects_.push_back(QRect(span.first, top, span.second - span.first, height));
        x = span.second;
    }
    if (x < rightEdge(view))
        blackRects_.push_back(QRect(x, top, rightEdge(view) - x, height));
}

} // namespace vesk
