# The list window. Included from here and from the repository view's list,
# which opens list windows; the guard keeps the sources listed once.
include_guard(GLOBAL)

target_sources(KxParameterCustomListObjects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListWidget.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListWidget_p.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListWidget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListWidget.ui)

target_include_directories(KxParameterCustomListObjects PUBLIC
  $<BUILD_INTERFACE:${CMAKE_CURRENT_LIST_DIR}>)
