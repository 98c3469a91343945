# The Windows build: libzo.a, the demo, and the tests that run under Wine.
enable_language(RC)

add_library(zo STATIC ${zo_win_sources} $<TARGET_OBJECTS:zo_core>)
add_library(zo::zo ALIAS zo)
# The project's own programs also reach the internal headers under src/.
target_include_directories(zo PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
                                     $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>
                                     $<INSTALL_INTERFACE:include>)
target_link_libraries(zo PUBLIC ddraw dsound winmm windowscodecs ole32 gdi32 user32 kernel32)
# What a game needs from its compiler: Japanese literals as Shift-JIS, and a
# self-contained .exe. (WinMain is asked for by zo.h itself.)
target_compile_options(zo INTERFACE $<$<CXX_COMPILER_ID:GNU>:-fexec-charset=CP932>)
target_link_options(zo INTERFACE $<$<CXX_COMPILER_ID:GNU>:-static>)

include(cmake/install.cmake)

# The bitmaps beside the programs that load them.
add_custom_target(zo_bitmaps ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/bmp ${CMAKE_BINARY_DIR}/bmp)

add_executable(Tessaro WIN32 src/app/demo.cpp)
target_link_libraries(Tessaro PRIVATE zo)
add_dependencies(Tessaro zo_bitmaps)

