# Packaging: what an integrator gets from "cmake --install".

# The embedding example that the consumer test builds and runs: a C++ file or
# a Markdown file with the marked code block. The copies must show the same.
set(KX_EMBEDDING_EXAMPLE_SOURCE ${PROJECT_SOURCE_DIR}/examples/minimal-host/main.cpp)
set(KX_EMBEDDING_EXAMPLE_COPIES ${PROJECT_SOURCE_DIR}/docs/embedding.md ${PROJECT_SOURCE_DIR}/README.md)

add_test(NAME package_consumer
  COMMAND ${CMAKE_COMMAND}
    -DKX_BUILD_DIR=${PROJECT_BINARY_DIR}
    -DKX_WORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/package-consumer
    -DKX_EXAMPLE_DIR=${PROJECT_SOURCE_DIR}/examples/minimal-host
    -DKX_EXAMPLE_SOURCE=${KX_EMBEDDING_EXAMPLE_SOURCE}
    "-DKX_EXAMPLE_COPIES=${KX_EMBEDDING_EXAMPLE_COPIES}"
    -DKX_GENERATOR=${CMAKE_GENERATOR}
    -DKX_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DKX_CXX_COMPILER=${CMAKE_CXX_COMPILER}
    -DKX_SANITIZE=${KX_SANITIZE}
    -P ${CMAKE_CURRENT_SOURCE_DIR}/package/RunConsumer.cmake)
set_tests_properties(package_consumer PROPERTIES TIMEOUT 180)

add_test(NAME package_exported_symbols
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package/check-exported-symbols.sh
    $<TARGET_FILE:KxParameterCustomList> ${PROJECT_SOURCE_DIR}/src)
