# Helpers every target of ours goes through.

# installer_defaults(<target>): warnings on, narrow literals in code page 936, the generated
# build constants on the include path.
function(installer_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -fexec-charset=GBK
                         $<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections -fdata-sections>)
  target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR})
  target_link_options(${target} PRIVATE -Wl,--gc-sections)
endfunction()

# installer_add_test(<name> SOURCES ... [LIBS ...] [VENDOR] [DISPLAY])
#   One GoogleTest program, run by CTest through Wine.
#   VENDOR: the test talks to the vendor stand-in, which CTest starts before and stops after.
function(installer_add_test name)
  cmake_parse_arguments(T "VENDOR" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  installer_defaults(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support gtest_main gmock)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set(fixtures wineprefix)
  if(T_VENDOR)
    list(APPEND fixtures vendor)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK vendor)
  endif()
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${fixtures}" TIMEOUT 600)
endfunction()
