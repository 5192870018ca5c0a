# Test helpers shared by every tests/ folder.
#
# scrimble_logic_test(NAME SOURCES... LIBS ...): a GoogleTest executable without
#   windows. It is built in both builds; the sanitizer build's copy is run from the
#   normal build's CTest as "sanitized.NAME".
# scrimble_gui_test(NAME SOURCES... LIBS ... [X11]): a test executable with windows;
#   on Qt's offscreen platform unless X11 is given (then it uses the Xvfb display).

find_package(Python3 COMPONENTS Interpreter)
# Pillow comes from Debian's python3-pil, which serves /usr/bin/python3 only.
set(SCRIMBLE_PILLOW_PYTHON /usr/bin/python3 CACHE FILEPATH "Python with Pillow, the independent decoder")

function(scrimble_logic_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  set(env "SCRIMBLE_PILLOW_PYTHON=${SCRIMBLE_PILLOW_PYTHON}"
          "SCRIMBLE_TEST_SCRIPTS=${PROJECT_SOURCE_DIR}/tests/support")
  target_compile_definitions(${name} PRIVATE SCRIMBLE_BENCH_IMAGES="${SCRIMBLE_BENCH_IMAGES}")
  # Parametrised cases are named by their name generators alone: a printed parameter
  # would make the name a byte dump that changes from build to build.
  gtest_discover_tests(${name} PROPERTIES LABELS logic ENVIRONMENT "${env}" DISCOVERY_TIMEOUT 30
                       NO_PRETTY_VALUES)
  if(SCRIMBLE_SANITIZED_BUILD AND NOT SCRIMBLE_SANITIZE)
    file(RELATIVE_PATH rel ${PROJECT_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR})
    add_test(NAME sanitized.${name} COMMAND ${SCRIMBLE_SANITIZED_BUILD}/${rel}/${name})
    set_tests_properties(sanitized.${name} PROPERTIES LABELS sanitized ENVIRONMENT "${env}")
  endif()
endfunction()

function(scrimble_gui_test name)
  if(SCRIMBLE_SANITIZE)
    return()
  endif()
  cmake_parse_arguments(T "X11" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test GTest::gtest GTest::gmock)
  set(env "SCRIMBLE_PILLOW_PYTHON=${SCRIMBLE_PILLOW_PYTHON}"
          "SCRIMBLE_TEST_SCRIPTS=${PROJECT_SOURCE_DIR}/tests/support")
  if(T_X11)
    list(APPEND env "QT_QPA_PLATFORM=xcb")
    set(label x11)
  else()
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
    set(label gui)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${label} ENVIRONMENT "${env}" TIMEOUT 300)
  if(T_X11)
    # One Xvfb screen for all: tests that grab it or own the clipboard must not overlap.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK x11display)
  endif()
endfunction()
