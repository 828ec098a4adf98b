# Recorders of the system seams, for any test that wants to watch the calls.
add_library(varnhold_system_fakes STATIC fakes/file_os_recorder.cpp fakes/memory_os_recorder.cpp)
target_include_directories(varnhold_system_fakes PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(varnhold_system_fakes PUBLIC varnhold_system)

varnhold_test(system_writer_calls SOURCES system_writer_calls_test.cpp system_writer_errors_test.cpp
              system_writer_leftover_test.cpp
              LIBS varnhold_system_fakes)
varnhold_test(system_writer_files SOURCES system_writer_files_test.cpp system_writer_links_test.cpp
              LIBS varnhold_system)
varnhold_test(system_memory SOURCES system_memory_test.cpp LIBS varnhold_system_fakes)
varnhold_test(system_clock SOURCES system_clock_test.cpp LIBS varnhold_system_fakes)
# Holds the 8 GiB test buffer and then reads back an 8 GiB file.
varnhold_test(system_full_task SOURCES system_full_task_test.cpp LIBS varnhold_system
              LOCK memory8g TIMEOUT 900)
