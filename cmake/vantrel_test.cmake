# vantrel_add_test(NAME [LOADS_PLUGIN] [WRAPPER script] [LIBS ...]): one GoogleTest executable
# from every .cpp of the calling test folder, run by CTest under Wine.
# LOADS_PLUGIN: the tests load VanTrel.dll through the stand-in host from bin/;
# the plug-in keeps info.ini and its log beside the host program (the test), so
# such executables take turns with that folder.
# WRAPPER: a script (run natively) that runs the test's command line, e.g. to
# start a server beside it.
function(vantrel_add_test name)
  cmake_parse_arguments(ARG "LOADS_PLUGIN" "WRAPPER" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  if(ARG_WRAPPER)
    add_test(NAME ${name} COMMAND ${ARG_WRAPPER} ${CMAKE_CROSSCOMPILING_EMULATOR}
             $<TARGET_FILE:${name}> --gtest_brief=1 WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  if(ARG_LOADS_PLUGIN)
    add_dependencies(${name} VanTrel StandInHostRes)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK host_program_folder)
  endif()
endfunction()
