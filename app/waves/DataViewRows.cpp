#include "waves/DataViewRows.h"

#include "core/UnitFormat.h"
#include "generators/AddNoise.h"
#include "generators/AmplitudeModulation.h"
#include "generators/HarmonicParameterBlock.h"

namespace {

constexpr double RmsOfSine = 0.707;
// Half the points of the period: a component of n periods needs a step of at most 8192 / n.
constexpr double NyquistPoints = 8192;

std::string voltsText(double volts) {
    return formatVoltage(volts) + "V";
}

std::string hertzText(double hertz) {
    return formatFrequencyShort(hertz) + "Hz";
}

// The generator plays every step-th point of the period (channel B step times m points).
double pointStep(const DataViewChannelInput& input) {
    return static_cast<double>(input.sampleStep) * input.multiplier;
}

void harmonicRows(const DataViewChannelInput& input, ChannelDataView& view) {
    const HarmonicParameterBlock block = decodeHarmonicParams(input.record->params);
    const double fundamental = input.frequency * input.multiplier;
    const double fundamentalVolts = RmsOfSine * input.levelMillivolts * block.halfScale / 1000;
    view.rows.push_back({"1.", hertzText(fundamental), voltsText(fundamentalVolts), "0", false});
    for (int k = 0; k < block.count && view.rows.size() < kDataViewHarmonicRows; ++k) {
        const HarmonicRecord& harmonic = block.harmonics[static_cast<std::size_t>(k)];
        if (!harmonic.marked) continue;
        const double order = harmonic.number;
        view.rows.push_back({std::to_string(harmonic.number) + ".", hertzText(fundamental * order),
                             voltsText(harmonic.amplitude / 127 * fundamentalVolts),
                             std::to_string(harmonic.phaseDegrees),
                             beyondReproduction(pointStep(input), order)});
    }
}

}  // namespace

ChannelDataView channelDataView(const DataViewChannelInput& input) {
    ChannelDataView view;
    if (input.record == nullptr || input.record->isEmpty()) return view;
    switch (input.record->generatorKind) {
        case kGeneratorHarmonic:
            view.kind = DataViewKind::Harmonics;
            harmonicRows(input, view);
            break;
        case kGeneratorModulation: {
            view.kind = DataViewKind::Modulation;
            const ModulationParams modulation = decodeModulationParams(input.record->params);
            const double carrier = modulation.carrierPeriods;
            view.modulationLevel =
                voltsText((100 - modulation.minimumAmplitude) * input.levelMillivolts / 200000);
            view.carrierFrequency = hertzText(input.frequency * carrier * input.multiplier);
            view.carrierRed = beyondReproduction(pointStep(input), carrier);
            break;
        }
        case kGeneratorNoise:
            view.kind = DataViewKind::Noise;
            view.noiseLevel = voltsText(decodeNoiseParams(input.record->params).level *
                                        input.levelMillivolts / 254000);
            break;
        default:
            break;
    }
    return view;
}

bool beyondReproduction(double pointStep, double periods) {
    return pointStep > NyquistPoints / periods;
}

std::string noDataText(int channel) {
    return std::string("No data available for channel ") + (channel == 0 ? "A" : "B");
}
