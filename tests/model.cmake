# Tests of the simulated drive model.
kx_add_test(tst_model_address SOURCES ${CMAKE_CURRENT_LIST_DIR}/model/tst_model_address.cpp LIBS KxSuite)
kx_add_test(tst_model_provider SOURCES ${CMAKE_CURRENT_LIST_DIR}/model/tst_model_provider.cpp LIBS KxSuite)
kx_add_test(tst_model_description SOURCES ${CMAKE_CURRENT_LIST_DIR}/model/tst_model_description.cpp LIBS KxSuite)
