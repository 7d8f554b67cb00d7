target_sources(orvella_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/qtfiledialogdriver.h ${CMAKE_CURRENT_LIST_DIR}/qtfiledialogdriver.cpp)
