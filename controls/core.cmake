target_sources(orvella_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/filedialogdriver.h
  ${CMAKE_CURRENT_LIST_DIR}/commondialog.h ${CMAKE_CURRENT_LIST_DIR}/commondialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modbrowsefolder.h ${CMAKE_CURRENT_LIST_DIR}/modbrowsefolder.cpp)
