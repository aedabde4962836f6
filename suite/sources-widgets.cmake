# The suite's shared widgets: line edit, in-place parameter editors, the
# property list of one parameter and the parameter view of one axis.
target_sources(KxSuite PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListHost.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LineEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/LineEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterItemEditor.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterItemEditor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterItemEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterItemEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterItemComboBox.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterItemComboBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterPropertyList.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterPropertyList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterView.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterView.cpp)
