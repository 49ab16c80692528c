# One engine module = one or more folders of sources compiled into a static
# library. All modules together form libLumivexis_mt.so (and the static engine
# the player links); tests link only the modules they exercise, so that an
# unfinished module does not hold up the tests of another.
#
#   lvx_module(NAME <target> [DIRS <folders...>] [DEPENDS <targets...>])
#
# Sources: every *.cpp directly inside the folders (default: the calling folder).
set_property(GLOBAL PROPERTY LVX_MODULES "")

function(lvx_module)
  cmake_parse_arguments(M "" "NAME" "DIRS;DEPENDS" ${ARGN})
  if(NOT M_DIRS)
    set(M_DIRS ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(sources "")
  foreach(dir IN LISTS M_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)  # a module whose folder has no sources yet
    set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/${M_NAME}_placeholder.cpp)
    file(WRITE ${placeholder} "")
    set(sources ${placeholder})
  endif()
  add_library(${M_NAME} STATIC ${sources})
  target_include_directories(${M_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/engine)
  target_link_libraries(${M_NAME} PUBLIC ${M_DEPENDS} Threads::Threads)
  set_property(GLOBAL APPEND PROPERTY LVX_MODULES ${M_NAME})
endfunction()

# A GoogleTest executable from every *.cpp of the calling folder.
#   lvx_test(NAME <target> DEPENDS <targets...>)
function(lvx_test)
  cmake_parse_arguments(T "" "NAME" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${T_NAME} ${sources})
  target_link_libraries(${T_NAME} PRIVATE ${T_DEPENDS} lvx_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "SDL_AUDIODRIVER=dummy;LVX_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# A libFuzzer target from one source file; tests/fuzz/corpus/<name>/ holds its seeds.
#   lvx_fuzz(NAME <target> SOURCE <file> DEPENDS <targets...>)
function(lvx_fuzz)
  cmake_parse_arguments(F "" "NAME;SOURCE" "DEPENDS" ${ARGN})
  add_executable(${F_NAME} ${F_SOURCE})
  target_link_libraries(${F_NAME} PRIVATE ${F_DEPENDS})
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
endfunction()

# A Google Benchmark executable from the listed sources.
#   lvx_bench(NAME <target> SOURCES <files...> DEPENDS <targets...>)
function(lvx_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;DEPENDS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_DEPENDS} lvx_testsupport benchmark::benchmark)
endfunction()
