# End-to-end test: the real application on a private X server, driven with
# X input events. It starts its own server, so one run at a time.
if(TARGET kx-suite-app)
  add_test(NAME e2e_custom_list
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e/run.sh $<TARGET_FILE:kx-suite-app>
            ${CMAKE_CURRENT_BINARY_DIR}/e2e ${PROJECT_SOURCE_DIR}/data/sample-project.json)
  set_tests_properties(e2e_custom_list PROPERTIES
    TIMEOUT 180
    RESOURCE_LOCK kx_e2e_display
    LABELS e2e)
endif()

# The road through the drive simulator.
if(TARGET kx-suite-app AND TARGET kx-drive-sim)
  add_test(NAME e2e_simulator
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e/simulator.sh $<TARGET_FILE:kx-suite-app>
            ${CMAKE_CURRENT_BINARY_DIR}/e2e-simulator ${PROJECT_SOURCE_DIR}/data/sample-project.json)
  set_tests_properties(e2e_simulator PROPERTIES
    TIMEOUT 180
    RESOURCE_LOCK kx_e2e_display
    LABELS e2e)
endif()
