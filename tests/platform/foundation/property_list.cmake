vitrel_test(property_list_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/property_list_test.cpp
  LIBRARIES vitrel_foundation)
# The tests make binary property lists with libplist itself.
target_link_libraries(property_list_test PRIVATE PkgConfig::PLIST)
