# The native build: the platform-free code, its tests and the benchmarks.

add_library(zo_portable STATIC $<TARGET_OBJECTS:zo_core>)
target_include_directories(zo_portable PUBLIC ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)

find_package(GTest REQUIRED)
file(GLOB native_tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*.cpp)
# The fuzz targets are built in too, each registering under its name, so
# that their corpora replay as ordinary tests.
file(GLOB fuzz_targets CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
add_executable(zo_native_tests ${native_tests} ${fuzz_targets})
target_link_libraries(zo_native_tests PRIVATE zo_portable GTest::gtest GTest::gtest_main)
target_include_directories(zo_native_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/native ${PROJECT_SOURCE_DIR}/fuzz)
target_compile_definitions(zo_native_tests PRIVATE ZO_FUZZ_REPLAY ZO_FUZZ_CORPUS="${PROJECT_SOURCE_DIR}/fuzz/corpus")
add_test(NAME zo_native_tests COMMAND zo_native_tests)

# The libFuzzer programs need clang: when it is there they are built as a
# project of their own (fuzz/CMakeLists.txt) in <build>/fuzz; scripts/fuzz
# runs them. The tests above stay with this tree's compiler.
find_program(ZO_CLANGXX NAMES clang++ clang++-14)
if(ZO_CLANGXX)
  set(fuzzers_default ON)
else()
  set(fuzzers_default OFF)
endif()
option(ZO_FUZZERS "Build the libFuzzer targets with clang in <build>/fuzz" ${fuzzers_default})
if(ZO_FUZZERS)
  include(ExternalProject)
  ExternalProject_Add(zo_fuzzers
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${ZO_CLANGXX}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
endif()

if(EXISTS ${PROJECT_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
