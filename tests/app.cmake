# Tests of the host application.
if(TARGET KxSuiteAppCore)
  kx_add_test(app_project
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/tst_project.cpp
            ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.h ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.cpp
    LIBS KxSuiteAppCore)
  kx_add_test(app_mainwindow
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/tst_mainwindow.cpp
            ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.h ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.cpp
    LIBS KxSuiteAppCore
    TIMEOUT 300)
  kx_add_test(app_customlists
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/tst_customlists.cpp
            ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.h ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.cpp
    LIBS KxSuiteAppCore
    TIMEOUT 300)
  kx_add_test(app_axiscompare
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/tst_axiscompare.cpp
            ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.h ${CMAKE_CURRENT_LIST_DIR}/app/AppTestSupport.cpp
    LIBS KxSuiteAppCore
    TIMEOUT 300)
endif()
