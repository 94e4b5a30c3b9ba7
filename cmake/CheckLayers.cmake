# Fails when a source under src/ includes a header of a higher layer. Run by the build as
#   cmake -DSOURCE_ROOT=<src> -DSTAMP=<file> -P CheckLayers.cmake
# Each folder may include its own layer and the ones listed before it.
set(layer_order Foundation Models Platform Services Effects Views App)
# Effects and Focus form one layer.
set(layer_of_Focus Effects)

function(layer_rank folder out)
  if(DEFINED layer_of_${folder})
    set(folder ${layer_of_${folder}})
  endif()
  list(FIND layer_order ${folder} rank)
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_ROOT} ${SOURCE_ROOT}/*.h ${SOURCE_ROOT}/*.cpp)
set(violations "")
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" folder ${source})
  layer_rank(${folder} own_rank)
  file(STRINGS ${SOURCE_ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^/\"]+)/.*$" "\\1" target_folder "${line}")
    layer_rank(${target_folder} target_rank)
    if(own_rank GREATER_EQUAL 0 AND target_rank GREATER own_rank)
      string(STRIP "${line}" line)
      list(APPEND violations "  src/${source}: ${line}")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n" report)
  message(FATAL_ERROR "Includes that reach a higher layer:\n${report}")
endif()
file(TOUCH ${STAMP})
