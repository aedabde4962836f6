# Tests of the list editor: header and rows, the list tree, its context menu
# and keys. The editor's classes are internal to the library, so the tests
# link its objects; the host resources stand in for the application's icons.
set(_kx_editor_dir ${CMAKE_CURRENT_LIST_DIR}/editor)
set(_kx_editor_libs KxParameterCustomListObjects KxSuite Qt5::Widgets)

if(TARGET KxParameterCustomListObjects)
  kx_add_test(tst_editor_treeitems
    SOURCES ${_kx_editor_dir}/tst_treeitems.cpp
            ${_kx_editor_dir}/EditorTestFixture.h ${_kx_editor_dir}/EditorTestFixture.cpp
            ${_kx_editor_dir}/resources/HostResources.qrc
    LIBS ${_kx_editor_libs})
  kx_add_test(tst_editor_treewidget
    SOURCES ${_kx_editor_dir}/tst_treewidget.cpp
            ${_kx_editor_dir}/EditorTestFixture.h ${_kx_editor_dir}/EditorTestFixture.cpp
            ${_kx_editor_dir}/resources/HostResources.qrc
    LIBS ${_kx_editor_libs})
  kx_add_test(tst_editor_commands
    SOURCES ${_kx_editor_dir}/tst_commands.cpp
            ${_kx_editor_dir}/EditorTestFixture.h ${_kx_editor_dir}/EditorTestFixture.cpp
            ${_kx_editor_dir}/resources/HostResources.qrc
    LIBS ${_kx_editor_libs})

  # Manual check, not a ctest: a list of the sample project in a tree.
  add_executable(kx-editor-demo
    ${_kx_editor_dir}/editor-demo.cpp
    ${_kx_editor_dir}/resources/HostResources.qrc)
  target_link_libraries(kx-editor-demo PRIVATE ${_kx_editor_libs})
  target_compile_definitions(kx-editor-demo PRIVATE KX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
  kx_strict_warnings(kx-editor-demo)
endif()

if(KX_BUILD_RESOURCE_TOOLS)
  add_executable(kx_draw_host_icons ${_kx_editor_dir}/resources/tools/DrawHostIcons.cpp)
  target_link_libraries(kx_draw_host_icons PRIVATE Qt5::Gui)
  kx_strict_warnings(kx_draw_host_icons)
endif()
