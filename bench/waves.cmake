q745_add_benchmark(waves_bench ${CMAKE_CURRENT_LIST_DIR}/WavesBench.cpp LIBS q745core PkgConfig::FFTW3)
# The same freedom as the statistics themselves have (no errno, no exception flags), so that the
# peer's rounding of the magnitudes runs as fast as ours.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/WavesBench.cpp
                            PROPERTIES COMPILE_OPTIONS "-fno-math-errno;-fno-trapping-math")
