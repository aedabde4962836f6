# The register map, the drive simulator and the suite's Modbus TCP connection.
kx_add_test(tst_registermap SOURCES ${CMAKE_CURRENT_LIST_DIR}/modbus/tst_registermap.cpp LIBS KxSuite)

add_library(KxModbusTestSupport STATIC
  ${CMAKE_CURRENT_LIST_DIR}/modbus/ModbusTestSupport.h
  ${CMAKE_CURRENT_LIST_DIR}/modbus/ModbusTestSupport.cpp)
target_link_libraries(KxModbusTestSupport PUBLIC Qt5::Core Qt5::Network)
target_include_directories(KxModbusTestSupport PUBLIC ${CMAKE_CURRENT_LIST_DIR}/modbus)
target_compile_definitions(KxModbusTestSupport PRIVATE KX_DRIVE_SIM="$<TARGET_FILE:kx-drive-sim>")
kx_strict_warnings(KxModbusTestSupport)
add_dependencies(KxModbusTestSupport kx-drive-sim)

# mbpoll against the simulator.
kx_add_test(tst_drivesim SOURCES ${CMAKE_CURRENT_LIST_DIR}/modbus/tst_drivesim.cpp LIBS KxSuite KxModbusTestSupport)

# The suite's client against pymodbus and against the simulator, with faults.
kx_add_test(tst_modbusconnection SOURCES ${CMAKE_CURRENT_LIST_DIR}/modbus/tst_modbusconnection.cpp LIBS KxSuite KxModbusTestSupport)

# The application's side: connection dialog and the simulator started from it.
if(TARGET KxSuiteAppCore)
  kx_add_test(tst_appconnections SOURCES ${CMAKE_CURRENT_LIST_DIR}/modbus/tst_appconnections.cpp
    LIBS KxSuiteAppCore KxModbusTestSupport TIMEOUT 120)
  add_dependencies(tst_appconnections kx-drive-sim)
endif()
