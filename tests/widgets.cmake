# Tests of the suite's shared widgets.
foreach(_test parameteritemeditors parameterpropertylist parameterview)
  kx_add_test(tst_widgets_${_test} SOURCES ${CMAKE_CURRENT_LIST_DIR}/widgets/tst_${_test}.cpp LIBS KxSuite Qt5::Widgets)
endforeach()
