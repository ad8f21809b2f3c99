qv_benchmark(NAME json_benchmark SOURCES ${CMAKE_CURRENT_LIST_DIR}/json_benchmark.cpp DEPS qv_lib)
