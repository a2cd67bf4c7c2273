# The map page: one rebuild of the learned curves, one redraw of the map
# chart with every series filled.
add_executable(bench_map ${CMAKE_CURRENT_LIST_DIR}/bench_map.cpp)
target_include_directories(bench_map PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_map PRIVATE zenu_app zenu_calibration benchmark::benchmark Qt6::Widgets)
