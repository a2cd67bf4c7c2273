# Replay on the real window: opening an hour-long recording and seeking in it
# (each seek re-applies the answers before the new position).
add_executable(bench_replay ${CMAKE_CURRENT_LIST_DIR}/bench_replay.cpp)
target_include_directories(bench_replay PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_replay PRIVATE zenu_app Qt6::Test)
