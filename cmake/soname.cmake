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

# lumiko_loaded_libraries(TARGET): what the Linux services need to load
# libcurl (downloads) and OpenCC (traditional characters) on first use: their
# headers, dlopen, and their run-time names. CURL and OPENCC must be found.
function(lumiko_loaded_libraries target)
  lumiko_soname(curl "${CURL_LIBRARIES}")
  lumiko_soname(opencc "${OPENCC_LINK_LIBRARIES}")
  target_link_libraries(${target} PUBLIC ${CMAKE_DL_LIBS})
  target_include_directories(${target} PRIVATE ${CURL_INCLUDE_DIRS} ${OPENCC_INCLUDE_DIRS})
  target_compile_definitions(${target} PRIVATE LUMIKO_CURL_SONAME="${curl}" LUMIKO_OPENCC_SONAME="${opencc}")
endfunction()
