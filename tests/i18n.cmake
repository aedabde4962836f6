# Translations: the catalogues are complete for the sources as they are now,
# and the library's windows follow a switch of the language.
if(TARGET kx-update-translations)
  find_package(Qt5 5.15 REQUIRED COMPONENTS LinguistTools)
  kx_add_test(i18n_catalogues
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/i18n/tst_catalogues.cpp
    LIBS Qt5::Core)
  target_compile_definitions(i18n_catalogues PRIVATE
    KX_LUPDATE="$<TARGET_FILE:Qt5::lupdate>"
    KX_TRANSLATIONS_DIR="${PROJECT_SOURCE_DIR}/translations")
endif()

if(TARGET KxParameterCustomListObjects AND TARGET kx-update-translations)
  kx_add_test(i18n_retranslate
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/i18n/tst_retranslate.cpp ${KX_LIST_TEST_SUPPORT}
    LIBS KxParameterCustomListObjects KxSuite Qt5::Widgets)
endif()

# Qt's own texts in the language of the interface.
kx_add_test(i18n_qtcatalogues
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/i18n/tst_qtcatalogues.cpp
  LIBS KxSuite Qt5::Widgets)
