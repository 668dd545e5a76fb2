# Every .cpp of a folder (minus the listed exclusions) as one static library. Folders are
# small and each owns one concern, so a glob keeps their CMake files free of churn.
function(qbk_folder_library name)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;PUBLIC;PRIVATE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex ${ARG_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "/${ex}$")
  endforeach()
  if(NOT srcs)
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()

# One GoogleTest executable per test folder, linking the libraries it tests.
function(qbk_folder_tests name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  foreach(lib ${ARG_LIBS})
    if(NOT TARGET ${lib})
      message(STATUS "${name}: ${lib} not built yet, tests skipped")
      return()
    endif()
  endforeach()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qbk_test_support GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT
    "QBK_SERVER_BIN=$<TARGET_FILE_DIR:${name}>/qbk-server")
endfunction()

# The programs that move whole tables (server, desktop host, benchmarks) allocate and free
# one string per text cell; mimalloc does that several times faster than the C library's
# allocator. Linked ahead of the C library, it serves every allocation of the process,
# including those of the libraries it loads. Sanitizer builds keep their own allocator.
function(qbk_use_fast_allocator target)
  if(QBK_MIMALLOC)
    target_link_libraries(${target} PRIVATE -Wl,--push-state,--no-as-needed mimalloc
      -Wl,--pop-state)
  endif()
endfunction()
