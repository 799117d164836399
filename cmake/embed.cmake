# lumiscribe_embed(<target> <symbol> <file>): compiles <file>'s bytes into
# <target> as `extern const unsigned char <symbol>[]` with
# `extern const unsigned long <symbol>_size`.
function(lumiscribe_embed target symbol file)
  set(output ${CMAKE_BINARY_DIR}/embedded/${symbol}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
    COMMENT "Embedding ${file}")
  target_sources(${target} PRIVATE ${output})
endfunction()
