# Route tree dispatch over the server's 131 /v1 routes.
if(TARGET qv_app)
  qv_benchmark(NAME router_benchmark SOURCES ${CMAKE_CURRENT_LIST_DIR}/router_benchmark.cpp
               DEPS qv_app)
endif()

# One trivial route behind the real provider, for bench/wrk_trivial.sh.
if(TARGET qv_web_core)
  add_executable(router_bench_server ${CMAKE_CURRENT_LIST_DIR}/router_bench_server.cpp)
  target_link_libraries(router_bench_server PRIVATE qv_web_core)
  qv_warnings(router_bench_server)
endif()
