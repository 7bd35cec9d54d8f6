# Property lists: conversions, reading and atomic writing of files, and the checks that run on
# untrusted bytes before libplist sees them.
set(VITREL_PROPERTY_LIST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/property_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/property_list_checks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/property_list_file.cpp)
target_sources(vitrel_foundation PRIVATE ${VITREL_PROPERTY_LIST_SOURCES})

# The fuzzer steers by coverage of the code that reads untrusted bytes. Every program linking
# the library then needs the coverage hooks, which the sanitizer runtime provides.
if(VITREL_FUZZ AND VITREL_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set_property(SOURCE ${VITREL_PROPERTY_LIST_SOURCES} APPEND
               PROPERTY COMPILE_OPTIONS -fsanitize=fuzzer-no-link)
endif()
