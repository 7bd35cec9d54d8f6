# Fails when a C++ file of the project is not formatted as .clang-format says. The files are the
# ones git knows (tracked, or new and not ignored), so no folder can fall outside the check; a
# copy of the sources without git is searched whole, less build trees and npm packages.
set(patterns *.cpp *.cc *.h *.hpp *.mm)
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${SOURCE_DIR}/.git)
  execute_process(COMMAND ${GIT_EXECUTABLE} ls-files --cached --others --exclude-standard
                          -- ${patterns}
                  WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE listed
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" listed "${listed}")
  set(files)
  foreach(file IN LISTS listed)
    # A file deleted but not yet staged is still listed.
    if(file AND EXISTS ${SOURCE_DIR}/${file})
      list(APPEND files ${SOURCE_DIR}/${file})
    endif()
  endforeach()
else()
  list(TRANSFORM patterns PREPEND ${SOURCE_DIR}/)
  file(GLOB_RECURSE files ${patterns})
  list(FILTER files EXCLUDE REGEX "^${SOURCE_DIR}/build/|/node_modules/")
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "clang-format: the files above need `clang-format -i`")
endif()
