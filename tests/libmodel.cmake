# The custom list model: repository, lists, entries, strategies, storage and
# text exchange. White-box tests link the library's objects; the public API
# test links the shared library like the application does.
set(_libmodel_support
  ${CMAKE_CURRENT_LIST_DIR}/libmodel/ListDescription.h
  ${CMAKE_CURRENT_LIST_DIR}/libmodel/ModelTestSupport.h
  ${CMAKE_CURRENT_LIST_DIR}/libmodel/ModelTestSupport.cpp)

kx_add_test(tst_customlist
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/libmodel/tst_customlist.cpp ${_libmodel_support}
  LIBS KxParameterCustomListObjects)
kx_add_test(tst_customlistentry
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/libmodel/tst_customlistentry.cpp ${_libmodel_support}
  LIBS KxParameterCustomListObjects)
kx_add_test(tst_entrystrategy
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/libmodel/tst_entrystrategy.cpp ${_libmodel_support}
  LIBS KxParameterCustomListObjects)
kx_add_test(tst_customliststorage
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/libmodel/tst_customliststorage.cpp ${_libmodel_support}
  LIBS KxParameterCustomListObjects)
kx_add_test(tst_repositorypublicapi
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/libmodel/tst_repositorypublicapi.cpp ${_libmodel_support}
  LIBS KxParameterCustomList::KxParameterCustomList)
