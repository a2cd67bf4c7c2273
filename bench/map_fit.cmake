# Fitting the map to the learned tables: one proposal from full tables.
add_executable(bench_map_fit ${CMAKE_CURRENT_LIST_DIR}/bench_map_fit.cpp)
target_include_directories(bench_map_fit PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_map_fit PRIVATE zenu_calibration benchmark::benchmark)
