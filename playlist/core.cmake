target_sources(orvella_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/orvformat.h ${CMAKE_CURRENT_LIST_DIR}/orvformat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folderscan.h ${CMAKE_CURRENT_LIST_DIR}/folderscan.cpp)
