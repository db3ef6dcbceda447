#include "generators/HandDrawing.h"

#include <algorithm>

#include "core/Rounding.h"

namespace {

constexpr int LowestSample = 1;
constexpr int HighestSample = 255;

int limitIndex(const HandDrawing::Points& points, int index) {
    return std::clamp(index, 0, static_cast<int>(points.size()) - 1);
}

std::uint8_t sample(double value) {
    return static_cast<std::uint8_t>(
        roundHalfEven(std::clamp(value, double{LowestSample}, double{HighestSample})));
}

}  // namespace

void HandDrawing::setTool(HandTool tool) {
    tool_ = tool;
    drawing_ = false;
    curveHalfDone_ = false;
    preview_.reset();
}

void HandDrawing::strokeUndone() {
    drawing_ = false;
    curveHalfDone_ = false;
    preview_.reset();
}

void HandDrawing::press(Points& points, const Points& strokeCopy, int index, int value) {
    if (tool_ == HandTool::None || points.empty()) return;
    const Point at{limitIndex(points, index), std::clamp(value, LowestSample, HighestSample)};
    drawing_ = true;
    switch (tool_) {
        case HandTool::Pen:
            points[static_cast<std::size_t>(at.index)] = sample(at.value);
            previous_ = furthest_ = at.index;
            break;
        case HandTool::Line:
            first_ = at;
            preview_.reset();
            drawLine(points, strokeCopy, at);
            break;
        case HandTool::Curve:
            if (curveHalfDone_) {
                drawCurve(points, strokeCopy, at);
            } else {
                first_ = at;
                preview_.reset();
                drawLine(points, strokeCopy, at);
            }
            break;
        case HandTool::None:
            break;
    }
}

void HandDrawing::move(Points& points, const Points& strokeCopy, int index, int value) {
    if (!drawing_ || points.empty()) return;
    Point at{limitIndex(points, index), std::clamp(value, LowestSample, HighestSample)};
    switch (tool_) {
        case HandTool::Pen: {
            if (!allowBacktrack_ && at.index < furthest_)
                at.index = limitIndex(points, furthest_ + 1);
            const auto [from, to] = std::minmax(previous_, at.index);
            std::fill(points.begin() + from, points.begin() + to + 1, sample(at.value));
            previous_ = at.index;
            furthest_ = std::max(furthest_, at.index);
            break;
        }
        case HandTool::Line:
            drawLine(points, strokeCopy, at);
            break;
        case HandTool::Curve:
            if (curveHalfDone_)
                drawCurve(points, strokeCopy, at);
            else
                drawLine(points, strokeCopy, at);
            break;
        case HandTool::None:
            break;
    }
}

bool HandDrawing::release(Points& points, const Points& strokeCopy, int index, int value) {
    if (!drawing_) return false;
    // The pen has drawn at every move; a line or curve ends where the button comes up.
    if (tool_ != HandTool::Pen) move(points, strokeCopy, index, value);
    drawing_ = false;
    if (tool_ == HandTool::Curve && !curveHalfDone_) {
        curveHalfDone_ = true;
        return false;
    }
    curveHalfDone_ = false;
    preview_.reset();
    return true;
}

void HandDrawing::takeBackPreview(Points& points, const Points& strokeCopy) {
    if (!preview_ || strokeCopy.size() != points.size()) return;
    const auto [from, to] = *preview_;
    std::copy(strokeCopy.begin() + from, strokeCopy.begin() + to + 1, points.begin() + from);
    preview_.reset();
}

void HandDrawing::drawLine(Points& points, const Points& strokeCopy, Point to) {
    takeBackPreview(points, strokeCopy);
    second_ = to;
    const Point from = first_;
    if (from.index == to.index) {
        points[static_cast<std::size_t>(to.index)] = sample(to.value);
    } else {
        const double slope =
            static_cast<double>(to.value - from.value) / static_cast<double>(to.index - from.index);
        for (int i = std::min(from.index, to.index); i <= std::max(from.index, to.index); ++i)
            points[static_cast<std::size_t>(i)] = sample((i - from.index) * slope + from.value);
    }
    preview_ = std::minmax(from.index, to.index);
}

// The parabola through the three points, evaluated in Lagrange's form (the same curve as
// a x^2 + b x + c solved from the three equations, without the ill-conditioned system).
void HandDrawing::drawCurve(Points& points, const Points& strokeCopy, Point third) {
    takeBackPreview(points, strokeCopy);
    const Point p[3] = {first_, second_, third};
    if (p[0].index == p[1].index || p[0].index == p[2].index || p[1].index == p[2].index) return;
    const int from = std::min({p[0].index, p[1].index, p[2].index});
    const int to = std::max({p[0].index, p[1].index, p[2].index});
    for (int i = from; i <= to; ++i) {
        double y = 0;
        for (int k = 0; k < 3; ++k) {
            double weight = p[k].value;
            for (int j = 0; j < 3; ++j)
                if (j != k)
                    weight *= static_cast<double>(i - p[j].index) / (p[k].index - p[j].index);
            y += weight;
        }
        points[static_cast<std::size_t>(i)] = sample(y);
    }
    preview_ = std::pair{from, to};
}
