# Build-time constants of the product: the vendor's hosts and the CA that verifies them.
#
# A development build (the default) points every host at the vendor stand-in that the tests
# and the demo start on loopback, and verifies it against the stand-in's own CA.
# A vendor release sets INSTALLER_VENDOR_RELEASE=ON and names the real hosts; its CA file stays
# empty so that Windows' certificate store decides.

option(INSTALLER_VENDOR_RELEASE "Build for the vendor's real hosts" OFF)
set(INSTALLER_STANDIN_PORT 47443 CACHE STRING "Loopback port of the vendor stand-in (development builds)")

set(INSTALLER_STANDIN_CERTS ${CMAKE_BINARY_DIR}/vendor-certs)
if(INSTALLER_VENDOR_RELEASE)
  set(_host_default "")
  set(_ca_default "")
else()
  set(_host_default "localhost:${INSTALLER_STANDIN_PORT}")
  # Wine shows the Linux root as drive Z:.
  set(_ca_default "Z:${INSTALLER_STANDIN_CERTS}/ca.pem")
endif()

set(INSTALLER_CONFIG_HOST "${_host_default}" CACHE STRING "Configuration service host[:port]")
set(INSTALLER_DOWNLOAD_HOST "${_host_default}" CACHE STRING "Download host[:port] of the fallback address")
set(INSTALLER_WEB_HOST "${_host_default}" CACHE STRING "Vendor web site host[:port] (agreement page)")
set(INSTALLER_CA_FILE "${_ca_default}" CACHE STRING "CA bundle every transfer verifies against; empty: the Windows store")

foreach(_var INSTALLER_CONFIG_HOST INSTALLER_DOWNLOAD_HOST INSTALLER_WEB_HOST)
  if("${${_var}}" STREQUAL "")
    message(FATAL_ERROR "${_var} must name a host for a vendor release")
  endif()
  if(NOT "${${_var}}" MATCHES "^[A-Za-z0-9.-]+(:[0-9]+)?$")
    message(FATAL_ERROR "${_var} must be host or host:port, not '${${_var}}'")
  endif()
endforeach()

if(NOT INSTALLER_VENDOR_RELEASE)
  # The stand-in's CA stays the same for the life of this build tree.
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/vendor/make-certs.sh ${INSTALLER_STANDIN_CERTS}
                  RESULT_VARIABLE _certs_result)
  if(NOT _certs_result EQUAL 0)
    message(FATAL_ERROR "could not make the stand-in's certificates")
  endif()
endif()

configure_file(${CMAKE_SOURCE_DIR}/cmake/BuildConfig.h.in ${CMAKE_BINARY_DIR}/generated/BuildConfig.h @ONLY)
