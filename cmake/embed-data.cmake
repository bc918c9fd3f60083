# The built-in tables, pictures, icons and the handwriting page, embedded in
# the program. lumiko_embed_data(VAR DATA_DIR) adds the rule that writes
# embedded_data.cpp into the current build folder (with cmake/embed.cmake)
# and sets VAR to that file.
function(lumiko_embed_data out data)
  set(items
    componentList=${data}/builtin/componentList.txt
    commonCharacterList=${data}/builtin/commonCharacterList.txt
    strokeComponentTable=${data}/builtin/strokeComponentTable.txt
    componentCodeTable=${data}/builtin/componentCodeTable.txt
    basicStrokeStrip=${data}/builtin/basicStrokeStrip.txt
    handwritingPage=${data}/web/s1.html
    icon_lumiko=${data}/icons/lumiko.ico
    icon_backspace=${data}/icons/backspace.ico
    icon_space=${data}/icons/space.ico
    icon_enter=${data}/icons/enter.ico)
  foreach(p heng shu pie dian zhe shi shou kou chang ba xiao tou yi ring)
    list(APPEND items picture_${p}=${data}/pictures/${p}.bmp)
  endforeach()
  set(deps)
  foreach(item IN LISTS items)
    string(REGEX REPLACE "^[^=]*=" "" path "${item}")
    list(APPEND deps ${path})
  endforeach()
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed.cmake)
  set(cpp ${CMAKE_CURRENT_BINARY_DIR}/embedded_data.cpp)
  string(REPLACE ";" "|" arg "${items}")
  add_custom_command(
    OUTPUT ${cpp}
    COMMAND ${CMAKE_COMMAND} -DOUT=${cpp} "-DITEMS=${arg}" -P ${script}
    DEPENDS ${deps} ${script}
    COMMENT "Embedding tables, pictures, icons and the handwriting page"
    VERBATIM)
  set(${out} ${cpp} PARENT_SCOPE)
endfunction()
