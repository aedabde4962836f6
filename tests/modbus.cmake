# The register map, the drive simulator and the suite's Modbus TCP connection.
kx_add_test(tst_registermap SOURCES ${CMAKE_CURRENT_LIST_DIR}/modbus/tst_registermap.cpp LIBS KxSuite)
