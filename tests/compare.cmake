# Tests of the axis comparison and its report. The view's classes are internal
# to the library, so the tests link its objects; the host resources give the
# icons the application would.
set(_kx_compare_dir ${CMAKE_CURRENT_LIST_DIR}/compare)
set(_kx_compare_libs KxParameterCustomListObjects KxSuite Qt5::Widgets)
set(_kx_compare_support
  ${_kx_compare_dir}/CompareTestSupport.h
  ${_kx_compare_dir}/CompareTestSupport.cpp)
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc)
  list(APPEND _kx_compare_support ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc)
endif()

if(TARGET KxParameterCustomListObjects AND EXISTS ${PROJECT_SOURCE_DIR}/src/compare/sources.cmake)
  kx_add_test(tst_compare_view
    SOURCES ${_kx_compare_dir}/tst_compareview.cpp ${_kx_compare_support}
    LIBS ${_kx_compare_libs})
  kx_add_test(tst_compare_report
    SOURCES ${_kx_compare_dir}/tst_comparereport.cpp ${_kx_compare_support}
    LIBS ${_kx_compare_libs})

  # Manual check, not a ctest: two axes of the sample project side by side.
  add_executable(kx-compare-demo ${_kx_compare_dir}/compare-demo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc)
  target_link_libraries(kx-compare-demo PRIVATE KxParameterCustomList::KxParameterCustomList KxSuite Qt5::Widgets)
  target_compile_definitions(kx-compare-demo PRIVATE KX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
  kx_strict_warnings(kx-compare-demo)
endif()
