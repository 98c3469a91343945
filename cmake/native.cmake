# The native build: the platform-free code, its tests and the benchmarks.

add_library(zo_portable STATIC $<TARGET_OBJECTS:zo_core>)
target_include_directories(zo_portable PUBLIC ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)

find_package(GTest REQUIRED)
file(GLOB native_tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*.cpp)
add_executable(zo_native_tests ${native_tests})
target_link_libraries(zo_native_tests PRIVATE zo_portable GTest::gtest GTest::gtest_main)
target_include_directories(zo_native_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/native)
# The fuzzers' seed files replay as ordinary tests.
target_compile_definitions(zo_native_tests PRIVATE ZO_FUZZ_CORPUS="${PROJECT_SOURCE_DIR}/fuzz/corpus")
add_test(NAME zo_native_tests COMMAND zo_native_tests)

if(EXISTS ${PROJECT_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
