# Tests of the host application.
if(TARGET KxSuiteAppCore)
  foreach(_test project windows journal lifetime listundo)
    kx_add_test(app_${_test}
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/tst_${_test}.cpp
              ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.h ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.cpp
      LIBS KxSuiteAppCore
      TIMEOUT 300)
  endforeach()
endif()
