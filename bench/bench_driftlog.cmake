# Start-to-exit timings of Driftlog against a bare Qt program.
if(NOT TARGET bare_qt)
  add_executable(bare_qt ${CMAKE_CURRENT_SOURCE_DIR}/bare_qt.cpp)
  target_link_libraries(bare_qt PRIVATE Qt6::Core)
endif()
add_dependencies(${stem} bare_qt Driftlog)
target_link_libraries(${stem} PRIVATE driftlog_core)
target_compile_definitions(${stem} PRIVATE
    DRIFTLOG_EXE="$<TARGET_FILE:Driftlog>" BARE_QT_EXE="$<TARGET_FILE:bare_qt>")
