# The stroke table (every GBK character's stroke codes) in UTF-8, as a source
# file that carries it, for the handwriting recogniser: lumiko_embed_strokes(
# VAR DATA_DIR ROOT) sets VAR to the generated source.
function(lumiko_embed_strokes var data_dir root)
  find_program(LUMIKO_ICONV iconv REQUIRED)
  set(utf8 ${CMAKE_CURRENT_BINARY_DIR}/strokes-utf8.txt)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/strokes_embedded.cpp)
  add_custom_command(
    OUTPUT ${utf8}
    COMMAND ${LUMIKO_ICONV} -f GB18030 -t UTF-8 -o ${utf8} ${data_dir}/词库/笔画.txt
    DEPENDS ${data_dir}/词库/笔画.txt
    COMMENT "Converting the stroke table for the handwriting recogniser"
    VERBATIM)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DITEMS=hwrStrokeTable=${utf8}" -P ${root}/cmake/embed.cmake
    DEPENDS ${utf8} ${root}/cmake/embed.cmake
    COMMENT "Embedding the stroke table"
    VERBATIM)
  set(${var} ${out} PARENT_SCOPE)
endfunction()
