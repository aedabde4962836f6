# The list editor: list tree, its header and rows, context menu and keys.
target_sources(KxParameterCustomListObjects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListHeaderItem.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListHeaderItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListHeaderView.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListHeaderView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListEntryItem.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListEntryItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListElementItem.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListElementItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CellSizeDelegate_p.h
  ${CMAKE_CURRENT_LIST_DIR}/CellSizeDelegate_p.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListTreeWidget.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListTreeWidget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListTreeWidgetCommands.cpp)

target_include_directories(KxParameterCustomListObjects PUBLIC
  $<BUILD_INTERFACE:${CMAKE_CURRENT_LIST_DIR}>)
