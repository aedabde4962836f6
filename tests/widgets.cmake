# Tests of the suite's shared widgets.
kx_add_test(tst_widgets_lineedit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/widgets/tst_lineedit.cpp
  LIBS KxSuite Qt5::Widgets)
kx_add_test(tst_widgets_parameteritemeditors
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/widgets/tst_parameteritemeditors.cpp
  LIBS KxSuite Qt5::Widgets)
kx_add_test(tst_widgets_parameterpropertylist
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/widgets/tst_parameterpropertylist.cpp
  LIBS KxSuite Qt5::Widgets)
kx_add_test(tst_widgets_parameterview
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/widgets/tst_parameterview.cpp
  LIBS KxSuite Qt5::Widgets
  TIMEOUT 300)
