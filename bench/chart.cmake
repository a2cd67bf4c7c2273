# The recording chart: opening an hour-long recording's chart and drawing it,
# and one zoom or pan step at several zoom levels.
add_executable(bench_chart ${CMAKE_CURRENT_LIST_DIR}/bench_chart.cpp)
target_include_directories(bench_chart PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_chart PRIVATE zenu_app_chart zenu_sim Qt6::Test)