# OGG files for the sound tests and the music example, written by sox with
# a fixed seed (-R) so every build has the same ones: six seconds of stereo
# noise to follow sample by sample, a short tone, and a looping tune.
find_program(ZO_SOX sox)
if(ZO_SOX)
  set(zo_oggs ${CMAKE_BINARY_DIR}/oggs/noise.ogg ${CMAKE_BINARY_DIR}/oggs/tone.ogg
              ${CMAKE_BINARY_DIR}/oggs/tune.ogg)
  add_custom_command(OUTPUT ${zo_oggs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/oggs
    COMMAND ${ZO_SOX} -R -n -r 44100 -c 2 ${CMAKE_BINARY_DIR}/oggs/noise.ogg synth 6 whitenoise vol 0.4
    COMMAND ${ZO_SOX} -R -n -r 22050 -c 1 ${CMAKE_BINARY_DIR}/oggs/tone.ogg synth 1 sine 440 vol 0.5
    COMMAND ${ZO_SOX} -R -n -r 44100 -c 2 ${CMAKE_BINARY_DIR}/oggs/tune.ogg synth 0.75 pluck C4 pluck E4 : synth 0.75 pluck E4 pluck G4 : synth 0.75 pluck G4 pluck C5 : synth 0.75 pluck C5 pluck E5 repeat 3 vol 0.6
    COMMENT "Writing the OGG files of the tests and examples")
  add_custom_target(zo_oggs ALL DEPENDS ${zo_oggs})
else()
  message(STATUS "No sox: the OGG files of the sound tests and the music example are not written")
  add_custom_target(zo_oggs)
endif()

# Small example programs, each a scene of a few operations.
file(GLOB examples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.cpp)
foreach(example ${examples})
  get_filename_component(name ${example} NAME_WE)
  add_executable(${name} WIN32 ${example})
  target_link_libraries(${name} PRIVATE zo)
  add_dependencies(${name} zo_bitmaps zo_oggs)
  list(APPEND win_test_app_targets ${name})  # the examples test starts them
  list(APPEND example_names ${name})
endforeach()

# The effect gallery: one picture of every software effect (scripts/gallery).
add_executable(gallery WIN32 tools/gallery/gallery.cpp)
target_link_libraries(gallery PRIVATE zo)
target_include_directories(gallery PRIVATE ${PROJECT_SOURCE_DIR}/tools)  # the effect catalogue
add_dependencies(gallery zo_bitmaps)

# The silent MIDI output port that the test bed installs into its Wine
# prefix (scripts/lib/testbed.sh): without a port the MCI sequencer never
# reaches the end of a sequence.
# The 32-bit exports carry the stdcall decoration; the 64-bit ones have none.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZO_MIDI_DRIVER_EXPORTS "DriverProc\n  modMessage")
else()
  set(ZO_MIDI_DRIVER_EXPORTS "DriverProc = DriverProc@20\n  modMessage = modMessage@20")
endif()
configure_file(tests/win/midi_driver/silent_midi.def.in ${CMAKE_BINARY_DIR}/silent_midi.def @ONLY)
add_library(zo_silent_midi SHARED tests/win/midi_driver/silent_midi.c ${CMAKE_BINARY_DIR}/silent_midi.def)
set_target_properties(zo_silent_midi PROPERTIES PREFIX "" OUTPUT_NAME winezomidi SUFFIX ".drv")
target_link_libraries(zo_silent_midi PRIVATE winmm)
target_link_options(zo_silent_midi PRIVATE -static-libgcc)

# The tests need GoogleTest's sources (Debian ships them in /usr/src).
set(ZO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree for the Windows tests")
if(NOT EXISTS ${ZO_GTEST_SOURCE}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources at ${ZO_GTEST_SOURCE}: building without the Windows tests")
  return()
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB win_test_support CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/support/*.cpp)
add_library(zo_test_support OBJECT ${win_test_support})
target_link_libraries(zo_test_support PUBLIC zo gtest oleaut32)  # oleaut32: the JPEG encoder's options
# The picture type and the effect references are shared with the native tests.
target_include_directories(zo_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests/win/support ${PROJECT_SOURCE_DIR}/tests/native)

# Small programs that the tests start as separate processes.
file(GLOB win_test_apps CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/apps/*.cpp)
foreach(app ${win_test_apps})
  get_filename_component(name ${app} NAME_WE)
  add_executable(${name} WIN32 ${app})
  target_link_libraries(${name} PRIVATE zo)
  list(APPEND win_test_app_targets ${name})
endforeach()

# The demo scene with its frames timed and its resources sampled (scripts/soak).
add_executable(soak_demo WIN32 tests/win/soak/soak_demo.cpp tests/win/support/resource_count.cpp)
target_include_directories(soak_demo PRIVATE ${PROJECT_SOURCE_DIR}/tests/win/support)
target_link_libraries(soak_demo PRIVATE zo)

# One executable per module, each registered as one test.
file(GLOB win_tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*_test.cpp)
foreach(src ${win_tests})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  # A test's resources sit beside it as <name>.rc.
  if(EXISTS ${PROJECT_SOURCE_DIR}/tests/win/${name}.rc)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/win/${name}.rc)
  endif()
  target_link_libraries(${name} PRIVATE zo_test_support gtest_main)
  if(win_test_app_targets)
    add_dependencies(${name} ${win_test_app_targets})
  endif()
  add_test(NAME ${name} COMMAND ${name})
endforeach()

# The effect test makes every call of the effect catalogue.
target_include_directories(effects_test PRIVATE ${PROJECT_SOURCE_DIR}/tools)

# The native tree's seeded kernel comparisons built for Windows too, so that
# every vector form the processor has is proven in both builds under Wine.
file(GLOB kernel_form_tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*_kernels_test.cpp)
add_executable(kernel_forms_test ${kernel_form_tests} ${PROJECT_SOURCE_DIR}/tests/native/frame_expand_test.cpp)
target_include_directories(kernel_forms_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/native)
target_link_libraries(kernel_forms_test PRIVATE zo gtest_main)
add_test(NAME kernel_forms_test COMMAND kernel_forms_test)

# The examples test is told which examples there are, to check each.
list(JOIN example_names "," example_list)
target_compile_definitions(examples_test PRIVATE ZO_EXAMPLES="${example_list}")

# The hostile files are written beside their test by a generator with a
# fixed seed, so every build loads the same corpus.
if(TARGET hostile_files_test)
  find_program(ZO_PYTHON NAMES python3 REQUIRED)
  set(hostile_list ${CMAKE_BINARY_DIR}/hostile/list.txt)
  # Its good BMP files are the BMP check's seeds.
  file(GLOB hostile_bmps CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/corpus/bmp_check/ok-*.bmp)
  # The picture header seeds and the OGG seeds become files of their kind.
  file(GLOB hostile_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/corpus/image_header/*.bin)
  file(GLOB hostile_oggs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/corpus/ogg_decode/ok-*.ogg)
  add_custom_command(OUTPUT ${hostile_list}
    COMMAND ${ZO_PYTHON} ${PROJECT_SOURCE_DIR}/tools/make_hostile_files.py ${CMAKE_BINARY_DIR}/hostile
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_hostile_files.py ${PROJECT_SOURCE_DIR}/tools/ogg_mutations.py
            ${hostile_bmps} ${hostile_pictures} ${hostile_oggs}
    COMMENT "Writing the hostile-file corpus")
  add_custom_target(hostile_files ALL DEPENDS ${hostile_list})
  add_dependencies(hostile_files_test hostile_files)
endif()
