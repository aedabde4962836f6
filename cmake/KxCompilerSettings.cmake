# Our own targets build with warnings as errors; third-party code (Qt's
# generated moc/uic/rcc files included) must not break the build.
function(kx_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  # The gcc builds judge the warnings; the clang of the fuzz build adds one
  # gcc does not give, for editor slots named like a base class's overloads.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${target} PRIVATE -Wno-overloaded-virtual)
  endif()
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_DEPRECATED_WARNINGS_SINCE=0x050F00
    QT_DISABLE_DEPRECATED_BEFORE=0x050F00)
endfunction()

if(KX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzz builds: everything the fuzz targets link carries libFuzzer's coverage
# instrumentation; only the targets themselves link its driver.
if(KX_LIBFUZZER AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
