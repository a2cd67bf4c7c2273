# Recordings: the cost of writing one record while polling (flushed to a real
# file) and the CSV export's speed.
add_executable(bench_record ${CMAKE_CURRENT_LIST_DIR}/bench_record.cpp)
target_include_directories(bench_record PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_record PRIVATE zenu_record zenu_sim benchmark::benchmark)
