# The system-information launcher. Qt-free, so it also builds where there is no Qt.
add_library(sysinfo STATIC ${CMAKE_CURRENT_LIST_DIR}/start_sys_info.cpp)
target_link_libraries(sysinfo PUBLIC platform)
