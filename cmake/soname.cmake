# lumiko_soname(VAR LIBRARY): the run-time name (DT_SONAME) of the shared
# library LIBRARY (a path, such as the development link libfoo.so), for a
# program that loads it with dlopen on first use instead of linking it.
function(lumiko_soname var library)
  get_filename_component(real "${library}" REALPATH)
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p "${real}" OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  string(REGEX MATCH "SONAME +([^ \n]+)" found "${dump}")
  if(failed OR NOT found)
    message(FATAL_ERROR "The run-time name of ${library} cannot be read")
  endif()
  set(${var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
