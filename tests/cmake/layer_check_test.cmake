# The layer check on a small tree: every include that points up is named with its file
# and line, and the includes that point down or sideways within a layer pass.
# Run as: cmake -DCHECKER=<check_layers.cmake> -DFIXTURE=<tree> -P layer_check_test.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${FIXTURE} -P ${CHECKER}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(APPEND out "${err}")
if(status EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with upward includes:\n${out}")
endif()

# file:line of each upward include, and the layer named as the one above.
set(upward
  "src/exec/run_tool.cpp:3: exec may not include recipes"
  "src/recipes/dispatcher.cpp:2: recipes may not include conversion"
  "src/conversion/worker.cpp:2: conversion may not include cli"
  "src/dialogs/TForm8.cpp:2: dialogs may not include mainwindow"
  "helpers/src/engine.cpp:4: helpers may not include conversion")
foreach(expected ${upward})
  string(FIND "${out}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "not reported: ${expected}\n${out}")
  endif()
endforeach()

# Nothing else: the count of reported lines is the count of upward includes.
string(REGEX MATCHALL "may not include" reported "${out}")
list(LENGTH reported count)
list(LENGTH upward expectedCount)
if(NOT count EQUAL expectedCount)
  message(FATAL_ERROR "${count} includes reported, ${expectedCount} expected:\n${out}")
endif()
