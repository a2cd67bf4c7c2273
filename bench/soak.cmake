# Staying connected: the program against the paced simulator for 30 minutes
# with a noise burst or a silence every minute (reconnect option on).
add_executable(bench_soak
  ${CMAKE_CURRENT_LIST_DIR}/bench_soak.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/SimulatorProcess.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/SimFrameLog.cpp)
target_include_directories(bench_soak PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/e2e)
target_link_libraries(bench_soak PRIVATE zenu_app Qt6::Test)
target_compile_definitions(bench_soak PRIVATE ZENU_SIM_PATH="$<TARGET_FILE:zenu-sim>")
add_dependencies(bench_soak zenu-sim)
