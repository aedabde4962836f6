# Fuzz targets. With clang and KX_LIBFUZZER=ON they link libFuzzer; otherwise
# each becomes a plain program that runs the inputs it is given, and the kept
# corpus (seeds and every input that once failed) runs as a regular test.
option(KX_LIBFUZZER "Build the fuzz targets with libFuzzer (clang only)" OFF)

function(kx_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  kx_strict_warnings(${name})
  if(KX_LIBFUZZER AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_compile_definitions(${name} PRIVATE KX_FUZZ_STANDALONE)
    add_test(NAME ${name}_corpus COMMAND ${name} ${ARG_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 60)
  endif()
endfunction()

kx_add_fuzzer(services_fuzz_iniparser
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/IniParserFuzzer.cpp
  LIBS KxSuite
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/ini)
