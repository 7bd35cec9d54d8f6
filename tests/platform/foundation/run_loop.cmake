# The run loop, the main queue and the notification centres. The cross-process tests start
# notify_peer as the device's other processes.
add_executable(notify_peer ${CMAKE_CURRENT_LIST_DIR}/notify_peer.cpp)
target_link_libraries(notify_peer PRIVATE vitrel_foundation vitrel_settings)

vitrel_test(notify_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/darwin_notify_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/notification_center_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_loop_test.cpp
  LIBRARIES vitrel_foundation)
add_dependencies(notify_test notify_peer)
target_compile_definitions(notify_test PRIVATE NOTIFY_PEER_PATH="$<TARGET_FILE:notify_peer>")
