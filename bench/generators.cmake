q745_add_benchmark(generators_bench ${CMAKE_CURRENT_LIST_DIR}/GeneratorsBench.cpp LIBS q745core PkgConfig::MUPARSER)
