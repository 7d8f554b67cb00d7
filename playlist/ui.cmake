target_sources(orvella_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/formpls.h ${CMAKE_CURRENT_LIST_DIR}/formpls.cpp)
