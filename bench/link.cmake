# The link against the paced simulated controller: the poll cycle's overhead.
add_executable(bench_link
  ${CMAKE_CURRENT_LIST_DIR}/bench_link.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/SimulatorProcess.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/SimFrameLog.cpp)
target_include_directories(bench_link PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/e2e)
target_link_libraries(bench_link PRIVATE zenu_app Qt6::Test)
target_compile_definitions(bench_link PRIVATE ZENU_SIM_PATH="$<TARGET_FILE:zenu-sim>")
add_dependencies(bench_link zenu-sim)
