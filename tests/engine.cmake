# The benchmark engine: arithmetic and figure text, whole runs against a
# recording seam, and runs against the real system under Wine.
varnhold_test(engine_arithmetic SOURCES engine_arithmetic_test.cpp LIBS varnhold_engine)
varnhold_test(engine_run SOURCES engine_run_test.cpp engine_run_recorder.cpp LIBS varnhold_engine)
varnhold_test(engine_failure SOURCES engine_failure_test.cpp engine_run_recorder.cpp
              LIBS varnhold_engine)
# Shows windows: under Wine that takes the focus from other tests' windows.
varnhold_test(engine_real_run SOURCES engine_real_run_test.cpp LIBS varnhold_engine
              LOCK input TIMEOUT 300)
