# Start-up, the selection dialog, the main window, the resources, and the
# program end to end.

# Builds of the program for tests only: the same start-up behind an entry
# point that changes one thing, placed beside the real program.
function(varnhold_test_product name entry)
  add_executable(${name} WIN32 ${entry} ${CMAKE_SOURCE_DIR}/resources/varnhold.rc)
  target_link_libraries(${name} PRIVATE varnhold_app)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  if(NOT MSVC)
    target_link_options(${name} PRIVATE -municode)
  endif()
endfunction()
varnhold_test_product(VarnholdSmall driver/small_product_main.cpp)          # 64 MiB per task
varnhold_test_product(VarnholdLowMemory driver/low_memory_product_main.cpp)  # exactly 8 GiB free

# A driver test: a Windows program that starts the built program and works it
# through its windows, like a user.
function(varnhold_driver_test name)
  varnhold_test(${name} ${ARGN})
  target_sources(${name} PRIVATE driver/product_driver.cpp)
  target_compile_definitions(${name} PRIVATE VARNHOLD_PRODUCT_DIR="${CMAKE_BINARY_DIR}")
  add_dependencies(${name} Varnhold VarnholdSmall VarnholdLowMemory)
endfunction()

varnhold_test(app_startup SOURCES app_startup_test.cpp LIBS varnhold_app)
# Real windows that take the focus: one at a time with other such tests.
varnhold_test(app_select SOURCES app_drive_list_test.cpp app_select_dialog_test.cpp app_select_fixture.cpp
              LIBS varnhold_app LOCK input)
varnhold_driver_test(app_resources SOURCES app_resources_test.cpp LIBS varnhold_system version)

# End to end: the built program driven from outside. They take the keyboard,
# the focus and the test file on C: and D:, so they run one at a time.
set(e2e_libs varnhold_engine varnhold_system)
varnhold_driver_test(e2e_dialog SOURCES e2e_dialog_test.cpp LIBS ${e2e_libs} LOCK input)
varnhold_driver_test(e2e_geometry SOURCES e2e_geometry_test.cpp LIBS ${e2e_libs} LOCK input)
varnhold_driver_test(e2e_geometry144 SOURCES e2e_geometry_test.cpp LIBS ${e2e_libs} LOCK input
                     DPI 144)
varnhold_driver_test(e2e_keyboard SOURCES e2e_keyboard_test.cpp LIBS ${e2e_libs} LOCK input)
varnhold_driver_test(e2e_failure SOURCES e2e_failure_test.cpp LIBS ${e2e_libs} LOCK input)
varnhold_driver_test(e2e_run SOURCES e2e_run_test.cpp driver/run_watch.cpp LIBS ${e2e_libs}
                     LOCK input TIMEOUT 300)
varnhold_driver_test(e2e_full SOURCES e2e_full_test.cpp driver/run_watch.cpp LIBS ${e2e_libs}
                     SERIAL LABEL full TIMEOUT 3600)
