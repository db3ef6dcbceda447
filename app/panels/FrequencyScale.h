#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The ruler of a frequency panel without its window: the range, the visible part (view), the
// two zoom marks, linear or logarithmic divisions with the view and marks each kind keeps, the
// mapping between pixel columns and frequencies, and the ticks with their labels.
//
// The ruler runs from pixel Margin to pixel Margin + scaleWidth of its picture; the margins
// hold the arrows. Frequencies are in hertz.
class FrequencyScale {
public:
    static constexpr int Margin = 15;

    // How the divisions run: linear, logarithmic, or a linear window chosen symmetrically about
    // the program frequency (no zooming there).
    enum class Mode { Linear = 0, Logarithmic = 1, Window = 2 };

    struct Tick {
        double frequency = 0;
        bool major = false;
        std::string label;
    };

    // decadeFirstStep: the first logarithmic step goes from the lowest frequency to the next
    // power of ten rather than ten times the lowest frequency. The view starts at the whole
    // range, logarithmic, with the marks at the range's ends.
    FrequencyScale(double minFrequency, double maxFrequency, bool decadeFirstStep);

    double minFrequency() const { return min_; }
    double maxFrequency() const { return max_; }
    bool decadeFirstStep() const { return decadeFirstStep_; }
    // The step of the linear divisions: a tenth of the range, in whole hertz.
    double linearStep() const { return linearStep_; }

    // The picture's width; the ruler is 2 * Margin narrower (at least one pixel).
    void setImageWidth(int width);
    int scaleWidth() const { return scaleWidth_; }

    Mode mode() const { return mode_; }
    bool linear() const { return mode_ != Mode::Logarithmic; }
    double viewLow() const { return viewLow_; }
    double viewHigh() const { return viewHigh_; }
    // viewHigh - viewLow on a linear scale, log10(viewHigh / viewLow) decades on a logarithmic
    // one.
    double viewSpan() const { return viewSpan_; }
    double markA() const { return marks_[0]; }
    double markB() const { return marks_[1]; }
    // Which mark (1 A, 2 B) the next tick click sets.
    int nextMark() const { return nextMark_; }

    // ---- mapping ----
    // The exact pixel column of a frequency (not rounded; outside the ruler for a frequency
    // outside the view).
    double pixelOf(double frequency) const;
    // The same rounded to a whole column, held to a range an int keeps.
    int roundedPixelOf(double frequency) const;
    // The frequency under a (possibly fractional) pixel column.
    double frequencyAt(double x) const;
    bool insideScale(double x) const { return x >= Margin && x <= Margin + scaleWidth_; }

    // ---- divisions ----
    // The major ticks of the whole range: from the lowest frequency, by linearStep or by
    // decades, the last one at the highest frequency.
    std::vector<double> majorTicks() const;
    // Minor ticks between two major ones, by the number of major intervals in view.
    int minorTickCount() const;
    // The ticks inside the ruler with their labels (the frequency with its prefix, or the
    // decade multiple for minor ticks of a logarithmic scale), major ones first.
    std::vector<Tick> visibleTicks() const;

    // ---- operator's actions ----
    // A tick within 5 pixels of x that is not the other mark becomes mark nextMark, and
    // nextMark alternates. False when there is none.
    bool pickMark(int x);
    // The view becomes the stretch between the marks (not in Window mode).
    void zoomIn();
    // Both marks move one major tick outwards (never beyond the range's first and last tick),
    // then the view zooms to them (not in Window mode).
    void zoomOut();
    // Linear or logarithmic divisions: the view and marks of the kind left are kept and those of
    // the kind entered come back. Window mode counts as linear.
    void showLinear();
    void showLogarithmic();
    // Shifts the view so that the anchor frequency lies under column x, keeping the span as far
    // as the range allows.
    void panTo(double anchor, int x);
    // The window from the frequency under x to its mirror image about centre, each held within
    // the range; (low, high).
    std::pair<double, double> symmetricWindow(int x, double centre) const;
    // Makes that window the view in Window mode; false (nothing changes) when it is empty.
    bool fixWindow(int x, double centre);

private:
    struct SavedView {
        double low;
        double high;
        std::array<double, 2> marks;
    };

    void setView(double low, double high);
    void switchKind(bool toLinear);

    double min_;
    double max_;
    bool decadeFirstStep_;
    double linearStep_;
    int scaleWidth_ = 1;
    Mode mode_ = Mode::Logarithmic;
    double viewLow_;
    double viewHigh_;
    double viewSpan_ = 1;
    std::array<double, 2> marks_;
    int nextMark_ = 1;
    SavedView savedLinear_;
    SavedView savedLogarithmic_;
};

// The channel-B multiplier held to what the instrument can play: at most the highest frequency
// divided by the program frequency, at most 8192 points per octave step, and the highest
// frequency allowed for it (ratioLimit), which is also below the top of its octave.
struct MultiplierLimit {
    std::int32_t ratio = 1;
    double ratioLimit = 0;
};
MultiplierLimit limitMultiplier(double maxFrequency, double programFrequency, std::int32_t ratio,
                                std::int32_t sampleStep, double oscillatorPer16384);

// A power of two (1, 2, 4, ...): channel B's points then fall on whole sample steps.
bool isPowerOfTwo(std::int32_t value);

// The fine bar's position (1..200, 100 on the marker pixel) for a frequency's exact pixel and
// the marker's whole pixel.
int fineBarPosition(double exactPixel, int markerPixel);
