# Encoding and decoding of one settings data file (602-byte block, 1219 bytes).
add_executable(bench_data_file ${CMAKE_CURRENT_LIST_DIR}/bench_data_file.cpp)
target_link_libraries(bench_data_file PRIVATE zenu_settings benchmark::benchmark)
