varnhold_test(tooling_probe SOURCES tooling_probe.cpp LIBS varnhold_system)
varnhold_test(tooling_probe144 SOURCES tooling_probe.cpp LIBS varnhold_system DPI 144)
