# Warning flags for every target of our own code. CI turns warnings into errors, under GCC
# and Clang alike, so a warning never lands.
option(VELLORA_WERROR "Treat compiler warnings in our own code as errors" OFF)

function(vellora_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
    if(VELLORA_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(VELLORA_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# A library of one layer: sources from the listed files, public include root at src/.
function(vellora_layer name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
  add_library(vellora_${name} STATIC ${ARG_SOURCES})
  if(ARG_QT)
    set_target_properties(vellora_${name} PROPERTIES AUTOMOC ON)
  endif()
  add_library(vellora::${name} ALIAS vellora_${name})
  target_include_directories(vellora_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(vellora_${name} PUBLIC ${ARG_DEPS})
  vellora_warnings(vellora_${name})
endfunction()

# One GoogleTest executable per layer, discovered into CTest.
function(vellora_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE VELLORA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                             VELLORA_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  vellora_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENV}")
endfunction()
