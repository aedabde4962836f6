# Tests of the library's windows: device selection, list window, repository view.
set(_kx_windows_support
  ${CMAKE_CURRENT_LIST_DIR}/windows/WindowsTestSupport.h
  ${CMAKE_CURRENT_LIST_DIR}/windows/WindowsTestSupport.cpp)
# Drawn stand-ins for the icons the library expects of the host application.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc)
  list(APPEND _kx_windows_support ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc)
endif()

kx_add_test(windows_selectdevicewidget
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_selectdevicewidget.cpp ${_kx_windows_support}
  LIBS KxParameterCustomListObjects Qt5::Widgets)

kx_add_test(windows_parametercustomlistwidget
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_parametercustomlistwidget.cpp ${_kx_windows_support}
  LIBS KxParameterCustomListObjects Qt5::Widgets)

kx_add_test(windows_repositoryview
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_repositoryview.cpp ${_kx_windows_support}
  LIBS KxParameterCustomListObjects Qt5::Widgets)

# The application's road: the shared library and its exported classes only.
kx_add_test(windows_repositoryview_api
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/tst_repositoryview_api.cpp ${_kx_windows_support}
  LIBS KxParameterCustomList Qt5::Widgets)
