# The live view in the poll cycle: ApplyLiveFrame alone, then the link against
# the paced simulated controller with the scope running.
add_executable(bench_live
  ${CMAKE_CURRENT_LIST_DIR}/bench_live.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/SimulatorProcess.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/SimFrameLog.cpp)
target_include_directories(bench_live PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/e2e)
target_link_libraries(bench_live PRIVATE zenu_app Qt6::Test)
target_compile_definitions(bench_live PRIVATE ZENU_SIM_PATH="$<TARGET_FILE:zenu-sim>")
add_dependencies(bench_live zenu-sim)
