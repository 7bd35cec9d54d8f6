# Fails when a C++ file of the project is not formatted as .clang-format says.
file(GLOB_RECURSE files
  ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h
  ${SOURCE_DIR}/source/*.cpp ${SOURCE_DIR}/source/*.h
  ${SOURCE_DIR}/apps/*.cpp ${SOURCE_DIR}/apps/*.h
  ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "clang-format: the files above need `clang-format -i`")
endif()
