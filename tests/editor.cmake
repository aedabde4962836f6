# Tests of the list editor: header and rows, the list tree, its context menu
# and keys. The editor's classes are internal to the library, so the tests
# link its objects; the host resources stand in for the application's icons.
set(_kx_editor_dir ${CMAKE_CURRENT_LIST_DIR}/editor)

if(TARGET KxParameterCustomListObjects)
  kx_add_test(tst_editor
    SOURCES ${_kx_editor_dir}/tst_treewidget.cpp ${_kx_editor_dir}/resources/HostResources.qrc
    LIBS KxParameterCustomListObjects KxSuite Qt5::Widgets)
endif()

if(KX_BUILD_RESOURCE_TOOLS)
  add_executable(kx_draw_host_icons ${_kx_editor_dir}/resources/tools/DrawHostIcons.cpp)
  target_link_libraries(kx_draw_host_icons PRIVATE Qt5::Gui)
  kx_strict_warnings(kx_draw_host_icons)
endif()
