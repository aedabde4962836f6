# Fuzz targets. With clang and KX_LIBFUZZER=ON they link libFuzzer (the
# "fuzz" preset, run by scripts/fuzz); otherwise each becomes a plain program
# that runs the inputs it is given, and the kept corpus (seeds and every
# input that once failed) runs as a regular test.
option(KX_LIBFUZZER "Build the fuzz targets with libFuzzer (clang only)" OFF)

# Defects whose fixes are under way on another branch: their inputs stay in
# the corpus and are let through, counted and named in the test's output,
# until the fix is merged and the name is taken out of this comma-separated
# list. Empty: every property holds for every kept input.
set(KX_FUZZ_PENDING "")

add_custom_target(kx_fuzzers)

# FULL_STACKS: leaks are told by the whole stack, unwound the slow way,
# which sees through Qt's frames (see tests/lsan.supp).
function(kx_add_fuzzer name)
  cmake_parse_arguments(ARG "FULL_STACKS" "CORPUS" "SOURCES;LIBS" ${ARGN})
  set(_support ${PROJECT_SOURCE_DIR}/fuzz/FuzzSupport.h ${PROJECT_SOURCE_DIR}/fuzz/FuzzSupport.cpp)
  if(KX_LIBFUZZER AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(${name} ${ARG_SOURCES} ${_support})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${ARG_SOURCES} ${_support} ${PROJECT_SOURCE_DIR}/fuzz/FuzzMain.cpp)
    add_test(NAME ${name}_corpus COMMAND ${name} ${ARG_CORPUS})
    set(_environment "QT_QPA_PLATFORM=offscreen;KX_FUZZ_PENDING=${KX_FUZZ_PENDING}")
    if(ARG_FULL_STACKS)
      list(APPEND _environment "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:fast_unwind_on_malloc=0")
    endif()
    set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 120 ENVIRONMENT "${_environment}")
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt5::Widgets)
  target_compile_definitions(${name} PRIVATE KX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
  kx_strict_warnings(${name})
  add_dependencies(kx_fuzzers ${name})
endfunction()

kx_add_fuzzer(services_fuzz_iniparser
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/IniParserFuzzer.cpp
  LIBS KxSuite
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/ini)

kx_add_fuzzer(model_fuzz_address
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AddressFuzzer.cpp
  LIBS KxSuite
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/address)

kx_add_fuzzer(model_fuzz_description FULL_STACKS
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeviceDescriptionFuzzer.cpp
  LIBS KxSuite
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/description)

kx_add_fuzzer(libmodel_fuzz_listitem
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListItemFuzzer.cpp ${KX_LIST_TEST_SUPPORT}
  LIBS KxParameterCustomListObjects KxTestSupport
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/listitem)

kx_add_fuzzer(libmodel_fuzz_listimport
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListImportFuzzer.cpp ${KX_LIST_TEST_SUPPORT}
  LIBS KxParameterCustomListObjects KxTestSupport
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/listimport)

if(TARGET KxSuiteAppCore)
  kx_add_fuzzer(app_fuzz_projectfile FULL_STACKS
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ProjectFileFuzzer.cpp
    LIBS KxSuiteAppCore KxSuite Qt5::Sql
    CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/projectfile)
endif()
