# Helpers shared by the CMake files of every folder.

# vtx_sources(VAR DIR): the .cpp/.h files directly in DIR (new files are picked up on the next build).
function(vtx_sources var dir)
  file(GLOB files CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  set(${var} ${files} PARENT_SCOPE)
endfunction()

# How long a test may run before CTest stops it; tools/mutants raises it, since it runs the
# golden cases on a machine busy building its faults.
set(VTX_TEST_TIMEOUT 300 CACHE STRING "Seconds a test may run")

# vtx_add_test(NAME SOURCES... LIBS libs...): a QtTest executable run offscreen by CTest.
function(vtx_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    VTX_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VTX_BIN_DIR="${VTX_BIN_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/config;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-home/cache;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-home/data"
    TIMEOUT ${VTX_TEST_TIMEOUT})
endfunction()

# vtx_static_library(NAME DIRS dirs... LIBS libs...): a static library of the sources directly
# in each of DIRS; an interface library while the folders are still empty.
function(vtx_static_library name)
  cmake_parse_arguments(L "" "" "DIRS;LIBS" ${ARGN})
  set(all)
  foreach(dir ${L_DIRS})
    vtx_sources(files ${dir})
    list(APPEND all ${files})
  endforeach()
  list(FILTER all INCLUDE REGEX "\\.cpp$")
  if(all)
    vtx_sources_all(headers_and_sources "${L_DIRS}")
    add_library(${name} STATIC ${headers_and_sources})
    target_link_libraries(${name} PUBLIC ${L_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_LIBS})
  endif()
endfunction()

function(vtx_sources_all var dirs)
  set(all)
  foreach(dir ${dirs})
    vtx_sources(files ${dir})
    list(APPEND all ${files})
  endforeach()
  set(${var} ${all} PARENT_SCOPE)
endfunction()
