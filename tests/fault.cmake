# Faults a user can meet, each made for real where it can be made here (the
# tiny drive T:, a second process, memory taken by a native program) and
# through a seam where it cannot; and two whole runs in one process.

# A fault test drives the built programs and reaches the Unix side of the
# build folder (T:'s mount, memory-hog) through drive Z:.
function(varnhold_fault_test name)
  varnhold_test(${name} ${ARGN})
  target_sources(${name} PRIVATE fault_support.cpp driver/product_driver.cpp driver/run_watch.cpp)
  target_compile_definitions(${name} PRIVATE VARNHOLD_PRODUCT_DIR="${CMAKE_BINARY_DIR}")
  add_dependencies(${name} Varnhold VarnholdSmall)
endfunction()

# They show windows, and those on T: and D: share the drives with the other
# end-to-end tests, which also hold the input lock.
set(fault_libs varnhold_engine varnhold_system)
varnhold_fault_test(fault_drive SOURCES fault_drive_test.cpp LIBS ${fault_libs} LOCK input TIMEOUT 600)
varnhold_fault_test(fault_file SOURCES fault_file_test.cpp LIBS ${fault_libs} LOCK input TIMEOUT 600)
varnhold_fault_test(fault_seam SOURCES fault_seam_test.cpp fault_in_process.cpp LIBS varnhold_app
                    LOCK input TIMEOUT 300)
# Takes the machine's memory down to the gate: any program started beside it
# would meet the gate too, so it runs alone.
varnhold_fault_test(fault_memory SOURCES fault_memory_test.cpp LIBS ${fault_libs} SERIAL)
varnhold_fault_test(fault_two_runs SOURCES fault_two_runs_test.cpp fault_process_counts.cpp
                    LIBS ${fault_libs} psapi LOCK input TIMEOUT 600)
# Twenty passes of 8 GiB: on request. It holds the 8 GiB buffer and shows windows.
varnhold_fault_test(fault_long_run SOURCES fault_two_runs_test.cpp fault_process_counts.cpp
                    LIBS ${fault_libs} psapi SERIAL LABEL full TIMEOUT 7200)
target_compile_definitions(fault_long_run PRIVATE VARNHOLD_FULL_SIZE)
