# The custom list model: repository, lists, entries, strategies, storage and
# text exchange. The tests link the library's objects; the exported API is
# exercised by the package consumer test.
foreach(_test customlist customlistentry customliststorage)
  kx_add_test(tst_${_test} SOURCES ${CMAKE_CURRENT_LIST_DIR}/libmodel/tst_${_test}.cpp ${KX_LIST_TEST_SUPPORT}
    LIBS KxParameterCustomListObjects)
endforeach()
