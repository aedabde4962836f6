# Repository view and device selection.
target_sources(KxParameterCustomListObjects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SelectDeviceWidget.h
  ${CMAKE_CURRENT_LIST_DIR}/SelectDeviceWidget_p.h
  ${CMAKE_CURRENT_LIST_DIR}/SelectDeviceWidget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListImport.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepositoryView.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepositoryView_p.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepositoryView.cpp)

target_include_directories(KxParameterCustomListObjects PUBLIC
  $<BUILD_INTERFACE:${CMAKE_CURRENT_LIST_DIR}>)
# The application reaches the view through its public header.
target_include_directories(KxParameterCustomList PUBLIC
  $<BUILD_INTERFACE:${CMAKE_CURRENT_LIST_DIR}>)

set_property(GLOBAL APPEND PROPERTY KX_PARAMETERCUSTOMLIST_PUBLIC_HEADERS
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepositoryView.h)

# The view opens list windows.
include(${CMAKE_CURRENT_LIST_DIR}/../editor/window-sources.cmake)
