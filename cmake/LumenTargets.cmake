# Helpers that keep every program's CMakeLists short and alike.
# Sources are gathered by glob so that adding a file needs no edit here.

# lumen_precompile(TARGET KIND): the Qt (and test) headers of cmake/pch/KIND.h
# are parsed once per target instead of once per source: the build is mostly
# spent in them.
function(lumen_precompile target kind)
  if(LUMEN_PCH)
    target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch/${kind}.h)
  endif()
endfunction()

# Every include names its file from the project's top folder ("hostlink/HostApp.h",
# "common/core/Clock.h"), so a reader sees which layer a file reaches.
#
# lumen_library(NAME DIR [LIBS...]): a static library of every .cpp/.h below DIR;
# DIR "." takes the folder's own files only (its tests/ stay out).
function(lumen_library name dir)
  if(dir STREQUAL ".")
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  else()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
  endif()
  list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$")
  set(cpps ${sources})
  list(FILTER cpps INCLUDE REGEX "\\.cpp$")
  if(cpps)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
    if(name MATCHES "_gui$")
      lumen_precompile(${name} gui)
    else()
      lumen_precompile(${name} core)
    endif()
  else()
    # A folder of headers alone has nothing to build: an interface library.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# lumen_tests(NAME DIR [LIBS...]): one GoogleTest executable of every .cpp below DIR,
# registered with CTest test by test. The shared test main starts an offscreen QApplication.
function(lumen_tests name dir)
  if(NOT LUMEN_TESTS)
    return()
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE lumen_test_main ${ARGN})
  lumen_precompile(${name} tests)
  target_compile_definitions(${name} PRIVATE
      LUMEN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      LUMEN_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples/reports"
      LUMEN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # The tests that the folder adds itself with add_test get the same default.
  cmake_language(DEFER CALL lumen_default_test_timeouts)
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${LUMEN_TEST_TIMEOUT}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LUMEN_ROOT=${CMAKE_CURRENT_BINARY_DIR}/lumen-root-${name}")
endfunction()

# lumen_program(NAME [LIBS...]): the executable, built from main.cpp alone.
function(lumen_program name)
  if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
    return()
  endif()
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  target_link_libraries(${name} PRIVATE ${ARGN})
  install(TARGETS ${name} RUNTIME DESTINATION bin)
endfunction()

# lumen_default_test_timeouts(): run at the end of a folder's CMakeLists; every
# test that the folder added with add_test and that sets no TIMEOUT of its own
# gets LUMEN_TEST_TIMEOUT, as the GoogleTest tests of lumen_tests do, so that a
# hang fails in CI instead of holding the run.
function(lumen_default_test_timeouts)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test ${tests})
    get_test_property(${test} TIMEOUT timeout)
    if(NOT timeout)
      set_tests_properties(${test} PROPERTIES TIMEOUT ${LUMEN_TEST_TIMEOUT})
    endif()
  endforeach()
endfunction()
