# The sample device data: what the application opens by default.
kx_add_test(tst_sampledata SOURCES data/tst_sampledata.cpp LIBS KxSuite)

# The catalogues are generated; these keep the committed JSON in step with the
# theme tables and check the data independently of the C++ loader.
find_package(Python3 COMPONENTS Interpreter QUIET)
if(Python3_Interpreter_FOUND)
  add_test(NAME data_catalogues_generated
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/data/tools/make_catalogues.py --check)
  add_test(NAME data_descriptions_checked
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/data/tools/check_descriptions.py)
  add_test(NAME data_check_script
    COMMAND Python3::Interpreter -B ${CMAKE_CURRENT_SOURCE_DIR}/data/test_check_descriptions.py)
  set_tests_properties(data_catalogues_generated data_descriptions_checked data_check_script
    PROPERTIES TIMEOUT 60)
endif()
