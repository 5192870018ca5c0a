# Test helpers shared by every tests/ folder.
#
# scrimble_logic_test(NAME SOURCES... LIBS ...): a GoogleTest executable without
#   windows. It is built in both builds; the sanitizer build's copy is run from the
#   normal build's CTest as "sanitized.NAME".
# scrimble_gui_test(NAME SOURCES... LIBS ... [X11]): a test executable with windows;
#   on Qt's offscreen platform unless X11 is given (then it uses the Xvfb display).
# scrimble_desktop_stack_test(NAME COMMAND PROGRAM [ARGS...] [DESKTOPS gnome kde]
#   [ENVIRONMENT VAR=VALUE...] [TIMEOUT SECONDS]): PROGRAM run inside a headless
#   GNOME 43 and a headless KDE Plasma 5.27 Wayland session (XWayland, session bus,
#   desktop portal) by tests/support/run-on-desktop-stack, as the tests gnome.NAME
#   and kde.NAME, labelled gnome or kde and both desktop-stacks. The desktops are too
#   large for every CI run: `make desktop-deps` installs them, and without them the
#   tests report "skipped" with the reason (return code 77). PROGRAM gets Qt's xcb
#   platform, as Scrimble picks on Wayland, and tells the desktops apart by
#   XDG_CURRENT_DESKTOP (GNOME, KDE). As root the session runs as another user, who
#   must be able to run PROGRAM and read its arguments.

find_package(Python3 COMPONENTS Interpreter)
# Pillow comes from Debian's python3-pil, which serves /usr/bin/python3 only.
set(SCRIMBLE_PILLOW_PYTHON /usr/bin/python3 CACHE FILEPATH "Python with Pillow, the independent decoder")
# The start scripts of the headless GNOME and KDE sessions; beside the checkout in CI.
set(SCRIMBLE_DESKTOP_STACKS "${PROJECT_SOURCE_DIR}/../shared/desktops" CACHE PATH
    "Folder of run-on-gnome and run-on-kde, the headless desktop sessions")

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

function(scrimble_desktop_stack_test name)
  if(SCRIMBLE_SANITIZE)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "COMMAND;DESKTOPS;ENVIRONMENT" ${ARGN})
  if(NOT T_DESKTOPS)
    set(T_DESKTOPS gnome kde)
  endif()
  if(NOT T_TIMEOUT)
    # A session starts in 2-6 s; each hung GNOME start costs a 30 s deadline (three tries).
    set(T_TIMEOUT 300)
  endif()
  set(env "SCRIMBLE_PILLOW_PYTHON=${SCRIMBLE_PILLOW_PYTHON}"
          "SCRIMBLE_TEST_SCRIPTS=${PROJECT_SOURCE_DIR}/tests/support"
          "SCRIMBLE_DESKTOP_STACKS=${SCRIMBLE_DESKTOP_STACKS}"
          "QT_QPA_PLATFORM=xcb" ${T_ENVIRONMENT})
  foreach(desktop IN LISTS T_DESKTOPS)
    add_test(NAME ${desktop}.${name}
             COMMAND ${PROJECT_SOURCE_DIR}/tests/support/run-on-desktop-stack ${desktop} ${T_COMMAND})
    # Alone: each session is a whole desktop of about 450 MiB that takes both cores of
    # a CI machine while it starts, which would starve the timing of the X11 tests.
    set_tests_properties(${desktop}.${name} PROPERTIES LABELS "${desktop};desktop-stacks" ENVIRONMENT "${env}"
                         TIMEOUT ${T_TIMEOUT} SKIP_RETURN_CODE 77 RUN_SERIAL TRUE FIXTURES_REQUIRED test_homes)
  endforeach()
endfunction()
