# nlohmann/json is header-only and the same for every target, so the cross build reads the
# host's copy. Only its own folder goes on the include path: the rest of the host's headers
# would shadow the target's.
if(CMAKE_CROSSCOMPILING)
    find_path(NLOHMANN_JSON_HOST_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
    file(MAKE_DIRECTORY ${host_headers})
    file(CREATE_LINK ${NLOHMANN_JSON_HOST_INCLUDE_DIR}/nlohmann ${host_headers}/nlohmann SYMBOLIC)
    add_library(nlohmann_json INTERFACE)
    target_include_directories(nlohmann_json SYSTEM INTERFACE ${host_headers})
    add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
else()
    find_package(nlohmann_json 3.11 REQUIRED)
endif()
