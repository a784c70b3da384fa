# Tests: GoogleTest built with the same cross compiler, run under Wine by CTest.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/rig/wine-run)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One test program per layer, from the layer's *_test.cpp files.
function(add_layer_tests layer library)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*_test.cpp)
  if(sources)
    add_executable(${layer}_tests ${sources} ${ARGN})
    target_link_libraries(${layer}_tests PRIVATE ${library} gtest gtest_main)
    target_include_directories(${layer}_tests PRIVATE ${CMAKE_SOURCE_DIR})
    # The tests start the peer programs from beside themselves.
    if(HELPER_TARGETS)
      add_dependencies(${layer}_tests ${HELPER_TARGETS})
    endif()
    add_test(NAME ${layer} COMMAND ${layer}_tests)
    set_tests_properties(${layer} PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# Small Windows programs that tests start as peers: one program per file.
file(GLOB helper_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/helpers/*.cpp)
foreach(source ${helper_sources})
  get_filename_component(helper ${source} NAME_WE)
  add_executable(${helper} ${source})
  target_link_libraries(${helper} PRIVATE ${SYSTEM_LIBRARIES})
  list(APPEND HELPER_TARGETS ${helper})
endforeach()

add_layer_tests(runtime retazo_runtime)
add_layer_tests(graphics retazo_graphics)
set(DIALOG_TEST_RESOURCES ${CMAKE_SOURCE_DIR}/dialogs/test_resources.rc)
add_layer_tests(dialogs retazo_dialogs ${DIALOG_TEST_RESOURCES})
# The images that the dialog tests' resources name are drawn by a script of ours.
set(DIALOG_TEST_IMAGES ${CMAKE_BINARY_DIR}/dialog_test_images)
add_custom_command(OUTPUT ${DIALOG_TEST_IMAGES}/bands.bmp ${DIALOG_TEST_IMAGES}/badge.ico
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/dialogs/make_test_images.py ${DIALOG_TEST_IMAGES}
  DEPENDS ${CMAKE_SOURCE_DIR}/dialogs/make_test_images.py)
set_source_files_properties(${DIALOG_TEST_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${DIALOG_TEST_IMAGES}/bands.bmp;${DIALOG_TEST_IMAGES}/badge.ico")
target_include_directories(dialogs_tests PRIVATE ${DIALOG_TEST_IMAGES})
add_layer_tests(tool retazo_tool)

# The shipped executable: this tree's own, unless the tests run in a tree of another architecture.
set(RETAZO_PRODUCT ${CMAKE_BINARY_DIR}/Retazo.exe CACHE FILEPATH "the 32-bit Retazo.exe that ships")

# Checks run on the host: the built product file, and the tool driven end to end by X input.
file(GLOB host_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.py)
foreach(script ${host_tests})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME ${name} COMMAND Python3::Interpreter ${script})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900
    ENVIRONMENT "RETAZO_BUILD=${CMAKE_BINARY_DIR};RETAZO_SOURCE=${CMAKE_SOURCE_DIR};RETAZO_PRODUCT=${RETAZO_PRODUCT}")
endforeach()

# Benchmarks: programs that print figures (run by scripts/bench.sh, never as tests).
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
foreach(source ${bench_sources})
  get_filename_component(bench ${source} NAME_WE)
  add_executable(${bench} ${source})
  target_link_libraries(${bench} PRIVATE retazo_tool)
  # The Wine floor starts as the tool does: as a GUI program, without a console.
  if(bench STREQUAL "wine_floor")
    set_target_properties(${bench} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
endforeach()
