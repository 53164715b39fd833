# A layer is a static library built from every .cpp in its folder and the
# folders below it (the feature folders of views), so that
# adding a file to a layer needs no edit here. A layer with no sources yet is
# an interface library that only forwards its dependencies. PRIVATE_DEPENDS
# are linked but their headers stay inside the layer.
function(sarvik_layer name)
  cmake_parse_arguments(LAYER "" "" "DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${LAYER_DEPENDS} PRIVATE ${LAYER_PRIVATE_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${LAYER_DEPENDS})
  endif()
endfunction()
