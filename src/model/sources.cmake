# The model: repository, host interface, lists, entries and their strategies.
target_sources(KxParameterCustomListObjects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepository.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepository_p.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepository.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepositoryHost.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepositoryHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListInformation.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListInformation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomList.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomList_p.h
  ${CMAKE_CURRENT_LIST_DIR}/CoordinateNumberSet_p.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListEntry.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListEntry_p.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListEntry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListStorage_p.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListStorage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntryStrategy.h
  ${CMAKE_CURRENT_LIST_DIR}/EntryStrategy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntryStrategySingleLine.h
  ${CMAKE_CURRENT_LIST_DIR}/EntryStrategySingleLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntryStrategyMultiLine.h
  ${CMAKE_CURRENT_LIST_DIR}/EntryStrategyMultiLine.cpp)

set_property(GLOBAL APPEND PROPERTY KX_PARAMETERCUSTOMLIST_PUBLIC_HEADERS
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepository.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListRepositoryHost.h
  ${CMAKE_CURRENT_LIST_DIR}/ParameterCustomListInformation.h)
