qv_benchmark(NAME middleware_benchmark
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/middleware_benchmark.cpp
  DEPS qv_web_middleware)
