# Project-wide helpers: warnings on our own targets, sanitizers on everything.

if(NOT QV_SANITIZE STREQUAL "")
  string(REPLACE "," ";" _qv_san_list "${QV_SANITIZE}")
  set(_qv_san_flags "-fsanitize=${QV_SANITIZE}" -fno-omit-frame-pointer -g)
  if("undefined" IN_LIST _qv_san_list)
    list(APPEND _qv_san_flags -fno-sanitize-recover=undefined)
  endif()
  add_compile_options(${_qv_san_flags})
  add_link_options("-fsanitize=${QV_SANITIZE}")
  # Asio's std::atomic_thread_fence makes GCC warn under ThreadSanitizer in
  # every target that includes its headers; the fences are not what guards
  # Asio's shared state, so the warning is noise. Clang has no such warning.
  if("thread" IN_LIST _qv_san_list AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-tsan)
  endif()
endif()

# Fuzzing: every library gets libFuzzer's coverage instrumentation and
# ASan+UBSan; the entry points in fuzz/ link libFuzzer itself.
if(QV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QV_FUZZ needs clang: -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  if(NOT QV_SANITIZE STREQUAL "")
    message(FATAL_ERROR "QV_FUZZ brings its own sanitizers; leave QV_SANITIZE empty")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fsanitize-ignorelist=${PROJECT_SOURCE_DIR}/fuzz/ubsan_ignorelist.txt
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# Our code is held to -Wall -Wextra -Werror; third-party headers come in as
# system headers and are not.
function(qv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
endfunction()

# qv_library(NAME qv_x SOURCES ... DEPS ...): one static library per layer, with
# its public include root at src/.
function(qv_library)
  cmake_parse_arguments(A "" "NAME" "SOURCES;DEPS;SYSTEM_DEPS" ${ARGN})
  add_library(${A_NAME} STATIC ${A_SOURCES})
  target_include_directories(${A_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${A_NAME} PUBLIC ${A_DEPS} ${A_SYSTEM_DEPS})
  qv_warnings(${A_NAME})
endfunction()

# qv_test(NAME x SOURCES ... DEPS ... [LABELS ...]): one GoogleTest binary,
# run by ctest as one test. Binaries labelled "db" or "e2e" share the test
# MariaDB and never run at the same time as each other.
function(qv_test)
  cmake_parse_arguments(A "" "NAME" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${A_NAME} ${A_SOURCES})
  target_link_libraries(${A_NAME} PRIVATE ${A_DEPS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  qv_warnings(${A_NAME})
  set(_labels unit)
  if(A_LABELS)
    set(_labels ${A_LABELS})
  endif()
  add_test(NAME ${A_NAME} COMMAND ${A_NAME} --gtest_color=no)
  set_tests_properties(${A_NAME} PROPERTIES LABELS "${_labels}" TIMEOUT 900)
  if("db" IN_LIST _labels OR "e2e" IN_LIST _labels)
    set_tests_properties(${A_NAME} PROPERTIES RESOURCE_LOCK mariadb)
  endif()
endfunction()

# qv_benchmark(NAME x SOURCES ... DEPS ...): one Google Benchmark program.
function(qv_benchmark)
  cmake_parse_arguments(A "" "NAME" "SOURCES;DEPS" ${ARGN})
  add_executable(${A_NAME} ${A_SOURCES})
  target_link_libraries(${A_NAME} PRIVATE ${A_DEPS} benchmark::benchmark benchmark::benchmark_main Threads::Threads)
  qv_warnings(${A_NAME})
endfunction()
