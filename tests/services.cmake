# Tests of the suite's application services.
kx_add_test(services_iniparser SOURCES services/tst_iniparser.cpp LIBS KxSuite)
kx_add_test(services_projectfile SOURCES services/tst_projectfile.cpp LIBS KxSuite Qt5::Sql)
kx_add_test(services_defaultpathsetting SOURCES services/tst_defaultpathsetting.cpp LIBS KxSuite)
kx_add_test(services_system SOURCES services/tst_system.cpp LIBS KxSuite)

include(${PROJECT_SOURCE_DIR}/fuzz/fuzzers.cmake OPTIONAL)

# A child that saves until it is killed, and the test that kills it.
if(UNIX)
  add_executable(crash_save_child services/crash_save_child.cpp services/SaveGenerations.h)
  target_link_libraries(crash_save_child PRIVATE KxSuite)
  kx_strict_warnings(crash_save_child)
  kx_add_test(services_crashsave SOURCES services/tst_crashsave.cpp services/SaveGenerations.h LIBS KxSuite TIMEOUT 60)
  target_compile_definitions(services_crashsave PRIVATE KX_CRASH_SAVE_CHILD="$<TARGET_FILE:crash_save_child>")
  add_dependencies(services_crashsave crash_save_child)
endif()
