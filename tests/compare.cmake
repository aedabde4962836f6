# Tests of the axis comparison and its report. The view's classes are internal
# to the library, so the tests link its objects; the host resources give the
# icons the application would.
kx_add_test(tst_compare
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/compare/tst_compare.cpp ${CMAKE_CURRENT_LIST_DIR}/editor/resources/HostResources.qrc
  LIBS KxParameterCustomListObjects KxSuite Qt5::Widgets)
