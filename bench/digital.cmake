q745_add_benchmark(digital_bench ${CMAKE_CURRENT_LIST_DIR}/DigitalExpansionBench.cpp LIBS q745core)
