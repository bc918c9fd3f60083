# zinnia for the Windows build: its sources from the Debian source package
# (fetched at configure time, never kept in the repository), compiled with
# MinGW into a static library. Sets LUMIKO_ZINNIA_TARGET and LUMIKO_JSON_INCLUDE.
set(ZINNIA_ROOT ${CMAKE_BINARY_DIR}/zinnia-src)
execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/fetch-zinnia.sh ${ZINNIA_ROOT} RESULT_VARIABLE fetched)
if(NOT fetched EQUAL 0)
  message(FATAL_ERROR "the zinnia sources could not be fetched (see above)")
endif()
set(ZINNIA_SRC ${ZINNIA_ROOT}/zinnia-0.06)
# Linked statically: the header's DLL import declarations are switched off
# (the unpacked sources are the build's own copy).
file(READ ${ZINNIA_SRC}/zinnia.h header)
string(REPLACE "#  ifdef DLL_EXPORT" "#  if 1\n#    define ZINNIA_DLL_EXTERN\n#  elif defined(DLL_EXPORT)"
       header "${header}")
file(WRITE ${CMAKE_BINARY_DIR}/zinnia-include/zinnia.h.tmp "${header}")
file(COPY_FILE ${CMAKE_BINARY_DIR}/zinnia-include/zinnia.h.tmp ${CMAKE_BINARY_DIR}/zinnia-include/zinnia.h ONLY_IF_DIFFERENT)
# zinnia's own sources include the header beside them: the same one there.
file(COPY_FILE ${CMAKE_BINARY_DIR}/zinnia-include/zinnia.h.tmp ${ZINNIA_SRC}/zinnia.h ONLY_IF_DIFFERENT)

add_library(zinnia_static STATIC
  ${ZINNIA_SRC}/character.cpp ${ZINNIA_SRC}/feature.cpp ${ZINNIA_SRC}/libzinnia.cpp ${ZINNIA_SRC}/param.cpp
  ${ZINNIA_SRC}/recognizer.cpp ${ZINNIA_SRC}/sexp.cpp ${ZINNIA_SRC}/svm.cpp ${ZINNIA_SRC}/trainer.cpp)
# The patched header comes first; the ANSI Windows calls of zinnia's own
# memory mapping (no UNICODE here).
target_include_directories(zinnia_static BEFORE PUBLIC ${CMAKE_BINARY_DIR}/zinnia-include)
target_include_directories(zinnia_static PRIVATE ${ZINNIA_SRC})
target_compile_definitions(zinnia_static PRIVATE HAVE_WINDOWS_H HAVE_STRING_H HAVE_FCNTL_H HAVE_SYS_STAT_H
                           HAVE_SYS_TYPES_H PACKAGE="zinnia" VERSION="0.06")
# Not our code: its warnings are not ours to fix.
target_compile_options(zinnia_static PRIVATE -w -Wno-error)
set(LUMIKO_ZINNIA_TARGET zinnia_static)

# nlohmann/json is header-only; the Debian package's headers serve MinGW too.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/json-include)
file(CREATE_LINK /usr/include/nlohmann ${CMAKE_BINARY_DIR}/json-include/nlohmann SYMBOLIC)
set(LUMIKO_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
