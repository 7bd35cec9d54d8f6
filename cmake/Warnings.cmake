# Project-wide compile settings applied to every target through vitrel_settings.
add_library(vitrel_settings INTERFACE)
target_compile_options(vitrel_settings INTERFACE -Wall -Wextra -Wpedantic
                                                 -Wnon-virtual-dtor)
if(VITREL_WERROR)
  target_compile_options(vitrel_settings INTERFACE -Werror)
endif()
if(VITREL_SANITIZE)
  target_compile_options(vitrel_settings INTERFACE -fsanitize=address,undefined
                                                   -fno-sanitize-recover=all
                                                   -fno-omit-frame-pointer)
  target_link_options(vitrel_settings INTERFACE -fsanitize=address,undefined)
endif()
