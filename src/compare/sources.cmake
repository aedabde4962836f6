# The axis comparison: the exported view, its implementation and the report.
target_sources(KxParameterCustomListObjects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AxisCompareView.h
  ${CMAKE_CURRENT_LIST_DIR}/AxisCompareView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AxisCompareView.ui
  ${CMAKE_CURRENT_LIST_DIR}/AxisCompareViewImplementation.h
  ${CMAKE_CURRENT_LIST_DIR}/AxisCompareViewImplementation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AxisCompareReport.h
  ${CMAKE_CURRENT_LIST_DIR}/AxisCompareReport.cpp)

target_include_directories(KxParameterCustomListObjects PUBLIC
  $<BUILD_INTERFACE:${CMAKE_CURRENT_LIST_DIR}>)
# The application reaches the view through its public header.
target_include_directories(KxParameterCustomList PUBLIC
  $<BUILD_INTERFACE:${CMAKE_CURRENT_LIST_DIR}>)

set_property(GLOBAL APPEND PROPERTY KX_PARAMETERCUSTOMLIST_PUBLIC_HEADERS
  ${CMAKE_CURRENT_LIST_DIR}/AxisCompareView.h)
