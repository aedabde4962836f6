# Tests of the library's windows: list window with its device selection, repository view.
foreach(_test listwindow repositoryview)
  kx_add_test(windows_${_test}
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_${_test}.cpp ${KX_LIST_TEST_SUPPORT}
      # drawn stand-ins for the icons the library expects of the host application
      ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc
    LIBS KxParameterCustomListObjects Qt5::Widgets)
endforeach()
