#include "generators/WaveformEditors.h"

#include "generators/MathOptions.h"
#include "generators/MathScreen.h"

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
    return editors;
}
