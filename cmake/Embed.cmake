# ludex_embed_resources(<target> <function> <files...>): compiles the files
# into <target>; calling <function>() registers them by file name.
function(ludex_embed_resources target function)
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${function}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DFUNCTION=${function} "-DFILES=${ARGN}"
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${ARGN} ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Embedding resources for ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
