# Tests of the library's windows: list window with its device selection, repository view.
kx_add_test(windows
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_windows.cpp ${KX_LIST_TEST_SUPPORT}
    # drawn stand-ins for the icons the library expects of the host application
    ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc
  LIBS KxParameterCustomListObjects Qt5::Widgets)

# Finding and adding parameters (completion, drag and drop), and what the
# windows show and say.
kx_add_test(windows_finding
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_finding.cpp ${KX_LIST_TEST_SUPPORT}
    ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc
  LIBS KxParameterCustomListObjects Qt5::Widgets)

# Putting a list back from its stored form, in place or where it was deleted.
kx_add_test(windows_restore
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_restore.cpp ${KX_LIST_TEST_SUPPORT}
    ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc
  LIBS KxParameterCustomListObjects Qt5::Widgets)
