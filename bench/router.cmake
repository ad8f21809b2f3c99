# Route tree dispatch over the server's 131 /v1 routes.
if(TARGET qv_web_core)
  qv_benchmark(NAME router_benchmark SOURCES ${CMAKE_CURRENT_LIST_DIR}/router_benchmark.cpp
               DEPS qv_web_core)
endif()
