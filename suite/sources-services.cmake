# Application services of the suite: INI parser, project storage, default
# paths, the application object and the help system.
target_sources(KxSuite PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IniParser.h
  ${CMAKE_CURRENT_LIST_DIR}/IniParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileStorageView.h
  ${CMAKE_CURRENT_LIST_DIR}/FileStorageView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProjectFile.h
  ${CMAKE_CURRENT_LIST_DIR}/ProjectFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefaultPathSetting.h
  ${CMAKE_CURRENT_LIST_DIR}/DefaultPathSetting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/System.h
  ${CMAKE_CURRENT_LIST_DIR}/System.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpSystem.h
  ${CMAKE_CURRENT_LIST_DIR}/HelpSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpWidget.h
  ${CMAKE_CURRENT_LIST_DIR}/HelpWidget.cpp)
