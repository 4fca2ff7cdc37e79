# One static library per layer. Each layer's public headers are reachable as
# <qlmib/DIR/Header.h> only through a link to that layer, so an include that
# points against the layer order fails to build.

add_library(qlmib_warnings INTERFACE)
target_compile_options(qlmib_warnings INTERFACE -Wall -Wextra)
if(QLMIB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
# The fuzz build instruments every library for coverage; fuzz/ links the fuzzer's main.
set(QLMIB_FUZZ OFF)
if(QLMIB_BUILD_FUZZ)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(QLMIB_FUZZ ON)
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fsanitize=fuzzer-no-link,address,undefined>
                        $<$<COMPILE_LANGUAGE:CXX>:-fno-omit-frame-pointer>)
    add_link_options(-fsanitize=address,undefined)
  else()
    message(WARNING "QLMIB_BUILD_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++); the fuzz targets are not built")
  endif()
endif()

set_property(GLOBAL PROPERTY QLMIB_LAYERS "")

# qlmib_layer(<name> DIR <include dir> [HEADERS h...] SOURCES s... [DEPS t...] [PRIVATE_DEPS t...])
# Creates target qlmib_<name> (alias qlmib::<name>). HEADERS defaults to every
# *.h directly in the current source folder.
function(qlmib_layer name)
  cmake_parse_arguments(L "INTERFACE" "DIR" "HEADERS;SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  set(target qlmib_${name})
  if(NOT L_HEADERS)
    file(GLOB L_HEADERS CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} *.h)
  endif()
  set(inc ${CMAKE_BINARY_DIR}/include/${target})
  set(abs_headers "")
  file(MAKE_DIRECTORY ${inc}/qlmib/${L_DIR})
  foreach(h IN LISTS L_HEADERS)
    get_filename_component(hname ${h} NAME)
    get_filename_component(habs ${h} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(CREATE_LINK ${habs} ${inc}/qlmib/${L_DIR}/${hname} SYMBOLIC)
    list(APPEND abs_headers ${habs})
  endforeach()
  if(L_INTERFACE)
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${inc}> $<INSTALL_INTERFACE:include>)
    target_link_libraries(${target} INTERFACE ${L_DEPS})
  else()
    add_library(${target} STATIC ${L_SOURCES} ${L_HEADERS})
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${inc}> $<INSTALL_INTERFACE:include>)
    target_link_libraries(${target} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS} $<BUILD_INTERFACE:qlmib_warnings>)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON EXPORT_NAME ${name})
  endif()
  add_library(qlmib::${name} ALIAS ${target})
  set_property(GLOBAL APPEND PROPERTY QLMIB_LAYERS ${target})
  set_property(TARGET ${target} PROPERTY QLMIB_PUBLIC_HEADERS "${abs_headers}")
  set_property(TARGET ${target} PROPERTY QLMIB_HEADER_DIR "${L_DIR}")
endfunction()

# qlmib_test(<layer> sources...): one GoogleTest program per layer, run by CTest.
function(qlmib_test layer)
  cmake_parse_arguments(T "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  set(target ${layer}_tests)
  add_executable(${target} ${T_SOURCES})
  target_link_libraries(${target} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock GTest::gtest_main qlmib_warnings)
  # Test rows name only the fields that matter to the case.
  target_compile_options(${target} PRIVATE -Wno-missing-field-initializers)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  # One label per program ("unit", or "live" for tests against a real agent):
  # gtest_discover_tests does not carry a list of labels through.
  set(label unit)
  if(T_LABELS)
    list(GET T_LABELS 0 label)
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS ${label} DISCOVERY_TIMEOUT 60)
endfunction()
