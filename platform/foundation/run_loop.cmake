# The main run loop, the main queue, and the two notification centres.
target_sources(vitrel_foundation PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/darwin_notify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dispatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/internal/notify_transport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/notification_center.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_loop.cpp
)
