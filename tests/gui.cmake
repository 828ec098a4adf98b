# The window machinery. Every test program that shows a window takes the input
# lock: under Wine a window shown by any process takes the activation and the
# focus away from the windows of every other process.
add_library(varnhold_gui_testing STATIC gui_os_recorder.cpp gui_test_support.cpp)
target_include_directories(varnhold_gui_testing PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(varnhold_gui_testing PUBLIC varnhold_gui gtest)

varnhold_test(gui_rules SOURCES gui_queue_test.cpp gui_rules_test.cpp LIBS varnhold_gui)
# One geometry test, at both scales; it reads the scale to know what to expect.
varnhold_test(gui_geometry SOURCES gui_geometry_test.cpp LIBS varnhold_gui_testing LOCK input)
varnhold_test(gui_geometry144 SOURCES gui_geometry_test.cpp LIBS varnhold_gui_testing
              DPI 144 LOCK input)
varnhold_test(gui_windows SOURCES gui_windows_test.cpp gui_icon.rc LIBS varnhold_gui_testing LOCK input)
varnhold_test(gui_events SOURCES gui_events_test.cpp gui_close_test.cpp LIBS varnhold_gui_testing
              LOCK input)
varnhold_test(gui_navigation SOURCES gui_navigation_test.cpp LIBS varnhold_gui_testing LOCK input)
varnhold_test(gui_labels SOURCES gui_labels_test.cpp LIBS varnhold_gui_testing LOCK input)
varnhold_test(gui_message SOURCES gui_message_test.cpp LIBS varnhold_gui_testing LOCK input)
varnhold_test(gui_document SOURCES gui_document_test.cpp LIBS varnhold_gui_testing)
