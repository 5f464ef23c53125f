# The JSON library (header-only, Debian's nlohmann-json3-dev) for the tools'
# JSON writers. Its headers are reached through a folder of the build that
# holds only them, so the MinGW builds can use the same headers without the
# host's /usr/include coming before their own system headers.
find_path(SONVIO_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT SONVIO_JSON_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev "
                      "(bash scripts/install-deps.sh does)")
endif()
set(SONVIO_JSON_LINKED ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${SONVIO_JSON_LINKED})
file(CREATE_LINK ${SONVIO_JSON_INCLUDE}/nlohmann ${SONVIO_JSON_LINKED}/nlohmann SYMBOLIC)
add_library(sonvio_json INTERFACE)
target_include_directories(sonvio_json SYSTEM INTERFACE ${SONVIO_JSON_LINKED})
