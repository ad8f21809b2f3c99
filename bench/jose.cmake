# The JOSE library: parsing and verifying bearer tokens.
if(TARGET qv_jose)
  qv_benchmark(NAME jose_benchmark SOURCES ${CMAKE_CURRENT_LIST_DIR}/jose_benchmark.cpp DEPS qv_jose)
endif()
