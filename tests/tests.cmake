# Tests: GoogleTest built with the same cross compiler, run under Wine by CTest.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/rig/wine-run)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
# GoogleTest's own warnings are not ours to fix.
set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set(CMAKE_COMPILE_WARNING_AS_ERROR ON)

# One test program per layer, from the layer's *_test.cpp files.
function(add_layer_tests layer library)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*_test.cpp)
  if(sources)
    add_executable(${layer}_tests ${sources} ${ARGN})
    # The tests register the common controls themselves.
    target_link_libraries(${layer}_tests PRIVATE ${library} comctl32 gtest gtest_main)
    target_include_directories(${layer}_tests PRIVATE ${CMAKE_SOURCE_DIR})
    # The tests start the peer programs from beside themselves.
    if(HELPER_TARGETS)
      add_dependencies(${layer}_tests ${HELPER_TARGETS})
    endif()
    # Run by the runner that fails a program that faulted or stopped before its summary.
    add_test(NAME ${layer}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/rig/gtest-run $<TARGET_FILE:${layer}_tests>)
    set_tests_properties(${layer} PROPERTIES TIMEOUT 300 RESOURCE_LOCK session_display COST 3)
  endif()
endfunction()

# Small Windows programs that tests start as peers: one program per file.
file(GLOB helper_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/helpers/*.cpp)
foreach(source ${helper_sources})
  get_filename_component(helper ${source} NAME_WE)
  add_executable(${helper} ${source})
  # They share the runtime's owners and the header-only GDI guards, included from the source root.
  target_link_libraries(${helper} PRIVATE retazo_runtime)
  list(APPEND HELPER_TARGETS ${helper})
endforeach()

# Programs that misbehave on purpose, for the checks that must catch them: a DLL that an attacker
# plants beside the tool under a system DLL's name, in a folder of its own so that no program here
# loads it, and a test program that faults where Wine carries on, for the runner of test programs.
add_library(planted_uxtheme SHARED ${CMAKE_SOURCE_DIR}/tests/misbehaving/planted_uxtheme.cpp)
set_target_properties(planted_uxtheme PROPERTIES OUTPUT_NAME uxtheme PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
add_executable(misbehaving_tests ${CMAKE_SOURCE_DIR}/tests/misbehaving/misbehaving_tests.cpp)
target_link_libraries(misbehaving_tests PRIVATE gtest gtest_main)

add_layer_tests(runtime retazo_runtime)
add_layer_tests(graphics retazo_graphics)
set(DIALOG_TEST_RESOURCES ${CMAKE_SOURCE_DIR}/tests/support/dialog_test_resources.rc)
add_layer_tests(dialogs retazo_dialogs ${DIALOG_TEST_RESOURCES})
# The images that the dialog tests' resources name are drawn by a script of ours.
set(DIALOG_TEST_IMAGES ${CMAKE_BINARY_DIR}/dialog_test_images)
add_custom_command(OUTPUT ${DIALOG_TEST_IMAGES}/bands.bmp ${DIALOG_TEST_IMAGES}/alpha.bmp
  ${DIALOG_TEST_IMAGES}/badge.ico
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/support/make_dialog_test_images.py ${DIALOG_TEST_IMAGES}
  DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/make_dialog_test_images.py)
set_source_files_properties(${DIALOG_TEST_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${DIALOG_TEST_IMAGES}/bands.bmp;${DIALOG_TEST_IMAGES}/alpha.bmp;${DIALOG_TEST_IMAGES}/badge.ico;${CMAKE_SOURCE_DIR}/tests/support/common_controls6.manifest")
target_include_directories(dialogs_tests PRIVATE ${DIALOG_TEST_IMAGES})
add_layer_tests(tool retazo_tool)

# The shipped executable: this tree's own, unless the tests run in a tree of another architecture.
set(RETAZO_PRODUCT ${CMAKE_BINARY_DIR}/Retazo.exe CACHE FILEPATH "the 32-bit Retazo.exe that ships")

# Checks run on the host: the built product file, its reproducible build, the release zip, and
# the tool driven end to end by X input. Those that drive the tool share the session's display
# one at a time, and run first so that the rest fills the other slot of a parallel run. They all
# run once more in one session of their own under a window manager, as on a desktop.
file(GLOB host_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.py)
# A drag past the primary monitor runs in a session of its own, whose display has a second one.
list(REMOVE_ITEM host_tests ${CMAKE_SOURCE_DIR}/tests/tool_second_monitor_test.py)
set(HOST_TEST_ENVIRONMENT "RETAZO_BUILD=${CMAKE_BINARY_DIR};RETAZO_SOURCE=${CMAKE_SOURCE_DIR}"
  "RETAZO_PRODUCT=${RETAZO_PRODUCT};RETAZO_VERSION=${PROJECT_VERSION}")
# The tests that drive the tool with X input, and so take the display in turn.
set(tool_driving_modules clipboard_x11_test platform_refusal_test tool_cancel_test
  tool_export_test tool_selection_test)
foreach(script ${host_tests})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME ${name} COMMAND Python3::Interpreter ${script})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900 ENVIRONMENT "${HOST_TEST_ENVIRONMENT}")
endforeach()
set_tests_properties(${tool_driving_modules} PROPERTIES RESOURCE_LOCK session_display COST 3)
add_test(NAME window_manager COMMAND ${CMAKE_SOURCE_DIR}/tests/rig/session.sh --window-manager
  $<TARGET_FILE:Python3::Interpreter> -m unittest -v ${tool_driving_modules}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tests)
set_tests_properties(window_manager PROPERTIES TIMEOUT 1200 COST 2
  ENVIRONMENT "${HOST_TEST_ENVIRONMENT}")
add_test(NAME second_monitor COMMAND ${CMAKE_SOURCE_DIR}/tests/rig/session.sh --primary-monitor 800x600
  --window-manager $<TARGET_FILE:Python3::Interpreter> -m unittest -v tool_second_monitor_test
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tests)
set_tests_properties(second_monitor PROPERTIES TIMEOUT 300 COST 1 ENVIRONMENT "${HOST_TEST_ENVIRONMENT}")

# The same end-to-end tests under Debian 13's Wine 10 with a window manager, and the selection
# tests again on a desktop scaled to 144 dots per inch, which Wine 10 virtualizes for programs
# that do not declare themselves DPI-aware.
add_test(NAME wine10_window_manager COMMAND ${CMAKE_SOURCE_DIR}/tests/rig/session.sh --wine 10
  --window-manager $<TARGET_FILE:Python3::Interpreter> -m unittest -v ${tool_driving_modules}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tests)
add_test(NAME wine10_scaled_desktop COMMAND ${CMAKE_SOURCE_DIR}/tests/rig/session.sh --wine 10
  --window-manager --dpi 144 $<TARGET_FILE:Python3::Interpreter> -m unittest -v tool_selection_test
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tests)
set_tests_properties(wine10_window_manager wine10_scaled_desktop PROPERTIES TIMEOUT 1200 COST 2
  ENVIRONMENT "${HOST_TEST_ENVIRONMENT}")

# A second compiler builds the product without a warning.
add_test(NAME clang_build COMMAND ${CMAKE_CTEST_COMMAND}
  --build-and-test ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/clang-build
  --build-generator Ninja --build-target Retazo --build-noclean
  --build-options -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/clang-i686.cmake
    -DBUILD_TESTING=OFF)
set_tests_properties(clang_build PROPERTIES TIMEOUT 900 COST 1)

# Benchmarks: programs that print figures (run by scripts/bench.sh, never as tests).
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
foreach(source ${bench_sources})
  get_filename_component(bench ${source} NAME_WE)
  add_executable(${bench} ${source})
  target_link_libraries(${bench} PRIVATE retazo_tool)
  # The Wine floor starts as the tool does: as a GUI program, without a console, with its manifest.
  if(bench STREQUAL "wine_floor")
    set_target_properties(${bench} PROPERTIES WIN32_EXECUTABLE ON)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/wine_floor.rc CONTENT
         "#include <winuser.h>\nCREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${MANIFEST_FILE}\"\n")
    target_sources(${bench} PRIVATE ${CMAKE_BINARY_DIR}/wine_floor.rc)
  endif()
endforeach()
