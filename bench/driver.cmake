q745_add_benchmark(driver_bench DriverBench.cpp LIBS q745drv q745drv_core)
