qv_benchmark(NAME database_benchmark SOURCES ${CMAKE_CURRENT_LIST_DIR}/database_benchmark.cpp
             DEPS qv_database qv_lib)
