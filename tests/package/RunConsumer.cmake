# Installs the current build into a private prefix, builds the embedding
# example against that prefix as an outside project would, and runs it.
# Called by CTest with -D for every variable checked below.
#
# KX_EXAMPLE_SOURCE is a C++ file, or a Markdown file whose code block after
# the line "<!-- kx-embedding-example -->" is the example. Every Markdown file
# in KX_EXAMPLE_COPIES must show exactly that example in such a block, so
# that the documentation cannot drift from the code that is tested.
cmake_minimum_required(VERSION 3.25)

foreach(var KX_BUILD_DIR KX_WORK_DIR KX_EXAMPLE_DIR KX_EXAMPLE_SOURCE KX_GENERATOR KX_BUILD_TYPE KX_CXX_COMPILER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

function(kx_example_from_markdown file out_var)
  set(marker "<!-- kx-embedding-example -->")
  file(READ ${file} text)
  string(FIND "${text}" "${marker}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${file}: no line ${marker}")
  endif()
  string(SUBSTRING "${text}" ${at} -1 text)
  string(FIND "${text}" "```cpp\n" begin)
  if(begin EQUAL -1)
    message(FATAL_ERROR "${file}: no ```cpp block after ${marker}")
  endif()
  math(EXPR begin "${begin} + 7")
  string(SUBSTRING "${text}" ${begin} -1 text)
  string(FIND "${text}" "\n```" end)
  if(end EQUAL -1)
    message(FATAL_ERROR "${file}: the example block is not closed")
  endif()
  math(EXPR end "${end} + 1")
  string(SUBSTRING "${text}" 0 ${end} text)
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

function(kx_run step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${step} failed (${result}):\n${output}")
  endif()
  message(STATUS "${step}: ok")
endfunction()

set(prefix ${KX_WORK_DIR}/prefix)
set(source ${KX_WORK_DIR}/source)
set(build ${KX_WORK_DIR}/build)
file(REMOVE_RECURSE ${KX_WORK_DIR})

kx_run("install" ${CMAKE_COMMAND} --install ${KX_BUILD_DIR} --prefix ${prefix})

if(KX_EXAMPLE_SOURCE MATCHES "\\.md$")
  kx_example_from_markdown(${KX_EXAMPLE_SOURCE} example)
else()
  file(READ ${KX_EXAMPLE_SOURCE} example)
endif()
foreach(copy ${KX_EXAMPLE_COPIES})
  kx_example_from_markdown(${copy} shown)
  if(NOT shown STREQUAL example)
    message(FATAL_ERROR "${copy} shows another example than ${KX_EXAMPLE_SOURCE}")
  endif()
endforeach()

# The example's project file with the example source next to it.
file(COPY ${KX_EXAMPLE_DIR}/CMakeLists.txt DESTINATION ${source})
file(WRITE ${source}/main.cpp "${example}")

set(extra_args)
if(KX_SANITIZE)
  list(APPEND extra_args
    "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-omit-frame-pointer"
    "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined")
endif()
kx_run("configure" ${CMAKE_COMMAND} -S ${source} -B ${build} -G ${KX_GENERATOR}
  -DCMAKE_BUILD_TYPE=${KX_BUILD_TYPE}
  -DCMAKE_CXX_COMPILER=${KX_CXX_COMPILER}
  -DCMAKE_PREFIX_PATH=${prefix}
  -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
  ${extra_args})

# Both packages must come from the prefix just installed, not from a copy
# elsewhere on the machine.
file(STRINGS ${build}/CMakeCache.txt package_dirs REGEX "^(KxParameterCustomList|KxSuite)_DIR:")
list(LENGTH package_dirs found)
if(NOT found EQUAL 2)
  message(FATAL_ERROR "expected both packages in the consumer's cache, got: ${package_dirs}")
endif()
foreach(entry ${package_dirs})
  string(REGEX REPLACE "^[^=]*=" "" dir "${entry}")
  string(FIND "${dir}" "${prefix}/" at)
  if(NOT at EQUAL 0)
    message(FATAL_ERROR "package found outside the test prefix: ${entry}")
  endif()
endforeach()

kx_run("build" ${CMAKE_COMMAND} --build ${build})

# Only the RUNPATHs of the installed files may lead to the libraries.
unset(ENV{LD_LIBRARY_PATH})
set(ENV{QT_QPA_PLATFORM} offscreen)
kx_run("run" ${build}/minimal-host --quit)
