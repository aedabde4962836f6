# Tests of the suite's application services.
kx_add_test(services_iniparser SOURCES services/tst_iniparser.cpp LIBS KxSuite)
kx_add_test(services_projectfile SOURCES services/tst_projectfile.cpp LIBS KxSuite Qt5::Sql)
kx_add_test(services_defaultpathsetting SOURCES services/tst_defaultpathsetting.cpp LIBS KxSuite)
kx_add_test(services_system SOURCES services/tst_system.cpp LIBS KxSuite)

include(${PROJECT_SOURCE_DIR}/fuzz/fuzzers.cmake OPTIONAL)
