// plain_statistics IN OUT: the spectra of the 16384-sample records in IN, as the copy of the
// statistics built for the plainest x86-64 processor computes them. For each record OUT gets
// bins 0..8192, each as its real and imaginary parts and its rounded magnitude.
#include <cstdio>
#include <vector>

#include "waves/WaveformStatistics.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    std::FILE* in = std::fopen(argv[1], "rb");
    std::FILE* out = std::fopen(argv[2], "wb");
    if (in == nullptr || out == nullptr) return 2;
    std::vector<std::uint8_t> samples(kWavePointCount);
    SpectrumWorkArea workArea;
    while (std::fread(samples.data(), 1, samples.size(), in) == samples.size()) {
        workArea.transform(samples);
        for (std::size_t k = 0; k <= samples.size() / 2; ++k) {
            const double parts[2] = {workArea.bin(k).real(), workArea.bin(k).imag()};
            const std::int64_t magnitude = workArea.roundedMagnitude(k);
            std::fwrite(parts, sizeof parts, 1, out);
            std::fwrite(&magnitude, sizeof magnitude, 1, out);
        }
    }
    return std::fclose(in) == 0 && std::fclose(out) == 0 ? 0 : 1;
}
