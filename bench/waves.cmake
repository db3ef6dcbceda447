q745_add_benchmark(waves_bench ${CMAKE_CURRENT_LIST_DIR}/WavesBench.cpp LIBS q745core)
