# The layers in the build. Each layer's folder gets an include root of its own in the build tree,
# ${CMAKE_BINARY_DIR}/include/<layer>/<layer> -> the source folder, so that #include "phone/X.h" resolves only for
# a target that links the layer (td_layer_<layer>, which every library of the folder links PUBLIC). The libraries
# link the layers below them PRIVATE: an include against the layers then fails to compile, not only the check of
# scripts/check-layers.sh.

# td_layer_headers(layer): the include root of the folder <layer> and the interface target td_layer_<layer>.
function(td_layer_headers layer)
  set(root ${CMAKE_BINARY_DIR}/include/${layer})
  file(MAKE_DIRECTORY ${root})
  if(NOT IS_SYMLINK ${root}/${layer})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${layer} ${root}/${layer} SYMBOLIC)
  endif()
  add_library(td_layer_${layer} INTERFACE)
  target_include_directories(td_layer_${layer} INTERFACE ${root})
endfunction()

# td_export_lower_headers(target layer header...): a public header of target includes these headers of a lower
# layer. Only they, and the headers of that layer they include in turn, become visible to target's users (from an
# include root of target's own); the rest of the lower layer stays hidden. The link itself stays PRIVATE.
function(td_export_lower_headers target layer)
  set(root ${CMAKE_BINARY_DIR}/include/exports-${target})
  # Made afresh at every configure run, so that a header no longer exported does not linger.
  file(REMOVE_RECURSE ${root}/${layer})
  set(pending ${ARGN})
  set(done)
  while(pending)
    list(POP_FRONT pending header)
    if(header IN_LIST done)
      continue()
    endif()
    list(APPEND done ${header})
    set(source ${CMAKE_SOURCE_DIR}/${layer}/${header})
    if(NOT EXISTS ${source})
      message(FATAL_ERROR "td_export_lower_headers(${target}): ${layer}/${header} does not exist")
    endif()
    # A change of the header's includes changes what is exported: configure again then.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    get_filename_component(folder ${root}/${layer}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${source} ${root}/${layer}/${header} SYMBOLIC)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"${layer}/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"${layer}/([^\"]+)\".*$" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

foreach(layer app ui phone pab model link mapi dav res)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${layer})
    td_layer_headers(${layer})
  endif()
endforeach()

# What tests, benchmarks and fuzz targets may include: every layer's headers and the tests' shared helpers
# ("tests/support/TestSeed.h"); they reach into any layer. Linking stays theirs: each links the libraries whose
# code it calls.
td_layer_headers(tests)
add_library(td_test_layers INTERFACE)
foreach(layer app ui phone pab model link mapi dav res tests)
  if(TARGET td_layer_${layer})
    target_link_libraries(td_test_layers INTERFACE td_layer_${layer})
  endif()
endforeach()
