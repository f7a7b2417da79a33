# embed_file(<target> <file> <symbol>)
# Compiles <file> into <target> as `extern const std::span<const unsigned char> <symbol>`,
# declared in the header <symbol>.h, so a program carries its pictures inside its own binary.
function(embed_file target file symbol)
  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/embedded")
  set(source "${out_dir}/${symbol}.cpp")
  add_custom_command(
    OUTPUT "${source}" "${out_dir}/${symbol}.h"
    COMMAND "${CMAKE_COMMAND}" -DINPUT=${file} -DOUTPUT_DIR=${out_dir} -DSYMBOL=${symbol}
            -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFileRun.cmake"
    DEPENDS "${file}" "${PROJECT_SOURCE_DIR}/cmake/EmbedFileRun.cmake"
    COMMENT "Embedding ${file}")
  target_sources(${target} PRIVATE "${source}")
  target_include_directories(${target} PUBLIC "${out_dir}")
endfunction()
