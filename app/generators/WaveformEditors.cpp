#include "generators/WaveformEditors.h"

#include "generators/AModulationScreen.h"
#include "generators/HandScreen.h"
#include "generators/HarmonicScreen.h"
#include "generators/MathOptions.h"
#include "generators/MathScreen.h"
#include "generators/NoiseScreen.h"
#include "generators/SquareScreen.h"

WaveformEditors programWaveformEditors() {
    WaveformEditors editors;
    editors.formula = [](const WaveformRecord& source,
                         const EditorContext& context) -> std::optional<WaveformRecord> {
        TMathForm form(source, context.owner);
        if (form.exec() != QDialog::Accepted || !form.produced()) return std::nullopt;
        return form.result();
    };
    editors.formulaOptions = [](WaveformRecord& record, const EditorContext& context) {
        TMathOptionsForm form(record, context.owner);
        return form.exec() == QDialog::Accepted && form.changed();
    };
    editors.hand = [](const WaveformRecord& source,
                      const EditorContext& context) -> std::optional<WaveformRecord> {
        THandForm form(source, context, context.owner);
        if (form.exec() != QDialog::Accepted) return std::nullopt;
        return form.result();
    };
    editors.harmonic = [](const WaveformRecord& source,
                          const EditorContext& context) -> std::optional<WaveformRecord> {
        THarmonicForm form(source, context.owner);
        if (form.exec() != QDialog::Accepted) return std::nullopt;
        return form.result();
    };
    editors.modulation = [](const WaveformRecord& source,
                            const EditorContext& context) -> std::optional<WaveformRecord> {
        TAModulationForm form(source, context, context.owner);
        if (form.exec() != QDialog::Accepted) return std::nullopt;
        return form.result();
    };
    editors.noise = [](const WaveformRecord& source,
                       const EditorContext& context) -> std::optional<WaveformRecord> {
        TNoiseForm form(source, context.owner);
        if (form.exec() != QDialog::Accepted) return std::nullopt;
        return form.result();
    };
    editors.square = [](WaveformRecord& record, const EditorContext& context) {
        TSquareForm form(record, context.owner);
        return form.exec() == QDialog::Accepted;
    };
    return editors;
}
