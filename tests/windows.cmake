# Tests of the library's windows: device selection, list window, repository view.
set(_kx_windows_support
  ${CMAKE_CURRENT_LIST_DIR}/windows/WindowsTestSupport.h
  ${CMAKE_CURRENT_LIST_DIR}/windows/WindowsTestSupport.cpp
  # drawn stand-ins for the icons the library expects of the host application
  ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc)

kx_add_test(windows_selectdevicewidget
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_selectdevicewidget.cpp ${_kx_windows_support}
  LIBS KxParameterCustomListObjects Qt5::Widgets)

kx_add_test(windows_parametercustomlistwidget
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_parametercustomlistwidget.cpp ${_kx_windows_support}
  LIBS KxParameterCustomListObjects Qt5::Widgets)

kx_add_test(windows_repositoryview
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_repositoryview.cpp ${_kx_windows_support}
  LIBS KxParameterCustomListObjects Qt5::Widgets)
