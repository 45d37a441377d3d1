# vantor_add_block_model(<target> OUTPUT_NAME <name> OUTPUT_DIRECTORY <dir>
#                        SOURCES <files...> [DEFINITIONS <defs...>])
#
# Builds a block-model plug-in: a shared library "<name>.vdl" (no "lib" prefix) that
# exports the plug-in interface functions and nothing else.
function(vantor_add_block_model target)
  cmake_parse_arguments(P "" "OUTPUT_NAME;OUTPUT_DIRECTORY" "SOURCES;DEFINITIONS" ${ARGN})
  add_library(${target} MODULE ${P_SOURCES} ${VANTOR_PLUGIN_COMMON_DIR}/VdlPlugin.c)
  target_include_directories(${target} PRIVATE ${VANTOR_PLUGIN_COMMON_DIR} ${CMAKE_SOURCE_DIR}/src)
  target_compile_definitions(${target} PRIVATE ${P_DEFINITIONS})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${VANTOR_PLUGIN_COMMON_DIR}/exports.map -Wl,--no-undefined)
  set_target_properties(${target} PROPERTIES
    PREFIX "" SUFFIX ".vdl" OUTPUT_NAME ${P_OUTPUT_NAME}
    C_VISIBILITY_PRESET hidden
    AUTOMOC OFF AUTOUIC OFF AUTORCC OFF
    LIBRARY_OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY}
    LINK_DEPENDS ${VANTOR_PLUGIN_COMMON_DIR}/exports.map)
endfunction()
