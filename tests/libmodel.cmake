# The custom list model: repository, lists, entries, strategies, storage and
# text exchange. White-box tests link the library's objects; the public API
# test links the shared library like the application does.
foreach(_test customlist customlistentry)
  kx_add_test(tst_${_test} SOURCES ${CMAKE_CURRENT_LIST_DIR}/libmodel/tst_${_test}.cpp ${KX_LIST_TEST_SUPPORT}
    LIBS KxParameterCustomListObjects)
endforeach()
kx_add_test(tst_repositorypublicapi
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/libmodel/tst_repositorypublicapi.cpp ${KX_LIST_TEST_SUPPORT}
  LIBS KxParameterCustomList::KxParameterCustomList)
