# Third-party code: the cached static libcurl (scripts/setup.sh), Debian's nlohmann json
# (header only) and GoogleTest (built from its sources with this toolchain).

set(CURL_PREFIX "$ENV{CURL_PREFIX}" CACHE PATH "Static i686 libcurl made by scripts/setup.sh")
# The scripts name setup.sh's current build (scripts/env.sh); a tree configured with an older
# one follows it.
if(DEFINED ENV{CURL_PREFIX} AND NOT "$ENV{CURL_PREFIX}" STREQUAL "${CURL_PREFIX}")
  set(CURL_PREFIX "$ENV{CURL_PREFIX}" CACHE PATH "Static i686 libcurl made by scripts/setup.sh" FORCE)
endif()
if(NOT EXISTS "${CURL_PREFIX}/lib/libcurl.a")
  message(FATAL_ERROR "No libcurl in '${CURL_PREFIX}': run scripts/setup.sh first")
endif()
add_library(libcurl STATIC IMPORTED GLOBAL)
set_target_properties(libcurl PROPERTIES
  IMPORTED_LOCATION "${CURL_PREFIX}/lib/libcurl.a"
  INTERFACE_INCLUDE_DIRECTORIES "${CURL_PREFIX}/include"
  INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;bcrypt;secur32;advapi32")

# Only nlohmann's own folder: the rest of /usr/include is Linux's.
add_library(nlohmann_json INTERFACE IMPORTED GLOBAL)
set(_json_root ${CMAKE_BINARY_DIR}/third_party/json)
file(MAKE_DIRECTORY ${_json_root})
file(CREATE_LINK /usr/include/nlohmann ${_json_root}/nlohmann SYMBOLIC)
set_target_properties(nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${_json_root})

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
