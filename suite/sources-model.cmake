# The simulated drive model: coordinates and addresses, parameter texts,
# definitions and set-ups, providers, controllers and device descriptions.
target_sources(KxSuite PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCoordinate.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCoordinate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterAddress.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterAddress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterText.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LanguageManager.h
  ${CMAKE_CURRENT_LIST_DIR}/LanguageManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterDescription.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterValues_p.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterValues.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterDefinition.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterDefinition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterSetup.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterSetup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterProvider.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterProvider.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DriveControllerAxis.h
  ${CMAKE_CURRENT_LIST_DIR}/DriveControllerAxis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DriveController.h
  ${CMAKE_CURRENT_LIST_DIR}/DriveController.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModbusConnection.h
  ${CMAKE_CURRENT_LIST_DIR}/ModbusConnection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceType.h
  ${CMAKE_CURRENT_LIST_DIR}/RegisterMap.h
  ${CMAKE_CURRENT_LIST_DIR}/RegisterMap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceDescription.h
  ${CMAKE_CURRENT_LIST_DIR}/DeviceDescription.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SyntheticDescription.cpp)

add_executable(kx-generate-description ${CMAKE_CURRENT_LIST_DIR}/tools/kx-generate-description.cpp)
target_link_libraries(kx-generate-description PRIVATE KxSuite)
kx_strict_warnings(kx-generate-description)

# Drive controllers of a description served over Modbus TCP.
add_executable(kx-drive-sim
  ${CMAKE_CURRENT_LIST_DIR}/tools/kx-drive-sim.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tools/DriveSimulator.h
  ${CMAKE_CURRENT_LIST_DIR}/tools/DriveSimulator.cpp)
target_link_libraries(kx-drive-sim PRIVATE KxSuite Qt5::Network Qt5::SerialBus)
kx_strict_warnings(kx-drive-sim)
install(TARGETS kx-drive-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
