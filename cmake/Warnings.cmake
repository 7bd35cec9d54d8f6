# Project-wide compile settings applied to every target through vitrel_settings.
add_library(vitrel_settings INTERFACE)
target_compile_options(vitrel_settings INTERFACE -Wall -Wextra -Wpedantic
                                                 -Wnon-virtual-dtor -Wshadow -Wold-style-cast)
# GCC 12 takes `"text" + std::string` for an overlapping copy when it optimises (its bug
# 105329): the warning would say nothing about this code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(vitrel_settings INTERFACE -Wno-restrict)
endif()
if(VITREL_WERROR)
  target_compile_options(vitrel_settings INTERFACE -Werror)
endif()
if(VITREL_SANITIZE)
  target_compile_options(vitrel_settings INTERFACE -fsanitize=address,undefined
                                                   -fno-sanitize-recover=all
                                                   -fno-omit-frame-pointer)
  target_link_options(vitrel_settings INTERFACE -fsanitize=address,undefined)
endif()
# The fuzzers are guided by the coverage of the code they feed, which lives in the libraries.
if(VITREL_FUZZ)
  target_compile_options(vitrel_settings INTERFACE -fsanitize=fuzzer-no-link)
endif()
# The thread sanitizer keeps its own shadow memory, which the address sanitizer's would overlap.
if(VITREL_SANITIZE_THREAD)
  if(VITREL_SANITIZE)
    message(FATAL_ERROR "VITREL_SANITIZE_THREAD cannot be combined with VITREL_SANITIZE")
  endif()
  target_compile_options(vitrel_settings INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(vitrel_settings INTERFACE -fsanitize=thread)
endif()
